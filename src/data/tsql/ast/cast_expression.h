// CAST(x AS type) and CONVERT(type, x [, style]).
#pragma once

#include "data/tsql/ast/expression.h"
#include "data/tsql/sql_type.h"

namespace zov::data::tsql {

class CastExpression : public Expression {
 public:
  CastExpression(std::uint32_t offset, ExpressionPtr operand, SqlType target, int style)
      : Expression(ExpressionKind::Cast, offset),
        operand(std::move(operand)),
        target(target),
        style(style) {}

  const ExpressionPtr operand;
  const SqlType target;
  const int style;  // CONVERT's style, -1 when none
};

}  // namespace zov::data::tsql
