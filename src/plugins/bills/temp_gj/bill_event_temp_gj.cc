#include "bills/temp_gj/bill_event_temp_gj.h"

#include "bills/common/field_actions.h"
#include "bills/common/opening.h"
#include "bills/common/row_data.h"
#include "calc/charges.h"
#include "calc/locks.h"
#include "calc/quantities.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "pricing/client_codes.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

const sales::SalesRowKeys& BillEvent_TempGJ::Keys() {
  static const sales::SalesRowKeys keys = [] {
    sales::SalesRowKeys k = sales::FirstGrid();
    k.scStock = "FDCStockID";
    return k;
  }();
  return keys;
}

sales::SalesForm BillEvent_TempGJ::Form() { return {context(), *m_BillInterface, kSalesClass}; }

// --- new, load, copy ----------------------------------------------------------------------------

void BillEvent_TempGJ::m_BillInterface_AfterNewBill() {
  sales::ShowOpeningBill(context(), *m_BillInterface, sales::OpeningShown::kNew,
                         [this] { ApplyOpeningLayout(); });
}

// The layout follows the stored audit state each time a bill is shown: an audited bill is
// locked.
void BillEvent_TempGJ::m_BillInterface_AfterLoadBill() {
  sales::ShowOpeningBill(context(), *m_BillInterface, sales::OpeningShown::kLoaded,
                         [this] { ApplyOpeningLayout(); });
}

void BillEvent_TempGJ::m_BillInterface_AfterCopyBill() {
  sales::ShowOpeningBill(context(), *m_BillInterface, sales::OpeningShown::kCopied,
                         [this] { ApplyOpeningLayout(); });
}

void BillEvent_TempGJ::m_BillInterface_BeforLoadBillFillData() {}

// --- rows ---------------------------------------------------------------------------------------

void BillEvent_TempGJ::m_BillInterface_AddNewRow(const Variant&, long) {}

void BillEvent_TempGJ::m_BillInterface_AfterDeleteRow(const Variant&, const Variant&) {
  calc::SyncChargesTotal(context(), *m_BillInterface);
}

// A row filled by an import or a barcode: the batch rule, the barcode of its unit, the weight
// industry's locks.
void BillEvent_TempGJ::m_BillInterface_AfterFillRow(long row, const Variant&, const Variant&,
                                                    const Variant&) {
  sales::ApplyRowBatchRule(Form(), row, Keys());
  sales::FinishOpeningFilledRow(context(), *m_BillInterface, row);
}

// --- the host's field actions -------------------------------------------------------------------

void BillEvent_TempGJ::m_BillInterface_BeforeDoAction(const Variant& fieldInfo, const Variant&,
                                                      const Variant&, const std::string&,
                                                      const std::string&, const std::string&,
                                                      bool& cancel) {
  if (sales::CancelsAmountAction(*m_BillInterface, fieldInfo)) cancel = true;
}

// The weight industry's shown units per secondary unit of a type-3 row after its quantity moved.
void BillEvent_TempGJ::m_BillInterface_AfterDoAction2(const Variant& fieldInfo, const Variant&,
                                                      const Variant&, const std::string& kind,
                                                      const std::string& name, const std::string&,
                                                      long row) {
  if (row < 1 || kind != "FAction" || name != "Calculate") return;
  if (services::IndustryType(context()) != 1) return;
  const auto info = fieldInfo.ObjectAs<host::IDictionary>();
  const bool quantity = info && ResumeOr<std::string>({}, [&] {
                                  return vb::UCase(vb::CStr(info->Item("FKey")));
                                }) == "FSHOWQTY";
  if (quantity) calc::ApplyShowQtyAction(context(), *m_BillInterface, row, Keys());
}

}  // namespace zov::plugins
