#include "inventory/stock.h"

#include <algorithm>

#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/inventory_support.h"
#include "services/database.h"
#include "services/login.h"
#include "services/profile.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins::inventory {

namespace {

// A stock statement in its four parts: select (with the sums), from, where, group.
struct StockQuery {
  std::string select = " Select b.FNumber,b.FName as ItemName";
  std::string sums;
  std::string from = std::string(" from t_cc_inventory a left join ") +
                     " t_icitem b on a.fitemid=b.fitemid left join t_auxitem c on "
                     "a.FAuxPropID=c.fitemid left join " +
                     " t_stock d on a.FStockID=d.fitemid ";
  std::string where;
  std::string group = " Group by b.FNumber,b.FName";
  bool weightForm = false;

  std::string Text() const {
    return select + sums + "\r\n" + from + "\r\n" + where + "\r\n" + group;
  }
};

// Weight-calculated items under industry type 1 are counted in the row's unit as well.
bool WeightForm(PluginContext& ctx, long itemId) {
  return services::IndustryType(ctx) == 1 && calc::IsGCItem(ctx, itemId);
}

// Which stock columns a statement reads: none (the item's total), those of one stock, or one
// record per stock.
enum class StockColumns { None, OneStock, PerStock };

// The item's stock on hand, narrowed by attribute and batch, within the stocks the user may see.
StockQuery ItemStockQuery(PluginContext& ctx, long itemId, long auxPropId, std::string_view batchNo,
                          long unitId, StockColumns stock, bool withSecondary) {
  StockQuery q;
  q.where = " Where a.FItemID=" + SqlId(itemId);
  if (stock == StockColumns::OneStock) {
    q.select += ",d.FNumber,d.FName as StockName";
    q.group += ",d.FNumber,d.FName";
  } else if (stock == StockColumns::PerStock) {
    q.select += ",d.FName as StockName,d.FNumber";
    q.group = " Group by d.FNumber,d.FName,b.FNumber,b.FName";
  }
  if (auxPropId != 0) {
    q.select += ",c.FNumber,c.FName as AuxPropName";
    q.group += ",c.FNumber,c.FName";
    q.where += " and a.FAuxPropID=" + SqlId(auxPropId);
  }
  if (!batchNo.empty()) {
    q.select += ",a.FBatchNo";
    q.group += ",a.FBatchNo";
    q.where += " and a.FBatchNo=" + services::SqlLiteral(batchNo);
  }
  if (services::StockRightsApply(ctx))
    q.where +=
        " and Charindex('" + std::to_string(services::CurrentUserID(ctx)) + "',d.FRightUserID)>0 ";
  q.weightForm = WeightForm(ctx, itemId);
  if (q.weightForm) {
    q.select += ",e.FCoefficient";
    q.group += ",e.FCoefficient";
    q.where += " and e.FItemID=" + SqlId(unitId);
    q.sums =
        ",isNull(sum(FQty),0) as SumQty,isNull(sum(FSecQty),0) as SumSecQty,"
        "isNull(sum(FQty),0)/e.FCoefficient as SumShowQty";
    q.from += " left join vw_unit e on a.FItemID=e.FSrcItemID ";
  } else {
    q.sums = withSecondary ? ",isNull(sum(FQty),0) as SumQty,isNull(sum(FSecQty),0) as SumSecQty"
                           : ",isNull(sum(FQty),0) as SumQty";
  }
  return q;
}

// The quantity of the current record for `mode`, rounded as quantities are shown.
double QtyOf(const Ref<host::IRecordset>& rs, bool weightForm, long mode, int digits) {
  std::string_view column = "SumQty";
  if (weightForm && mode == 2) column = "SumShowQty";
  if (weightForm && mode == 3) column = "SumSecQty";
  const Variant v = rs->Value(column);
  return v.IsNull() ? 0.0 : vb::Round(vb::CDbl(v), digits);
}

int QuantityDigits(PluginContext& ctx) {
  return ResumeOr<int>(0, [&] {
    const double digits =
        vb::Val(vb::CStr(services::SystemProfileValue(ctx, "QuantityDigitCount", "IC", "")));
    return std::clamp(static_cast<int>(digits), 0, 10);
  });
}

// "理论重量库存", "数量库存", "实际重量库存" for weight-calculated items under industry type 1,
// "库存" otherwise.
std::string KindLabel(PluginContext& ctx, long itemId, long mode) {
  if (!WeightForm(ctx, itemId)) return "库存";
  switch (mode) {
    case 1:
      return "理论重量库存";
    case 2:
      return "数量库存";
    case 3:
      return "实际重量库存";
    default:
      return "库存";
  }
}

std::string NumberText(double value) { return vb::CStr(value); }

std::string TextOf(const Variant& v) {
  return v.IsNull() || v.IsEmpty() ? std::string() : vb::CStr(v);
}

Ref<host::IItemInfo> ItemInfo(PluginContext& ctx) {
  return ctx.host().CreateObject(host::progid::kItemInfo).As<host::IItemInfo>();
}

// The first stock the user may use, by number.
std::string FirstUsableStock(PluginContext& ctx) {
  return ResumeOr<std::string>({}, [&]() -> std::string {
    auto info = ItemInfo(ctx);
    auto rs = info ? info->GetStockInfo(services::PropsString(ctx)) : Ref<host::IRecordset>{};
    if (!rs || rs->Eof()) return {};
    return TextOf(rs->Value("FNumber"));
  });
}

Ref<host::IStockBillReader> CostReader(PluginContext& ctx) {
  return ctx.host().CreateObject(host::progid::kStockBillReader).As<host::IStockBillReader>();
}

}  // namespace

