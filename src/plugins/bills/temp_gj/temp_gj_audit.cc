// The opening supplier bill is audited and un-audited by its server component, from the form and
// from the list; the component decides, the plug-in reports what it said and never cancels.
#include "bills/common/opening.h"
#include "bills/temp_gj/bill_event_temp_gj.h"
#include "frame/resume.h"
#include "zov/host/components.h"

namespace zov::plugins {

void BillEvent_TempGJ::m_BillInterface_BusinessCheck(bool&) {
  sales::RunOpeningAudit(context(), *m_BillInterface, host::progid::kTempGJUpdate, true);
  AfterServerAudit();
}

void BillEvent_TempGJ::m_BillInterface_UnBusinessCheck(bool&) {
  sales::RunOpeningAudit(context(), *m_BillInterface, host::progid::kTempGJUpdate, false);
  AfterServerAudit();
}

void BillEvent_TempGJ::AfterServerAudit() {
  // The host reads the stored state back on the view state; the layout follows it.
  Resume([&] { m_BillInterface->SetBillStatus(host::kBillView); });
  ApplyOpeningLayout();
}

void BillEvent_TempGJ::m_ListInterface_BusinessCheck(bool&) {
  sales::RunOpeningListAudit(context(), *m_ListInterface, host::progid::kTempGJUpdate, true);
}

void BillEvent_TempGJ::m_ListInterface_UnBusinessCheck(bool&) {
  sales::RunOpeningListAudit(context(), *m_ListInterface, host::progid::kTempGJUpdate, false);
}

}  // namespace zov::plugins
