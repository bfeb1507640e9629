// The settlement amounts of the sales bill: what is paid now (FCurPayAmount), offset against
// advance receipts (FNeutralizeAmount) and written off (FCurCheckAmount) against the total.
#include "bills/sale/bill_event_sale.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/login.h"

namespace zov::plugins {

namespace {

// Money to the cent: the column sum carries the binary noise of its addends (14.13 + 67.80 is
// 81.929999...), and a payment of the total shown must count as the total.
double Cents(double v) { return services::FormatToPlaces(Variant(v), 2).ToDouble(); }

}  // namespace

double BillEvent_Sale::BillTotal() {
  return ResumeOr<double>(0, [&] { return ColumnSum(*m_BillInterface, "FInTaxAmount"); });
}

void BillEvent_Sale::SettleAmounts(bool paymentChanged, bool multiAccount) {
  auto& bill = *m_BillInterface;
  const double pay = FieldNumber(bill, "FCurPayAmount");
  const double offset = FieldNumber(bill, "FNeutralizeAmount");
  auto set = [&](const char* key, const Variant& value) {
    Resume([&] { bill.SetFieldValue(key, value, -1); });
  };
  auto clearAndLock = [&](const char* key) {
    set(key, "");
    calc::LockField(bill, key, true, -1);
  };
  if (paymentChanged) {
    if (IsReturnKind(Kind())) set("FCurCheckAmount", pay + offset);
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
  if (Cents(settled) == Cents(total)) {
    set("FCurCheckAmount", total);
    clearAndLock("FDiscountAcctID");
  } else if (Cents(settled) < Cents(total)) {
    set("FCurCheckAmount", settled);
    clearAndLock("FDiscountAcctID");
  } else {
    set("FCurCheckAmount", total);
    calc::LockField(bill, "FDiscountAcctID", false, -1);
  }
}

}  // namespace zov::plugins
