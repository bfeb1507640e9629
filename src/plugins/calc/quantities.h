// The quantity forms of a bill row kept consistent when an item is chosen or a quantity action
// has run, the row's calculation type, and the displayed price of the weight-calculated rows.
// Every routine runs with errors ignored and rounds nothing: values go to the host unrounded.
#pragma once

#include "calc/row_keys.h"
#include "frame/plugin_context.h"
#include "zov/host/bill.h"

namespace zov::plugins::calc {

// The name of the calculation type a weight-calculated item starts with (t_CalType.FName).
inline constexpr const char* kDefaultCalTypeName = "理算";

// With industry type 1: FDisplayPrice := the price of the row's unit form, FBasePrice for type 1,
// FPrice for type 2, FSecPrice for type 3, FPrice for an item without weight calculation. A
// weight-calculated row of another type is left alone.
void RefreshDisplayPrice(PluginContext& ctx, host::IBillInterface& bill, long row,
                         const RowKeys& keys = FirstGridKeys());

// Gives the row the calculation type "理算", with number and name shown in the cell. Nothing
// changes when the account set has no such type.
void SetDefaultCalType(PluginContext& ctx, host::IBillInterface& bill, long row,
                       const RowKeys& keys = FirstGridKeys());

// False, after the message "第" + row + "行计算方式不能为空。" with the cursor on the cell, for the
// first row of a weight-calculated item without a calculation type; true when there is none.
bool CheckCalTypes(PluginContext& ctx, host::IBillInterface& bill,
                   const RowKeys& keys = FirstGridKeys());

// FSecQty := FQty and FSecPrice := FBasePrice; then FsecCoefficient := FShowQty / FSecQty when
// both quantities are not 0.
void CopyBaseToSecondary(PluginContext& ctx, host::IBillInterface& bill, long row,
                         const RowKeys& keys = FirstGridKeys());

// What follows the choice of an item in `row`: the unit locks (industry type 1), the default unit
// for the header customer written with action, a shown quantity of at least 1 written with
// action, the secondary coefficient of the item and unit, and with industry type 1 the
// calculation type (default "理算" for a weight-calculated item, none otherwise) and the displayed
// quantity and weight.
void ApplyItemChosen(PluginContext& ctx, host::IBillInterface& bill, long row,
                     const RowKeys& keys = FirstGridKeys());

// After the host's action on FShowQty, with industry type 1: a type-3 row with a secondary
// quantity gets FsecCoefficient := FShowQty / FSecQty.
void ApplyShowQtyAction(PluginContext& ctx, host::IBillInterface& bill, long row,
                        const RowKeys& keys = FirstGridKeys());

}  // namespace zov::plugins::calc
