// A local variable (@name, resolved to its DECLARE) or a system function (@@IDENTITY, @@ROWCOUNT).
#pragma once

#include <string>

#include "data/tsql/ast/expression.h"

namespace zov::data::tsql {

class VariableExpression : public Expression {
 public:
  VariableExpression(std::uint32_t offset, std::string name, int index)
      : Expression(ExpressionKind::Variable, offset), name(std::move(name)), index(index) {}

  const std::string name;  // as written, with the @ signs
  const int index;         // the variable's slot in the batch; -1 for an @@ system function
  bool IsSystem() const { return index < 0; }
};

}  // namespace zov::data::tsql
