// NOT of a predicate.
#pragma once

#include "data/tsql/ast/expression.h"

namespace zov::data::tsql {

class NotExpression : public Expression {
 public:
  NotExpression(std::uint32_t offset, ExpressionPtr operand)
      : Expression(ExpressionKind::Not, offset), operand(std::move(operand)) {}

  const ExpressionPtr operand;
};

}  // namespace zov::data::tsql
