// SET option ON|OFF: NOCOUNT, IDENTITY_INSERT table, and the options whose default SQL Server
// and this front end share.
#pragma once

#include <string>

#include "data/tsql/ast/object_name.h"
#include "data/tsql/ast/statement.h"

namespace zov::data::tsql {

class SetOptionStatement : public Statement {
 public:
  SetOptionStatement() : Statement(StatementKind::SetOption) {}

  std::string option;  // upper case: NOCOUNT, IDENTITY_INSERT, ANSI_NULLS, ...
  ObjectName table;    // IDENTITY_INSERT's table
  bool on = true;
};

}  // namespace zov::data::tsql
