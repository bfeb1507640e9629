// The special-price bill opened: a new bill with its default window, a stored bill with its
// customers, a copy.
#include <cmath>

#include "bills/xscx/bill_event_xscx.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/database.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

void BillEvent_XSCX::m_BillInterface_AfterNewBill() {
  auto& bill = *m_BillInterface;
  // 1. Tools for a bill not yet audited.
  ApplyToolState();
  // 2. The promotion runs from today 00:00 to today + 30 days 23:59.
  const vb::Date today{std::floor(context().host().Now().serial)};
  Resume([&] { bill.SetFieldValue("FBeginDate", today, -1); });
  Resume([&] { bill.SetFieldValue("FEndDate", vb::DateAdd("d", 30, today), -1); });
  Resume([&] { bill.SetFieldValue("FBeginTime", "00:00", -1); });
  Resume([&] { bill.SetFieldValue("FEndTime", "23:59", -1); });
  // 3. Nothing of it counts as typed.
  MarkAllCellsUnmodified(*m_BillInterface);
  // 4. The customer box with its button, then the button's visibility, then the help note.
  SetupCustomerControls();
  ApplyFieldVisibility();
  PlaceHelpNote();
}

void BillEvent_XSCX::m_BillInterface_AfterLoadBill() {
  auto& bill = *m_BillInterface;
  MarkAllCellsUnmodified(*m_BillInterface);
  // A form that opened on a stored bill gets the customer box and the help note first (they
  // show "全部客户" until the stored customers are read).
  const std::string stored =
      ResumeOr<std::string>({}, [&] { return FieldText(bill, CustomerKey()); });
  if (!objext_) SetupCustomerControls();
  // The stored customers: found by the bill's number.
  const std::string billNo = FieldText(bill, "FBillNo");
  const long id = static_cast<long>(
      vb::Val(services::FirstValue(context(), "select FID from T_LS_CX where FBillNo='" +
                                                  services::SqlLiteral(billNo, false) + "'")));
  customerIds_ = id > 0 ? LoadCustomerIds(id) : std::string();
  if (customerIds_.empty())
    ShowAllCustomers(false);
  else
    ShowCustomers(vb::Trim(stored).empty() ? LoadCustomerNames(id) : stored, false);
  ApplyFieldVisibility();
  // Tools by the stored bill's state (audit and invalidation enabled as it allows).
  ApplyToolState();
}

void BillEvent_XSCX::m_BillInterface_AfterCopyBill() {
  auto& bill = *m_BillInterface;
  Resume([&] { bill.SetBarStatus("mnuEditCheck", "Enabled", true); });
  Resume([&] { bill.SetBarStatus("mnuInvalidBill", "Enabled", true); });
  if (services::AppType(context()) == 4) LockPriceTypeForApp4();
  // A copy made from the list opens in a form of its own: it gets the customer box, and the
  // customers of the bill it was copied from.
  if (!objext_) {
    const std::string shown =
        ResumeOr<std::string>({}, [&] { return FieldText(bill, CustomerKey()); });
    SetupCustomerControls();
    ApplyFieldVisibility();
    const long source = FieldId(bill, "FID");
    customerIds_ = source > 0 ? LoadCustomerIds(source) : std::string();
    if (!customerIds_.empty()) ShowCustomers(shown, true);
  }
}

}  // namespace zov::plugins
