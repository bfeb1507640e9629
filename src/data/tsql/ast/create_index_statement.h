// CREATE [UNIQUE] [CLUSTERED|NONCLUSTERED] INDEX name ON table (columns).
#pragma once

#include <string>
#include <vector>

#include "data/tsql/ast/object_name.h"
#include "data/tsql/ast/statement.h"

namespace zov::data::tsql {

struct IndexColumn {
  std::string name;
  bool descending = false;
};

class CreateIndexStatement : public Statement {
 public:
  CreateIndexStatement() : Statement(StatementKind::CreateIndex) {}

  bool unique = false;
  std::string name;
  ObjectName table;
  std::vector<IndexColumn> columns;
};

}  // namespace zov::data::tsql
