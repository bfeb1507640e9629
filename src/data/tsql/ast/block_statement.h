// BEGIN statements END.
#pragma once

#include "data/tsql/ast/statement.h"

namespace zov::data::tsql {

class BlockStatement : public Statement {
 public:
  explicit BlockStatement(StatementList statements)
      : Statement(StatementKind::Block), statements(std::move(statements)) {}

  const StatementList statements;
};

}  // namespace zov::data::tsql
