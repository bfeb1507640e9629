// The tables and views of one schema (the database's or a session's temporary one), looked up by
// name ignoring case.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "data/tsql/table_info.h"

namespace zov::data::tsql {

class Catalog {
 public:
  // The object named `name` (ignoring case), or null.
  std::shared_ptr<const TableInfo> Find(std::string_view name) const;
  // Adds or replaces an object.
  void Put(std::shared_ptr<const TableInfo> table);
  // Removes the object named `name`, if any.
  void Remove(std::string_view name);
  // Every object, ordered by upper-cased name.
  const std::map<std::string, std::shared_ptr<const TableInfo>>& Objects() const {
    return objects_;
  }
  // Upper-case key of a name (ASCII case folding, as identifiers compare).
  static std::string Key(std::string_view name);

 private:
  std::map<std::string, std::shared_ptr<const TableInfo>> objects_;
};

}  // namespace zov::data::tsql
