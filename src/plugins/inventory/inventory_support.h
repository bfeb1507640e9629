// Small helpers of the inventory rules: item flags they read, dates as the rules compare them,
// and cells of the bill.
#pragma once

#include <optional>
#include <string>

#include "frame/bill_access.h"
#include "frame/plugin_context.h"
#include "zov/host/bill.h"
#include "zov/host/dictionary.h"

namespace zov::plugins::inventory {

// An internal ID as SQL text.
std::string SqlId(long id);

// The item's tracking (costing) method, t_ICItem.FTrack; 0 when unknown.
long TrackMethod(PluginContext& ctx, long itemId);
// Whether the item is shelf-life managed (t_ICItem.FISKFPeriod read as text "TRUE").
bool IsShelfLifeManaged(PluginContext& ctx, long itemId);

// True for Empty, Null and a blank text.
bool IsBlank(const Variant& value);
// A date value as "YYYY-MM-DD"; "" for a blank value or one that is not a date.
std::string DateText(const Variant& value);

// The date in a cell; nullopt for an empty cell or one that holds no date.
std::optional<vb::Date> CellDate(host::IBillInterface& bill, std::string_view key, long row);

// Whether the bill has field `key`.
bool HasField(host::IBillInterface& bill, std::string_view key);

}  // namespace zov::plugins::inventory
