// The save and audit of the sales bill and its second type, and their hooks on the host's field
// actions. BeforeSave and the validation of an unaudited bill are ordered lists of the named checks
// of sale_bill_checks.cc: the first check that fails refuses the save; what the write steps wrote
// before it stays in the bill.
#include "bills/common/controls.h"
#include "bills/common/field_actions.h"
#include "bills/common/rule_tables.h"
#include "bills/common/sale_bill.h"
#include "bills/common/sale_bill_checks.h"
#include "calc/prices.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins::sales {

namespace {

constexpr CheckStep<SaleBillChecks> kBeforeSave[] = {
    Check(&SaleBillChecks::CheckDiscountRates),
    Check(&SaleBillChecks::CheckZeroPricedRows),
    Write(&SaleBillChecks::TrimFax),
    Check(&SaleBillChecks::CheckUnauditedBill),
    Write(&SaleBillChecks::SetPayer),
    Check(&SaleBillChecks::CheckFreight),
    Check(&SaleBillChecks::CheckCalTypes),
};

constexpr CheckStep<SaleBillChecks> kValidation[] = {
    Check(&SaleBillChecks::CheckBillDate),
    Check(&SaleBillChecks::CheckSettleLimitDate),
    Check(&SaleBillChecks::CheckSettleAccount),
    Write(&SaleBillChecks::MarkTaxUnmodified),
    Check(&SaleBillChecks::CheckRows),
    Check(&SaleBillChecks::CheckBatchesInStock),
    Check(&SaleBillChecks::CheckExpiry),
    Write(&SaleBillChecks::SetUnreturnedQty),
    Check(&SaleBillChecks::CheckDirectDelivery),
    Check(&SaleBillChecks::CheckBatchConsistency),
    Check(&SaleBillChecks::CheckSourceRows),
    Check(&SaleBillChecks::CheckTotal),
    Write(&SaleBillChecks::SetHeadTotals),
    Check(&SaleBillChecks::CheckSettlementAmounts),
    Check(&SaleBillChecks::CheckDiscountAccount),
    Check(&SaleBillChecks::CheckSaleControls),
    Check(&SaleBillChecks::CheckPayment),
};

}  // namespace

bool SaleBillChecks::CheckUnauditedBill() { return !unaudited_ || RunChecks(*this, kValidation); }

void SaleBill::BeforeSave(bool& cancel) {
  SaleBillChecks checks(Form(), rules_, Kind(), state_.pendingAction == "SAVE");
  if (!RunChecks(checks, kBeforeSave)) {
    cancel = true;
    return;
  }
  // The save the user asked for ends with the stock check, whatever it finds; the second type
  // never asks about stock.
  if (rules_.stockCheck && !checks.CheckStockSufficiency()) cancel = true;
  state_.pendingAction.clear();
}

// --- audit --------------------------------------------------------------------------------------

void SaleBill::BusinessCheck(bool& cancel) {
  if (!CheckSerialNumbersSet(ctx_, rules_.cls, {CurBillId(bill_)}, false, rules_.serialKinds) ||
      !CheckAuditState(true))
    cancel = true;
}

void SaleBill::UnBusinessCheck(bool& cancel) {
  if (!CheckAuditState(false)) cancel = true;
}

bool SaleBill::CheckAuditState(bool audit) {
  const long id = CurBillId(bill_);
  if (!audit && !CheckNoRebateBill(ctx_, rules_.cls, {id})) return false;
  if (!CheckBillAudit(ctx_, SaleBillChecks::HeadRecord(Form(), true), audit, false)) return false;
  return CheckNotRejected(ctx_, rules_.cls, id, audit);
}

void SaleBillList::CheckAuditState(bool audit) {
  const auto info =
      ResumeOr<Ref<host::IDictionary>>({}, [&] { return list_.GetSelectedBillInfo(); });
  if (!info || info->Count() == 0) return;
  if (!audit && !CheckNoRebateBill(ctx_, rules_.cls, Selected())) return;
  CheckBillAudit(ctx_, info, audit, true);
}

// --- field actions ------------------------------------------------------------------------------

void SaleBill::BeforeDoAction(const Variant& fieldInfo, const Variant& actionData,
                              const std::string& kind, const std::string& name,
                              const std::string& parameter, bool& cancel) {
  if (CancelsAmountAction(bill_, fieldInfo) ||
      CancelsBatchLockAction(fieldInfo, actionData, kind, name, parameter))
    cancel = true;
}

void SaleBill::AfterDoAction2(const Variant& fieldInfo, const std::string& kind,
                              const std::string& name, const std::string& parameter, long row) {
  if (row < 1) return;
  const std::string key = ResumeOr<std::string>({}, [&] {
    auto info = fieldInfo.ObjectAs<host::IDictionary>();
    return info ? vb::UCase(vb::CStr(info->Item("FKey"))) : std::string();
  });
  for (const SalesRowKeys* keys : Grids()) {
    // The action's kind tells its grid ("FAction01" the second's).
    calc::ApplyTaxAfterCalculate(ctx_, bill_, row, kind, name, parameter, true, *keys);
    // Weight industry: the composite quantity text follows every quantity the host computes.
    if (key == vb::UCase(keys->showQty) && services::IndustryType(ctx_) == 1)
      UpdateComplexQtyText(Form(), row, *keys, false);
  }
}

}  // namespace zov::plugins::sales
