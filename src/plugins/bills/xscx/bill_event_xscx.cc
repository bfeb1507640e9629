#include "bills/xscx/bill_event_xscx.h"

#include "frame/resume.h"

namespace zov::plugins {

// --- one-line routing ---------------------------------------------------------------------------

void BillEvent_XSCX::m_BillInterface_BusinessCheck(bool& cancel) {
  if (!CheckAudit(false)) cancel = true;
}

void BillEvent_XSCX::m_ListInterface_BusinessCheck(bool& cancel) {
  if (!CheckAudit(true)) cancel = true;
}

// --- the controls' events
// -------------------------------------------------------------------------

void BillEvent_XSCX::OnSelCustEvent(std::string_view event, std::vector<Variant>&) {
  if (event == "Click") cmdSelCust_Click();
}

void BillEvent_XSCX::OnPicEvent(std::string_view event, std::vector<Variant>&) {
  if (event == "Paint") pic_Paint();
}

void BillEvent_XSCX::OnCustomerBoxEvent(std::string_view event, std::vector<Variant>& params) {
  objext_ObjectEvent(event, params);
}

// --- field helpers
// --------------------------------------------------------------------------------

long BillEvent_XSCX::RowCount() {
  return ResumeOr<long>(0, [&] { return m_BillInterface->BillEntrys(1)->GridMaxDataRowNum(); });
}

}  // namespace zov::plugins
