// DELETE [FROM] target [FROM tables] [WHERE condition].
#pragma once

#include <vector>

#include "data/tsql/ast/expression.h"
#include "data/tsql/ast/object_name.h"
#include "data/tsql/ast/statement.h"
#include "data/tsql/ast/table_ref.h"

namespace zov::data::tsql {

class DeleteStatement : public Statement {
 public:
  DeleteStatement() : Statement(StatementKind::Delete) {}

  ObjectName target;
  std::vector<TableRefPtr> from;
  ExpressionPtr where;
};

}  // namespace zov::data::tsql
