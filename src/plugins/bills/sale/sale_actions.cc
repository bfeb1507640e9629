// The sales bill's hooks on the host's own field actions: the guards before them, the tax kept
// exact and the composite quantity text refreshed after them.
#include "bills/common/field_actions.h"
#include "bills/common/row_data.h"
#include "bills/sale/bill_event_sale.h"
#include "calc/prices.h"
#include "frame/resume.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

void BillEvent_Sale::m_BillInterface_BeforeDoAction(const Variant& fieldInfo,
                                                    const Variant& actionData, const Variant&,
                                                    const std::string& kind,
                                                    const std::string& name,
                                                    const std::string& parameter, bool& cancel) {
  if (sales::CancelsAmountAction(*m_BillInterface, fieldInfo) ||
      sales::CancelsBatchLockAction(fieldInfo, actionData, kind, name, parameter))
    cancel = true;
}

void BillEvent_Sale::m_BillInterface_AfterDoAction2(const Variant& fieldInfo, const Variant&,
                                                    const Variant&, const std::string& kind,
                                                    const std::string& name,
                                                    const std::string& parameter, long row) {
  if (row < 1) return;
  calc::ApplyTaxAfterCalculate(context(), *m_BillInterface, row, kind, name, parameter, true);
  // Weight industry: the composite quantity text follows every quantity the host computes.
  const bool quantity = ResumeOr<bool>(false, [&] {
    auto info = fieldInfo.ObjectAs<host::IDictionary>();
    return info && vb::UCase(vb::CStr(info->Item("FKey"))) == "FSHOWQTY";
  });
  if (quantity && services::IndustryType(context()) == 1)
    sales::UpdateComplexQtyText(Form(), row, sales::FirstGrid(), false);
}

}  // namespace zov::plugins
