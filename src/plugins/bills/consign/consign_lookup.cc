// The consignment bill's related-bill windows: the bill's head items with the totals linked to
// it, and the rows of the bills linked through the source fields of their rows: the settlements
// and the returns made from it, the consignment bills a return came from, the sales orders a
// delivery came from.
#include "bills/common/related.h"
#include "bills/consign/bill_event_consign.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/login.h"
#include "services/profile.h"
#include "zov/host/components.h"
#include "zov/vb/format.h"

namespace zov::plugins {

Ref<host::IDictionary> BillEvent_Consign::BuildLookupTitles() {
  auto& bill = *m_BillInterface;
  auto& ctx = context();
  const std::string props = services::PropsString(ctx);
  const long id = CurBillId(bill);
  double weight = 0, qty = 0, amount = 0, linkQty = 0, linkAmount = 0;
  Resume([&] {
    auto link =
        ctx.host().CreateObject(host::progid::kTempConsignUpdate).As<host::ITempBillUpdate>();
    weight = link->GetFieldSumValue(props, id, "FQty");
    qty = link->GetFieldSumValue(props, id, "FShowQty");
    amount = link->GetFieldSumValue(props, id, "FInTaxAmount");
    linkQty = link->GetLinkQty(props, id);
    linkAmount = link->GetLinkTaxAmount(props, id);
  });
  sales::TitleItems items(ctx);
  items.Add("客户", bill.GetFieldValue("FCustID", -1, host::kFieldDisplay), 0);
  items.Add("日期", vb::Format(bill.GetFieldValue("FDate", -1), "YYYY-MM-DD"), 0);
  items.Add("单据编号", bill.GetFieldValue("FBillNo", -1), 0);
  items.Add("部门", bill.GetFieldValue("FDeptID", -1, host::kFieldDisplay), 0);
  items.Add("理论重量", weight, 6);
  items.Add("数量", qty, 6);
  items.Add("价税合计", amount, 6);
  items.Add("业务员", bill.GetFieldValue("FEmpID", -1, host::kFieldDisplay), 0);
  items.Add("关联数量", linkQty, 6);
  items.Add("关联价税合计", linkAmount, 6);
  return items.dict();
}

Ref<host::IDictionary> BillEvent_Consign::BuildLookupEntries(Linked linked) {
  const bool weight = services::IndustryType(context()) == 1;
  const std::string id = std::to_string(CurBillId(*m_BillInterface));
  std::vector<sales::EntryColumn> columns = {
      {"单据内码", "FID"},         {"单据类型", "FBillTypeName"},
      {"日期", "FDate"},           {"单据编号", "FBillNo"},
      {"商品代码", "FItemNumber"}, {"商品名称", "FItemName"},
      {"规格型号", "FItemSpeci"},  {weight ? "重量单位" : "单位", "FUnitName"}};
  if (weight)
    columns.insert(columns.end(), {{"理论重量", "FQty"},
                                   {"数量", "FShowQty"},
                                   {"实际/辅助数量", "FSecQty"},
                                   {"金额", "FAmount"},
                                   {"退货理论重量", "FBaseRejectQty"},
                                   {"退货实际/辅助数量", "FRejectAuxQty"}});
  else
    columns.insert(columns.end(), {{"数量", "FShowQty"},
                                   {"辅助单位", "FSecUnitName"},
                                   {"辅助数量", "FSecQty"},
                                   {"退货数量", "FRejectQty"},
                                   {"退货辅助数量", "FRejectAuxQty"}});
  columns.insert(
      columns.end(),
      {{"订购数量", "FOrderQty"}, {"含税单价", "FTaxPrice"}, {"价税合计", "FInTaxAmount"}});

  const std::string items =
      "i.FNumber as FItemNumber,i.FName as FItemName,i.FModel as FItemSpeci,t7.FName as "
      "FUnitName,";
  const std::string joins =
      " Left Join t_ICItem i ON i.FItemID=e.FItemID Left Join vw_Unit t7 ON "
      "t7.FItemID=e.FShowUnitID And t7.FSrcItemId=e.FItemID Left Join t_MeasureUnit t8 ON "
      "t8.FItemID=e.FSecUnitID";
  const std::string stockRows =
      "e.FShowQty,e.FQty,e.FSecQty,e.FAmount,e.FBaseRejectQty,e.FRejectQty,e.FRejectAuxQty,"
      "e.FOrderQty,e.FTaxPrice,e.FInTaxAmount,t8.FName as FSecUnitName";
  const std::string head =
      "Select Distinct e.FEntryID,t.FID,t.FClassTypeID,d.FName as FBillTypeName,t.FDate,t.FBillNo,";
  std::string sql;
  switch (linked) {
    case Linked::kSettlements:
    case Linked::kReturns:
      // The rows made from this bill: settlements are sales bills, returns consignment bills.
      sql = head + items + stockRows +
            " From t_CC_StockBill t Inner Join t_CC_StockBillEntry e ON t.FID=e.FID Inner Join "
            "t_BaseBillTypeData d ON d.FID=t.FBillTypeID" +
            joins + " Where e.FClassID_SRC=1030003 And e.FID_SRC=" + id +
            (linked == Linked::kSettlements ? " And t.FClassTypeID=1030002"
                                            : " And t.FClassTypeID=1030003 And t.FBillTypeID=3011");
      break;
    case Linked::kConsignSources:
      // The consignment rows this return's rows came from.
      sql = head + items + stockRows +
            " From t_CC_StockBill t Inner Join t_CC_StockBillEntry e ON t.FID=e.FID Inner Join "
            "t_BaseBillTypeData d ON d.FID=t.FBillTypeID Inner Join t_CC_StockBillEntry c ON "
            "c.FClassID_SRC=1030003 And c.FID_SRC=e.FID And c.FEntryID_SRC=e.FEntryID" +
            joins + " Where t.FClassTypeID=1030003 And c.FID=" + id;
      break;
    case Linked::kOrderSources:
      // The order rows this delivery's rows came from.
      sql = head + items +
            "e.FShowQty,e.FQty,e.FSecQty,e.FAmount,0 as FBaseRejectQty,0 as FRejectQty,0 as "
            "FRejectAuxQty,e.FShowQty as FOrderQty,e.FTaxPrice,e.FInTaxAmount,t8.FName as "
            "FSecUnitName From t_XS_Order t Inner Join t_XS_OrderEntry e ON t.FID=e.FID Inner "
            "Join t_BaseBillTypeData d ON d.FID=t.FBillTypeID Inner Join t_CC_StockBillEntry c "
            "ON c.FClassID_SRC=1030001 And c.FID_SRC=e.FID And c.FEntryID_SRC=e.FEntryID" +
            joins + " Where c.FID=" + id;
      break;
  }
  return sales::EntryDictOf(context(), columns, sql);
}

}  // namespace zov::plugins
