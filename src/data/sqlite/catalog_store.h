// Reads and writes the catalog of a schema ("main" or "temp") in the SQLite file: the tables and
// views SQLite knows, their unique keys, and the declared T-SQL type of every column. For the
// file's tables and views the table zov_columns keeps the types (SQLite's declared type cannot
// tell an identity int from a bigint, nor hold a view's column types); temporary tables live in
// the session's memory and are read back from SQLite's declared types only after a rollback.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/sqlite/connection.h"
#include "data/tsql/catalog.h"

namespace zov::data::sqlite {

class CatalogStore {
 public:
  // Creates the zov_columns table of `schema` when missing.
  static void Prepare(Connection& connection, std::string_view schema);
  // Every table and view of `schema`.
  static tsql::Catalog Load(Connection& connection, std::string_view schema);
  // The object `name` of `schema`, or null when SQLite has none.
  static std::shared_ptr<tsql::TableInfo> LoadObject(Connection& connection,
                                                     std::string_view schema,
                                                     std::string_view name);
  // Records the columns of a new object (replacing any earlier record).
  static void SaveColumns(Connection& connection, std::string_view schema, std::string_view object,
                          const std::vector<tsql::ColumnInfo>& columns, long long identitySeed);
  // Appends columns to an object's record.
  static void AppendColumns(Connection& connection, std::string_view schema,
                            std::string_view object, const std::vector<tsql::ColumnInfo>& columns);
  // Forgets an object's record.
  static void Forget(Connection& connection, std::string_view schema, std::string_view object);
  // The identity seed recorded for `object` (1 when none).
  static long long IdentitySeed(Connection& connection, std::string_view schema,
                                std::string_view object);
};

}  // namespace zov::data::sqlite
