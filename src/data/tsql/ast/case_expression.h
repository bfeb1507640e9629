// CASE [operand] WHEN ... THEN ... [ELSE ...] END, simple (with operand) or searched.
#pragma once

#include <utility>
#include <vector>

#include "data/tsql/ast/expression.h"

namespace zov::data::tsql {

struct CaseWhen {
  ExpressionPtr when;  // a value for the simple form, a predicate for the searched form
  ExpressionPtr then;
};

class CaseExpression : public Expression {
 public:
  CaseExpression(std::uint32_t offset, ExpressionPtr operand, std::vector<CaseWhen> whens,
                 ExpressionPtr otherwise)
      : Expression(ExpressionKind::Case, offset),
        operand(std::move(operand)),
        whens(std::move(whens)),
        otherwise(std::move(otherwise)) {}

  const ExpressionPtr operand;  // null for the searched form
  const std::vector<CaseWhen> whens;
  const ExpressionPtr otherwise;  // null: ELSE NULL
};

}  // namespace zov::data::tsql
