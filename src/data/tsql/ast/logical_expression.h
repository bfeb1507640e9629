// AND / OR of two predicates.
#pragma once

#include "data/tsql/ast/expression.h"

namespace zov::data::tsql {

class LogicalExpression : public Expression {
 public:
  LogicalExpression(std::uint32_t offset, bool isAnd, ExpressionPtr left, ExpressionPtr right)
      : Expression(ExpressionKind::Logical, offset),
        isAnd(isAnd),
        left(std::move(left)),
        right(std::move(right)) {}

  const bool isAnd;  // false: OR
  const ExpressionPtr left;
  const ExpressionPtr right;
};

}  // namespace zov::data::tsql
