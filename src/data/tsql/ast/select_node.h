// One SELECT: DISTINCT, TOP, the select list, INTO, FROM, WHERE, GROUP BY, HAVING.
#pragma once

#include <string>
#include <vector>

#include "data/tsql/ast/expression.h"
#include "data/tsql/ast/object_name.h"
#include "data/tsql/ast/query_node.h"
#include "data/tsql/ast/table_ref.h"

namespace zov::data::tsql {

struct SelectItem {
  ExpressionPtr expression;
  std::string alias;    // AS alias, bare alias or alias = expr; empty when none
  int assignTo = -1;    // SELECT @v = expr: the variable slot
  char assignOp = '=';  // '=' or the operator of +=, -=, *=, /=
};

class SelectNode : public QueryNode {
 public:
  SelectNode() : QueryNode(QueryNodeKind::Select) {}

  bool distinct = false;
  ExpressionPtr top;  // TOP (n): pinned integer or expression; null when none
  std::vector<SelectItem> items;
  bool hasInto = false;
  ObjectName into;                // SELECT ... INTO table
  std::vector<TableRefPtr> from;  // comma-separated items
  ExpressionPtr where;
  ExpressionList groupBy;
  ExpressionPtr having;
  std::uint32_t offset = 0;
};

}  // namespace zov::data::tsql
