// The list of the sales bill and its second type: its tools, a table from the tool clicked to its
// command, and the merged copy.
#include <tuple>

#include "bills/common/commands.h"
#include "bills/common/invoice.h"
#include "bills/common/rule_tables.h"
#include "bills/common/sale_bill.h"
#include "frame/bill_access.h"
#include "frame/menu.h"
#include "frame/resume.h"
#include "services/database.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "services/user_profile.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins::sales {

namespace {

constexpr const char* kMdiMain = "ZOVMain.MDIMain";

// Whether the user makes one logistics bill of several sales bills.
bool LogisticsMultiToOne(PluginContext& ctx) {
  return vb::Val(services::GetUserProfile(ctx, "SaleListInterface", "LogicMultiToOne")) != 0;
}

}  // namespace

SaleBillList::SaleBillList(PluginContext& ctx, host::IListInterface& list,
                           const SaleBillRules& rules)
    : ctx_(ctx), list_(list), rules_(rules) {}

std::vector<long> SaleBillList::Selected() {
  return ResumeOr<std::vector<long>>({}, [&] { return list_.SelectedBillIDs(); });
}

std::string SaleBillList::StoredColumn(long id, const char* column) {
  return services::FirstValue(
      ctx_, std::string("Select ") + column + " From " + std::string(rules_.cls.headTable) +
                " Where FClassTypeID=" + std::to_string(rules_.cls.classTypeId) +
                " And FID=" + std::to_string(id));
}

// The merged copy is a new, unaudited delivery.
void SaleBillList::AfterMergeCopyBill(const Variant& data) {
  ResetMergedCopy(data, std::to_string(static_cast<long>(SaleKind::kDelivery)));
}

void SaleBillList::MenuBarInitialize(const Ref<host::IActiveBar>& bar) {
  for (const char* key : {"mnuEditCheck", "mnuEditUnCheck", "mnuEditCopy", "mnuKddPrint"})
    Resume([&] { list_.SetToolProperty(key, "Visible", true); });
  AddTool(bar, {"mnuGenLogic", "生成物流单", "BandToolBar", "mnuEditUnCheck", "", "", 0, ""});
  // The generation mode, one logistics bill per sales bill or several into one, follows the
  // user's last choice.
  const bool multi = LogisticsMultiToOne(ctx_);
  for (const auto& [key, caption, checked] :
       {std::tuple{"mnuLogicOneToOne", "一对一生成", !multi},
        std::tuple{"mnuLogicMultiToOne", "多对一生成", multi}}) {
    auto t = bar->Tools()->Add(key);
    t->SetCaption(caption);
    t->SetToolTipText(caption);
    t->SetDescription(caption);
    t->SetChecked(checked);
  }
  if (rules_.listInvoice)
    AddTool(bar,
            {"mnu_MakeTzeInvoice", "生成发票", "BandToolBar", "mnuEditUnCheck", "", "", 0, ""});
  AddTool(bar,
          {"mnuQueryLogisticList", "查询物流单", "mnuView", "mnuQORViewVoucher", "", "", 0, ""});
  bar->RecalcLayout();
}

void SaleBillList::MenuBarClick(const Ref<host::ITool>& tool, bool& cancel) {
  static const KeyTable<ToolHandler> kCommands{
      {{"mnuEditCopyEntry", "mnuEditCopy", "mnuEditDelete"},
       &SaleBillList::RefuseRejectedSelection},
      {{"mnuKddPrint"}, &SaleBillList::PrintExpressNote},
      {{"mnuQueryLogisticList"}, &SaleBillList::QueryLogistics},
      {{"mnuLogicMultiToOne", "mnuLogicOneToOne"}, &SaleBillList::SwitchLogisticsMode},
      {{"mnu_MakeTzeInvoice"}, &SaleBillList::InvoiceSelection},
      {{"mnuGenLogic"}, &SaleBillList::MakeLogistics},
  };
  ToolClick click{tool, ResumeOr<std::string>({}, [&] { return tool->Name(); }), cancel};
  if (const ToolHandler* handler = kCommands.Find(click.key)) (this->**handler)(click);
}

void SaleBillList::RefuseRejectedSelection(ToolClick& click) {
  RefuseSelectedBills(ctx_, list_, rules_.cls, "FRejected", 1,
                      "你选择的单据包含驳回状态的订单，不允许删除，请重新选择。", click.cancel);
}

void SaleBillList::PrintExpressNote(ToolClick& click) {
  RefuseExpressPrintWithoutRight(ctx_, click.cancel);
}

