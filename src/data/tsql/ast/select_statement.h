// A SELECT statement: returns a result set, assigns variables (SELECT @v = ...) or creates a
// table (SELECT ... INTO).
#pragma once

#include "data/tsql/ast/query.h"
#include "data/tsql/ast/statement.h"

namespace zov::data::tsql {

class SelectStatement : public Statement {
 public:
  explicit SelectStatement(QueryPtr query)
      : Statement(StatementKind::Select), query(std::move(query)) {}

  const QueryPtr query;
  bool assigns = false;  // the select list assigns variables
  bool into = false;     // SELECT ... INTO
};

}  // namespace zov::data::tsql
