#include "bills/temp_gj/bill_event_temp_gj.h"

#include "calc/charges.h"
#include "frame/resume.h"

namespace zov::plugins {

void BillEvent_TempGJ::m_BillInterface_AddNewRow(const Variant&, long) {}
void BillEvent_TempGJ::m_BillInterface_AfterCopyBill() {}
void BillEvent_TempGJ::m_BillInterface_AfterDeleteRow(const Variant&, const Variant&) {
  calc::SyncChargesTotal(context(), *m_BillInterface);
}
void BillEvent_TempGJ::m_BillInterface_AfterDoAction2(const Variant&, const Variant&,
                                                      const Variant&, const std::string&,
                                                      const std::string&, const std::string&,
                                                      long) {}
void BillEvent_TempGJ::m_BillInterface_AfterFillRow(long, const Variant&, const Variant&,
                                                    const Variant&) {}
void BillEvent_TempGJ::m_BillInterface_AfterLoadBill() {}
void BillEvent_TempGJ::m_BillInterface_AfterNewBill() {}
void BillEvent_TempGJ::m_BillInterface_BeforeDoAction(const Variant&, const Variant&,
                                                      const Variant&, const std::string&,
                                                      const std::string&, const std::string&,
                                                      bool&) {}
void BillEvent_TempGJ::m_BillInterface_BeforeSave(bool&) {}
void BillEvent_TempGJ::m_BillInterface_BeforLoadBillFillData() {}
void BillEvent_TempGJ::m_BillInterface_BusinessCheck(bool&) { RunServerAudit(true); }
void BillEvent_TempGJ::m_BillInterface_Change(const Ref<host::IDictionary>&,
                                              const Ref<host::IDictionary>&, long, long, bool&) {}
void BillEvent_TempGJ::m_BillInterface_MenuBarClick(const Ref<host::ITool>&, bool&) {}
void BillEvent_TempGJ::m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {
  Resume([&] { m_BillInterface->SetToolProperty("mnuRelateViewVoucher", "visible", false); });
}
void BillEvent_TempGJ::m_BillInterface_UnBusinessCheck(bool&) { RunServerAudit(false); }
void BillEvent_TempGJ::m_ListInterface_BusinessCheck(bool&) { RunServerBatchAudit(true); }
void BillEvent_TempGJ::m_ListInterface_MenuBarClick(const Ref<host::ITool>&, bool&) {}
void BillEvent_TempGJ::m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {
  Resume([&] { m_ListInterface->SetToolProperty("mnuEditCheck", "Visible", true); });
  Resume([&] { m_ListInterface->SetToolProperty("mnuEditUnCheck", "Visible", true); });
  Resume([&] { m_ListInterface->SetToolProperty("mnuEditCopy", "Visible", true); });
}
void BillEvent_TempGJ::m_ListInterface_UnBusinessCheck(bool&) { RunServerBatchAudit(false); }

void BillEvent_TempGJ::RunServerAudit(bool) {}
void BillEvent_TempGJ::RunServerBatchAudit(bool) {}

}  // namespace zov::plugins
