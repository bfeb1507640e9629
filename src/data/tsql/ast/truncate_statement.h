// TRUNCATE TABLE name.
#pragma once

#include "data/tsql/ast/object_name.h"
#include "data/tsql/ast/statement.h"

namespace zov::data::tsql {

class TruncateStatement : public Statement {
 public:
  TruncateStatement() : Statement(StatementKind::Truncate) {}

  ObjectName table;
};

}  // namespace zov::data::tsql
