// The consignment bill's hooks on the host's own field actions: amounts do not make prices unless
// the bill says so, the batch cell follows the batch rule, the secondary cells of a row without a
// secondary unit stay locked and empty, and after a calculation the tax is kept exact and the
// composite quantity text follows the quantity.
#include "bills/common/field_actions.h"
#include "bills/consign/bill_event_consign.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "zov/vb/convert.h"

namespace zov::plugins {

void BillEvent_Consign::m_BillInterface_BeforeDoAction(const Variant& fieldInfo,
                                                       const Variant& actionData, const Variant&,
                                                       const std::string& kind,
                                                       const std::string& name,
                                                       const std::string& parameter, bool& cancel) {
  if (sales::CancelsAmountAction(*m_BillInterface, fieldInfo) ||
      sales::CancelsBatchLockAction(fieldInfo, actionData, kind, name, parameter))
    cancel = true;
}

void BillEvent_Consign::m_BillInterface_BeforeDoAction2(const Variant&, const Variant&,
                                                        const Variant&, const std::string&,
                                                        const std::string& name, const std::string&,
                                                        bool&, const Variant& rowValue) {
  if (name != "LockField") return;
  const long row =
      ResumeOr<long>(0, [&] { return static_cast<long>(vb::Val(vb::CStr(rowValue))); });
  if (row < 1) return;
  auto& bill = *m_BillInterface;
  const bool noSecondaryUnit = FieldId(bill, "FSecUnitID", row) <= 0;
  for (const char* key : {"FSecQty", "FSecPrice", "FsecCoefficient"}) {
    calc::LockField(bill, key, noSecondaryUnit, row);
    if (noSecondaryUnit) Resume([&] { bill.SetFieldValue(key, "", row); });
  }
}

void BillEvent_Consign::m_BillInterface_AfterDoAction2(const Variant& fieldInfo, const Variant&,
                                                       const Variant&, const std::string& kind,
                                                       const std::string& name,
                                                       const std::string& parameter, long row) {
  sales::ApplyAfterCalculate(Form(), fieldInfo, kind, name, parameter, row, sales::FirstGrid());
}

}  // namespace zov::plugins
