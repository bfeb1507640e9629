// The sales order's list: its tools by the kind it lists, and the guards of its commands. The
// availability of a list's copy is in order_availability.cc, its audit checks in order_audit.cc.
#include "bills/common/commands.h"
#include "bills/common/rule_tables.h"
#include "bills/order/bill_event_order.h"
#include "frame/resume.h"

namespace zov::plugins {

void BillEvent_Order::m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {
  auto& list = *m_ListInterface;
  Resume([&] { list.SetToolProperty("mnuEditCheck", "Visible", true); });
  Resume([&] { list.SetToolProperty("mnuEditUnCheck", "Visible", true); });
  // The list of online orders neither makes nor copies orders.
  const bool online =
      ResumeOr<long>(0, [&] { return list.BillTypeID(); }) == static_cast<long>(OrderKind::kOnline);
  if (online) {
    Resume([&] { list.SetToolProperty("mnuFileNew", "Visible", false); });
    Resume([&] { list.SetToolProperty("mnuEditCopy", "Visible", false); });
  } else {
    Resume([&] { list.SetToolProperty("mnuEditCopy", "Visible", true); });
  }
}

void BillEvent_Order::m_ListInterface_MenuBarClick(const Ref<host::ITool>& tool, bool& cancel) {
  static const sales::KeyTable<ToolHandler> kCommands{
      {{"mnuEditCopy", "mnuEditCopyEntry"}, &BillEvent_Order::RefuseOnlineCopy},
      {{"mnuEditDelete"}, &BillEvent_Order::RefuseRejectedListDelete},
  };
  ToolClick click(tool, cancel);
  if (const ToolHandler* handler = kCommands.Find(click.key)) (this->**handler)(click);
}

void BillEvent_Order::RefuseOnlineCopy(ToolClick& click) {
  sales::RefuseSelectedBills(context(), *m_ListInterface, kSalesClass, "FBillTypeID",
                             static_cast<long>(OrderKind::kOnline),
                             "你选择的单据包含网上订单，不允许复制，请重新选择。", click.cancel);
}

void BillEvent_Order::RefuseRejectedListDelete(ToolClick& click) {
  sales::RefuseSelectedBills(context(), *m_ListInterface, kSalesClass, "FRejected", 1,
                             "你选择的单据包含驳回状态的订单，不允许删除，请重新选择。",
                             click.cancel);
}

}  // namespace zov::plugins
