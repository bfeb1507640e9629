#include "bills/xscx/bill_event_xscx.h"

#include "frame/menu.h"
#include "frame/resume.h"

namespace zov::plugins {

void BillEvent_XSCX::m_BillInterface_AfterCopyBill() {}
void BillEvent_XSCX::m_BillInterface_AfterLoadBill() {}
void BillEvent_XSCX::m_BillInterface_AfterNewBill() {}
void BillEvent_XSCX::m_BillInterface_BeforeSave(bool&) {}
void BillEvent_XSCX::m_BillInterface_BusinessCheck(bool& cancel) {
  if (!CheckAudit(false)) cancel = true;
}
void BillEvent_XSCX::m_BillInterface_Change(const Ref<host::IDictionary>&,
                                            const Ref<host::IDictionary>&, long, long, bool&) {}
void BillEvent_XSCX::m_BillInterface_MenuBarClick(const Ref<host::ITool>&, bool&) {}
void BillEvent_XSCX::m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>& bar) {
  auto tool =
      AddTool(bar, {"mnuInvalidBill", "单据失效", "mnuEdit", "mnuEditUnCheck", "", "PART", 0, ""});
  AddSeparator(bar, "mnuEdit", "mnuInvalidBill");
  AddTool(bar, {"mnuInvalidBill", "单据失效", "BandToolBar", "", "mnuFileExit", "PART", 0, ""});
  AddSeparator(bar, "BandToolBar", "mnuInvalidBill");
  tool->SetEnabled(ResumeOr<long>(1, [&] { return m_BillInterface->BillStatus(); }) == 0);
  bar->RecalcLayout();
}
void BillEvent_XSCX::m_BillInterface_SaveBillSuccess(const Variant&) {}
void BillEvent_XSCX::m_ListInterface_BusinessCheck(bool& cancel) {
  if (!CheckAudit(true)) cancel = true;
}
void BillEvent_XSCX::m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {
  Resume([&] { m_ListInterface->SetToolProperty("mnuEditCheck", "Visible", true); });
  Resume([&] { m_ListInterface->SetToolProperty("mnuEditCopy", "Visible", true); });
}

bool BillEvent_XSCX::CheckAudit(bool) { return true; }

void BillEvent_XSCX::ChkPriceValidate(const Ref<host::IBillInterface>&, long, long,
                                      Variant& result) {
  result = false;
}

}  // namespace zov::plugins
