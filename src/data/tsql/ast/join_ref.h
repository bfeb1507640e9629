// left [INNER|LEFT|RIGHT|FULL] JOIN right ON condition, or CROSS JOIN.
#pragma once

#include "data/tsql/ast/expression.h"
#include "data/tsql/ast/table_ref.h"

namespace zov::data::tsql {

enum class JoinType : std::uint8_t { Inner, Left, Right, Full, Cross };

class JoinRef : public TableRef {
 public:
  JoinRef(std::uint32_t offset, JoinType type, TableRefPtr left, TableRefPtr right,
          ExpressionPtr condition)
      : TableRef(TableRefKind::Join, offset),
        type(type),
        left(std::move(left)),
        right(std::move(right)),
        condition(std::move(condition)) {}

  const JoinType type;
  const TableRefPtr left;
  const TableRefPtr right;
  const ExpressionPtr condition;  // null for CROSS JOIN
};

}  // namespace zov::data::tsql
