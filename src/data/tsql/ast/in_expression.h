// x [NOT] IN (list) or x [NOT] IN (subquery).
#pragma once

#include "data/tsql/ast/expression.h"
#include "data/tsql/ast/query.h"

namespace zov::data::tsql {

class InExpression : public Expression {
 public:
  InExpression(std::uint32_t offset, ExpressionPtr operand, ExpressionList list, QueryPtr subquery,
               bool negated)
      : Expression(ExpressionKind::In, offset),
        operand(std::move(operand)),
        list(std::move(list)),
        subquery(std::move(subquery)),
        negated(negated) {}

  const ExpressionPtr operand;
  const ExpressionList list;  // empty when `subquery` is set
  const QueryPtr subquery;
  const bool negated;
};

}  // namespace zov::data::tsql
