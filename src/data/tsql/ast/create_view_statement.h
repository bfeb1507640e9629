// CREATE VIEW name [(columns)] AS SELECT ...
#pragma once

#include <string>
#include <vector>

#include "data/tsql/ast/object_name.h"
#include "data/tsql/ast/query.h"
#include "data/tsql/ast/statement.h"

namespace zov::data::tsql {

class CreateViewStatement : public Statement {
 public:
  CreateViewStatement() : Statement(StatementKind::CreateView) {}

  ObjectName name;
  std::vector<std::string> columns;
  QueryPtr query;
};

}  // namespace zov::data::tsql
