// The consignment bill's audit and un-audit checks, from the form and from the list: the host's
// audit check on the bill's record (no workflow rejection on this bill).
#include "bills/common/controls.h"
#include "bills/consign/bill_event_consign.h"

namespace zov::plugins {

void BillEvent_Consign::m_BillInterface_BusinessCheck(bool& cancel) {
  if (!CheckConsignAudit(true, false)) cancel = true;
}

void BillEvent_Consign::m_BillInterface_UnBusinessCheck(bool& cancel) {
  if (!CheckConsignAudit(false, false)) cancel = true;
}

// The list's events carry no cancel: a failure is only reported.
void BillEvent_Consign::m_ListInterface_BusinessCheck(bool&) { CheckConsignAudit(true, true); }

void BillEvent_Consign::m_ListInterface_UnBusinessCheck(bool&) { CheckConsignAudit(false, true); }

bool BillEvent_Consign::CheckConsignAudit(bool audit, bool fromList) {
  return fromList
             ? sales::CheckAuditFromList(context(), *m_ListInterface, kSalesClass, audit, false)
             : sales::CheckAuditFromForm(Form(), audit, false);
}

}  // namespace zov::plugins
