// Unary minus, plus and bitwise not.
#pragma once

#include "data/tsql/ast/expression.h"

namespace zov::data::tsql {

class UnaryExpression : public Expression {
 public:
  UnaryExpression(std::uint32_t offset, char op, ExpressionPtr operand)
      : Expression(ExpressionKind::Unary, offset), op(op), operand(std::move(operand)) {}

  const char op;  // '-', '+' or '~'
  const ExpressionPtr operand;
};

}  // namespace zov::data::tsql
