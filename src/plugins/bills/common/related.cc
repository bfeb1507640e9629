// The related-records windows of the sales bill: the header items and the columns and records
// handed to the host's related-bill window for each query kind.
#include "bills/common/related.h"

#include <vector>

#include "frame/bill_access.h"
#include "frame/menu.h"
#include "frame/resume.h"
#include "services/database.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/format.h"

namespace zov::plugins::sales {

TitleItems::TitleItems(PluginContext& ctx) : ctx_(ctx), items_(NewDictionary(ctx)) {}

void TitleItems::Add(const std::string& name, const Variant& value, int format) {
  auto item = NewDictionary(ctx_);
  item->SetItem("FName", name);
  item->SetItem("FValue", value.IsEmpty() || value.IsNull() ? std::string() : vb::CStr(value));
  item->SetItem("FFormat", format);
  items_->SetItem(++count_, Ref<host::IDictionary>(item));
}

Ref<host::IDictionary> EntryDictOf(PluginContext& ctx, const std::vector<EntryColumn>& columns,
                                   const std::string& sql) {
  auto entry = NewDictionary(ctx);
  auto header = NewDictionary(ctx);
  long n = 0;
  for (const auto& c : columns) {
    auto column = NewDictionary(ctx);
    column->SetItem("FName", c.caption);
    column->SetItem("FField", c.field);
    header->SetItem(++n, Ref<host::IDictionary>(column));
  }
  entry->SetItem("Header", Ref<host::IDictionary>(header));
  auto records = NewDictionary(ctx);
  if (auto rs = services::OpenRecordsetTolerant(ctx, sql)) {
    long r = 0;
    for (; !rs->Eof(); rs->MoveNext()) {
      auto record = NewDictionary(ctx);
      auto fields = rs->Fields();
      for (long i = 0; i < fields->Count(); ++i)
        record->SetItem(fields->Item(i)->Name(), fields->Item(i)->Value());
      records->SetItem(++r, Ref<host::IDictionary>(record));
    }
  }
  entry->SetItem("rs", Ref<host::IDictionary>(records));
  return entry;
}

Ref<host::IDictionary> BuildTitleDict(const SalesForm& form, long queryKind) {
  auto& bill = form.bill;
  auto& ctx = form.ctx;
  TitleItems items(ctx);
  auto add = [&](const std::string& name, const Variant& value, int format) {
    items.Add(name, value, format);
  };
  add("客户", bill.GetFieldValue("FCustID", -1, host::kFieldDisplay), 0);
  add("日期", vb::Format(bill.GetFieldValue("FDate", -1), "YYYY-MM-DD"), 0);
  add("单据编号", bill.GetFieldValue("FBillNo", -1), 0);
  const std::string props = services::PropsString(ctx);
  const long id = CurBillId(bill);
  if (queryKind == 1020002 || queryKind == 1030001) {
    add("部门", bill.GetFieldValue("FDeptID", -1, host::kFieldDisplay), 0);
    double qty = 0, amount = 0, linkQty = 0, linkAmount = 0;
    Resume([&] {
      if (queryKind == 1020002) {
        auto gj = ctx.host().CreateObject(host::progid::kGJUpdate).As<host::IGJUpdate>();
        qty = gj->GetFieldSumValue(props, id, "FShowQty");
        amount = gj->GetFieldSumValue(props, id, "FInTaxAmount");
        linkQty = gj->GetGHDLinkQty(props, id);
        linkAmount = gj->GetGHDLinkTaxAmount(props, id);
      } else {
        auto link =
            ctx.host().CreateObject(host::progid::kTempConsignUpdate).As<host::ITempBillUpdate>();
        qty = link->GetFieldSumValue(props, id, "FShowQty");
        amount = link->GetFieldSumValue(props, id, "FInTaxAmount");
        linkQty = link->GetLinkQty(props, id);
        linkAmount = link->GetLinkTaxAmount(props, id);
      }
    });
    add("数量", qty, 6);
    add("价税合计", amount, 6);
    add("业务员", bill.GetFieldValue("FEmpID", -1, host::kFieldDisplay), 0);
    add("关联数量", linkQty, 6);
    add("关联价税合计", linkAmount, 6);
  } else if (queryKind == 5001) {
    const long kind = static_cast<long>(FieldNumber(bill, "FBillTypeID"));
    const double sign = kind == 3002 || kind == 3004 ? -1 : 1;
    add("金额合计", sign * FieldNumber(bill, "FAllAmount"), 6);
    add("已收金额合计", sign * FieldNumber(bill, "FCheckAmount"), 6);
    add("未收金额合计", sign * FieldNumber(bill, "FUnCheckAmount"), 6);
  } else {
    if (services::IndustryType(ctx) == 1)
      add("理论重量", ColumnSum(bill, "FQty"), 2);
    else
      add("数量合计", ColumnSum(bill, "FShowQty"), 2);
    add("部门", bill.GetFieldValue("FDeptID", -1, host::kFieldDisplay), 0);
    add("业务员", bill.GetFieldValue("FEmpID", -1, host::kFieldDisplay), 0);
  }
  return items.dict();
}

Ref<host::IDictionary> BuildEntryDict(const SalesForm& form, long queryKind) {
  auto& bill = form.bill;
  auto& ctx = form.ctx;
  const bool weight = services::IndustryType(ctx) == 1;
  const std::string id = std::to_string(CurBillId(bill));
  const std::string classType = std::to_string(form.cls.classTypeId);
  std::vector<EntryColumn> columns = {
      {"单据内码", "FID"},         {"单据类型", "FBillTypeName"},
      {"日期", "FDate"},           {"单据编号", "FBillNo"},
      {"商品代码", "FItemNumber"}, {"商品名称", "FItemName"},
      {"规格型号", "FItemSpeci"},  {weight ? "重量单位" : "单位", "FUnitName"},
      {"数量", "FShowQty"}};
  std::string sql;
  const std::string itemColumns =
      "i.FNumber as FItemNumber,i.FName as FItemName,i.FModel as FItemSpeci,t7.FName as "
      "FUnitName,e.FShowQty,e.FQty,"
      "e.FSecQty,";
  if (queryKind == 5001) {
    // The bill's own write-off, the receipts and the write-off bills made from it.
    columns = {{"单据内码", "FID"},     {"单据类型", "FBillTypeName"}, {"日期", "FDate"},
               {"单据编号", "FBillNo"}, {"结算账户", "FAcctName"},     {"收款/核销金额", "FAmount"},
               {"备注", "FNote"}};
    sql =
        "Select t.FID,'销售单' as FBillTypeName,t.FDate,t.FBillNo,'' as FAcctName,t.FCheckAmount "
        "as FAmount,t.FNote "
        "From " +
        std::string(form.cls.headTable) + " t Where t.FID=" + id +
        " Union All Select r.FID,'收款单' as FBillTypeName,r.FDate,r.FBillNo,isnull(a.FName,'') as "
        "FAcctName,r.FAmount,"
        "r.FNote From t_RP_RBill r Left Join t_SettleAcct a On a.FItemID=r.FSettleAcctID Where "
        "r.FSourceBillId=" +
        id + " And r.FSourceClassTypeId=" + classType +
        " Union All Select c.FID,'核销单' as FBillTypeName,c.FDate,c.FBillNo,'' as "
        "FAcctName,ce.FAmount,c.FNote "
        "From t_RP_CheckBill c Inner Join t_RP_CheckBillEntry1 ce On ce.FID=c.FID Where "
        "ce.FSourceBillId=" +
        id + " And ce.FSourceClassTypeId=" + classType;
  } else if (queryKind == 1030001 || queryKind == 1020002) {
    // The bills this bill's rows came from.
    const bool order = queryKind == 1030001;
    columns.push_back({weight ? "理论重量" : "订购数量", order ? "FQty" : "FQty"});
    columns.push_back({"含税单价", "FTaxPrice"});
    columns.push_back({"价税合计", "FInTaxAmount"});
    sql = std::string("Select Distinct e.FEntryID,t.FID,t.FClassTypeID,") +
          (order ? "'销售订单'" : "'购货单'") + " as FBillTypeName,t.FDate,t.FBillNo," +
          itemColumns + "e.FTaxPrice,e.FInTaxAmount From " +
          (order ? "t_XS_Order t Inner Join t_XS_OrderEntry e ON t.FID=e.FID"
                 : "t_CC_StockBill t Inner Join t_CC_StockBillEntry e ON t.FID=e.FID") +
          " Inner Join " + std::string(form.cls.entryTable) +
          " s ON s.FEntryID_SRC=e.FEntryID And s.FClassID_SRC=" + std::to_string(queryKind) +
          " Left Join t_ICItem i ON i.FItemID=e.FItemID Left Join t_MeasureUnit t7 ON "
          "t7.FItemID=e.FShowUnitID"
          " Where s.FID=" +
          id;
  } else {
    // The stock bills of kind `queryKind` made from this bill's rows.
    columns.insert(columns.end(), {{"理论重量", "FQty"},
                                   {"实际/辅助数量", "FSecQty"},
                                   {"退货数量", "FRejectQty"},
                                   {"退货实际/辅助数量", "FRejectAuxQty"},
                                   {"结算数量", "FSettleQty"},
                                   {"结算实际/辅助数量", "FSettleAuxQty"},
                                   {"辅助单位", "FSecUnitName"},
                                   {"含税单价", "FTaxPrice"},
                                   {"价税合计", "FInTaxAmount"}});
    sql =
        "Select Distinct e.FEntryID,t.FID,t.FClassTypeID,d.FName as "
        "FBillTypeName,t.FDate,t.FBillNo," +
        itemColumns +
        "e.FRejectQty,e.FRejectAuxQty,e.FSettleQty,e.FSettleAuxQty,t8.FName as "
        "FSecUnitName,e.FTaxPrice,e.FInTaxAmount"
        " From t_CC_StockBill t Inner Join t_CC_StockBillEntry e ON t.FID=e.FID"
        " Inner Join t_BaseBillTypeData d ON d.FID=t.FBillTypeID"
        " Left Join t_ICItem i ON i.FItemID=e.FItemID Left Join t_MeasureUnit t7 ON "
        "t7.FItemID=e.FShowUnitID"
        " Left Join t_MeasureUnit t8 ON t8.FItemID=e.FSecUnitID"
        " Where d.FID=" +
        std::to_string(queryKind) + " And e.FClassID_SRC=" + classType + " And e.FID_SRC=" + id;
  }
  return EntryDictOf(ctx, columns, sql);
}

void ShowRelated(const SalesForm& form, std::string_view caption, std::string_view title,
                 long queryKind) {
  if (CurBillId(form.bill) <= 0) {
    services::ShowMessage(form.ctx, "请先保存单据");
    return;
  }
  RelatedQuery query;
  query.caption = caption;
  query.titleName = title;
  query.titleDict = BuildTitleDict(form, queryKind);
  query.entryDict = BuildEntryDict(form, queryKind);
  query.classTypeId = form.cls.classTypeId;
  ShowRelatedRecords(form.ctx, form.bill, query);
}

}  // namespace zov::plugins::sales
