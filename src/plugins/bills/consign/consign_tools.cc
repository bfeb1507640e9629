// The consignment bill's tools on the form: added when the host builds the menus, and a table
// from the tool clicked to its command. Every click leaves the pending action marker that tells
// the next save whether the user asked for it.
#include "bills/common/commands.h"
#include "bills/consign/bill_event_consign.h"
#include "calc/charges.h"
#include "frame/bill_access.h"
#include "frame/menu.h"
#include "frame/resume.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

// A click that saves the bill: save, exit and audit, and printing where bills are saved first
// (any setting but 0 asks for it on this bill).
bool ArmsSave(PluginContext& ctx, std::string_view key) {
  const std::string upper = vb::UCase(key);
  if (upper == "MNUEDITFILESAVE" || upper == "MNUFILEEXIT" || upper == "MNUEDITCHECK") return true;
  return (key == "mnuFilePreview" || key == "mnuFilePrint") && SaveBeforePrintSetting(ctx) != 0;
}

}  // namespace

void BillEvent_Consign::m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>& bar) {
  AddTool(bar, {"mnuQueryConsignAccount", "查询委托结算记录", "mnuRelate", "",
                "mnuRelateViewVoucher", "", 0, ""});
  AddTool(bar, {"mnuQueryConsignReject", "查询委托退货记录", "mnuRelate", "mnuQueryConsignAccount",
                "", "", 0, ""});
  AddTool(bar, {"mnuQueryConsignSale", "查询委托代销记录", "mnuRelate", "mnuQueryConsignReject", "",
                "", 0, ""});
  AddTool(bar, {"mnuQuerySaleOrder", "查询销售订单记录", "mnuRelate", "mnuQueryConsignReject", "",
                "", 0, ""});
  AddSeparator(bar, "mnuRelate", "mnuQueryConsignSale");
  AddSeparator(bar, "mnuRelate", "mnuRelateViewList");
  AddOptionTool(context(), bar, kClassTypeId, "mnuDoNotResetPrice", "修改客户不重新取价",
                "DoNotResetPrice");
  for (const auto& [key, text] :
       {std::pair{"mnuRelatePushBill_1030003", "生成委托退货单"},
        std::pair{"mnuRelatePushBill_1030002", "生成委托结算单"},
        std::pair{"mnuRelate_1030001", "选源单"}, std::pair{"mnuRelate_1030003", "选源单"}})
    Resume([&] { m_BillInterface->SetToolProperty(key, "Description", text); });
  PlaceSourceTools(bar);
  for (const auto& [key, tip] : {std::pair{"mnuRelate_1030001", "选择销售订单"},
                                 std::pair{"mnuRelate_1030003", "选择委托代销单"}})
    Resume([&] {
      if (auto t = bar->Tools()->Find(key)) {
        t->SetCaption("选源单");
        t->SetToolTipText(tip);
      }
    });
}

void BillEvent_Consign::m_BillInterface_MenuBarClick(const Ref<host::ITool>& tool, bool& cancel) {
  static const sales::KeyTable<ToolHandler> kCommands{
      {{"mnuRelate_1030001", "mnuRelate_1030003"}, &BillEvent_Consign::SelectSource},
      {{"mnuQueryConsignAccount", "mnuQueryConsignReject", "mnuQueryConsignSale",
        "mnuQuerySaleOrder"},
       &BillEvent_Consign::ShowLookup},
      {{"mnuEditFileSave"}, &BillEvent_Consign::DropEmptyRowBeforeSave},
      {{"mnuShareByQty", "mnuShareByAmt"}, &BillEvent_Consign::ShareCharges},
      {{"mnuDoNotResetPrice"}, &BillEvent_Consign::ToggleResetPrice},
  };
  ToolClick click(tool, cancel);
  if (const ToolHandler* handler = kCommands.Find(click.key)) (this->**handler)(click);
  pendingAction_ = ArmsSave(context(), click.key) ? "SAVE" : "";
}

void BillEvent_Consign::SelectSource(ToolClick& click) {
  if (!CustomerChosenForSource(context(), *m_BillInterface, click.cancel)) return;
  // A return takes its goods as its consignment bill sent them.
  if (click.key == "mnuRelate_1030003")
    SetColumns("FItemID,FSCStockID,FBatchNo,FAuxPropID,FKFDate", ColumnProperty::kLocked, true);
}

void BillEvent_Consign::ShowLookup(ToolClick& click) {
  struct Window {
    const char* tool;
    const char* caption;
    const char* title;
    Linked linked;
  };
  static constexpr Window kWindows[] = {
      {"mnuQueryConsignAccount", "查询委托结算记录", "委托代销单信息", Linked::kSettlements},
      {"mnuQueryConsignReject", "查询委托退货记录", "委托代销单信息", Linked::kReturns},
      {"mnuQueryConsignSale", "查询委托代销记录", "委托退货单信息", Linked::kConsignSources},
      {"mnuQuerySaleOrder", "查询销售订单记录", "委托代销单信息", Linked::kOrderSources},
  };
  const Window* window = nullptr;
  for (const Window& w : kWindows)
    if (vb::UCase(w.tool) == vb::UCase(click.key)) window = &w;
  if (!window) return;
  if (window->linked == Linked::kOrderSources &&
      !services::AccessCheck(context(), services::PropsString(context()), 12, 100, 1, kProgId)) {
    services::ShowMessage(context(), "您没有查看销售订单的权限。");
    return;
  }
  if (CurBillId(*m_BillInterface) <= 0) {
    services::ShowMessage(context(), "请先保存单据");
    click.cancel = true;
    return;
  }
  ShowRelatedRecords(context(), *m_BillInterface,
                     {window->caption, window->title, BuildLookupTitles(),
                      BuildLookupEntries(window->linked), kClassTypeId});
}

void BillEvent_Consign::DropEmptyRowBeforeSave(ToolClick&) {
  sales::DropEmptyLastRow(*m_BillInterface);
}

void BillEvent_Consign::ShareCharges(ToolClick& click) {
  calc::AllocateCharges(
      context(),
      click.key == "mnuShareByQty" ? calc::ShareBasis::kQuantity : calc::ShareBasis::kAmount,
      *m_BillInterface, false);
}

void BillEvent_Consign::ToggleResetPrice(ToolClick& click) {
  ToggleOption(context(), click.tool, kClassTypeId, "DoNotResetPrice");
}

}  // namespace zov::plugins
