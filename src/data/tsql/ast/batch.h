// A parsed batch: its statements, its variables and the literals the parser pinned.
#pragma once

#include <string>
#include <vector>

#include "data/tsql/ast/statement.h"
#include "data/tsql/sql_type.h"

namespace zov::data::tsql {

struct VariableInfo {
  std::string name;  // with the @
  SqlType type;
};

struct PinnedLiteral {
  int slot = -1;
  std::string text;  // the literal's token text, which a reuse of the tree must match
};

class Batch {
 public:
  StatementList statements;
  std::vector<VariableInfo> variables;
  std::vector<PinnedLiteral> pinned;
  int literalCount = 0;
};

}  // namespace zov::data::tsql
