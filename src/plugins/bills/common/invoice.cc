// The electronic invoice of sales bills: the buyer, the seller and the rows still to invoice,
// handed to the host's invoicing component for one bill from its form or for the bills selected in
// the list.
#include "bills/common/invoice.h"

#include <string>

#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/database.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "services/user_profile.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/error.h"
#include "zov/vb/strings.h"

namespace zov::plugins::sales {

bool AddBuyer(PluginContext& ctx, const Ref<host::IDictionary>& invoice, long customer,
              const InvoiceTexts& texts) {
  auto rs = services::OpenRecordsetTolerant(
      ctx,
      "Select o.FItemID As FCustID,o.FNumber As FCustNumber,o.FName As "
      "FCustName,isnull(o.FTaxNum,'') As "
      "FTaxNum,isnull(o.FAddress,'') As FAddress,isnull(o.FCompanyPhone,'') As "
      "FCompanyPhone,isnull(b.FName,'') "
      "As FBankName,isnull(o.FBankAccount,'') As FBankAccount,isnull(o.FPhone,'') As FPhone From "
      "t_Organization "
      "o Left Join t_SubMessage b On b.FID=o.FBankID And b.FTypeID=22 Where o.FItemID=" +
          std::to_string(customer));
  if (!rs || rs->Eof()) {
    services::ShowMessage(ctx, texts.noCustomer);
    return false;
  }
  auto text = [&](const char* column) { return vb::CStr(rs->Value(column)); };
  if (vb::Trim(text("FTaxNum")).empty()) {
    services::ShowMessage(ctx, texts.noTaxNumber);
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

bool AddSeller(PluginContext& ctx, const Ref<host::IDictionary>& invoice,
               std::string_view missingMessage) {
  const std::pair<const char*, const char*> seller[] = {{"TZESaleName", "SaleName"},
                                                        {"TZESaleTaxID", "SaleTaxID"},
                                                        {"TZESaleAddress", "SaleAddress"},
                                                        {"TZESaleBankInfo", "SaleBankInfo"}};
  for (const auto& [profileKey, item] : seller) {
    const std::string value = services::GetUserProfile(ctx, "Base", profileKey);
    if (vb::Trim(value).empty()) {
      services::ShowMessage(ctx, missingMessage);
      return false;
    }
    invoice->SetItem(item, value);
  }
  return true;
}

Ref<host::IDictionary> GetSaleBillMakeTzeInvoiceDict(const SalesForm& form, long billId,
                                                     const InvoiceTexts& texts) {
  auto& ctx = form.ctx;
  services::WriteLog(ctx, "GetSaleBillMakeTzeInvoiceDict - BEG");
  Ref<host::IDictionary> result;
  try {
    auto& bill = form.bill;
    auto invoice = NewDictionary(ctx);
    if (AddBuyer(ctx, invoice, FieldId(bill, "FCustID"), texts) &&
        AddSeller(ctx, invoice,
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
          "As FInvoicedInTax From " +
              std::string(form.cls.headTable) + " t Inner Join " +
              std::string(form.cls.entryTable) +
              " e On e.FID=t.FID "
              "Left Join "
              "t_ICItem i On i.FItemID=e.FItemID Left Join t_MeasureUnit u On "
              "u.FItemID=e.FShowUnitID "
              "Left Join "
              "(Select ie.FEntryID_SRC,Sum(ie.FQty) As FQty,Sum(ie.FAmount) As "
              "FAmount,Sum(ie.FTaxAmount) As "
              "FTaxAmount,Sum(ie.FInTaxAmount) As FInTaxAmount From t_InvoiceEntry ie Inner Join "
              "t_Invoice iv On "
              "iv.FID=ie.FID Where ie.FClassID_SRC=" +
              std::to_string(form.cls.classTypeId) + " And ie.FID_SRC=" + std::to_string(billId) +
              " Group By ie.FEntryID_SRC) v On v.FEntryID_SRC=e.FEntryID Where t.FID=" +
              std::to_string(billId) + FirstGridRows(form.cls, "e") + " Order By e.FIndex");
      auto entries = NewDictionary(ctx);
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
        auto entry = NewDictionary(ctx);
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
        entry->SetItem("FClassID_SRC", form.cls.classTypeId);
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

void MakeListInvoice(PluginContext& ctx, host::IListInterface& listForm, const SalesClass& cls,
                     const std::vector<long>& ids, bool& cancel) {
  cancel = true;  // the plug-in makes the invoice itself
  const std::string props = services::PropsString(ctx);
  if (!services::AccessCheck(ctx, props, 33, 300, 32, cls.progId)) {
    services::ShowMessage(ctx, "您没有发票填开的权限！", host::vbInformation, "青禾提示");
    return;
  }
  auto invoice = NewDictionary(ctx);
  if (!AddSeller(ctx, invoice, "未读取到开票方税务信息，无法进行开票操作，请先完成开票初始化。"))
    return;
  std::string list;
  for (long id : ids) list += (list.empty() ? "" : ",") + std::to_string(id);
  if (list.empty()) list = "0";
  const std::string where = " From " + std::string(cls.headTable) +
                            " Where FClassTypeID=" + std::to_string(cls.classTypeId) +
                            " And FID In(" + list + ")";
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
  if (!AddBuyer(ctx, invoice, static_cast<long>(count("Max(FCustID)")), kInvoiceTexts)) return;
  // Items without a tax category, ten at most in the message.
  auto missing = services::OpenRecordsetTolerant(
      ctx, "Select Distinct top 10 i.FNumber,i.FName,isnull(i.FModel,'') As FModel From " +
               std::string(cls.entryTable) +
               " e Inner Join t_ICItem i On "
               "i.FItemID=e.FItemID Where e.FID In(" +
               list + ") And isnull(i.FTaxCategoryCode,'')=''" + FirstGridRows(cls, "e"));
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
      "FTaxAmount,e.FAmount,e.FInTaxAmount From " +
          std::string(cls.headTable) + " t Inner Join " + std::string(cls.entryTable) +
          " e On e.FID=t.FID Left Join t_ICItem i On "
          "i.FItemID=e.FItemID Left Join "
          "t_MeasureUnit u On u.FItemID=e.FShowUnitID Where t.FID In(" +
          list + ")" + FirstGridRows(cls, "e") + " Order By t.FID,e.FIndex");
  auto entries = NewDictionary(ctx);
  long n = 0, type = 0;
  for (; rs && !rs->Eof(); rs->MoveNext()) {
    const double sign = vb::Val(vb::CStr(rs->Value("FBillTypeID"))) == 3002 ? -1 : 1;
    auto number = [&](const char* column) { return vb::Val(vb::CStr(rs->Value(column))); };
    auto entry = NewDictionary(ctx);
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
    entry->SetItem("FClassID_SRC", cls.classTypeId);
    entries->SetItem(++n, Ref<host::IDictionary>(entry));
    type = static_cast<long>(number("FInvoiceType"));
  }
  invoice->SetItem("eType", type);
  invoice->SetItem("FRemark", "");
  invoice->SetItem("Entries", Ref<host::IDictionary>(entries));
  Resume([&] {
    auto manage = ctx.host().CreateObject(host::progid::kInvoiceManage).As<host::IInvoiceManage>();
    manage->SaleBillMakeTzeInvoice(props, invoice);
    listForm.Refresh();
  });
}

}  // namespace zov::plugins::sales
