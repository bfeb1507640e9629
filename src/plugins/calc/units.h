// Units and quantities of a bill row: the look-ups of an item's units and stocks, and writing a
// cell so that the host recomputes what depends on it. Every look-up runs with errors ignored and
// answers its default (0, false) when the database does not.
#pragma once

#include <string>

#include "calc/row_keys.h"
#include "frame/plugin_context.h"
#include "zov/host/bill.h"

namespace zov::plugins::calc {

// Whether the stock is a virtual or gift stock (t_Stock.FTypeID 502); false when unknown.
bool IsVirtualStock(PluginContext& ctx, long stockId);

// Whether the item is weight-calculated (t_ICItem.FIsGC): Null reads as true, no row as false.
bool IsGCItem(PluginContext& ctx, long itemId);
// Base units per `unitId` of the item (vw_barcode); 0 when unknown.
double GetUnitCoefficient(PluginContext& ctx, long itemId, long unitId);
// The item's FSecCoefficient divided by the row coefficient; 0 when that is 0 or the item unknown.
double GetItemSecCoefficient(PluginContext& ctx, long itemId, double rowCoefficient);
// The unit of barcode entry `entryNo` of the item; 0 when none.
long GetBarcodeUnit(PluginContext& ctx, long itemId, long entryNo);

// A unit found for a row.
struct RowUnit {
  long id = 0;
  std::string number;
  std::string name;
  double coefficient = 0;
  std::string barcode;
  long srcItemId = 0;
};
// The item's default unit for a partner: the default unit, else the partner's last price unit
// ("FSupplyID", "FCustID" or "FOther"; skipped for partner 0 with the first two), else the main
// unit. False when none is found.
bool GetDefaultUnit(PluginContext& ctx, long partnerId, long itemId, std::string_view mode,
                    RowUnit& unit);

// Puts `unit` into the row's shown-unit cell with the members the grid and the unit's action read
// (FFLD, FFND, FDSP, FCoefficient, FBarCode, FSrcItemId) and writes it with action, unmarked.
void PutRowUnit(host::IBillInterface& bill, long row, const RowUnit& unit,
                const RowKeys& keys = FirstGridKeys());

// Writes `value` into the cell of `key` in `row`, marks it modified when asked, and has the host
// run the field's action so that what depends on the cell is recomputed. Like every routine
// here it never raises: a field the bill lacks, or a failing action, leaves the rest undone.
void SetFieldWithAction(host::IBillInterface& bill, std::string_view key, const Variant& value,
                        long row, bool markModified);
// Locks (true) or opens one cell; an empty key or a field the bill lacks is left alone.
void LockField(host::IBillInterface& bill, std::string_view key, bool lock, long row);

// How a rule writes a cell.
enum class WriteMode {
  kSet,          // SetFieldValue: the cell alone, nothing recomputed
  kAct,          // write with action, the cell marked modified
  kActUnmarked,  // write with action, the modification mark left as it is
};
void WriteField(host::IBillInterface& bill, std::string_view key, const Variant& value, long row,
                WriteMode mode);

}  // namespace zov::plugins::calc
