// A column of CREATE TABLE or ALTER TABLE ADD.
#pragma once

#include <optional>
#include <string>

#include "data/tsql/ast/expression.h"
#include "data/tsql/sql_type.h"

namespace zov::data::tsql {

struct ColumnDefinition {
  std::string name;
  SqlType type;
  std::optional<bool> nullable;  // NULL / NOT NULL as written; unset: nullable
  ExpressionPtr defaultValue;
  bool identity = false;
  long long identitySeed = 1;
  long long identityIncrement = 1;
  bool primaryKey = false;
  bool unique = false;
};

}  // namespace zov::data::tsql
