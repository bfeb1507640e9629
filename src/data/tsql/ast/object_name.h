// A possibly qualified object name: [database.][schema.]name, as written.
#pragma once

#include <string>

namespace zov::data::tsql {

struct ObjectName {
  std::string database;  // "tempdb" in Tempdb.dbo.#tmp, else usually empty
  std::string schema;    // "dbo" or empty
  std::string name;

  bool IsTemp() const { return !name.empty() && name[0] == '#'; }
};

}  // namespace zov::data::tsql
