// What differs in the SQL the translator emits for each engine: one table per engine, filled in
// by its back end (sqlite/dialect.cc, postgresql/dialect.cc). The translator and the interpreter
// stay one; wherever the engines part ways they read the table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/tsql/sql_type.h"
#include "data/tsql/sql_value.h"

namespace zov::data::tsql {

struct Dialect {
  std::string_view name;  // "SQLite", "PostgreSQL"

  // x [NOT] IN (a long list of values), the list bound as one parameter: {0} the operand, {1}
  // the parameter.
  std::string_view inList;
  std::string_view notInList;
  // The one parameter an IN list binds: its values, each of type `element`.
  std::string (*listParameter)(const std::vector<SqlValue>& values, const SqlType& element);
};

}  // namespace zov::data::tsql