void SaleBillList::QueryLogistics(ToolClick& click) {
  auto& ctx = ctx_;
  click.cancel = true;
  if (!services::AccessCheck(ctx, services::PropsString(ctx), 12, 500, 1, kMdiMain)) {
    services::ShowMessage(ctx, "您没有查询物流单的权限。");
    return;
  }
  std::string codes;
  for (long id : Selected()) {
    const std::string number = StoredColumn(id, "FLogisticNumber");
    if (!vb::Trim(number).empty()) codes += (codes.empty() ? "" : ",") + number;
  }
  if (codes.empty()) {
    services::ShowMessage(ctx, "请选择已经生成过物流单的销售单！");
    return;
  }
  auto condition = NewDictionary(ctx);
  condition->SetItem("BillCode", codes);
  Resume([&] {
    ctx.host()
        .CreateObject(host::progid::kLogisticApplication)
        .As<host::ILogisticApplication>()
        ->ShowByCondition(condition);
  });
}

void SaleBillList::SwitchLogisticsMode(ToolClick& click) {
  const bool multi = click.key == "mnuLogicMultiToOne";
  services::SaveUserProfileItem(ctx_, "SaleListInterface", "LogicMultiToOne", multi ? 1 : 0);
  auto bar = ResumeOr<Ref<host::IActiveBar>>({}, [&] { return list_.ToolBar(); });
  if (auto t = bar ? bar->Tools()->Find("mnuLogicMultiToOne") : Ref<host::ITool>{})
    t->SetChecked(multi);
  if (auto t = bar ? bar->Tools()->Find("mnuLogicOneToOne") : Ref<host::ITool>{})
    t->SetChecked(!multi);
}

void SaleBillList::InvoiceSelection(ToolClick& click) {
  if (rules_.listInvoice) MakeListInvoice(ctx_, list_, rules_.cls, Selected(), click.cancel);
}

void SaleBillList::MakeLogistics(ToolClick& click) {
  auto& ctx = ctx_;
  click.cancel = true;
  auto records = NewDictionary(ctx);
  long n = 0;
  for (long id : Selected()) {
    auto rs = services::OpenRecordsetTolerant(
        ctx, "Select FBillTypeID,FBillNo,FLogisticNumber,FStatus,FCustID From " +
                 std::string(rules_.cls.headTable) + " Where FClassTypeID=" +
                 std::to_string(rules_.cls.classTypeId) + " And FID=" + std::to_string(id));
    if (!rs || rs->Eof()) continue;
    if (static_cast<SaleKind>(static_cast<long>(vb::Val(vb::CStr(rs->Value("FBillTypeID"))))) ==
        SaleKind::kSettlementReturn) {
      services::ShowMessage(ctx, "你选择的单据包含委托结算退货单，请重新选择。");
      return;
    }
    auto record = NewDictionary(ctx);
    record->SetItem("BillNo", rs->Value("FBillNo"));
    record->SetItem("LogisticNum", rs->Value("FLogisticNumber"));
    record->SetItem("Status", vb::Val(vb::CStr(rs->Value("FStatus"))) == 0 ? 0 : 1);
    record->SetItem("CustID", rs->Value("FCustID"));
    records->SetItem(++n, Ref<host::IDictionary>(record));
  }
  if (n == 0) {
    services::ShowMessage(ctx, "请选择要生成物流单的销售单！");
    return;
  }
  const bool multi = LogisticsMultiToOne(ctx);
  Resume([&] {
    auto logistics = ctx.host()
                         .CreateObject(host::progid::kLogisticApplication)
                         .As<host::ILogisticApplication>();
    auto results = logistics->BatchMakeLogisticDataProc(records, multi);
    auto window = ctx.host().CreateObject(host::progid::kDispBuilder).As<host::IDispBuilder>();
    window->SetCols(1);
    window->SetTitles("提示信息|");
    window->SetColWidth(1, 7500);
    long ok = 0, failed = 0;
    if (results)
      for (const auto& k : results->Keys()) {
        auto r = results->Item(k).ObjectAs<host::IDictionary>();
        if (!r) continue;
        window->Add(vb::CStr(r->Item("Info")) + "|");
        (vb::CBool(r->Item("Success")) ? ok : failed) += 1;
      }
    window->Add("合计：成功(" + std::to_string(ok) + "张),失败(" + std::to_string(failed) + "张)|");
    window->Show(1);
    list_.Refresh();
  });
}

}  // namespace zov::plugins::sales
