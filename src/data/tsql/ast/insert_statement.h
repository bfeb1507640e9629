// INSERT [INTO] table [(columns)] VALUES (...), (...) | SELECT ... | DEFAULT VALUES.
#pragma once

#include <string>
#include <vector>

#include "data/tsql/ast/expression.h"
#include "data/tsql/ast/object_name.h"
#include "data/tsql/ast/query.h"
#include "data/tsql/ast/statement.h"

namespace zov::data::tsql {

class InsertStatement : public Statement {
 public:
  InsertStatement() : Statement(StatementKind::Insert) {}

  ObjectName target;
  std::vector<std::string> columns;  // empty: every column but the identity
  std::vector<ExpressionList> rows;  // VALUES rows
  QueryPtr query;                    // INSERT ... SELECT
  bool defaultValues = false;
};

}  // namespace zov::data::tsql
