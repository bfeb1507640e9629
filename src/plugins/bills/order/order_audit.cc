// The sales order's audit and un-audit checks, from the form and from the list: a rejected order
// first, then the host's audit check.
#include "bills/common/controls.h"
#include "bills/order/bill_event_order.h"

namespace zov::plugins {

void BillEvent_Order::m_BillInterface_BusinessCheck(bool& cancel) {
  if (!CheckOrderAudit(true, false)) cancel = true;
}

void BillEvent_Order::m_BillInterface_UnBusinessCheck(bool& cancel) {
  if (!CheckOrderAudit(false, false)) cancel = true;
}

// The list's events carry no cancel: a failure is only reported.
void BillEvent_Order::m_ListInterface_BusinessCheck(bool&) { CheckOrderAudit(true, true); }

void BillEvent_Order::m_ListInterface_UnBusinessCheck(bool&) { CheckOrderAudit(false, true); }

bool BillEvent_Order::CheckOrderAudit(bool audit, bool fromList) {
  return fromList ? sales::CheckAuditFromList(context(), *m_ListInterface, kSalesClass, audit, true)
                  : sales::CheckAuditFromForm(Form(), audit, true);
}

}  // namespace zov::plugins
