// The sales bill's save: BeforeSave and the validation of an unaudited bill as ordered lists of
// the named checks of sale_checks.cc. The first check that fails refuses the save; what the write
// steps wrote before it stays in the bill.
#include "bills/common/rule_tables.h"
#include "bills/sale/bill_event_sale.h"
#include "bills/sale/sale_checks.h"

namespace zov::plugins {

namespace {

using sales::Check;
using sales::Write;

constexpr sales::CheckStep<SaleChecks> kBeforeSave[] = {
    Check(&SaleChecks::CheckDiscountRates),
    Check(&SaleChecks::CheckZeroPricedRows),
    Write(&SaleChecks::TrimFax),
    Check(&SaleChecks::CheckUnauditedBill),
    Write(&SaleChecks::SetPayer),
    Check(&SaleChecks::CheckFreight),
    Check(&SaleChecks::CheckCalTypes),
};

constexpr sales::CheckStep<SaleChecks> kValidation[] = {
    Check(&SaleChecks::CheckBillDate),
    Check(&SaleChecks::CheckSettleLimitDate),
    Check(&SaleChecks::CheckSettleAccount),
    Write(&SaleChecks::MarkTaxUnmodified),
    Check(&SaleChecks::CheckRows),
    Check(&SaleChecks::CheckBatchesInStock),
    Check(&SaleChecks::CheckExpiry),
    Write(&SaleChecks::SetUnreturnedQty),
    Check(&SaleChecks::CheckDirectDelivery),
    Check(&SaleChecks::CheckBatchConsistency),
    Check(&SaleChecks::CheckSourceRows),
    Check(&SaleChecks::CheckTotal),
    Write(&SaleChecks::SetHeadTotals),
    Check(&SaleChecks::CheckSettlementAmounts),
    Check(&SaleChecks::CheckDiscountAccount),
    Check(&SaleChecks::CheckSaleControls),
    Check(&SaleChecks::CheckPayment),
};

}  // namespace

bool SaleChecks::CheckUnauditedBill() {
  return !unaudited_ || sales::RunChecks(*this, kValidation);
}

void BillEvent_Sale::m_BillInterface_BeforeSave(bool& cancel) {
  SaleChecks checks(Form(), Kind(), pendingAction_ == "SAVE");
  if (!sales::RunChecks(checks, kBeforeSave)) {
    cancel = true;
    return;
  }
  // The save the user asked for ends with the stock check, whatever it finds.
  if (!checks.CheckStockSufficiency()) cancel = true;
  pendingAction_.clear();
}

}  // namespace zov::plugins
