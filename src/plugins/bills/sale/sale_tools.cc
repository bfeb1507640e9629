// The sales bill's tools on the form: added when the host builds the menus, and a table from the
// tool clicked to its command.
#include "bills/common/commands.h"
#include "bills/common/invoice.h"
#include "bills/common/related.h"
#include "bills/common/rule_tables.h"
#include "bills/sale/bill_event_sale.h"
#include "calc/charges.h"
#include "frame/bill_access.h"
#include "frame/menu.h"
#include "frame/resume.h"
#include "services/database.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/host/components.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

// The option tools of the form: key, caption, option.
struct OptionTool {
  const char* key;
  const char* caption;
  const char* option;
};
constexpr OptionTool kOptions[] = {
    {"mnuCheckDuplicateItem", "录入时检查重复商品", "CheckDuplicateItem"},
    {"mnuDoNotResetPrice", "修改客户不重新取价", "DoNotResetPrice"},
    {"mnuDoNotGetSalePriceWhenGiftStock", "赠品仓不按售价方案取价",
     "DoNotGetSalePriceWhenGiftStock"},
};

// The follow-up queries: tool, caption, window title, the kind of bill they list.
struct QueryTool {
  const char* key;
  const char* caption;
  const char* title;
  long queryKind;
};
constexpr QueryTool kFollowUpQueries[] = {
    {"mnuQuerySaleReject", "查询退货记录", "销售发货单信息", 3002},
    {"mnuQuerySale", "查询发货记录", "销售退货单信息", 3001},
    {"mnuQueryConsign", "查询委托代销记录", "委托结算单信息", 3010},
    {"mnuQueryConsignReject", "查询委托结算记录", "委托结算退货单信息", 3003},
    {"mnuQueryConsignBal", "查询委托结算退货记录", "委托结算单信息", 3004},
};

constexpr const char* kMdiMain = "ZOVMain.MDIMain";

void SetCaption(const Ref<host::IActiveBar>& bar, const char* key, const char* caption) {
  if (auto tool = bar->Tools()->Find(key)) {
    tool->SetCaption(caption);
    tool->SetToolTipText(caption);
    tool->SetDescription(caption);
  }
}

// Places an existing host tool on the tool bar after `after` with a picture.
void ToolbarButton(const Ref<host::IActiveBar>& bar, const char* key, const char* after,
                   const char* picture) {
  auto tool = bar->Tools()->Find(key);
  auto band = bar->Band("BandToolBar");
  if (!tool || !band || band->Tools()->IndexOf(key) >= 0) return;
  if (picture[0]) tool->SetPicture(picture, 0xC0C0C0);
  const long at = band->Tools()->IndexOf(after);
  band->Tools()->Insert(at < 0 ? band->Tools()->Count() : at + 1, tool);
}

// Whether the next save is one the user asked for (or what saves): its stock check then runs.
bool ArmsSave(PluginContext& ctx, std::string_view key) {
  if (key == "mnuEditFileSave" || vb::UCase(key) == "MNUFILEEXIT" || key == "mnuEditCheck" ||
      key == "mnuDataPre2" || key == "mnuDataNext2" || key == "mnuEditFileNew")
    return true;
  return (key == "mnuFilePreview" || key == "mnuFilePrint") && SaveBeforePrint(ctx);
}

}  // namespace

