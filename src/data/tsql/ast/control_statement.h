// BREAK, CONTINUE and RETURN.
#pragma once

#include "data/tsql/ast/statement.h"

namespace zov::data::tsql {

enum class ControlKind : std::uint8_t { Break, Continue, Return };

class ControlStatement : public Statement {
 public:
  explicit ControlStatement(ControlKind what) : Statement(StatementKind::Control), what(what) {}

  const ControlKind what;
};

}  // namespace zov::data::tsql
