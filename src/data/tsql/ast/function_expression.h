// A call of a built-in or schema-qualified scalar function, or of an aggregate.
#pragma once

#include <string>

#include "data/tsql/ast/expression.h"

namespace zov::data::tsql {

class FunctionExpression : public Expression {
 public:
  FunctionExpression(std::uint32_t offset, std::string schema, std::string name,
                     ExpressionList args, bool distinct, bool star, std::string datePart)
      : Expression(ExpressionKind::Function, offset),
        schema(std::move(schema)),
        name(std::move(name)),
        args(std::move(args)),
        distinct(distinct),
        star(star),
        datePart(std::move(datePart)) {}

  const std::string schema;  // "dbo" for dbo.GetComplexQty, else empty
  const std::string name;    // as written
  const ExpressionList args;
  const bool distinct;         // COUNT(DISTINCT x)
  const bool star;             // COUNT(*)
  const std::string datePart;  // the first argument of DATEADD/DATEDIFF/DATEPART/DATENAME
};

}  // namespace zov::data::tsql
