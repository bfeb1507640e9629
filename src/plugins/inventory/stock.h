// Stock availability: quantities booked by audited orders, stock on hand (within the stocks the
// user may see), the stock text the bills show for a row, the default stock of a new row, and the
// item cost of the host's cost component.
#pragma once

#include <string>
#include <vector>

#include "frame/plugin_context.h"
#include "zov/host/bill.h"

namespace zov::plugins::inventory {

// Booked base quantities of the item (attribute 0: every attribute) on audited orders: mode 1
// purchase orders not yet received, 2 sales orders not yet delivered, 3 both. A sum below 0
// counts as 0; a mode that does not ask for one leaves it 0. Always true.
bool GetBookedQty(PluginContext& ctx, long mode, long itemId, long auxPropId,
                  double& purchaseBooked, double& salesBooked);

// The item's stock on hand (attribute 0: all, batch "": all) in the stocks the user may see:
// mode 1 in base units, 2 in unit `unitId`, 3 in secondary units (modes 2 and 3 only for
// weight-calculated items under industry type 1; otherwise base units), any other mode in base
// units. Rounded to "QuantityDigitCount" decimals; 0 when there is none.
double GetStockQty(PluginContext& ctx, long itemId, long auxPropId, std::string_view batchNo,
                   long mode, long unitId);

// The base quantity of batch `batchNo` of the item (attribute 0: every attribute) that stock
// `stockId` holds; 0 when it holds none or on any failure.
double GetBatchQtyInStock(PluginContext& ctx, long itemId, long stockId, long auxPropId,
                          std::string_view batchNo);
// The stock on hand of one stock.
struct StockQty {
  std::string stockNumber;
  std::string stockName;
  double qty = 0;
};

// The stock text of a row: "[商品name,批号b,辅助属性a]总库存n(mixed units),[stock]库存m,...", with
// the stock kind of weight-calculated items under industry type 1 in place of "库存". Without a
// stock (0) one part per stock holding the item; gift and virtual stocks (type 502) left out when
// `excludeVirtual`. `total` receives the total, `perStock` the parts.
std::string GetStockText(PluginContext& ctx, long itemId, long stockId, long auxPropId,
                         std::string_view batchNo, bool excludeVirtual, double& total,
                         std::vector<StockQty>& perStock, long mode, long unitId);

// With "IsUsePrevStockForBill" on, fills the stock field `stockKey` of `row` (1 and above): the
// item's default stock, else on row 1 the first stock the user may use, else the previous row's
// stock (or that first stock when the previous row has none).
void FillDefaultStock(PluginContext& ctx, host::IBillInterface& bill, long row,
                      std::string_view stockKey, std::string_view itemKey = "FItemID");

// The cost of one base unit of the item from the host's cost component ("GetCost" and, for
// batch-specific costing, "GetCost80"); `stockId` and `batchNo` are handed on as they are.
double GetItemCost(PluginContext& ctx, long itemId, long stockId, std::string_view batchNo);
double GetItemCost80(PluginContext& ctx, long itemId, long stockId, std::string_view batchNo);

}  // namespace zov::plugins::inventory
