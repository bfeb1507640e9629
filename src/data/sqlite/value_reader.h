// Reads the columns of a stepped statement as the T-SQL types the translation gave them.
#pragma once

#include "data/tsql/sql_type.h"
#include "data/tsql/sql_value.h"
#include "zov/vb/variant.h"

struct sqlite3_stmt;

namespace zov::data::sqlite {

// Column `i` as a Variant of its T-SQL type: integers as Long (an int column beyond the int range
// raises the arithmetic overflow SQL Server would have raised), bit as Boolean, decimal and
// float as Double (decimals rounded to their scale), money as Currency, datetimes as Date,
// character data as String.
vb::Variant ReadVariant(sqlite3_stmt* stmt, int i, const tsql::SqlType& t);
// Column `i` as a plain value (decimals rounded to their scale).
tsql::SqlValue ReadValue(sqlite3_stmt* stmt, int i, const tsql::SqlType& t);

}  // namespace zov::data::sqlite
