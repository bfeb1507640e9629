// x [NOT] BETWEEN low AND high.
#pragma once

#include "data/tsql/ast/expression.h"

namespace zov::data::tsql {

class BetweenExpression : public Expression {
 public:
  BetweenExpression(std::uint32_t offset, ExpressionPtr operand, ExpressionPtr low,
                    ExpressionPtr high, bool negated)
      : Expression(ExpressionKind::Between, offset),
        operand(std::move(operand)),
        low(std::move(low)),
        high(std::move(high)),
        negated(negated) {}

  const ExpressionPtr operand;
  const ExpressionPtr low;
  const ExpressionPtr high;
  const bool negated;
};

}  // namespace zov::data::tsql
