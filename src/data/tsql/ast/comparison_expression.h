// A comparison predicate: = <> < <= > >= !< !>.
#pragma once

#include "data/tsql/ast/expression.h"

namespace zov::data::tsql {

enum class CompareOp : std::uint8_t { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

class ComparisonExpression : public Expression {
 public:
  ComparisonExpression(std::uint32_t offset, CompareOp op, ExpressionPtr left, ExpressionPtr right)
      : Expression(ExpressionKind::Comparison, offset),
        op(op),
        left(std::move(left)),
        right(std::move(right)) {}

  const CompareOp op;  // !< is read as >=, !> as <=
  const ExpressionPtr left;
  const ExpressionPtr right;
};

}  // namespace zov::data::tsql
