// Who is logged in and to which account set: the login values the host keeps per process, the
// login properties string every component call takes first, and its parsed properties.
#pragma once

#include <cstdint>
#include <string>

#include "frame/plugin_context.h"

namespace zov::plugins::services {

// The login value `key`; Empty when absent or on any failure. In outer-login mode only the
// login value keys are served.
Variant LoginValue(PluginContext& ctx, std::string_view key);
// The login value "PropsString".
std::string PropsString(PluginContext& ctx);
// "PropsString" of the shared-properties component, whatever the login mode.
std::string SharedPropsString(PluginContext& ctx);
// Parses a properties string ("k=v;k2={v;w};") into the session's collection, replacing it. A key
// that repeats ends the parse (the pairs before it stay). Always true.
bool ParseProperties(PluginContext& ctx, std::string_view text);
// The parsed property `key`; raises Error 5 when it was not parsed.
std::string Property(PluginContext& ctx, std::string_view key);
// The database connection string of the current login (property "ConnectString").
std::string ConnectionString(PluginContext& ctx);
// The current user's ID (property "UserID") as a 16-bit integer.
std::int16_t CurrentUserID(PluginContext& ctx);

// `value` rounded to `places` decimals for display arithmetic: formatted with "#,##0." and
// `places` zeros and read back as a Currency value (half away from zero).
vb::Currency FormatToPlaces(const Variant& value, int places);

}  // namespace zov::plugins::services
