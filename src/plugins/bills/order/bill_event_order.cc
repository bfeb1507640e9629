#include "bills/order/bill_event_order.h"

#include "frame/menu.h"
#include "frame/resume.h"
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
void BillEvent_Order::m_BillInterface_MenuBarClick(const Ref<host::ITool>& tool, bool&) {
  if (ResumeOr<std::string>({}, [&] { return tool->Name(); }) == "mnuDoNotResetPrice")
    ToggleOption(context(), tool, kClassTypeId, "DoNotResetPrice");
}
void BillEvent_Order::m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>& bar) {
  AddTool(bar, {"mnuExecuteProcess", "订单执行情况", "mnuRelate", "", "mnuRelateViewVoucher", "", 0,
                ""});
  AddTool(bar,
          {"mnuQueryGHOrder", "查询采购订单记录", "mnuRelate", "mnuExecuteProcess", "", "", 0, ""});
  AddSeparator(bar, "mnuRelate", "mnuQueryGHOrder");
  AddTool(bar, {"mnuReject", "驳回", "mnuEdit", "", "mnuEditCheck", "", 0, ""});
  AddOptionTool(context(), bar, kClassTypeId, "mnuDoNotResetPrice", "修改客户不重新取价",
                "DoNotResetPrice");
  for (const auto& [key, text] : {std::pair{"mnuRelatePushBill_1030002", "生成销售发货单"},
                                  std::pair{"mnuRelatePushBill_1020001", "生成采购订单"},
                                  std::pair{"mnuRelatePushBill_1050001", "生成预收款单"}})
    Resume([&] { m_BillInterface->SetToolProperty(key, "Description", text); });
  bar->RecalcLayout();
}
void BillEvent_Order::m_BillInterface_UnBusinessCheck(bool& cancel) {
  if (!CheckAuditState(false, false)) cancel = true;
}
void BillEvent_Order::m_ListInterface_AfterCopyBillCreateData(const Variant&, const Variant&) {}
void BillEvent_Order::m_ListInterface_BusinessCheck(bool&) { CheckAuditState(true, true); }
void BillEvent_Order::m_ListInterface_MenuBarClick(const Ref<host::ITool>&, bool&) {}
void BillEvent_Order::m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {
  Resume([&] { m_ListInterface->SetToolProperty("mnuEditCheck", "Visible", true); });
  Resume([&] { m_ListInterface->SetToolProperty("mnuEditUnCheck", "Visible", true); });
  // The list of online orders neither makes nor copies bills.
  const bool online = ResumeOr<long>(0, [&] { return m_ListInterface->BillTypeID(); }) == 3032;
  if (online) {
    Resume([&] { m_ListInterface->SetToolProperty("mnuFileNew", "Visible", false); });
    Resume([&] { m_ListInterface->SetToolProperty("mnuEditCopy", "Visible", false); });
  } else {
    Resume([&] { m_ListInterface->SetToolProperty("mnuEditCopy", "Visible", true); });
  }
}
void BillEvent_Order::m_ListInterface_UnBusinessCheck(bool&) { CheckAuditState(false, true); }

bool BillEvent_Order::CheckAuditState(bool, bool) { return true; }
void BillEvent_Order::ShowRowStock(long) {}

}  // namespace zov::plugins
