// A scalar subquery: one column, at most one row (more is an error, as in SQL Server).
#pragma once

#include "data/tsql/ast/expression.h"
#include "data/tsql/ast/query.h"

namespace zov::data::tsql {

class SubqueryExpression : public Expression {
 public:
  SubqueryExpression(std::uint32_t offset, QueryPtr subquery)
      : Expression(ExpressionKind::Subquery, offset), subquery(std::move(subquery)) {}

  const QueryPtr subquery;
};

}  // namespace zov::data::tsql
