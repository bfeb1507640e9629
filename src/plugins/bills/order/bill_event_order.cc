#include "bills/order/bill_event_order.h"

#include "services/user_profile.h"

namespace zov::plugins {

void BillEvent_Order::m_BillInterface_AfterCopyBill() {}
void BillEvent_Order::m_BillInterface_AfterDoAction2(const Variant&, const Variant&, const Variant&,
                                                     const std::string&, const std::string&,
                                                     const std::string&, long) {}
void BillEvent_Order::m_BillInterface_AfterFillRow(long, const Variant&, const Variant&,
                                                   const Variant&) {}
void BillEvent_Order::m_BillInterface_AfterLoadBill() {}
void BillEvent_Order::m_BillInterface_AfterNewBill() {}
void BillEvent_Order::m_BillInterface_AfterSave(const Variant&) {}
void BillEvent_Order::m_BillInterface_BeforeDoAction(const Variant&, const Variant&, const Variant&,
                                                     const std::string&, const std::string&,
                                                     const std::string&, bool&) {}
void BillEvent_Order::m_BillInterface_BeforeSave(bool&) {}
void BillEvent_Order::m_BillInterface_BusinessCheck(bool& cancel) {
  if (!CheckAuditState(true, false)) cancel = true;
}
void BillEvent_Order::m_BillInterface_Change(const Ref<host::IDictionary>&,
                                             const Ref<host::IDictionary>&, long, long, bool&) {}
void BillEvent_Order::m_BillInterface_EntryGridRow(const Variant&, long row, const Variant&,
                                                   const Variant&, const Variant&, const Variant&,
                                                   const Variant&, const Variant&) {
  ShowRowStock(row);
}
void BillEvent_Order::m_BillInterface_MenuBarClick(const Ref<host::ITool>&, bool&) {}
void BillEvent_Order::m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {}
void BillEvent_Order::m_BillInterface_UnBusinessCheck(bool& cancel) {
  if (!CheckAuditState(false, false)) cancel = true;
}
void BillEvent_Order::m_ListInterface_AfterCopyBillCreateData(const Variant&, const Variant&) {}
void BillEvent_Order::m_ListInterface_BusinessCheck(bool&) { CheckAuditState(true, true); }
void BillEvent_Order::m_ListInterface_MenuBarClick(const Ref<host::ITool>&, bool&) {}
void BillEvent_Order::m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {}
void BillEvent_Order::m_ListInterface_UnBusinessCheck(bool&) { CheckAuditState(false, true); }

std::string BillEvent_Order::GetUserProfile(std::string_view section, std::string_view key) {
  return services::GetUserProfile(context(), section, key);
}

void BillEvent_Order::SaveUserProfileItem(std::string_view section, std::string_view key,
                                          const Variant& value) {
  services::SaveUserProfileItem(context(), section, key, value);
}

bool BillEvent_Order::CheckAuditState(bool, bool) { return true; }
void BillEvent_Order::ShowRowStock(long) {}

}  // namespace zov::plugins
