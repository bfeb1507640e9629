// The sales order's related-bill windows: the order's head items, and the rows of the bills made
// from it, the stock bills of its execution or the purchase orders.
#include "bills/common/related.h"
#include "bills/order/bill_event_order.h"
#include "frame/bill_access.h"
#include "services/profile.h"
#include "zov/vb/format.h"

namespace zov::plugins {

namespace {

constexpr long kPurchaseOrders = 1020001;

// A quantity column of a follow-up bill, negated for the returns (3002 and 3011).
std::string Signed(const std::string& column, const std::string& as) {
  return "(case when t.FBillTypeID=3011 or t.FBillTypeID=3002 then (-1)*" + column + "  else " +
         column + " end) as " + as;
}

}  // namespace

Ref<host::IDictionary> BillEvent_Order::BuildLookupTitles(long) {
  auto& bill = *m_BillInterface;
  sales::TitleItems items(context());
  items.Add("客户", bill.GetFieldValue("FCustID", -1, host::kFieldDisplay), 0);
  items.Add("日期", vb::Format(bill.GetFieldValue("FDate", -1), "YYYY-MM-DD"), 0);
  items.Add("单据编号", bill.GetFieldValue("FBillNo", -1), 0);
  items.Add("金额合计", FieldNumber(bill, "FAllAmount"), 6);
  items.Add("数量合计", ColumnSum(bill, "FShowQty"), 2);
  items.Add("理论重量", ColumnSum(bill, "FQty"), 2);
  items.Add("含税金额合计", ColumnSum(bill, "FInTaxAmount"), 2);
  items.Add("发货理论重量", ColumnSum(bill, "FBaseSendQty"), 2);
  items.Add("发货数量合计", ColumnSum(bill, "FSendQty"), 2);
  items.Add("部门", bill.GetFieldValue("FDeptID", -1, host::kFieldDisplay), 0);
  items.Add("业务员", bill.GetFieldValue("FEmpID", -1, host::kFieldDisplay), 0);
  return items.dict();
}

Ref<host::IDictionary> BillEvent_Order::BuildLookupEntries(long lookupKind) {
  const bool weight = services::IndustryType(context()) == 1;
  const std::string id = std::to_string(CurBillId(*m_BillInterface));
  std::vector<sales::EntryColumn> columns = {
      {"单据内码", "FID"},          {"单据类型", "FBillTypeName"}, {"日期", "FDate"},
      {"单据编号", "FBillNo"},      {"商品代码", "FItemNumber"},   {"商品名称", "FItemName"},
      {"规格型号", "FItemSpeci"},   {"单位", "FUnitName"},         {"数量", "FShowQty"},
      {"辅助单位", "FSecUnitName"}, {"辅助数量", "FSecQty"}};
  if (weight)
    columns.insert(columns.end(),
                   {{"理论重量", "FQty"}, {"理论单价", "FPrice"}, {"实际/辅助数量", "FSecQty"}});
  else
    columns.push_back({"含税单价", "FPrice"});
  columns.push_back({"含税金额", "FInTaxAmount"});

  const std::string item =
      "i.FNumber as FItemNumber,i.FName as FItemName,i.FModel as FItemSpeci,t7.FName as "
      "FUnitName,";
  const std::string units =
      " Left Join t_ICItem i ON i.FItemID=e.FItemID Left Join vw_Unit t7 ON "
      "t7.FItemID=e.FShowUnitID And t7.FSrcItemId=e.FItemID Left Join t_MeasureUnit t8 ON "
      "t8.FItemID=e.FSecUnitID";
  std::string sql;
  if (lookupKind == kPurchaseOrders) {
    sql =
        " Select Distinct ee.FEntryID,tt.FID,tt.FClassTypeID,'采购订单' as "
        "FBillTypeName,tt.FDate,tt.FBillNo,i.FNumber as FItemNumber,i.FName as FItemName,i.FModel "
        "as FItemSpeci,t7.FName as FUnitName,ee.FShowQty,ee.FQty,ee.FSecQty,t8.FName as "
        "FSecUnitName," +
        std::string(weight ? "ee.FPrice" : "ee.FTaxPrice") +
        " as FPrice,ee.FInTaxAmount From t_XS_Order t Inner Join t_XS_OrderEntry e ON "
        "t.FID=e.FID Inner Join t_cg_OrderEntry ee ON ee.FClassID_SRC=t.FClassTypeID And "
        "ee.FID_SRC=e.FID And ee.FEntryID_SRC=e.FEntryID Inner Join t_cg_Order tt ON "
        "tt.FID=ee.FID Left Join t_ICItem i ON i.FItemID=ee.FItemID Left Join vw_Unit t7 ON "
        "t7.FItemID=ee.FShowUnitID And t7.FSrcItemId=ee.FItemID Left Join t_MeasureUnit t8 ON "
        "t8.FItemID=ee.FSecUnitID Where tt.FCLassTypeID=1020001 And t.FCLassTypeID=1030001 And "
        "e.FID=" +
        id;
  } else {
    // The stock bills made from the order, and the bills made from those (returns negated).
    const std::string select =
        "Select e.FEntryID,t.FID,t.FClassTypeID,d.FName as FBillTypeName,t.FDate,t.FBillNo," +
        item + Signed("e.FShowQty", "FShowQty") + "," + Signed("e.FQty", "FQty") + "," +
        Signed("e.FSecQty", "FSecQty") + ",t8.FName as FSecUnitName," +
        (weight ? "e.FBasePrice" : "e.FTaxPrice/e.FCoefficient") + " as FPrice," +
        Signed("e.FInTaxAmount", "FInTaxAmount") +
        " From t_CC_StockBill t Inner Join t_CC_StockBillEntry e ON t.FID=e.FID Inner Join "
        "t_BaseBillTypeData d ON d.FID=t.FBillTypeID";
    sql = select + units + " Where e.FClassID_SRC=1030001  And e.FID_SRC=" + id + " Union " +
          select + " Inner Join t_CC_StockBillEntry c ON c.FEntryID=e.FEntryID_SRC" + units +
          " Where d.FID In (3010,3011,3001,3002,3003) And e.FClassID_SRC<>1030001 And "
          "c.FClassID_SRC=1030001 And c.FID_SRC=" +
          id;
  }
  return sales::EntryDictOf(context(), columns, sql);
}

}  // namespace zov::plugins
