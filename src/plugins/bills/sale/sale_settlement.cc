// The settlement amounts of the sales bill: what is paid now (FCurPayAmount), offset against
// advance receipts (FNeutralizeAmount) and written off (FCurCheckAmount) against the total.
#include "bills/sale/bill_event_sale.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"

namespace zov::plugins {

double BillEvent_Sale::BillTotal() {
  return ResumeOr<double>(0, [&] { return ColumnSum(*m_BillInterface, "FInTaxAmount"); });
}

void BillEvent_Sale::SettleAmounts(bool paymentChanged, bool multiAccount) {
  auto& bill = *m_BillInterface;
  const double pay = FieldNumber(bill, "FCurPayAmount");
  const double offset = FieldNumber(bill, "FNeutralizeAmount");
  const long kind = Kind();
  auto set = [&](const char* key, const Variant& value) { Resume([&] { bill.SetFieldValue(key, value, -1); }); };
  auto clearAndLock = [&](const char* key) {
    set(key, "");
    calc::LockField(bill, key, true, -1);
  };
  if (paymentChanged) {
    if (kind == 3002 || kind == 3004) set("FCurCheckAmount", pay + offset);
    if (multiAccount) {
      set("FMultiAccount", 1);
      calc::LockField(bill, "FCurPayAmount", true, -1);
      clearAndLock("FBalanceStyle");
      clearAndLock("FAcctNo");
    } else {
      set("FMultiAccount", 0);
      calc::LockField(bill, "FCurPayAmount", false, -1);
      if (pay == 0) {
        clearAndLock("FBalanceStyle");
        clearAndLock("FAcctNo");
      } else {
        calc::LockField(bill, "FBalanceStyle", false, -1);
        calc::LockField(bill, "FAcctNo", false, -1);
      }
      Resume([&] { bill.SetActiveCell("FCurPayAmount", -1); });
    }
  }
  // What is settled now against the total; an excess needs the discount account.
  const double total = BillTotal();
  const double settled = pay + offset;
  if (settled == total) {
    set("FCurCheckAmount", total);
    clearAndLock("FDiscountAcctID");
  } else if (settled < total) {
    set("FCurCheckAmount", settled);
    clearAndLock("FDiscountAcctID");
  } else {
    set("FCurCheckAmount", total);
    calc::LockField(bill, "FDiscountAcctID", false, -1);
  }
}

}  // namespace zov::plugins
