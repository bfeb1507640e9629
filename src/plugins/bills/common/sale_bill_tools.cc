// The tools of the sales bill and its second type on the form: added when the host builds the
// menus, and a table from the tool clicked to its command; the settlement amounts they and the
// field changes keep in step.
#include "bills/common/commands.h"
#include "bills/common/invoice.h"
#include "bills/common/related.h"
#include "bills/common/rule_tables.h"
#include "bills/common/sale_bill.h"
#include "calc/charges.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/menu.h"
#include "frame/resume.h"
#include "services/database.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/host/components.h"
#include "zov/vb/strings.h"

namespace zov::plugins::sales {

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

// Money to the cent: the column sum carries the binary noise of its addends (14.13 + 67.80 is
// 81.929999...), and a payment of the total shown must count as the total.
double Cents(double v) { return services::FormatToPlaces(Variant(v), 2).ToDouble(); }

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

void SaleBill::MenuBarInitialize(const Ref<host::IActiveBar>& bar) {
  AddSaleRelateTools(bar);
  if (rules_.userOptions)
    for (const auto& o : kOptions)
      AddOptionTool(ctx_, bar, rules_.cls.classTypeId, o.key, o.caption, o.option);

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

void SaleBill::MenuBarClick(const Ref<host::ITool>& tool, bool& cancel) {
  static const KeyTable<ToolHandler> kCommands{
      {{"mnuCheckDuplicateItem", "mnuDoNotResetPrice", "mnuDoNotGetSalePriceWhenGiftStock"},
       &SaleBill::ToggleOption},
      {{"mnuOptionPriceCalcDiscount"}, &SaleBill::TogglePriceCalcDiscount},
      {{"mnuEditFileDelete"}, &SaleBill::RefuseRejectedDelete},
      {{"mnuEditAutoSumAmt"}, &SaleBill::ReceiveWholeBill},
      {{"mnuEditCopy"}, &SaleBill::CopyUnaudited},
      {{"mnuRelate_1030001", "mnuRelate_1030002", "mnuRelate_1030003"}, &SaleBill::ChooseSource},
      {{"mnuQueryPayIn"}, &SaleBill::QueryPayIn},
      {{"mnuQuerySaleOrder"}, &SaleBill::QuerySaleOrder},
      {{"mnuQueryGH"}, &SaleBill::QueryPurchase},
      {{"mnuQuerySaleReject", "mnuQuerySale", "mnuQueryConsign", "mnuQueryConsignReject",
        "mnuQueryConsignBal"},
       &SaleBill::QueryFollowUp},
      {{"mnuRelatePushBill_2000001"}, &SaleBill::MakeLogistics},
      {{"mnuQueryLogisticList"}, &SaleBill::QueryLogistics},
      {{"mnuKddPrint"}, &SaleBill::PrintExpressNote},
      {{"mnuRelatePushBill_1050001"}, &SaleBill::PushReceipt},
      {{"mnuRelatePushBill_3000001"}, &SaleBill::PushInvoice},
      {{"mnuEditCheckInfo"}, &SaleBill::OffsetAdvanceReceipts},
      {{"mnuEditFileSave"}, &SaleBill::DropEmptyRowsBeforeSave},
      {{"mnuShareByQty", "mnuShareByAmt"}, &SaleBill::ShareCharges},
      {{"mnuReject"}, &SaleBill::Reject},
  };
  ToolClick click{tool, ResumeOr<std::string>({}, [&] { return tool->Name(); }), cancel};
  if (const ToolHandler* handler = kCommands.Find(click.key)) (this->**handler)(click);
  if (ArmsSave(ctx_, click.key)) state_.pendingAction = "SAVE";
}

bool SaleBill::CustomerEntered(ToolClick& click) {
  if (FieldId(bill_, "FCustID") > 0) return true;
  Refuse(ctx_, bill_, "请先输入客户。", "FCustID");
  click.cancel = true;
  return false;
}

void SaleBill::ToggleOption(ToolClick& click) {
  if (!rules_.userOptions) return;
  for (const auto& o : kOptions)
    if (click.key == o.key)
      plugins::ToggleOption(ctx_, click.tool, rules_.cls.classTypeId, o.option);
}

// The discount entry mode is the form's: the tool's checked state, not stored for the user.
void SaleBill::TogglePriceCalcDiscount(ToolClick& click) {
  Resume([&] { click.tool->SetChecked(!click.tool->Checked()); });
}

void SaleBill::RefuseRejectedDelete(ToolClick& click) {
  sales::RefuseRejectedDelete(ctx_, bill_, click.cancel);
}

void SaleBill::ReceiveWholeBill(ToolClick&) {
  auto& bill = bill_;
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

void SaleBill::CopyUnaudited(ToolClick&) {
  auto& bill = bill_;
  Resume([&] { bill.SetFieldValue("FStatus", "0", -1); });
  for (const SalesRowKeys* keys : Grids()) {
    const std::string& s = keys->suffix;
    for (long row = 1, rows = GridRows(bill, keys->grid); row <= rows; ++row) {
      Resume([&] { bill.SetFieldValue("FRejectQty" + s, 0, row); });
      Resume([&] { bill.SetFieldValue("FRejectAuxQty" + s, 0, row); });
      Resume([&] {
        bill.SetFieldValue("FUnRejectQty" + s, FieldNumber(bill, keys->showQty, row), row);
      });
    }
  }
}

void SaleBill::ChooseSource(ToolClick& click) {
  CustomerChosenForSource(ctx_, bill_, click.cancel);
}

void SaleBill::QueryPayIn(ToolClick&) {
  const SaleKind kind = Kind();
  const char* title = kind == SaleKind::kReturn             ? "销售退货单信息"
                      : kind == SaleKind::kSettlement       ? "委托结算单信息"
                      : kind == SaleKind::kSettlementReturn ? "委托结算退货单信息"
                                                            : "销售发货单信息";
  // The second type's window is captioned alike for every kind.
  ShowRelated(Form(),
              rules_.byKind ? std::string("查询") + (IsReturnKind(kind) ? "退" : "收") + "款记录"
                            : std::string("查询记录"),
              title, 5001);
}

void SaleBill::QuerySaleOrder(ToolClick& click) {
  if (services::AccessCheck(ctx_, services::PropsString(ctx_), 12, 100, 1, rules_.cls.progId))
    return ShowRelated(Form(), "查询销售订单记录", "销售单信息", 1030001);
  services::ShowMessage(ctx_, "您没有查看销售订单的权限。");
  click.cancel = true;
}

void SaleBill::QueryPurchase(ToolClick& click) {
  if (services::AccessCheck(ctx_, services::PropsString(ctx_), 11, 200, 1, rules_.cls.progId))
    return ShowRelated(Form(), "查询购货单记录", "销售单信息", 1020002);
  services::ShowMessage(ctx_, "您没有查看购货单的权限。");
  click.cancel = true;
}

void SaleBill::QueryFollowUp(ToolClick& click) {
  for (const auto& q : kFollowUpQueries)
    if (click.key == q.key) ShowRelated(Form(), q.caption, q.title, q.queryKind);
}

void SaleBill::MakeLogistics(ToolClick& click) {
  auto& bill = bill_;
  if (CurBillId(bill) <= 0) {
    services::ShowMessage(ctx_, "请先保存单据");
    click.cancel = true;
    return;
  }
  if (!CustomerEntered(click)) return;
  Resume([&] {
    auto logistics = ctx_.host()
                         .CreateObject(host::progid::kLogisticApplication)
                         .As<host::ILogisticApplication>();
    logistics->AddBillCode(FieldText(bill, "FBillNo"));
    logistics->BillToLogisticMake();
  });
  ApplyBillLayout();
  click.cancel = true;
}

void SaleBill::QueryLogistics(ToolClick& click) {
  auto& ctx = ctx_;
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
    condition->SetItem("BillCode", FieldText(bill_, "FBillNo"));
    logistics->ShowByCondition(condition);
  });
}

void SaleBill::PrintExpressNote(ToolClick& click) {
  RefuseExpressPrintWithoutRight(ctx_, click.cancel);
}

void SaleBill::PushReceipt(ToolClick& click) {
  const std::string moved = services::FirstValue(
      ctx_,
      "Select top 1 1 from t_RP_CheckBillEntry1 t1 inner join t_RP_CheckBill t2 on t1.FID=t2.FID "
      "where t1.FSourceBillId=" +
          std::to_string(CurBillId(bill_)) + " And t1.FSourceClassTypeId=" +
          std::to_string(rules_.cls.classTypeId) + " And t2.FBillTypeId in(5024,5025)");
  if (moved.empty()) return;
  services::ShowMessage(ctx_, "该单据已经发生转移，请到应收应付系统制作收付款单");
  click.cancel = true;
}

void SaleBill::PushInvoice(ToolClick& click) {
  auto& ctx = ctx_;
  const long billId = CurBillId(bill_);
  if (billId <= 0) {
    services::ShowMessage(ctx, "请先保存单据");
    click.cancel = true;
    return;
  }
  if (!CustomerEntered(click)) return;
  if (auto invoice = GetSaleBillMakeTzeInvoiceDict(Form(), billId, rules_.invoiceTexts))
    Resume([&] {
      ctx.host()
          .CreateObject(host::progid::kInvoiceManage)
          .As<host::IInvoiceManage>()
          ->SaleBillMakeTzeInvoice(services::PropsString(ctx), invoice);
    });
  ApplyBillLayout();
  click.cancel = true;
}

void SaleBill::OffsetAdvanceReceipts(ToolClick& click) {
  auto& ctx = ctx_;
  const std::string props = services::PropsString(ctx);
  if (!services::AccessCheck(ctx, props, 14, 300, 2, rules_.cls.progId) &&
      !services::AccessCheck(ctx, props, 14, 300, 4, rules_.cls.progId)) {
    services::ShowMessage(ctx, "您没有核销预收款的权限。");
    click.cancel = true;
    return;
  }
  Resume([&] { bill_.SetActiveCell("FNeutralizeAmount", -1); });
  CustomerEntered(click);
}

void SaleBill::DropEmptyRowsBeforeSave(ToolClick&) {
  for (const SalesRowKeys* keys : Grids()) DropEmptyLastRow(bill_, *keys);
}

void SaleBill::ShareCharges(ToolClick& click) {
  calc::AllocateCharges(
      ctx_, click.key == "mnuShareByQty" ? calc::ShareBasis::kQuantity : calc::ShareBasis::kAmount,
      bill_, false);
}

void SaleBill::Reject(ToolClick&) {
  if (RejectWithNote(ctx_, bill_)) calc::SyncChargesTotal(ctx_, bill_);
}

// --- settlement ---------------------------------------------------------------------------------

double SaleBill::BillTotal() {
  return ResumeOr<double>(0, [&] { return ColumnSum(bill_, "FInTaxAmount"); });
}

void SaleBill::SettleAmounts(bool paymentChanged, bool multiAccount) {
  auto& bill = bill_;
  const double pay = FieldNumber(bill, "FCurPayAmount");
  const double offset = FieldNumber(bill, "FNeutralizeAmount");
  auto set = [&](const char* key, const Variant& value) {
    Resume([&] { bill.SetFieldValue(key, value, -1); });
  };
  auto clearAndLock = [&](const char* key) {
    set(key, "");
    calc::LockField(bill, key, true, -1);
  };
  if (paymentChanged) {
    if (IsReturnKind(Kind())) set("FCurCheckAmount", pay + offset);
    if (multiAccount) {
      set("FMultiAccount", 1);
      calc::LockField(bill, "FCurPayAmount", true, -1);
      clearAndLock("FBalanceStyle");
      clearAndLock("FAcctNo");
    } else {
      set("FMultiAccount", 0);
      calc::LockField(bill, "FCurPayAmount", false, -1);
      if (pay == 0) {
        clearAndLock("FBalanceStyle");
        clearAndLock("FAcctNo");
      } else {
        calc::LockField(bill, "FBalanceStyle", false, -1);
        calc::LockField(bill, "FAcctNo", false, -1);
      }
      Resume([&] { bill.SetActiveCell("FCurPayAmount", -1); });
    }
  }
  // What is settled now against the total; an excess needs the discount account.
  const double total = BillTotal();
  const double settled = pay + offset;
  if (Cents(settled) == Cents(total)) {
    set("FCurCheckAmount", total);
    clearAndLock("FDiscountAcctID");
  } else if (Cents(settled) < Cents(total)) {
    set("FCurCheckAmount", settled);
    clearAndLock("FDiscountAcctID");
  } else {
    set("FCurCheckAmount", total);
    calc::LockField(bill, "FDiscountAcctID", false, -1);
  }
}

}  // namespace zov::plugins::sales
