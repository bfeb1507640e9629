// Arithmetic and bitwise operators: + - * / % & | ^. "+" is addition or concatenation by the
// operands' types.
#pragma once

#include "data/tsql/ast/expression.h"

namespace zov::data::tsql {

class BinaryExpression : public Expression {
 public:
  BinaryExpression(std::uint32_t offset, char op, ExpressionPtr left, ExpressionPtr right)
      : Expression(ExpressionKind::Binary, offset),
        op(op),
        left(std::move(left)),
        right(std::move(right)) {}

  const char op;  // '+', '-', '*', '/', '%', '&', '|', '^'
  const ExpressionPtr left;
  const ExpressionPtr right;
};

}  // namespace zov::data::tsql
