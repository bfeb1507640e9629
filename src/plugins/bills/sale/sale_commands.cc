// The sales bill's tools on the form and on the list.
#include "bills/sale/bill_event_sale.h"
#include "calc/charges.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/menu.h"
#include "frame/resume.h"
#include "pricing/sale_price.h"
#include "services/database.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "services/user_profile.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/format.h"
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

// The related-records queries: tool, caption, window title by kind (3001..3004), query kind.
struct QueryTool {
  const char* key;
  const char* caption;
  const char* title;
  long queryKind;
};
constexpr QueryTool kQueries[] = {
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

}  // namespace

// --- the form's tools ---------------------------------------------------------------------------

void BillEvent_Sale::m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>& bar) {
  // Query tools of "mnuRelate": the first before the host's voucher tool, each next after the one
  // it follows.
  const MenuTool relate[] = {
      {"mnuQueryPayIn", "查询收款记录", "mnuRelate", "", "mnuRelateViewVoucher", "", 0, ""},
      {"mnuQuerySaleReject", "查询退货记录", "mnuRelate", "mnuQueryPayIn", "", "", 0, ""},
      {"mnuQuerySale", "查询发货记录", "mnuRelate", "mnuQuerySaleReject", "", "", 0, ""},
      {"mnuQueryConsign", "查询委托代销记录", "mnuRelate", "mnuQuerySale", "", "", 0, ""},
      {"mnuQueryConsignReject", "查询委托结算记录", "mnuRelate", "mnuQueryConsign", "", "", 0, ""},
      {"mnuQueryConsignBal", "查询委托结算退货记录", "mnuRelate", "mnuQueryConsignReject", "", "",
       0, ""},
      {"mnuQuerySaleOrder", "查询销售订单记录", "mnuRelate", "mnuQuerySaleReject", "", "", 0, ""},
      {"mnuQueryGH", "查询采购单记录", "mnuRelate", "mnuQuerySaleOrder", "", "", 0, ""},
      {"mnuRelatePushBill_2000001", "生成物流单", "mnuRelate", "mnuRelateViewList", "", "", 0, ""},
      {"mnuQueryLogisticList", "查询物流单", "mnuRelate", "mnuRelateViewList", "", "", 0, ""},
      {"mnuRelatePushBill_3000001", "生成发票", "mnuRelate", "mnuRelatePushBill_1050001", "", "", 0,
       ""},
  };
  for (const auto& tool : relate) AddTool(bar, tool);
  AddSeparator(bar, "mnuRelate", "mnuQueryConsignBal");
  AddSeparator(bar, "mnuRelate", "mnuRelateViewList");
  AddTool(bar, {"mnuReject", "驳回", "mnuEdit", "", "mnuEditCheck", "", 0, ""});
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

void BillEvent_Sale::DropEmptyLastRow() {
  auto& bill = *m_BillInterface;
  Resume([&] {
    auto rows = bill.Data()->Item("Page2").ObjectAs<host::IDictionary>();
    const long last = rows ? rows->Count() : 0;
    if (last > 1 && FieldId(bill, "FItemID", last) == 0) rows->Remove(last);
  });
}

void BillEvent_Sale::m_BillInterface_MenuBarClick(const Ref<host::ITool>& tool, bool& cancel) {
  auto& bill = *m_BillInterface;
  auto& ctx = context();
  const std::string key = ResumeOr<std::string>({}, [&] { return tool->Name(); });
  const long billId = ResumeOr<long>(0, [&] { return bill.CurBillID(); });
  const long kind = Kind();
  const std::string props = services::PropsString(ctx);
  auto refuse = [&](std::string_view message, std::string_view title = services::kInfoTitle) {
    services::ShowMessage(ctx, message, host::vbInformation, title);
    cancel = true;
  };
  auto needCustomer = [&] {
    if (FieldId(bill, "FCustID") > 0) return true;
    refuse("请先输入客户。");
    Resume([&] { bill.SetActiveCell("FCustID", -1); });
    return false;
  };

  for (const auto& o : kOptions)
    if (key == o.key) ToggleOption(ctx, tool, kClassTypeId, o.option);

  if (key == "mnuEditFileDelete") {
    if (FieldNumber(bill, "FRejected") == 1) refuse("不能删除驳回状态的单据！");
  } else if (key == "mnuEditAutoSumAmt") {
    const double total = BillTotal();
    Resume([&] { bill.SetFieldValue("FCurCheckAmount", total, -1); });
    if (kind == 3002) {
      if (FieldNumber(bill, "FMultiAccount") == 0)
        Resume([&] { bill.SetFieldValue("FCurPayAmount", total, -1); });
    } else if (FieldNumber(bill, "FCurPayAmount") == 0) {
      Resume([&] {
        bill.SetFieldValue("FCurPayAmount", total - FieldNumber(bill, "FNeutralizeAmount"), -1);
      });
    }
    SettleAmounts(true, FieldNumber(bill, "FMultiAccount") == 1);
  } else if (key == "mnuEditCopy") {
    Resume([&] { bill.SetFieldValue("FStatus", "0", -1); });
    const long rows = ResumeOr<long>(0, [&] { return bill.BillEntrys(1)->GridMaxDataRowNum(); });
    for (long row = 1; row <= rows; ++row) {
      Resume([&] { bill.SetFieldValue("FRejectQty", 0, row); });
      Resume([&] { bill.SetFieldValue("FRejectAuxQty", 0, row); });
      Resume([&] { bill.SetFieldValue("FUnRejectQty", FieldNumber(bill, "FShowQty", row), row); });
    }
  } else if (key == "mnuRelate_1030001" || key == "mnuRelate_1030002" ||
             key == "mnuRelate_1030003") {
    CustomerChosenForSource(ctx, bill, cancel);
  } else if (key == "mnuQueryPayIn") {
    const bool back = kind == 3002 || kind == 3004;
    const char* title = kind == 3002   ? "销售退货单信息"
                        : kind == 3003 ? "委托结算单信息"
                        : kind == 3004 ? "委托结算退货单信息"
                                       : "销售发货单信息";
    ShowRelated(std::string("查询") + (back ? "退" : "收") + "款记录", title, 5001);
  } else if (key == "mnuQuerySaleOrder") {
    if (!services::AccessCheck(ctx, props, 12, 100, 1, kProgId))
      refuse("您没有查看销售订单的权限。");
    else
      ShowRelated("查询销售订单记录", "销售单信息", 1030001);
  } else if (key == "mnuQueryGH") {
    if (!services::AccessCheck(ctx, props, 11, 200, 1, kProgId))
      refuse("您没有查看购货单的权限。");
    else
      ShowRelated("查询购货单记录", "销售单信息", 1020002);
  } else if (key == "mnuRelatePushBill_2000001") {
    if (billId <= 0)
      refuse("请先保存单据");
    else if (needCustomer()) {
      Resume([&] {
        auto logistics = ctx.host()
                             .CreateObject(host::progid::kLogisticApplication)
                             .As<host::ILogisticApplication>();
        logistics->AddBillCode(FieldText(bill, "FBillNo"));
        logistics->BillToLogisticMake();
      });
      ApplyBillLayout();
      cancel = true;
    }
  } else if (key == "mnuQueryLogisticList") {
    if (!services::AccessCheck(ctx, props, 12, 500, 1, kMdiMain)) {
      refuse("您没有查询物流单的权限。");
    } else {
      Resume([&] {
        auto logistics = ctx.host()
                             .CreateObject(host::progid::kLogisticApplication)
                             .As<host::ILogisticApplication>();
        auto condition = ctx.host().CreateObject(host::progid::kDictionary).As<host::IDictionary>();
        condition->SetItem("BillCode", FieldText(bill, "FBillNo"));
        logistics->ShowByCondition(condition);
      });
      cancel = true;
    }
  } else if (key == "mnuKddPrint") {
    if (!services::AccessCheck(ctx, props, 12, 200, 64, kMdiMain)) refuse("您没有打印权限。");
  } else if (key == "mnuRelatePushBill_1050001") {
    const std::string moved = services::FirstValue(
        ctx,
        "Select top 1 1 from t_RP_CheckBillEntry1 t1 inner join t_RP_CheckBill t2 on t1.FID=t2.FID "
        "where "
        "t1.FSourceBillId=" +
            std::to_string(billId) + " And t1.FSourceClassTypeId=" + std::to_string(kClassTypeId) +
            " And t2.FBillTypeId in(5024,5025)");
    if (!moved.empty()) refuse("该单据已经发生转移，请到应收应付系统制作收付款单");
  } else if (key == "mnuRelatePushBill_3000001") {
    if (billId <= 0)
      refuse("请先保存单据");
    else if (needCustomer()) {
      if (auto invoice = GetSaleBillMakeTzeInvoiceDict(billId)) {
        Resume([&] {
          auto manage =
              ctx.host().CreateObject(host::progid::kInvoiceManage).As<host::IInvoiceManage>();
          manage->SaleBillMakeTzeInvoice(props, invoice);
        });
      }
      ApplyBillLayout();
      cancel = true;
    }
  } else if (key == "mnuEditCheckInfo") {
    if (!services::AccessCheck(ctx, props, 14, 300, 2, kProgId) &&
        !services::AccessCheck(ctx, props, 14, 300, 4, kProgId)) {
      refuse("您没有核销预收款的权限。");
    } else {
      Resume([&] { bill.SetActiveCell("FNeutralizeAmount", -1); });
      needCustomer();
    }
  } else if (key == "mnuEditFileSave") {
    DropEmptyLastRow();
  } else if (key == "mnuShareByQty" || key == "mnuShareByAmt") {
    calc::AllocateCharges(
        ctx, key == "mnuShareByQty" ? calc::ShareBasis::kQuantity : calc::ShareBasis::kAmount, bill,
        false);
  } else if (key == "mnuReject") {
    std::string note = FieldText(bill, "FRejectedNote");
    if (services::AskRejectNote(ctx, note) && !vb::Trim(note).empty()) {
      Resume([&] { bill.SetFieldValue("FRejectedNote", note, -1); });
      Resume([&] {
        bill.SetFieldValue("FRejectedTime", vb::Format(ctx.host().Now(), "yyyy-MM-dd hh:mm:ss"),
                           -1);
      });
      Resume([&] { bill.SetFieldValue("FRejected", "1", -1); });
      Resume([&] { bill.SaveBill(); });
      calc::SyncChargesTotal(ctx, bill);
    }
  } else {
    for (const auto& q : kQueries)
      if (key == q.key) ShowRelated(q.caption, q.title, q.queryKind);
  }

  // The stock check of the next save runs when the user asked for the save (or for what saves).
  if (key == "mnuEditFileSave" || vb::UCase(key) == "MNUFILEEXIT" || key == "mnuEditCheck" ||
      key == "mnuDataPre2" || key == "mnuDataNext2" || key == "mnuEditFileNew") {
    pendingAction_ = "SAVE";
  } else if ((key == "mnuFilePreview" || key == "mnuFilePrint") && SaveBeforePrint(ctx)) {
    pendingAction_ = "SAVE";
  }
}

// --- the electronic invoice
// -----------------------------------------------------------------------

bool BillEvent_Sale::AddBuyer(const Ref<host::IDictionary>& invoice, long customer) {
  auto rs = services::OpenRecordsetTolerant(
      context(),
      "Select o.FItemID As FCustID,o.FNumber As FCustNumber,o.FName As "
      "FCustName,isnull(o.FTaxNum,'') As "
      "FTaxNum,isnull(o.FAddress,'') As FAddress,isnull(o.FCompanyPhone,'') As "
      "FCompanyPhone,isnull(b.FName,'') "
      "As FBankName,isnull(o.FBankAccount,'') As FBankAccount,isnull(o.FPhone,'') As FPhone From "
      "t_Organization "
      "o Left Join t_SubMessage b On b.FID=o.FBankID And b.FTypeID=22 Where o.FItemID=" +
          std::to_string(customer));
  if (!rs || rs->Eof()) {
    services::ShowMessage(context(), "客户资料不存在，请先补充客户相关资料！");
    return false;
  }
  auto text = [&](const char* column) { return vb::CStr(rs->Value(column)); };
  if (vb::Trim(text("FTaxNum")).empty()) {
    services::ShowMessage(context(), "客户纳税登记号为空，请先补充客户相关税务资料！");
    return false;
  }
  invoice->SetItem("BuyerID", rs->Value("FCustID"));
  invoice->SetItem("BuyerName", text("FCustName"));
  invoice->SetItem("BuyerTaxID", text("FTaxNum"));
  invoice->SetItem("BuyerAddress", vb::Trim(text("FAddress") + " " + text("FCompanyPhone")));
  invoice->SetItem("BuyerBankInfo", vb::Trim(text("FBankName") + " " + text("FBankAccount")));
  invoice->SetItem("BuyerPhone", text("FPhone"));
  return true;
}

bool BillEvent_Sale::AddSeller(const Ref<host::IDictionary>& invoice,
                               std::string_view missingMessage) {
  const std::pair<const char*, const char*> seller[] = {{"TZESaleName", "SaleName"},
                                                        {"TZESaleTaxID", "SaleTaxID"},
                                                        {"TZESaleAddress", "SaleAddress"},
                                                        {"TZESaleBankInfo", "SaleBankInfo"}};
  for (const auto& [profileKey, item] : seller) {
    const std::string value = services::GetUserProfile(context(), "Base", profileKey);
    if (vb::Trim(value).empty()) {
      services::ShowMessage(context(), missingMessage);
      return false;
    }
    invoice->SetItem(item, value);
  }
  return true;
}

Ref<host::IDictionary> BillEvent_Sale::GetSaleBillMakeTzeInvoiceDict(long billId) {
  auto& ctx = context();
  services::WriteLog(ctx, "GetSaleBillMakeTzeInvoiceDict - BEG");
  Ref<host::IDictionary> result;
  try {
    auto& bill = *m_BillInterface;
    auto invoice = ctx.host().CreateObject(host::progid::kDictionary).As<host::IDictionary>();
    if (AddBuyer(invoice, FieldId(bill, "FCustID")) &&
        AddSeller(invoice,
                  "未读取到开票方税务信息，无法进行开票操作，请先确保已完成开票初始化。")) {
      // The rows with what is still to invoice: the quantities and amounts already invoiced from
      // each row are taken off.
      auto rs = services::OpenRecordset(
          ctx,
          "Select e.FEntryID,e.FIndex,i.FNumber,i.FName,isnull(i.FModel,'') As "
          "FModel,isnull(u.FName,'') As "
          "FUnitName,isnull(i.FTaxCategoryCode,'') As "
          "FTaxCategoryCode,e.FShowQty,e.FPriceDiscount,e.FTaxPrice,"
          "e.FTaxRate,e.FTaxAmount,e.FAmount,e.FInTaxAmount,t.FBillNo,isnull(v.FQty,0) As "
          "FInvoicedQty,"
          "isnull(v.FAmount,0) As FInvoicedAmount,isnull(v.FTaxAmount,0) As "
          "FInvoicedTax,isnull(v.FInTaxAmount,0) "
          "As FInvoicedInTax From t_CC_StockBill t Inner Join t_CC_StockBillEntry e On e.FID=t.FID "
          "Left Join "
          "t_ICItem i On i.FItemID=e.FItemID Left Join t_MeasureUnit u On u.FItemID=e.FShowUnitID "
          "Left Join "
          "(Select ie.FEntryID_SRC,Sum(ie.FQty) As FQty,Sum(ie.FAmount) As "
          "FAmount,Sum(ie.FTaxAmount) As "
          "FTaxAmount,Sum(ie.FInTaxAmount) As FInTaxAmount From t_InvoiceEntry ie Inner Join "
          "t_Invoice iv On "
          "iv.FID=ie.FID Where ie.FClassID_SRC=1030002 And ie.FID_SRC=" +
              std::to_string(billId) +
              " Group By ie.FEntryID_SRC) v On v.FEntryID_SRC=e.FEntryID Where t.FID=" +
              std::to_string(billId) + " Order By e.FIndex");
      auto entries = ctx.host().CreateObject(host::progid::kDictionary).As<host::IDictionary>();
      bool complete = true;
      long n = 0;
      for (; rs && !rs->Eof() && complete; rs->MoveNext()) {
        auto number = [&](const char* column) { return vb::Val(vb::CStr(rs->Value(column))); };
        const double qty = number("FShowQty") - number("FInvoicedQty");
        if (qty <= 0) continue;  // fully invoiced
        if (vb::Trim(vb::CStr(rs->Value("FTaxCategoryCode"))).empty()) {
          services::ShowMessage(ctx, "商品（ " + vb::CStr(rs->Value("FNumber")) + "：" +
                                         vb::CStr(rs->Value("FName")) +
                                         "）税务资料信息不全，请先补充商品相关税务资料。");
          complete = false;
          break;
        }
        auto entry = ctx.host().CreateObject(host::progid::kDictionary).As<host::IDictionary>();
        entry->SetItem("ProductName", rs->Value("FName"));
        entry->SetItem("Model", rs->Value("FModel"));
        entry->SetItem("Unit", rs->Value("FUnitName"));
        entry->SetItem("Quantity", qty);
        entry->SetItem("Price", rs->Value("FPriceDiscount"));
        entry->SetItem("PriceIncTax", rs->Value("FTaxPrice"));
        entry->SetItem("TaxRate", rs->Value("FTaxRate"));
        entry->SetItem("TaxAmount", number("FTaxAmount") - number("FInvoicedTax"));
        entry->SetItem("Amount", number("FAmount") - number("FInvoicedAmount"));
        entry->SetItem("AmountIncTax", number("FInTaxAmount") - number("FInvoicedInTax"));
        entry->SetItem("TaxCategoryCode", rs->Value("FTaxCategoryCode"));
        entry->SetItem("FID_SRC", billId);
        entry->SetItem("FEntryID_SRC", rs->Value("FEntryID"));
        entry->SetItem("FBillNo_SRC", rs->Value("FBillNo"));
        entry->SetItem("FClassID_SRC", kClassTypeId);
        entries->SetItem(++n, Ref<host::IDictionary>(entry));
      }
      if (complete && n == 0)
        services::ShowMessage(ctx, "销售单的所有分录均已全部下推生成发票，不允许重复生成。",
                              host::vbInformation, "青禾提示");
      if (complete && n > 0) {
        invoice->SetItem("FRemark", FieldText(bill, "FExplanation"));
        invoice->SetItem("eType", static_cast<long>(FieldNumber(bill, "FInvoiceType")));
        invoice->SetItem("Entries", Ref<host::IDictionary>(entries));
        result = invoice;
      }
    }
  } catch (const vb::Error& e) {
    services::WriteLog(ctx, "GetSaleBillMakeTzeInvoiceDict函数发生错误：" + e.description());
    services::ShowMessage(ctx, "GetSaleBillMakeTzeInvoiceDict函数发生错误：" + e.description());
  } catch (const std::exception& e) {
    services::WriteLog(ctx, std::string("GetSaleBillMakeTzeInvoiceDict函数发生错误：") + e.what());
    services::ShowMessage(ctx,
                          std::string("GetSaleBillMakeTzeInvoiceDict函数发生错误：") + e.what());
  }
  services::WriteLog(ctx, "GetSaleBillMakeTzeInvoiceDict - END");
  return result;
}

// --- the list's tools
// -----------------------------------------------------------------------------

void BillEvent_Sale::m_ListInterFace_AfterMergeCopyBill(const Variant& data) {
  // The merged copy is a new, unaudited delivery.
  Resume([&] {
    auto pages = data.ObjectAs<host::IDictionary>();
    auto head = pages->Item("Page1").ObjectAs<host::IDictionary>();
    auto map = pages->Item("Map").ObjectAs<host::IDictionary>();
    auto write = [&](const char* key, const char* value) {
      std::string internal = key;
      if (map)
        if (auto entry = map->Item(key).ObjectAs<host::IDictionary>())
          internal = vb::CStr(entry->Item("FFieldName"));
      if (auto cell = head->Item(internal).ObjectAs<host::IDictionary>())
        cell->SetItem("FFLD", value);
    };
    write("FStatus", "0");
    write("FBillTypeID", "3001");
  });
}

void BillEvent_Sale::m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>& bar) {
  for (const char* key : {"mnuEditCheck", "mnuEditUnCheck", "mnuEditCopy", "mnuKddPrint"})
    Resume([&] { m_ListInterface->SetToolProperty(key, "Visible", true); });
  AddTool(bar, {"mnuGenLogic", "生成物流单", "BandToolBar", "mnuEditUnCheck", "", "", 0, ""});
  // The generation mode, one logistics bill per sales bill or several into one, follows the
  // user's last choice.
  const bool multi =
      vb::Val(services::GetUserProfile(context(), "SaleListInterface", "LogicMultiToOne")) != 0;
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
  auto& ctx = context();
  const std::string key = ResumeOr<std::string>({}, [&] { return tool->Name(); });
  const auto selected =
      ResumeOr<std::vector<long>>({}, [&] { return m_ListInterface->SelectedBillIDs(); });
  const std::string props = services::PropsString(ctx);
  auto refuse = [&](std::string_view message, std::string_view title = services::kInfoTitle) {
    services::ShowMessage(ctx, message, host::vbInformation, title);
    cancel = true;
  };
  auto column = [&](long id, const char* select) {
    return services::FirstValue(
        ctx, std::string("Select ") + select +
                 " From t_CC_StockBill Where FClassTypeID=1030002 And FID=" + std::to_string(id));
  };

  if (key == "mnuEditCopyEntry" || key == "mnuEditCopy" || key == "mnuEditDelete") {
    for (long id : selected)
      if (vb::Val(column(id, "FRejected")) == 1) {
        refuse("你选择的单据包含驳回状态的订单，不允许删除，请重新选择。");
        return;
      }
  } else if (key == "mnuKddPrint") {
    if (!services::AccessCheck(ctx, props, 12, 200, 64, kMdiMain)) refuse("您没有打印权限。");
  } else if (key == "mnuQueryLogisticList") {
    if (!services::AccessCheck(ctx, props, 12, 500, 1, kMdiMain))
      return refuse("您没有查询物流单的权限。");
    auto condition = ctx.host().CreateObject(host::progid::kDictionary).As<host::IDictionary>();
    std::string codes;
    for (long id : selected) {
      const std::string number = column(id, "FLogisticNumber");
      if (!vb::Trim(number).empty()) codes += (codes.empty() ? "" : ",") + number;
    }
    if (codes.empty()) return refuse("请选择已经生成过物流单的销售单！");
    condition->SetItem("BillCode", codes);
    Resume([&] {
      ctx.host()
          .CreateObject(host::progid::kLogisticApplication)
          .As<host::ILogisticApplication>()
          ->ShowByCondition(condition);
    });
    cancel = true;
  } else if (key == "mnuLogicMultiToOne" || key == "mnuLogicOneToOne") {
    const bool multi = key == "mnuLogicMultiToOne";
    services::SaveUserProfileItem(ctx, "SaleListInterface", "LogicMultiToOne", multi ? 1 : 0);
    auto bar = m_ListInterface->ToolBar();
    if (auto t = bar ? bar->Tools()->Find("mnuLogicMultiToOne") : Ref<host::ITool>{})
      t->SetChecked(multi);
    if (auto t = bar ? bar->Tools()->Find("mnuLogicOneToOne") : Ref<host::ITool>{})
      t->SetChecked(!multi);
  } else if (key == "mnu_MakeTzeInvoice") {
    MakeListInvoice(selected, cancel);
  } else if (key == "mnuGenLogic") {
    auto records = ctx.host().CreateObject(host::progid::kDictionary).As<host::IDictionary>();
    long n = 0;
    for (long id : selected) {
      auto rs = services::OpenRecordsetTolerant(
          ctx,
          "Select FBillTypeID,FBillNo,FLogisticNumber,FStatus,FCustID From t_CC_StockBill Where "
          "FClassTypeID=1030002 "
          "And FID=" +
              std::to_string(id));
      if (!rs || rs->Eof()) continue;
      if (vb::Val(vb::CStr(rs->Value("FBillTypeID"))) == 3004)
        return refuse("你选择的单据包含委托结算退货单，请重新选择。");
      auto record = ctx.host().CreateObject(host::progid::kDictionary).As<host::IDictionary>();
      record->SetItem("BillNo", rs->Value("FBillNo"));
      record->SetItem("LogisticNum", rs->Value("FLogisticNumber"));
      record->SetItem("Status", vb::Val(vb::CStr(rs->Value("FStatus"))) == 0 ? 0 : 1);
      record->SetItem("CustID", rs->Value("FCustID"));
      records->SetItem(++n, Ref<host::IDictionary>(record));
    }
    if (n == 0) return refuse("请选择要生成物流单的销售单！");
    const bool multi =
        vb::Val(services::GetUserProfile(ctx, "SaleListInterface", "LogicMultiToOne")) != 0;
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
      window->Add("合计：成功(" + std::to_string(ok) + "张),失败(" + std::to_string(failed) +
                  "张)|");
      window->Show(1);
      m_ListInterface->Refresh();
    });
    cancel = true;
  }
}