void BillEvent_Sale::m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>& bar) {
  sales::AddSaleRelateTools(bar);
  for (const auto& o : kOptions)
    AddOptionTool(context(), bar, kClassTypeId, o.key, o.caption, o.option);

  // The host's tools as the sales bill labels them.
  const std::pair<const char*, const char*> sourceCaptions[] = {
      {"mnuRelate_1030001", "选择销售订单"},
      {"mnuRelate_1030002", "选择销售发货单"},
      {"mnuRelate_1030003", "选择委托代销单"}};
  const char* after = "mnuEditUnCheck";
  for (const auto& [key, caption] : sourceCaptions) {
    auto tool = bar->Tools()->Find(key);
    if (!tool) continue;
    tool->SetCaption(caption);
    tool->SetToolTipText(caption);
    tool->SetDescription("选源单");
    ToolbarButton(bar, key, after, "SELBILL");
    after = key;
  }
  ToolbarButton(bar, "mnuRelatePushBill_2000001", after, "CONVERT");
  ToolbarButton(bar, "mnuKddPrint", "mnuRelatePushBill_2000001", "VOUCHER");
  SetCaption(bar, "mnuEditCheckInfo", "冲预收款");
  ToolbarButton(bar, "mnuEditCheckInfo", "mnuEditCheck", "CHECK");
  SetCaption(bar, "mnuEditAutoSumAmt", "整单收款");
  if (auto tool = bar->Tools()->Find("mnuEditAutoSumAmt")) tool->SetCaption("整单收款(F9)");
  ToolbarButton(bar, "mnuEditAutoSumAmt", "mnuEditCheckInfo", "SUM");
  bar->RecalcLayout();
}

void BillEvent_Sale::m_BillInterface_MenuBarClick(const Ref<host::ITool>& tool, bool& cancel) {
  static const sales::KeyTable<ToolHandler> kCommands{
      {{"mnuCheckDuplicateItem", "mnuDoNotResetPrice", "mnuDoNotGetSalePriceWhenGiftStock"},
       &BillEvent_Sale::ToggleOption},
      {{"mnuOptionPriceCalcDiscount"}, &BillEvent_Sale::TogglePriceCalcDiscount},
      {{"mnuEditFileDelete"}, &BillEvent_Sale::RefuseRejectedDelete},
      {{"mnuEditAutoSumAmt"}, &BillEvent_Sale::ReceiveWholeBill},
      {{"mnuEditCopy"}, &BillEvent_Sale::CopyUnaudited},
      {{"mnuRelate_1030001", "mnuRelate_1030002", "mnuRelate_1030003"},
       &BillEvent_Sale::ChooseSource},
      {{"mnuQueryPayIn"}, &BillEvent_Sale::QueryPayIn},
      {{"mnuQuerySaleOrder"}, &BillEvent_Sale::QuerySaleOrder},
      {{"mnuQueryGH"}, &BillEvent_Sale::QueryPurchase},
      {{"mnuQuerySaleReject", "mnuQuerySale", "mnuQueryConsign", "mnuQueryConsignReject",
        "mnuQueryConsignBal"},
       &BillEvent_Sale::QueryFollowUp},
      {{"mnuRelatePushBill_2000001"}, &BillEvent_Sale::MakeLogistics},
      {{"mnuQueryLogisticList"}, &BillEvent_Sale::QueryLogistics},
      {{"mnuKddPrint"}, &BillEvent_Sale::PrintExpressNote},
      {{"mnuRelatePushBill_1050001"}, &BillEvent_Sale::PushReceipt},
      {{"mnuRelatePushBill_3000001"}, &BillEvent_Sale::PushInvoice},
      {{"mnuEditCheckInfo"}, &BillEvent_Sale::OffsetAdvanceReceipts},
      {{"mnuEditFileSave"}, &BillEvent_Sale::DropEmptyRowBeforeSave},
      {{"mnuShareByQty", "mnuShareByAmt"}, &BillEvent_Sale::ShareCharges},
      {{"mnuReject"}, &BillEvent_Sale::Reject},
  };
  ToolClick click(tool, cancel);
  if (const ToolHandler* handler = kCommands.Find(click.key)) (this->**handler)(click);
  if (ArmsSave(context(), click.key)) pendingAction_ = "SAVE";
}

bool BillEvent_Sale::CustomerEntered(ToolClick& click) {
  if (FieldId(*m_BillInterface, "FCustID") > 0) return true;
  sales::Refuse(context(), *m_BillInterface, "请先输入客户。", "FCustID");
  click.cancel = true;
  return false;
}

