// The account set's database, reached only through the host's data components, and the quoting
// of values appended to SQL text.
#pragma once

#include <string>

#include "frame/plugin_context.h"
#include "zov/host/recordset.h"

namespace zov::plugins::services {

// Runs a query through "ZOVMClass.ClassInfo" with the login properties string. Raises the
// database's error to the caller.
Ref<host::IRecordset> OpenRecordset(PluginContext& ctx, std::string_view sql);
// The same; any failure gives an empty result.
Ref<host::IRecordset> OpenRecordsetTolerant(PluginContext& ctx, std::string_view sql);
// The same with an explicit properties string ("" uses the shared one); a blank statement gives
// an empty result without asking the host.
Ref<host::IRecordset> OpenRecordsetWithProps(PluginContext& ctx, std::string_view sql,
                                             std::string_view props);
// The field at 0-based `position` of the first row as text; "" for Null, no row or any failure.
std::string FirstValue(PluginContext& ctx, std::string_view sql, long position = 0);
// Whether the first value of the first row is set: a true Boolean, a number other than 0, or the
// text "True"; false for Null, no row or any failure.
bool FirstFlag(PluginContext& ctx, std::string_view sql);
// Runs an update through "ZOVMClass.ClassUpdate". Raises the database's error to the caller.
void ExecuteUpdate(PluginContext& ctx, std::string_view sql);
// A base-data look-up through "ZOVMAPPConnection.AppConnection" on the login's connection string.
Ref<host::IRecordset> LookupBaseData(PluginContext& ctx, std::string_view sql);

// A text value as a SQL literal: trimmed when `trim`; "Null" for an empty value when
// `nullIfEmpty`; every "'" doubled; enclosed in "'" when `quote`.
std::string SqlLiteral(std::string_view value, bool quote = true, bool nullIfEmpty = false,
                       bool trim = false);

}  // namespace zov::plugins::services
