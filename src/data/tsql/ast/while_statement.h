// WHILE condition statement.
#pragma once

#include "data/tsql/ast/expression.h"
#include "data/tsql/ast/statement.h"

namespace zov::data::tsql {

class WhileStatement : public Statement {
 public:
  WhileStatement(ExpressionPtr condition, StatementPtr body)
      : Statement(StatementKind::While), condition(std::move(condition)), body(std::move(body)) {}

  const ExpressionPtr condition;
  const StatementPtr body;
};

}  // namespace zov::data::tsql
