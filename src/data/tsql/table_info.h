// What the front end knows of one table or view: its columns with their declared T-SQL types,
// its identity column and its unique keys.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/tsql/sql_type.h"

namespace zov::data::tsql {

struct ColumnInfo {
  std::string name;
  SqlType type;
  bool identity = false;
  bool nullable = true;
};

class TableInfo {
 public:
  std::string name;   // as created ("#tmp" for a temporary table)
  bool temp = false;  // lives in the session's temporary schema
  bool view = false;
  std::int64_t objectId = 0;  // what Object_Id() returns
  std::vector<ColumnInfo> columns;
  std::vector<std::vector<int>> uniqueKeys;  // column positions of the primary key and UNIQUE keys

  // Position of the column named `column` (ignoring case), -1 when there is none.
  int FindColumn(std::string_view column) const;
  // Position of the identity column, -1 when there is none.
  int IdentityColumn() const;
};

}  // namespace zov::data::tsql
