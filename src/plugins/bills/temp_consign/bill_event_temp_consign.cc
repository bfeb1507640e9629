#include "bills/temp_consign/bill_event_temp_consign.h"

#include "bills/common/field_actions.h"
#include "bills/common/opening.h"
#include "bills/common/row_data.h"
#include "bills/common/sales_keys.h"
#include "calc/charges.h"
#include "calc/locks.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "pricing/client_codes.h"
#include "services/database.h"
#include "services/profile.h"
#include "zov/vb/convert.h"

namespace zov::plugins {

sales::SalesForm BillEvent_TempConsign::Form() {
  return {context(), *m_BillInterface, kSalesClass};
}

// --- new, load, copy ----------------------------------------------------------------------------

void BillEvent_TempConsign::m_BillInterface_AfterNewBill() {
  sales::ShowOpeningBill(context(), *m_BillInterface, sales::OpeningShown::kNew,
                         [this] { ApplyOpeningLayout(); });
}

// The audit tools follow the stored state each time a bill is shown.
void BillEvent_TempConsign::m_BillInterface_AfterLoadBill() {
  sales::ShowOpeningBill(context(), *m_BillInterface, sales::OpeningShown::kLoaded,
                         [this] { ApplyOpeningLayout(); });
}

// The copy is a new, unaudited bill: its tools are a new bill's.
void BillEvent_TempConsign::m_BillInterface_AfterCopyBill() {
  sales::ShowOpeningBill(context(), *m_BillInterface, sales::OpeningShown::kCopied,
                         [this] { ApplyOpeningLayout(); });
}

void BillEvent_TempConsign::m_BillInterface_AfterSave(const Variant&) {}

// --- rows ---------------------------------------------------------------------------------------

void BillEvent_TempConsign::m_BillInterface_AddNewRow(const Variant&, long) {}

void BillEvent_TempConsign::m_BillInterface_AfterDeleteRow(const Variant&, const Variant&) {
  calc::SyncChargesTotal(context(), *m_BillInterface);
}

// A row filled by an import or a barcode: the batch rule, the cost cells by its stock, the
// barcode of its unit, the weight industry's locks.
void BillEvent_TempConsign::m_BillInterface_AfterFillRow(long row, const Variant&, const Variant&,
                                                         const Variant&) {
  sales::ApplyRowBatchRule(Form(), row, sales::FirstGrid());
  ApplyCostLocks(row);
  sales::FinishOpeningFilledRow(context(), *m_BillInterface, row);
}

void BillEvent_TempConsign::ApplyCostLocks(long row) {
  auto& bill = *m_BillInterface;
  const long stock = FieldId(bill, "FSCStockID", row);
  const bool virtualStock =
      stock > 0 &&
      vb::Val(services::FirstValue(
          context(), "Select FTypeID From t_Stock Where FItemID=" + std::to_string(stock))) == 502;
  for (const char* key : {"FCostPrice", "FCostAmount"}) {
    calc::LockField(bill, key, virtualStock, row);
    if (virtualStock) Resume([&] { bill.SetFieldValue(key, 0, row); });
  }
}

// --- the host's field actions -------------------------------------------------------------------

void BillEvent_TempConsign::m_BillInterface_BeforeDoAction(
    const Variant& fieldInfo, const Variant& actionData, const Variant&, const std::string& kind,
    const std::string& name, const std::string& parameter, bool& cancel) {
  if (sales::CancelsAmountAction(*m_BillInterface, fieldInfo) ||
      sales::CancelsBatchLockAction(fieldInfo, actionData, kind, name, parameter))
    cancel = true;
}

void BillEvent_TempConsign::m_BillInterface_AfterDoAction2(const Variant& fieldInfo, const Variant&,
                                                           const Variant&, const std::string& kind,
                                                           const std::string& name,
                                                           const std::string& parameter, long row) {
  sales::ApplyAfterCalculate(Form(), fieldInfo, kind, name, parameter, row, sales::FirstGrid());
}

// --- public methods -----------------------------------------------------------------------------

void BillEvent_TempConsign::IsIsVirtualStock(long stockId, Variant& result) {
  auto rs = services::OpenRecordsetTolerant(
      context(),
      "SELECT 'X' FROM t_Stock WHERE FTypeID = 502 AND FItemID = " + std::to_string(stockId));
  result = rs && !rs->Eof();
}

}  // namespace zov::plugins
