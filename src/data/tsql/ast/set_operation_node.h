// left UNION [ALL] | EXCEPT | INTERSECT right.
#pragma once

#include "data/tsql/ast/query_node.h"

namespace zov::data::tsql {

enum class SetOperationType : std::uint8_t { Union, UnionAll, Except, Intersect };

class SetOperationNode : public QueryNode {
 public:
  SetOperationNode(SetOperationType type, QueryNodePtr left, QueryNodePtr right)
      : QueryNode(QueryNodeKind::SetOperation),
        type(type),
        left(std::move(left)),
        right(std::move(right)) {}

  const SetOperationType type;
  const QueryNodePtr left;
  const QueryNodePtr right;
};

}  // namespace zov::data::tsql