void BillEvent_Sale::ToggleOption(ToolClick& click) {
  for (const auto& o : kOptions)
    if (click.key == o.key) plugins::ToggleOption(context(), click.tool, kClassTypeId, o.option);
}

// The discount entry mode is the form's: the tool's checked state, not stored for the user.
void BillEvent_Sale::TogglePriceCalcDiscount(ToolClick& click) {
  Resume([&] { click.tool->SetChecked(!click.tool->Checked()); });
}

void BillEvent_Sale::RefuseRejectedDelete(ToolClick& click) {
  sales::RefuseRejectedDelete(context(), *m_BillInterface, click.cancel);
}

void BillEvent_Sale::ReceiveWholeBill(ToolClick&) {
  auto& bill = *m_BillInterface;
  const double total = BillTotal();
  Resume([&] { bill.SetFieldValue("FCurCheckAmount", total, -1); });
  if (Kind() == SaleKind::kReturn) {
    if (FieldNumber(bill, "FMultiAccount") == 0)
      Resume([&] { bill.SetFieldValue("FCurPayAmount", total, -1); });
  } else if (FieldNumber(bill, "FCurPayAmount") == 0) {
    Resume([&] {
      bill.SetFieldValue("FCurPayAmount", total - FieldNumber(bill, "FNeutralizeAmount"), -1);
    });
  }
  SettleAmounts(true, FieldNumber(bill, "FMultiAccount") == 1);
}

void BillEvent_Sale::CopyUnaudited(ToolClick&) {
  auto& bill = *m_BillInterface;
  Resume([&] { bill.SetFieldValue("FStatus", "0", -1); });
  for (long row = 1, rows = GridRows(bill); row <= rows; ++row) {
    Resume([&] { bill.SetFieldValue("FRejectQty", 0, row); });
    Resume([&] { bill.SetFieldValue("FRejectAuxQty", 0, row); });
    Resume([&] { bill.SetFieldValue("FUnRejectQty", FieldNumber(bill, "FShowQty", row), row); });
  }
}

void BillEvent_Sale::ChooseSource(ToolClick& click) {
  CustomerChosenForSource(context(), *m_BillInterface, click.cancel);
}

void BillEvent_Sale::QueryPayIn(ToolClick&) {
  const SaleKind kind = Kind();
  const char* title = kind == SaleKind::kReturn             ? "销售退货单信息"
                      : kind == SaleKind::kSettlement       ? "委托结算单信息"
                      : kind == SaleKind::kSettlementReturn ? "委托结算退货单信息"
                                                            : "销售发货单信息";
  sales::ShowRelated(Form(), std::string("查询") + (IsReturnKind(kind) ? "退" : "收") + "款记录",
                     title, 5001);
}

void BillEvent_Sale::QuerySaleOrder(ToolClick& click) {
  if (services::AccessCheck(context(), services::PropsString(context()), 12, 100, 1, kProgId))
    return sales::ShowRelated(Form(), "查询销售订单记录", "销售单信息", 1030001);
  services::ShowMessage(context(), "您没有查看销售订单的权限。");
  click.cancel = true;
}

void BillEvent_Sale::QueryPurchase(ToolClick& click) {
  if (services::AccessCheck(context(), services::PropsString(context()), 11, 200, 1, kProgId))
    return sales::ShowRelated(Form(), "查询购货单记录", "销售单信息", 1020002);
  services::ShowMessage(context(), "您没有查看购货单的权限。");
  click.cancel = true;
}

void BillEvent_Sale::QueryFollowUp(ToolClick& click) {
  for (const auto& q : kFollowUpQueries)
    if (click.key == q.key) sales::ShowRelated(Form(), q.caption, q.title, q.queryKind);
}

void BillEvent_Sale::MakeLogistics(ToolClick& click) {
  auto& bill = *m_BillInterface;
  if (CurBillId(bill) <= 0) {
    services::ShowMessage(context(), "请先保存单据");
    click.cancel = true;
    return;
  }
  if (!CustomerEntered(click)) return;
  Resume([&] {
    auto logistics = context()
                         .host()
                         .CreateObject(host::progid::kLogisticApplication)
                         .As<host::ILogisticApplication>();
    logistics->AddBillCode(FieldText(bill, "FBillNo"));
    logistics->BillToLogisticMake();
  });
  ApplyBillLayout();
  click.cancel = true;
}

