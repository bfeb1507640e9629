// "ZOVMCalCulateItemCost.StockBillReader": the cost of one base unit of an item in a stock (0:
// every stock) and batch ("": every batch). The moving-average cost is the cost of the stock on
// hand, else of the opening balances, else of the receipts; batch-specific costing (method 80)
// takes the receipts of the batch itself first.
#include "components/component_support.h"
#include "components/host_components.h"
#include "zov/host/components.h"
#include "zov/vb/strings.h"

namespace zov::sim::components {

namespace {

constexpr const char* kSource = host::progid::kStockBillReader;

class StockBillReader final : public vb::Implements<host::IStockBillReader> {
 public:
  explicit StockBillReader(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "StockBillReader"; }

  double GetCost(std::string_view, long itemId, long stockId, std::string_view batchNo) override {
    if (itemId <= 0) return 0;
    const std::string batch = vb::Trim(batchNo);
    if (const double cost = UnitCost("t_cc_inventory", "FStockID", itemId, stockId, batch);
        cost > 0)
      return cost;
    if (const double cost = UnitCost("ICInvInitial", "FStockID", itemId, stockId, batch); cost > 0)
      return cost;
    return ReceiptCost(itemId, stockId, batch);
  }

  double GetCost80(std::string_view props, long itemId, long stockId,
                   std::string_view batchNo) override {
    if (itemId <= 0) return 0;
    const std::string batch = vb::Trim(batchNo);
    if (!batch.empty()) {
      if (const double cost = ReceiptCost(itemId, 0, batch); cost > 0) return cost;
      if (const double cost = UnitCost("ICInvInitial", "FStockID", itemId, 0, batch); cost > 0)
        return cost;
    }
    return GetCost(props, itemId, stockId, batchNo);
  }

 private:
  // Amount over quantity of the rows of `table` for the item (and stock and batch); 0 when the
  // quantity is not above 0.
  double UnitCost(const char* table, const char* stockColumn, long itemId, long stockId,
                  const std::string& batch) {
    std::string sql =
        "SELECT ISNULL(SUM(FAmount),0) AS FAmount, ISNULL(SUM(FQty),0) AS FQty FROM " +
        std::string(table) + " WHERE FItemID=" + SqlNumber(itemId);
    if (stockId > 0) sql += " AND " + std::string(stockColumn) + "=" + SqlNumber(stockId);
    if (!batch.empty()) sql += " AND FBatchNo=" + SqlText(batch);
    return Ratio(Query(ctx_, kSource, sql));
  }

  // The purchase amount per base unit of the receipts (purchase and opening supplier bills, not
  // purchase returns) into the stock.
  double ReceiptCost(long itemId, long stockId, const std::string& batch) {
    std::string sql =
        "SELECT ISNULL(SUM(e.FAmount),0) AS FAmount, ISNULL(SUM(e.FQty),0) AS FQty FROM "
        "t_cc_stockbillentry e "
        "INNER JOIN t_cc_stockbill b ON b.FID=e.FID WHERE b.FClassTypeID IN (1020002,1020004) AND "
        "b.FBillTypeID<>2013"
        " AND e.FItemID=" +
        SqlNumber(itemId);
    if (stockId > 0) sql += " AND e.FDCStockID=" + SqlNumber(stockId);
    if (!batch.empty()) sql += " AND e.FBatchNo=" + SqlText(batch);
    return Ratio(Query(ctx_, kSource, sql));
  }

  static double Ratio(const Rows& rows) {
    if (rows.empty()) return 0;
    const double qty = rows.Num(0, "FQty");
    return qty > 0 ? rows.Num(0, "FAmount") / qty : 0;
  }

  SessionContext& ctx_;
};

}  // namespace

Ref<vb::IObject> NewStockBillReader(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, StockBillReader>(ctx);
}

}  // namespace zov::sim::components
