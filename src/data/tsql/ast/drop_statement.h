// DROP TABLE | VIEW | INDEX [IF EXISTS] names.
#pragma once

#include <vector>

#include "data/tsql/ast/object_name.h"
#include "data/tsql/ast/statement.h"

namespace zov::data::tsql {

enum class DropKind : std::uint8_t { Table, View, Index };

class DropStatement : public Statement {
 public:
  DropStatement() : Statement(StatementKind::Drop) {}

  DropKind what = DropKind::Table;
  bool ifExists = false;
  std::vector<ObjectName> names;  // DROP INDEX: table.index
};

}  // namespace zov::data::tsql
