#include "bills/xscx/bill_event_xscx.h"

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
void BillEvent_XSCX::m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {}
void BillEvent_XSCX::m_BillInterface_SaveBillSuccess(const Variant&) {}
void BillEvent_XSCX::m_ListInterface_BusinessCheck(bool& cancel) {
  if (!CheckAudit(true)) cancel = true;
}
void BillEvent_XSCX::m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {}

bool BillEvent_XSCX::CheckAudit(bool) { return true; }

void BillEvent_XSCX::ChkPriceValidate(const Ref<host::IBillInterface>&, long, long,
                                      Variant& result) {
  result = false;
}

}  // namespace zov::plugins