void BillEvent_Sale::QueryLogistics(ToolClick& click) {
  auto& ctx = context();
  click.cancel = true;
  if (!services::AccessCheck(ctx, services::PropsString(ctx), 12, 500, 1, kMdiMain)) {
    services::ShowMessage(ctx, "您没有查询物流单的权限。");
    return;
  }
  Resume([&] {
    auto logistics = ctx.host()
                         .CreateObject(host::progid::kLogisticApplication)
                         .As<host::ILogisticApplication>();
    auto condition = NewDictionary(ctx);
    condition->SetItem("BillCode", FieldText(*m_BillInterface, "FBillNo"));
    logistics->ShowByCondition(condition);
  });
}

void BillEvent_Sale::PrintExpressNote(ToolClick& click) {
  if (services::AccessCheck(context(), services::PropsString(context()), 12, 200, 64, kMdiMain))
    return;
  services::ShowMessage(context(), "您没有打印权限。");
  click.cancel = true;
}

void BillEvent_Sale::PushReceipt(ToolClick& click) {
  const std::string moved = services::FirstValue(
      context(),
      "Select top 1 1 from t_RP_CheckBillEntry1 t1 inner join t_RP_CheckBill t2 on t1.FID=t2.FID "
      "where t1.FSourceBillId=" +
          std::to_string(CurBillId(*m_BillInterface)) + " And t1.FSourceClassTypeId=" +
          std::to_string(kClassTypeId) + " And t2.FBillTypeId in(5024,5025)");
  if (moved.empty()) return;
  services::ShowMessage(context(), "该单据已经发生转移，请到应收应付系统制作收付款单");
  click.cancel = true;
}

void BillEvent_Sale::PushInvoice(ToolClick& click) {
  auto& ctx = context();
  const long billId = CurBillId(*m_BillInterface);
  if (billId <= 0) {
    services::ShowMessage(ctx, "请先保存单据");
    click.cancel = true;
    return;
  }
  if (!CustomerEntered(click)) return;
  if (auto invoice = sales::GetSaleBillMakeTzeInvoiceDict(Form(), billId, sales::kInvoiceTexts))
    Resume([&] {
      ctx.host()
          .CreateObject(host::progid::kInvoiceManage)
          .As<host::IInvoiceManage>()
          ->SaleBillMakeTzeInvoice(services::PropsString(ctx), invoice);
    });
  ApplyBillLayout();
  click.cancel = true;
}

void BillEvent_Sale::OffsetAdvanceReceipts(ToolClick& click) {
  auto& ctx = context();
  const std::string props = services::PropsString(ctx);
  if (!services::AccessCheck(ctx, props, 14, 300, 2, kProgId) &&
      !services::AccessCheck(ctx, props, 14, 300, 4, kProgId)) {
    services::ShowMessage(ctx, "您没有核销预收款的权限。");
    click.cancel = true;
    return;
  }
  Resume([&] { m_BillInterface->SetActiveCell("FNeutralizeAmount", -1); });
  CustomerEntered(click);
}

void BillEvent_Sale::DropEmptyRowBeforeSave(ToolClick&) {
  sales::DropEmptyLastRow(*m_BillInterface);
}

void BillEvent_Sale::ShareCharges(ToolClick& click) {
  calc::AllocateCharges(
      context(),
      click.key == "mnuShareByQty" ? calc::ShareBasis::kQuantity : calc::ShareBasis::kAmount,
      *m_BillInterface, false);
}

void BillEvent_Sale::Reject(ToolClick&) {
  if (sales::RejectWithNote(context(), *m_BillInterface))
    calc::SyncChargesTotal(context(), *m_BillInterface);
}

}  // namespace zov::plugins