void BillEvent_Sale::MakeListInvoice(const std::vector<long>& ids, bool& cancel) {
  auto& ctx = context();
  cancel = true;  // the plug-in makes the invoice itself
  const std::string props = services::PropsString(ctx);
  if (!services::AccessCheck(ctx, props, 33, 300, 32, kProgId)) {
    services::ShowMessage(ctx, "您没有发票填开的权限！", host::vbInformation, "青禾提示");
    return;
  }
  auto invoice = ctx.host().CreateObject(host::progid::kDictionary).As<host::IDictionary>();
  if (!AddSeller(invoice, "未读取到开票方税务信息，无法进行开票操作，请先完成开票初始化。")) return;
  std::string list;
  for (long id : ids) list += (list.empty() ? "" : ",") + std::to_string(id);
  if (list.empty()) list = "0";
  const std::string where =
      " From t_CC_StockBill Where FClassTypeID=1030002 And FID In(" + list + ")";
  auto count = [&](const std::string& select) {
    return vb::Val(services::FirstValue(ctx, "Select " + select + where));
  };
  const std::string crlf = "\r\n";
  if (count("Count(*)") == 0 && !ids.empty()) {
    services::ShowMessage(ctx,
                          "所选单据中都不存在，无法生成发票！" + crlf + "请选择有效的销售单。");
    return;
  }
  if (count("Count(*)") > 0 &&
      vb::Val(services::FirstValue(ctx, "Select Count(*)" + where + " And FBillTypeID=3004")) > 0) {
    services::ShowMessage(ctx, "所选单据中有委托结算退货单，不能生成发票！");
    return;
  }
  if (vb::Val(services::FirstValue(ctx, "Select Count(*)" + where + " And FStatus=0")) > 0) {
    services::ShowMessage(
        ctx, "所选单据中有未审核的销售单，无法生成发票！" + crlf + "请选择已审核的销售单。");
    return;
  }
  if (count("Count(Distinct FCustID)") > 1) {
    services::ShowMessage(
        ctx, "所选单据中包含有多个客户，无法生成发票！" + crlf + "请选择同一客户的销售单。");
    return;
  }
  if (count("Count(*)") == 0) {
    services::ShowMessage(ctx,
                          "所选单据中都不存在，无法生成发票！" + crlf + "请选择有效的销售单。");
    return;
  }
  // Type 2020 is one kind of invoice, every other type the other.
  const double kinds = count("Count(Distinct Case When FInvoiceType=2020 Then 3 Else 2 End)");
  if (kinds > 1) {
    services::ShowMessage(ctx, "所选单据中包含有多种发票类型，无法生成发票！" + crlf +
                                   "请选择同一发票类型的销售单。");
    return;
  }
  if (count("Count(*)") == count("Sum(Case When isnull(FInvoiceType,0)=0 Then 1 Else 0 End)")) {
    services::ShowMessage(ctx, "所选单据中没有发票类型，无法生成发票！");
    return;
  }
  if (vb::Val(services::FirstValue(ctx, "Select Count(*)" + where + " And FInvoiceAmt>0")) > 0) {
    services::ShowMessage(ctx, "所选单据中包含有已生成发票的单据，无法生成发票！" + crlf +
                                   "请选择未生成过发票的销售单。");
    return;
  }
  if (!AddBuyer(invoice, static_cast<long>(count("Max(FCustID)")))) return;
  // Items without a tax category, ten at most in the message.
  auto missing = services::OpenRecordsetTolerant(
      ctx,
      "Select Distinct top 10 i.FNumber,i.FName,isnull(i.FModel,'') As FModel From "
      "t_CC_StockBillEntry e Inner Join t_ICItem i On "
      "i.FItemID=e.FItemID Where e.FID In(" +
          list + ") And isnull(i.FTaxCategoryCode,'')=''");
  if (missing && !missing->Eof()) {
    std::string text = "如下商品税务资料信息不全，请先补充商品相关税务资料。";
    for (; !missing->Eof(); missing->MoveNext())
      text += crlf + vb::CStr(missing->Value("FNumber")) + " " + vb::CStr(missing->Value("FName")) +
              " " + vb::CStr(missing->Value("FModel"));
    services::ShowMessage(ctx, text);
    return;
  }
  // The rows of every selected bill; a return's quantities and amounts count negative.
  auto rs = services::OpenRecordsetTolerant(
      ctx,
      "Select t.FID,t.FBillNo,t.FBillTypeID,t.FInvoiceType,e.FEntryID,i.FName,isnull(i.FModel,'') "
      "As FModel,isnull(u.FName,'') As "
      "FUnitName,i.FTaxCategoryCode,e.FShowQty,e.FPriceDiscount,e.FTaxPrice,e.FTaxRate,e."
      "FTaxAmount,e.FAmount,e.FInTaxAmount From "
      "t_CC_StockBill t Inner Join t_CC_StockBillEntry e On e.FID=t.FID Left Join t_ICItem i On "
      "i.FItemID=e.FItemID Left Join "
      "t_MeasureUnit u On u.FItemID=e.FShowUnitID Where t.FID In(" +
          list + ") Order By t.FID,e.FIndex");
  auto entries = ctx.host().CreateObject(host::progid::kDictionary).As<host::IDictionary>();
  long n = 0, type = 0;
  for (; rs && !rs->Eof(); rs->MoveNext()) {
    const double sign = vb::Val(vb::CStr(rs->Value("FBillTypeID"))) == 3002 ? -1 : 1;
    auto number = [&](const char* column) { return vb::Val(vb::CStr(rs->Value(column))); };
    auto entry = ctx.host().CreateObject(host::progid::kDictionary).As<host::IDictionary>();
    entry->SetItem("ProductName", rs->Value("FName"));
    entry->SetItem("Model", rs->Value("FModel"));
    entry->SetItem("Unit", rs->Value("FUnitName"));
    entry->SetItem("Quantity", sign * number("FShowQty"));
    entry->SetItem("Price", rs->Value("FPriceDiscount"));
    entry->SetItem("PriceIncTax", rs->Value("FTaxPrice"));
    entry->SetItem("TaxRate", rs->Value("FTaxRate"));
    entry->SetItem("TaxAmount", sign * number("FTaxAmount"));
    entry->SetItem("Amount", sign * number("FAmount"));
    entry->SetItem("AmountIncTax", sign * number("FInTaxAmount"));
    entry->SetItem("TaxCategoryCode", rs->Value("FTaxCategoryCode"));
    entry->SetItem("FID_SRC", rs->Value("FID"));
    entry->SetItem("FEntryID_SRC", rs->Value("FEntryID"));
    entry->SetItem("FBillNo_SRC", rs->Value("FBillNo"));
    entry->SetItem("FClassID_SRC", kClassTypeId);
    entries->SetItem(++n, Ref<host::IDictionary>(entry));
    type = static_cast<long>(number("FInvoiceType"));
  }
  invoice->SetItem("eType", type);
  invoice->SetItem("FRemark", "");
  invoice->SetItem("Entries", Ref<host::IDictionary>(entries));
  Resume([&] {
    auto manage = ctx.host().CreateObject(host::progid::kInvoiceManage).As<host::IInvoiceManage>();
    manage->SaleBillMakeTzeInvoice(props, invoice);
    m_ListInterface->Refresh();
  });
}

double BillEvent_Sale::GetSalePriceForTZE(long itemId, long unitId, long customerId, long stockId,
                                          std::string_view batchNo, bool& found) {
  double discount = 0;
  const double price = pricing::GetSalePrice(context(), itemId, unitId, customerId, stockId,
                                             batchNo, discount, false);
  found = price > 0;
  return price;
}

}  // namespace zov::plugins
