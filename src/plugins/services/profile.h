// Process-wide switches the host publishes in its property bag, and the user's rights.
#pragma once

#include <string>

#include "frame/plugin_context.h"
#include "zov/host/components.h"

namespace zov::plugins::services {

// The bag item `key`, or `defaultValue` when the host published no bag or the bag lacks it.
Variant BagValue(PluginContext& ctx, std::string_view key, const Variant& defaultValue = {});
// Stores `value` under `key` in the host's bag; nothing is stored when there is no bag.
void SetBagValue(PluginContext& ctx, std::string_view key, const Variant& value);
// "AppType" (default 2), "IndustryType" (default 0), "InitClosed" (default true).
long AppType(PluginContext& ctx);
long IndustryType(PluginContext& ctx);
bool InitClosed(PluginContext& ctx);

// Whether the user of `props` holds bit `right` of (group, object), asked of the host security
// component in the name of `caller`. False when the component cannot answer.
bool AccessCheck(PluginContext& ctx, std::string_view props, long group, long object, long right,
                 std::string_view caller);

// The first day of the account set's start period while the ledger is closed and the opening
// stage is open; 1900-01-01 otherwise (every bill date then passes the comparison).
vb::Date StartPeriodStartDate(PluginContext& ctx);
// The system profile value (category, key) as text, `defaultValue` when absent or on failure.
Variant SystemProfileValue(PluginContext& ctx, std::string_view key, std::string_view category,
                           const Variant& defaultValue);
// The session's profile object (the GL data object's SystemProfile), created on first use.
Ref<host::IGLSystemProfile> ProfileObject(PluginContext& ctx);
// The profile object's value (category, key) as text, `defaultValue` when absent.
std::string GLProfileValue(PluginContext& ctx, std::string_view category, std::string_view key,
                           std::string_view defaultValue);
// The credit and price-limit control point: "ControlPoint" of "IC" after a refresh, 0 on failure.
long ControlPoint(PluginContext& ctx);
// The item classes under data authorisation, kept in the bag once read.
std::string AuthorisedItemClasses(PluginContext& ctx);
// Whether data authorisation is switched on for the user.
bool NeedAuthorisation(PluginContext& ctx);
// Stock-level data authorisation: authorisation on and item class 5 listed (a plain substring
// test, so "15" counts too).
bool StockRightsApply(PluginContext& ctx);

}  // namespace zov::plugins::services
