// The base of every expression node of the syntax tree.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace zov::data::tsql {

enum class ExpressionKind : std::uint8_t {
  Constant,
  ColumnRef,
  Star,
  Variable,
  Unary,
  Binary,
  Comparison,
  Logical,
  Not,
  IsNull,
  Between,
  Like,
  In,
  Exists,
  Subquery,
  Case,
  Function,
  Cast,
};

class Expression {
 public:
  Expression(ExpressionKind kind, std::uint32_t offset) : kind(kind), offset(offset) {}
  virtual ~Expression() = default;
  Expression(const Expression&) = delete;
  Expression& operator=(const Expression&) = delete;

  // The node as its concrete class; the caller has checked `kind`.
  template <class T>
  const T& As() const {
    return static_cast<const T&>(*this);
  }

  const ExpressionKind kind;
  const std::uint32_t offset;  // where the expression starts in the batch text
};

using ExpressionPtr = std::unique_ptr<Expression>;
using ExpressionList = std::vector<ExpressionPtr>;

}  // namespace zov::data::tsql
