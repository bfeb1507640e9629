// Filling a row from what the user picked in the host's batch or stock window: the batch, its
// attribute and stock, its dates, and the quantities and cost the pick carries.
#pragma once

#include <string>

#include "frame/plugin_context.h"
#include "zov/host/bill.h"

namespace zov::plugins::inventory {

// The picked record and its companion values.
struct PickedStock {
  std::string batchNo;      // FBatchNo
  std::string auxNumber;    // AuxNumber: the attribute's number ("" none)
  std::string stockNumber;  // StockNumber ("" none)
  // FKFDate and FPeriodDate. When the pick carries no dates, they are read from the item's
  // inventory records instead.
  bool datesPicked = true;
  Variant kfDate;
  Variant periodDate;
  double qty = 0;             // the quantity taken for the row
  double secQty = 0;          // secondary quantity
  double secCoefficient = 0;  // secondary coefficient
  double costPrice = 0;
};

// The keys a fill writes, per grid.
struct PickKeys {
  std::string_view item;
  std::string_view batch;
  std::string_view aux;
  std::string_view stock;
  std::string_view production;
  std::string_view shelfLife;
  std::string_view expiry;
  std::string_view qty;
  std::string_view secQty;
  std::string_view secCoefficient;
  std::string_view costPrice;
  std::string_view costAmount;
};

inline constexpr PickKeys kGrid1Pick{"FItemID", "FBatchNo",        "FAuxPropID",  "FSCStockID",
                                     "FKFDate", "FKFPeriod",       "FPeriodDate", "FShowQty",
                                     "FSecQty", "FsecCoefficient", "FCostPrice",  "FCostAmount"};
inline constexpr PickKeys kGrid2Pick{
    "FCldItemID", "FBatchNo1", "FAuxPropID1", "FSCStockID1",      "FDate1",      "FInteger",
    "FDate2",     "FShowQty1", "FSecQty1",    "FsecCoefficient1", "FCostPrice1", "FCostAmount1"};

// Fills `row` (1 and above) from a picked batch: the batch when `writeBatch`, the attribute and
// stock when the pick names them, then the dates and quantities as FillFromStockPick does.
// `changedKey` is the field whose change brought the pick. Keys the bill lacks are skipped.
void FillFromBatchPick(PluginContext& ctx, host::IBillInterface& bill, long row,
                       const PickedStock& picked, std::string_view changedKey, bool writeBatch,
                       const PickKeys& keys = kGrid1Pick);

// Fills `row` from a picked stock record (no batch, no attribute): the stock, the production and
// expiry dates with the shelf life made consistent, and, unless the user typed the quantity
// (`changedKey` FShowQty) or quantities are free ("AllowWriteQty" 1), the quantity (with the
// field's action), secondary quantity and coefficient (when not locked), cost price and cost
// amount (cost price x quantity, to 2 decimals).
void FillFromStockPick(PluginContext& ctx, host::IBillInterface& bill, long row,
                       const PickedStock& picked, std::string_view changedKey,
                       const PickKeys& keys = kGrid1Pick);

}  // namespace zov::plugins::inventory
