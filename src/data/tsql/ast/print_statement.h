// PRINT expr: evaluated for its errors, the message itself goes nowhere.
#pragma once

#include "data/tsql/ast/expression.h"
#include "data/tsql/ast/statement.h"

namespace zov::data::tsql {

class PrintStatement : public Statement {
 public:
  explicit PrintStatement(ExpressionPtr value)
      : Statement(StatementKind::Print), value(std::move(value)) {}

  const ExpressionPtr value;
};

}  // namespace zov::data::tsql
