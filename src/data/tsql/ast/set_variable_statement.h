// SET @v = expr (also +=, -=, *=, /=).
#pragma once

#include "data/tsql/ast/expression.h"
#include "data/tsql/ast/statement.h"

namespace zov::data::tsql {

class SetVariableStatement : public Statement {
 public:
  SetVariableStatement(int variable, char op, ExpressionPtr value)
      : Statement(StatementKind::SetVariable),
        variable(variable),
        op(op),
        value(std::move(value)) {}

  const int variable;
  const char op;
  const ExpressionPtr value;
};

}  // namespace zov::data::tsql
