// x [NOT] LIKE pattern [ESCAPE c], with SQL Server's % _ [set] [^set] wildcards.
#pragma once

#include "data/tsql/ast/expression.h"

namespace zov::data::tsql {

class LikeExpression : public Expression {
 public:
  LikeExpression(std::uint32_t offset, ExpressionPtr operand, ExpressionPtr pattern,
                 ExpressionPtr escape, bool negated)
      : Expression(ExpressionKind::Like, offset),
        operand(std::move(operand)),
        pattern(std::move(pattern)),
        escape(std::move(escape)),
        negated(negated) {}

  const ExpressionPtr operand;
  const ExpressionPtr pattern;
  const ExpressionPtr escape;  // may be null
  const bool negated;
};

}  // namespace zov::data::tsql
