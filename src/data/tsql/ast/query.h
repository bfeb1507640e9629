// A query expression: a SELECT or a set operation of SELECTs, with its ORDER BY.
#pragma once

#include <memory>
#include <vector>

#include "data/tsql/ast/expression.h"

namespace zov::data::tsql {

class QueryNode;
using QueryNodePtr = std::unique_ptr<QueryNode>;

struct OrderItem {
  ExpressionPtr expression;  // a column, an alias, a position (pinned integer) or an expression
  bool descending = false;
};

class Query {
 public:
  Query(QueryNodePtr body, std::vector<OrderItem> orderBy);
  ~Query();
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;

  QueryNodePtr body;
  std::vector<OrderItem> orderBy;
  std::uint32_t begin = 0;  // text span in the batch (for views)
  std::uint32_t end = 0;
};

using QueryPtr = std::unique_ptr<Query>;

}  // namespace zov::data::tsql
