// x IS [NOT] NULL.
#pragma once

#include "data/tsql/ast/expression.h"

namespace zov::data::tsql {

class IsNullExpression : public Expression {
 public:
  IsNullExpression(std::uint32_t offset, ExpressionPtr operand, bool negated)
      : Expression(ExpressionKind::IsNull, offset), operand(std::move(operand)), negated(negated) {}

  const ExpressionPtr operand;
  const bool negated;  // IS NOT NULL
};

}  // namespace zov::data::tsql
