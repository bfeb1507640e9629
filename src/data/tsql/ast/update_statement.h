// UPDATE target SET column = expr, ... [FROM tables] [WHERE condition]. The target is a table or
// the alias of one of the FROM tables, as SQL Server allows.
#pragma once

#include <string>
#include <vector>

#include "data/tsql/ast/expression.h"
#include "data/tsql/ast/object_name.h"
#include "data/tsql/ast/statement.h"
#include "data/tsql/ast/table_ref.h"

namespace zov::data::tsql {

struct SetClause {
  std::vector<std::string> column;  // [qualifier.]column
  char op = '=';                    // '=' or the operator of +=, -=, *=, /=
  ExpressionPtr value;
  int variable = -1;  // SET @v = expr inside UPDATE (unsupported, kept for the message)
};

class UpdateStatement : public Statement {
 public:
  UpdateStatement() : Statement(StatementKind::Update) {}

  ObjectName target;
  std::vector<SetClause> sets;
  std::vector<TableRefPtr> from;
  ExpressionPtr where;
};

}  // namespace zov::data::tsql
