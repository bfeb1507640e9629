// Process-wide switches the host publishes in its property bag, and the user's rights.
#pragma once

#include <string>

#include "frame/plugin_context.h"

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

}  // namespace zov::plugins::services
