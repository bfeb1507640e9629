// The SQL functions and the collation through which SQLite runs translated T-SQL: conversions,
// checked division, SQL Server's string and date functions, LIKE and dbo.GetComplexQty.
// Registered on every connection of a session.
#pragma once

#include "data/sqlite/connection.h"

namespace zov::data::sqlite {

// What the functions read from the session that owns the connection.
struct FunctionContext {
  // The units query of GetComplexQty, prepared on first use; the session finalizes it before
  // closing the connection.
  Statement unitQuery;
};

// Registers every tsql_* function on `db` (the connection itself registers the collation TSQL_CI).
// `context` must outlive the connection's use.
void RegisterFunctions(sqlite3* db, FunctionContext* context);

}  // namespace zov::data::sqlite
