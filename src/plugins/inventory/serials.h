// Serial numbers of bill rows. A row's FSerialNo holds its serial numbers as one text: entries
// separated by "|", each "serial,note,used" where used is 1 when a later bill already uses the
// serial number.
#pragma once

#include "frame/plugin_context.h"
#include "zov/host/bill.h"

namespace zov::plugins::inventory {

// Empties the serial-number cells of `row` (or of every row when `row` is below 1) and marks them
// modified; only on the assembly bills (1040005, 1040006) and unless both the app type and the
// industry type are 1.
void ClearSerials(PluginContext& ctx, host::IBillInterface& bill, long row);

// True when a serial number of `row` is already used by a later bill (the row must stay).
bool RowHasUsedSerials(host::IBillInterface& bill, long row);

}  // namespace zov::plugins::inventory
