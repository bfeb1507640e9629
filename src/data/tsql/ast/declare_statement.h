// DECLARE @a type [= value], @b type ...
#pragma once

#include <vector>

#include "data/tsql/ast/expression.h"
#include "data/tsql/ast/statement.h"
#include "data/tsql/sql_type.h"

namespace zov::data::tsql {

struct VariableDeclaration {
  int variable = -1;  // slot
  SqlType type;
  ExpressionPtr initial;  // may be null
};

class DeclareStatement : public Statement {
 public:
  DeclareStatement() : Statement(StatementKind::Declare) {}

  std::vector<VariableDeclaration> variables;
};

}  // namespace zov::data::tsql
