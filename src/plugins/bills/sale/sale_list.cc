// The sales bill's list: its tools, a table from the tool clicked to its command, and the merged
// copy.
#include <tuple>

#include "bills/common/commands.h"
#include "bills/common/invoice.h"
#include "bills/common/rule_tables.h"
#include "bills/sale/bill_event_sale.h"
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

namespace zov::plugins {

namespace {

constexpr const char* kMdiMain = "ZOVMain.MDIMain";

// A column of stored sales bill `id`, as text.
std::string StoredColumn(PluginContext& ctx, long id, const char* column) {
  return services::FirstValue(
      ctx, std::string("Select ") + column +
               " From t_CC_StockBill Where FClassTypeID=1030002 And FID=" + std::to_string(id));
}

// Whether the user makes one logistics bill of several sales bills.
bool LogisticsMultiToOne(PluginContext& ctx) {
  return vb::Val(services::GetUserProfile(ctx, "SaleListInterface", "LogicMultiToOne")) != 0;
}

}  // namespace

// The merged copy is a new, unaudited delivery.
void BillEvent_Sale::m_ListInterFace_AfterMergeCopyBill(const Variant& data) {
  sales::ResetMergedCopy(data, std::to_string(static_cast<long>(SaleKind::kDelivery)));
}

void BillEvent_Sale::m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>& bar) {
  for (const char* key : {"mnuEditCheck", "mnuEditUnCheck", "mnuEditCopy", "mnuKddPrint"})
    Resume([&] { m_ListInterface->SetToolProperty(key, "Visible", true); });
  AddTool(bar, {"mnuGenLogic", "生成物流单", "BandToolBar", "mnuEditUnCheck", "", "", 0, ""});
  // The generation mode, one logistics bill per sales bill or several into one, follows the
  // user's last choice.
  const bool multi = LogisticsMultiToOne(context());
  for (const auto& [key, caption, checked] :
       {std::tuple{"mnuLogicOneToOne", "一对一生成", !multi},
        std::tuple{"mnuLogicMultiToOne", "多对一生成", multi}}) {
    auto t = bar->Tools()->Add(key);
    t->SetCaption(caption);
    t->SetToolTipText(caption);
    t->SetDescription(caption);
    t->SetChecked(checked);
  }
  AddTool(bar, {"mnu_MakeTzeInvoice", "生成发票", "BandToolBar", "mnuEditUnCheck", "", "", 0, ""});
  AddTool(bar,
          {"mnuQueryLogisticList", "查询物流单", "mnuView", "mnuQORViewVoucher", "", "", 0, ""});
  bar->RecalcLayout();
}

void BillEvent_Sale::m_ListInterface_MenuBarClick(const Ref<host::ITool>& tool, bool& cancel) {
  static const sales::KeyTable<ToolHandler> kCommands{
      {{"mnuEditCopyEntry", "mnuEditCopy", "mnuEditDelete"},
       &BillEvent_Sale::RefuseRejectedSelection},
      {{"mnuKddPrint"}, &BillEvent_Sale::PrintExpressNote},
      {{"mnuQueryLogisticList"}, &BillEvent_Sale::QueryLogisticsFromList},
      {{"mnuLogicMultiToOne", "mnuLogicOneToOne"}, &BillEvent_Sale::SwitchLogisticsMode},
      {{"mnu_MakeTzeInvoice"}, &BillEvent_Sale::InvoiceSelection},
      {{"mnuGenLogic"}, &BillEvent_Sale::MakeLogisticsFromList},
  };
  ToolClick click(tool, cancel);
  if (const ToolHandler* handler = kCommands.Find(click.key)) (this->**handler)(click);
}

void BillEvent_Sale::RefuseRejectedSelection(ToolClick& click) {
  sales::RefuseSelectedBills(context(), *m_ListInterface, kSalesClass, "FRejected", 1,
                             "你选择的单据包含驳回状态的订单，不允许删除，请重新选择。",
                             click.cancel);
}

void BillEvent_Sale::QueryLogisticsFromList(ToolClick& click) {
  auto& ctx = context();
  click.cancel = true;
  if (!services::AccessCheck(ctx, services::PropsString(ctx), 12, 500, 1, kMdiMain)) {
    services::ShowMessage(ctx, "您没有查询物流单的权限。");
    return;
  }
  std::string codes;
  for (long id :
       ResumeOr<std::vector<long>>({}, [&] { return m_ListInterface->SelectedBillIDs(); })) {
    const std::string number = StoredColumn(ctx, id, "FLogisticNumber");
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

void BillEvent_Sale::SwitchLogisticsMode(ToolClick& click) {
  const bool multi = click.key == "mnuLogicMultiToOne";
  services::SaveUserProfileItem(context(), "SaleListInterface", "LogicMultiToOne", multi ? 1 : 0);
  auto bar = ResumeOr<Ref<host::IActiveBar>>({}, [&] { return m_ListInterface->ToolBar(); });
  if (auto t = bar ? bar->Tools()->Find("mnuLogicMultiToOne") : Ref<host::ITool>{})
    t->SetChecked(multi);
  if (auto t = bar ? bar->Tools()->Find("mnuLogicOneToOne") : Ref<host::ITool>{})
    t->SetChecked(!multi);
}

void BillEvent_Sale::InvoiceSelection(ToolClick& click) {
  sales::MakeListInvoice(
      context(), *m_ListInterface, kSalesClass,
      ResumeOr<std::vector<long>>({}, [&] { return m_ListInterface->SelectedBillIDs(); }),
      click.cancel);
}

void BillEvent_Sale::MakeLogisticsFromList(ToolClick& click) {
  auto& ctx = context();
  click.cancel = true;
  auto records = NewDictionary(ctx);
  long n = 0;
  for (long id :
       ResumeOr<std::vector<long>>({}, [&] { return m_ListInterface->SelectedBillIDs(); })) {
    auto rs = services::OpenRecordsetTolerant(
        ctx,
        "Select FBillTypeID,FBillNo,FLogisticNumber,FStatus,FCustID From t_CC_StockBill Where "
        "FClassTypeID=1030002 And FID=" +
            std::to_string(id));
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
    m_ListInterface->Refresh();
  });
}

}  // namespace zov::plugins
