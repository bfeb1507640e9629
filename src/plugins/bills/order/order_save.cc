// The sales order's save and close checks as ordered lists of the named checks of
// order_checks.cc. The first check that fails refuses; what the write steps wrote before it
// (FAllAmount, the quantities to deliver of earlier rows) stays in the order.
#include "bills/common/rule_tables.h"
#include "bills/order/bill_event_order.h"
#include "bills/order/order_checks.h"

namespace zov::plugins {

namespace {

using sales::Check;
using sales::Write;

constexpr sales::CheckStep<OrderChecks> kBeforeSave[] = {
    Check(&OrderChecks::CheckDiscountRates),
    Check(&OrderChecks::CheckUnauditedOrder),
    Check(&OrderChecks::CheckCalTypes),
    Write(&OrderChecks::SetOrdinaryKind),
};

// CheckOrder, mode 1.
constexpr sales::CheckStep<OrderChecks> kSaveChecks[] = {
    Check(&OrderChecks::CheckFetchDate),
    Write(&OrderChecks::SetAllAmount),
    Check(&OrderChecks::CheckSaleControls),
    Check(&OrderChecks::CheckRowsToDeliver),
};

// The modes of CheckOrder.
constexpr long kSaveMode = 1, kCloseMode = 5, kUnCloseMode = 6;

}  // namespace

bool OrderChecks::CheckUnauditedOrder() {
  return !unaudited_ || sales::RunChecks(*this, kSaveChecks);
}

void BillEvent_Order::m_BillInterface_BeforeSave(bool& cancel) {
  OrderChecks checks(Form());
  if (!sales::RunChecks(checks, kBeforeSave)) cancel = true;
}

bool BillEvent_Order::CheckOrder(long mode) {
  OrderChecks checks(Form());
  switch (mode) {
    case kSaveMode:
      return checks.CheckUnauditedOrder();
    case kCloseMode:
      return checks.CheckNotFullyDelivered();
    case kUnCloseMode:
      return true;  // re-opening needs no check
    default:
      return false;
  }
}

}  // namespace zov::plugins
