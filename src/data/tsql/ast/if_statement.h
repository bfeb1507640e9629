// IF condition statement [ELSE statement].
#pragma once

#include "data/tsql/ast/expression.h"
#include "data/tsql/ast/statement.h"

namespace zov::data::tsql {

class IfStatement : public Statement {
 public:
  IfStatement(ExpressionPtr condition, StatementPtr then, StatementPtr otherwise)
      : Statement(StatementKind::If),
        condition(std::move(condition)),
        then(std::move(then)),
        otherwise(std::move(otherwise)) {}

  const ExpressionPtr condition;
  const StatementPtr then;
  const StatementPtr otherwise;  // may be null
};

}  // namespace zov::data::tsql