bool GetBookedQty(PluginContext& ctx, long mode, long itemId, long auxPropId,
                  double& purchaseBooked, double& salesBooked) {
  purchaseBooked = 0;
  salesBooked = 0;
  const std::string conditions =
      " On t1.FID=t2.FID Where IsNull(t2.FStatus,0)=1 And t1.FItemID=" + SqlId(itemId) +
      (auxPropId != 0 ? " And t1.FAuxPropID=" + SqlId(auxPropId) : std::string());
  auto booked = [&](const std::string& sql) {
    const double qty = ResumeOr<double>(0, [&] { return vb::Val(services::FirstValue(ctx, sql)); });
    return qty < 0 ? 0.0 : qty;
  };
  if (mode == 1 || mode == 3)
    purchaseBooked = booked(
        "Select Sum(t1.FUnStockInQty*t1.FCoefficient) as BookQty "
        "From t_cg_Orderentry t1 Inner Join t_cg_Order t2" +
        conditions);
  if (mode == 2 || mode == 3)
    salesBooked = booked(
        "Select Sum((t1.FShowQty-t1.FSendQty)*t1.FCoefficient)  as BookQty "
        "From t_XS_OrderEntry t1 Inner Join t_XS_Order t2" +
        conditions);
  return true;
}

double GetStockQty(PluginContext& ctx, long itemId, long auxPropId, std::string_view batchNo,
                   long mode, long unitId) {
  return ResumeOr<double>(0, [&] {
    const StockQuery q =
        ItemStockQuery(ctx, itemId, auxPropId, batchNo, unitId, StockColumns::None, false);
    auto rs = services::OpenRecordset(ctx, q.Text());
    if (!rs || rs->Eof()) return 0.0;
    return QtyOf(rs, q.weightForm, mode, QuantityDigits(ctx));
  });
}

double GetBatchQtyInStock(PluginContext& ctx, long itemId, long stockId, long auxPropId,
                          std::string_view batchNo) {
  return ResumeOr<double>(0, [&] {
    return vb::Val(services::FirstValue(
        ctx, "Select isNull(sum(FQty),0) From t_cc_inventory Where FItemID=" + SqlId(itemId) +
                 " And FStockID=" + SqlId(stockId) +
                 " And FBatchNo=" + services::SqlLiteral(batchNo) +
                 (auxPropId != 0 ? " And FAuxPropID=" + SqlId(auxPropId) : std::string())));
  });
}

