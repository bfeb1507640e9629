// The SQL the translator emits for PostgreSQL.
#pragma once

#include <string>

#include "data/tsql/dialect.h"

namespace zov::data::postgresql {

const tsql::Dialect& Dialect();

// The PostgreSQL type that holds values of T-SQL type `t`: the declared type of a column, and the
// type of a parameter (without length, precision or scale).
std::string ColumnType(const tsql::SqlType& t);
std::string ValueType(const tsql::SqlType& t);

}  // namespace zov::data::postgresql
