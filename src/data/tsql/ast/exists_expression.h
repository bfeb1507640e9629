// EXISTS (subquery); NOT EXISTS is a NotExpression around it.
#pragma once

#include "data/tsql/ast/expression.h"
#include "data/tsql/ast/query.h"

namespace zov::data::tsql {

class ExistsExpression : public Expression {
 public:
  ExistsExpression(std::uint32_t offset, QueryPtr subquery)
      : Expression(ExpressionKind::Exists, offset), subquery(std::move(subquery)) {}

  const QueryPtr subquery;
};

}  // namespace zov::data::tsql