std::string GetStockText(PluginContext& ctx, long itemId, long stockId, long auxPropId,
                         std::string_view batchNo, bool excludeVirtual, double& total,
                         std::vector<StockQty>& perStock, long mode, long unitId) {
  total = 0;
  perStock.clear();
  const std::string item = SqlId(itemId);
  const std::string label = KindLabel(ctx, itemId, mode);
  const int digits = QuantityDigits(ctx);

  std::string text =
      "[商品" + services::FirstValue(ctx, "Select Fname from t_icitem where FitemID=" + item);
  if (!batchNo.empty()) text += ",批号" + std::string(batchNo);
  if (auxPropId != 0)
    text += ",辅助属性" + services::FirstValue(
                              ctx, "Select Fname from t_auxitem where FitemID=" + SqlId(auxPropId));
  total = GetStockQty(ctx, itemId, auxPropId, batchNo, mode, unitId);
  text += "]总" + label + NumberText(total);
  const double units =
      vb::Val(services::FirstValue(ctx, "select COUNT(*) from t_Barcode where FItemID = " + item));
  if (units > 1)
    text += "(" +
            services::FirstValue(
                ctx, "select dbo.GetComplexQty(" + item + ", " + NumberText(total) + ") ") +
            ")";

  Resume([&] {
    StockQuery q =
        ItemStockQuery(ctx, itemId, auxPropId, batchNo, unitId,
                       stockId != 0 ? StockColumns::OneStock : StockColumns::PerStock, true);
    if (stockId != 0) q.where += " and a.FStockID=" + SqlId(stockId);
    if (excludeVirtual) q.where += " and d.FTypeID<>502 ";
    auto rs = services::OpenRecordset(ctx, q.Text());
    if (stockId != 0) {
      StockQty part;
      part.stockName =
          services::FirstValue(ctx, "Select Fname from t_stock where FitemID=" + SqlId(stockId));
      if (rs && !rs->Eof()) {
        part.stockNumber = TextOf(rs->Fields()->Item(2L)->Value());  // d.FNumber
        part.qty = QtyOf(rs, q.weightForm, mode, digits);
      }
      text += ",[" + part.stockName + "]" + label + NumberText(part.qty);
      perStock.push_back(std::move(part));
      return;
    }
    for (; rs && !rs->Eof(); rs->MoveNext()) {
      StockQty part;
      part.stockName = TextOf(rs->Value("StockName"));
      part.stockNumber = TextOf(rs->Fields()->Item(3L)->Value());  // d.FNumber
      part.qty = QtyOf(rs, q.weightForm, mode, digits);
      text += ",[" + part.stockName + "]" + label + NumberText(part.qty);
      perStock.push_back(std::move(part));
    }
  });
  return text;
}

void FillDefaultStock(PluginContext& ctx, host::IBillInterface& bill, long row,
                      std::string_view stockKey, std::string_view itemKey) {
  if (row < 1) return;
  const std::string on = ResumeOr<std::string>({}, [&] {
    return vb::Trim(
        vb::CStr(services::SystemProfileValue(ctx, "IsUsePrevStockForBill", "IC", "0")));
  });
  if (vb::Val(on) != 1) return;
  Resume([&] {
    const long item = FieldId(bill, itemKey, row);
    const std::string defaultStock = services::FirstValue(
        ctx, std::string("Select b.Fnumber from t_icitem  a Left join t_stock b") +
                 " on a.FDefaultLoc=b.Fitemid Where a.FitemID=" + SqlId(item));
    if (!defaultStock.empty()) {
      bill.SetFieldValue(stockKey, defaultStock, row);
      return;
    }
    const long previous = row > 1 ? FieldId(bill, stockKey, row - 1) : 0;
    if (previous != 0) {
      bill.SetFieldValue(stockKey, previous, row);
      return;
    }
    const std::string first = FirstUsableStock(ctx);
    if (!first.empty()) bill.SetFieldValue(stockKey, first, row);
  });
}

double GetItemCost(PluginContext& ctx, long itemId, long stockId, std::string_view batchNo) {
  return ResumeOr<double>(0, [&] {
    auto reader = CostReader(ctx);
    return reader ? reader->GetCost(services::PropsString(ctx), itemId, stockId, batchNo) : 0.0;
  });
}

double GetItemCost80(PluginContext& ctx, long itemId, long stockId, std::string_view batchNo) {
  return ResumeOr<double>(0, [&] {
    auto reader = CostReader(ctx);
    return reader ? reader->GetCost80(services::PropsString(ctx), itemId, stockId, batchNo) : 0.0;
  });
}

}  // namespace zov::plugins::inventory
