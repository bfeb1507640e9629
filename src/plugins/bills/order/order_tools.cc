// The sales order's tools on the form: added when the host builds the menus, and a table from the
// tool clicked to its command. Close and un-close go through the order's server component.
#include "bills/common/commands.h"
#include "bills/common/rule_tables.h"
#include "bills/order/bill_event_order.h"
#include "frame/bill_access.h"
#include "frame/menu.h"
#include "frame/resume.h"
#include "services/login.h"
#include "services/messages.h"
#include "zov/host/components.h"

namespace zov::plugins {

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

void BillEvent_Order::m_BillInterface_MenuBarClick(const Ref<host::ITool>& tool, bool& cancel) {
  static const sales::KeyTable<ToolHandler> kCommands{
      {{"mnuEditFileDelete"}, &BillEvent_Order::RefuseRejectedDelete},
      {{"mnuReject"}, &BillEvent_Order::Reject},
      {{"mnuEditClose", "mnuEditUnClose"}, &BillEvent_Order::CloseOrReopen},
      {{"mnuExecuteProcess", "mnuQueryGHOrder"}, &BillEvent_Order::ShowLookup},
      {{"mnuEditFileSave"}, &BillEvent_Order::DropEmptyRowBeforeSave},
      {{"mnuDoNotResetPrice"}, &BillEvent_Order::ToggleResetPrice},
  };
  ToolClick click(tool, cancel);
  if (const ToolHandler* handler = kCommands.Find(click.key)) (this->**handler)(click);
}

bool BillEvent_Order::Saved(ToolClick& click) {
  if (CurBillId(*m_BillInterface) > 0) return true;
  services::ShowMessage(context(), "请先保存单据");
  click.cancel = true;
  return false;
}

void BillEvent_Order::ToggleResetPrice(ToolClick& click) {
  ToggleOption(context(), click.tool, kClassTypeId, "DoNotResetPrice");
}

void BillEvent_Order::RefuseRejectedDelete(ToolClick& click) {
  sales::RefuseRejectedDelete(context(), *m_BillInterface, click.cancel);
}

void BillEvent_Order::Reject(ToolClick&) { sales::RejectWithNote(context(), *m_BillInterface); }

// Close (CheckOrder mode 5) or re-open (mode 6) through the order's server component; the form
// then shows the order as stored.
void BillEvent_Order::CloseOrReopen(ToolClick& click) {
  const bool reopen = click.key == "mnuEditUnClose";
  if (!Saved(click)) return;
  if (!CheckOrder(reopen ? 6 : 5)) {
    click.cancel = true;
    return;
  }
  auto& bill = *m_BillInterface;
  Resume([&] {
    context()
        .host()
        .CreateObject(host::progid::kOrderUpdate)
        .As<host::IOrderUpdate>()
        ->CloseBill(services::PropsString(context()), CurBillId(bill), reopen);
  });
  Resume([&] { bill.SetBillStatus(host::kBillView); });
  Resume([&] { bill.Refresh(); });
}

// The related-bill window of the order's execution, or of the purchase orders made from it.
void BillEvent_Order::ShowLookup(ToolClick& click) {
  if (!Saved(click)) return;
  const bool purchase = click.key == "mnuQueryGHOrder";
  const long kind = purchase ? 1020001 : 0;
  RelatedQuery query{purchase ? "查询采购订单记录" : "销售订单执行情况",
                     purchase ? "查询采购订单记录" : "销售订单信息", BuildLookupTitles(kind),
                     BuildLookupEntries(kind), kClassTypeId};
  ShowRelatedRecords(context(), *m_BillInterface, query);
}

void BillEvent_Order::DropEmptyRowBeforeSave(ToolClick&) {
  sales::DropEmptyLastRow(*m_BillInterface);
}

}  // namespace zov::plugins
