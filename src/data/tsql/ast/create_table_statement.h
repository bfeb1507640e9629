// CREATE TABLE name (columns, constraints).
#pragma once

#include <string>
#include <vector>

#include "data/tsql/ast/column_definition.h"
#include "data/tsql/ast/object_name.h"
#include "data/tsql/ast/statement.h"

namespace zov::data::tsql {

struct TableConstraint {
  std::string name;
  bool primaryKey = false;  // false: UNIQUE
  std::vector<std::string> columns;
};

class CreateTableStatement : public Statement {
 public:
  CreateTableStatement() : Statement(StatementKind::CreateTable) {}

  ObjectName name;
  std::vector<ColumnDefinition> columns;
  std::vector<TableConstraint> constraints;
};

}  // namespace zov::data::tsql
