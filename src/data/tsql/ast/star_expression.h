// "*" or "alias.*" in a select list.
#pragma once

#include <string>

#include "data/tsql/ast/expression.h"

namespace zov::data::tsql {

class StarExpression : public Expression {
 public:
  StarExpression(std::uint32_t offset, std::string qualifier)
      : Expression(ExpressionKind::Star, offset), qualifier(std::move(qualifier)) {}

  const std::string qualifier;  // empty for a bare *
};

}  // namespace zov::data::tsql
