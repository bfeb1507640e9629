// A column named by one to four parts: column, table.column, schema.table.column.
#pragma once

#include <string>
#include <vector>

#include "data/tsql/ast/expression.h"

namespace zov::data::tsql {

class ColumnRefExpression : public Expression {
 public:
  ColumnRefExpression(std::uint32_t offset, std::vector<std::string> parts)
      : Expression(ExpressionKind::ColumnRef, offset), parts(std::move(parts)) {}

  const std::vector<std::string> parts;  // the qualifiers then the column name
  const std::string& Column() const { return parts.back(); }
};

}  // namespace zov::data::tsql
