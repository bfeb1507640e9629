#include "bills/order/bill_event_order.h"

#include "bills/common/sales_keys.h"
#include "frame/bill_access.h"
#include "frame/resume.h"

namespace zov::plugins {

sales::SalesForm BillEvent_Order::Form() { return {context(), *m_BillInterface, kSalesClass}; }

OrderKind BillEvent_Order::Kind() {
  return static_cast<OrderKind>(ResumeOr<long>(
      0, [&] { return static_cast<long>(FieldNumber(*m_BillInterface, "FBillTypeID")); }));
}

long BillEvent_Order::EditState() {
  return ResumeOr<long>(host::kBillView, [&] { return m_BillInterface->BillStatus(); });
}

long BillEvent_Order::Status() {
  return ResumeOr<long>(
      0, [&] { return static_cast<long>(FieldNumber(*m_BillInterface, "FStatus")); });
}

void BillEvent_Order::Bar(const char* tool, const char* property, bool value) {
  Resume([&] { m_BillInterface->SetBarStatus(tool, property, value); });
}

// The stock on hand of the row the cursor enters, in status panel 2.
void BillEvent_Order::m_BillInterface_EntryGridRow(const Variant&, long row, const Variant&,
                                                   const Variant&, const Variant&, const Variant&,
                                                   const Variant&, const Variant&) {
  sales::ShowRowStock(Form(), row, sales::FirstGrid());
}

}  // namespace zov::plugins
