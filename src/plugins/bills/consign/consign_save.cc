// The consignment bill's save as ordered lists of the named checks of consign_checks.cc. The
// first check that fails refuses; what the write steps wrote before it (the follow-up quantities,
// FAllAmount, batch data taken from the stock) stays in the bill.
#include "bills/consign/bill_event_consign.h"
#include "bills/consign/consign_checks.h"
#include "inventory/serials.h"

namespace zov::plugins {

namespace {

using sales::Check;
using sales::Write;

constexpr sales::CheckStep<ConsignChecks> kBeforeSave[] = {
    Check(&ConsignChecks::CheckStartDate),     Check(&ConsignChecks::CheckDiscountRates),
    Check(&ConsignChecks::CheckUnauditedBill), Check(&ConsignChecks::CheckFreight),
    Check(&ConsignChecks::CheckCalTypes),      Check(&ConsignChecks::CheckStockSufficiency),
};

// CheckConsign, mode 1.
constexpr sales::CheckStep<ConsignChecks> kSaveChecks[] = {
    Check(&ConsignChecks::CheckBillDate),
    Write(&ConsignChecks::MarkTaxUnmodified),
    Check(&ConsignChecks::CheckRows),
    Check(&ConsignChecks::CheckBatchesInStock),
    Check(&ConsignChecks::CheckExpiry),
    Write(&ConsignChecks::SetFollowUpQty),
    Check(&ConsignChecks::CheckBatchConsistency),
    Check(&ConsignChecks::CheckSourceRows),
    Write(&ConsignChecks::SetAllAmount),
    Check(&ConsignChecks::CheckTotal),
    Check(&ConsignChecks::CheckSaleControls),
};

}  // namespace

bool ConsignChecks::CheckUnauditedBill() {
  return !unaudited_ || sales::RunChecks(*this, kSaveChecks);
}

void BillEvent_Consign::m_BillInterface_BeforeSave(bool& cancel) {
  ConsignChecks checks(Form(), pendingAction_ == "SAVE");
  if (!sales::RunChecks(checks, kBeforeSave)) {
    cancel = true;
    return;
  }
  pendingAction_.clear();
  // A bill whose serial numbers do not match its quantities is not saved.
  if (inventory::CheckSerialCounts(context(), *m_BillInterface)) cancel = true;
}

}  // namespace zov::plugins
