#include "data/tsql/catalog.h"

#include <cctype>

#include "data/tsql/table_info.h"
#include "data/tsql/text_rules.h"

namespace zov::data::tsql {

int TableInfo::FindColumn(std::string_view column) const {
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (EqualsNoCase(columns[i].name, column)) return static_cast<int>(i);
  return -1;
}

int TableInfo::IdentityColumn() const {
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (columns[i].identity) return static_cast<int>(i);
  return -1;
}

std::string Catalog::Key(std::string_view name) {
  std::string key(name);
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return key;
}

std::shared_ptr<const TableInfo> Catalog::Find(std::string_view name) const {
  auto it = objects_.find(Key(name));
  return it == objects_.end() ? nullptr : it->second;
}

void Catalog::Put(std::shared_ptr<const TableInfo> table) {
  std::string key = Key(table->name);
  objects_[std::move(key)] = std::move(table);
}

void Catalog::Remove(std::string_view name) { objects_.erase(Key(name)); }

}  // namespace zov::data::tsql
