// Cell locks of a bill row: which forms of the row's quantity and price the user may edit, by the
// item's weight calculation, the row's calculation type, its units and its stock. Locks are
// recomputed when a row is loaded, its item, unit or calculation type changes, and after a copy
// or a source selection. Every routine runs with errors ignored; a field the bill lacks is
// skipped.
#pragma once

#include <string_view>

#include "calc/row_keys.h"
#include "frame/plugin_context.h"
#include "zov/host/bill.h"

namespace zov::plugins::calc {

// Locks every row of the grid-1 columns named in `keys` ("FItemID,FShowUnitID"): FieldLock on.
void LockColumns(host::IBillInterface& bill, std::string_view keys);

// The unit locks of `row` for `itemId`. A weight-calculated item takes the unit of its barcode
// entry 2 (written with action), locks FSecCoefficient and opens FCalTypeID; any other item locks
// FCalTypeID, FBasePrice and FQty and opens FShowUnitID, FShowQty and FPrice. The secondary-unit
// fields then follow whether the row has a secondary unit.
void ApplyUnitLocks(PluginContext& ctx, host::IBillInterface& bill, long row, long itemId,
                    const RowKeys& keys = FirstGridKeys());

// The locks of a weight-calculated row of calculation type `calType` (1 base-unit, 2 shown-unit,
// 3 secondary-unit terms): the FCalTypeID lock by the source bill, the quantity, price, discount
// and tax price locks of the type, the displayed quantity and weight refreshed, then the stock
// price locks (ApplyStockPriceLocks).
void ApplyCalTypeLocks(PluginContext& ctx, host::IBillInterface& bill, long row, long calType,
                       const RowKeys& keys = FirstGridKeys());

// Every row 1 .. GridMaxDataRowNum of the keys' grid: ApplyCalTypeLocks with the row's type for
// a weight-calculated item, ApplyUnitLocks otherwise.
void ApplyRowLocks(PluginContext& ctx, host::IBillInterface& bill,
                   const RowKeys& keys = FirstGridKeys());

// With industry type 1: ApplyPriceLocks for the row's item, stock and calculation type.
void ApplyStockPriceLocks(PluginContext& ctx, host::IBillInterface& bill, long row,
                          const RowKeys& keys = FirstGridKeys());

// The price locks of `row`. A virtual stock locks and clears the prices (not on the sales and
// consignment bills); otherwise FBasePrice, FPrice, FSecPrice and FDisplayPrice open or lock by
// the weight calculation and the calculation type. The row's freight charge is locked exactly
// when the stock is virtual, on the bills that carry one.
void ApplyPriceLocks(PluginContext& ctx, host::IBillInterface& bill, long row, long itemId,
                     long stockId, long calType, const RowKeys& keys = FirstGridKeys());

// FSecCoefficient of `row`, or of every row with an item when `row` is below 1: locked when the
// item converts at a fixed rate (FConverMethod 1078) or has no secondary unit, open otherwise.
// Nothing changes on a bill whose header FStatus is above 0.
void ApplySecCoefficientLock(PluginContext& ctx, host::IBillInterface& bill, long row);

}  // namespace zov::plugins::calc
