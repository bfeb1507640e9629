// ALTER TABLE name ADD column definitions.
#pragma once

#include <vector>

#include "data/tsql/ast/column_definition.h"
#include "data/tsql/ast/object_name.h"
#include "data/tsql/ast/statement.h"

namespace zov::data::tsql {

class AlterTableStatement : public Statement {
 public:
  AlterTableStatement() : Statement(StatementKind::AlterTable) {}

  ObjectName table;
  std::vector<ColumnDefinition> add;
};

}  // namespace zov::data::tsql
