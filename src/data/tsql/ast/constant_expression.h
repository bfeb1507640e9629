// A literal: a string, a number or NULL. Literals are lifted out of the statement as parameters
// (slot = the literal's index in the batch) unless the parser pinned them because their value
// shapes the statement (TOP n, ORDER BY position, a CONVERT style).
#pragma once

#include "data/tsql/ast/expression.h"
#include "data/tsql/sql_type.h"
#include "data/tsql/sql_value.h"

namespace zov::data::tsql {

class ConstantExpression : public Expression {
 public:
  ConstantExpression(std::uint32_t offset, int slot, SqlType type, SqlValue value)
      : Expression(ExpressionKind::Constant, offset),
        slot(slot),
        type(type),
        value(std::move(value)) {}

  const int slot;        // literal index in the batch; -1 for NULL
  const SqlType type;    // SQL Server's type of the literal: int, numeric(p,s), float, varchar...
  const SqlValue value;  // the value read when the batch was parsed (meaningful when pinned)
  bool IsNull() const { return slot < 0; }
};

}  // namespace zov::data::tsql
