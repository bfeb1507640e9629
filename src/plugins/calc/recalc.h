// The conversion engine: when the user edits a displayed field of a row (FDisplayPrice,
// FDisplayWeight, FDisplayQty, the displayed in- and out-prices, or the component grid's
// FDisplayPrice1, FDisplayWeight1, FDisplayQty1), the row's base, shown and secondary forms are
// brought in line with it according to the item's weight calculation and the row's calculation
// type, and the host's field actions recompute amounts and taxes from the written cells.
#pragma once

#include <string_view>

#include "frame/plugin_context.h"
#include "zov/host/bill.h"

namespace zov::plugins::calc {

// Recalculates `row` after the user changed the field `changedKey` (compared ignoring case); any
// other key does nothing. Runs step by step with errors ignored: a failed step (a division by
// zero, a cell the bill lacks) leaves its target as it was and the next step runs. Nothing is
// rounded here.
void RecalcDisplayedField(PluginContext& ctx, host::IBillInterface& bill, long row,
                          std::string_view changedKey);

}  // namespace zov::plugins::calc
