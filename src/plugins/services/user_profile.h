// Per-user settings kept by the host: (section, key) -> text, per user and account set.
#pragma once

#include <string>

#include "frame/plugin_context.h"

namespace zov::plugins::services {

// The current user's value of (section, key); "" when none or on any failure.
std::string GetUserProfile(PluginContext& ctx, std::string_view section, std::string_view key);
// Stores the current user's value of (section, key); a failure stores nothing.
void SaveUserProfileItem(PluginContext& ctx, std::string_view section, std::string_view key,
                         const Variant& value);

}  // namespace zov::plugins::services
