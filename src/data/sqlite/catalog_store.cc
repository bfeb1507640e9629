#include "data/sqlite/catalog_store.h"

#include <fmt/format.h>
#include <sqlite3.h>

#include "data/sql_error.h"

namespace zov::data::sqlite {

namespace {

std::string ColumnText(sqlite3_stmt* stmt, int i) {
  const unsigned char* t = sqlite3_column_text(stmt, i);
  return t ? reinterpret_cast<const char*>(t) : "";
}

std::string Quoted(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

void Step(Connection& c, Statement& s) {
  const int rc = sqlite3_step(s.get());
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) c.Fail("");
}

void BindText(Statement& s, int i, std::string_view text) {
  sqlite3_bind_text(s.get(), i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

}  // namespace

void CatalogStore::Prepare(Connection& connection, std::string_view schema) {
  connection.Exec(
      fmt::format("CREATE {}TABLE IF NOT EXISTS {}.zov_columns (object TEXT NOT NULL COLLATE "
                  "NOCASE, ordinal INTEGER NOT NULL, "
                  "name TEXT NOT NULL, type TEXT NOT NULL, identity INTEGER NOT NULL DEFAULT 0, "
                  "seed INTEGER NOT NULL DEFAULT 1, "
                  "nullable INTEGER NOT NULL DEFAULT 1, PRIMARY KEY (object, ordinal))",
                  schema == "temp" ? "TEMP " : "", schema));
}

std::shared_ptr<tsql::TableInfo> CatalogStore::LoadObject(Connection& connection,
                                                          std::string_view schema,
                                                          std::string_view name) {
  Statement master =
      connection.Prepare(fmt::format("SELECT type, rowid, name FROM {}.sqlite_master WHERE name = "
                                     "?1 COLLATE NOCASE AND type IN ('table', 'view')",
                                     schema));
  BindText(master, 1, name);
  if (sqlite3_step(master.get()) != SQLITE_ROW) return nullptr;
  auto table = std::make_shared<tsql::TableInfo>();
  table->view = ColumnText(master.get(), 0) == "view";
  table->temp = schema == "temp";
  const long long rowid = sqlite3_column_int64(master.get(), 1);
  table->objectId = table->temp ? -rowid - 1000 : rowid + 1000;
  table->name = ColumnText(master.get(), 2);

  if (!table->temp) {
    Statement recorded =
        connection.Prepare(fmt::format("SELECT name, type, identity, nullable FROM {}.zov_columns "
                                       "WHERE object = ?1 ORDER BY ordinal",
                                       schema));
    BindText(recorded, 1, table->name);
    while (sqlite3_step(recorded.get()) == SQLITE_ROW) {
      tsql::ColumnInfo c;
      c.name = ColumnText(recorded.get(), 0);
      c.type = tsql::TypeFromDeclaration(ColumnText(recorded.get(), 1));
      c.identity = sqlite3_column_int(recorded.get(), 2) != 0;
      c.nullable = sqlite3_column_int(recorded.get(), 3) != 0;
      table->columns.push_back(std::move(c));
    }
  }

  // SQLite's own view of the columns: the declared types for objects made elsewhere, and the
  // rowid alias that stands for the identity key.
  Statement info =
      connection.Prepare(fmt::format("PRAGMA {}.table_info({})", schema, Quoted(table->name)));
  std::vector<tsql::ColumnInfo> declared;
  std::vector<int> rowidKey;
  int pkColumns = 0;
  while (sqlite3_step(info.get()) == SQLITE_ROW) {
    tsql::ColumnInfo c;
    c.name = ColumnText(info.get(), 1);
    const std::string type = ColumnText(info.get(), 2);
    c.type = tsql::TypeFromDeclaration(type);
    c.nullable = sqlite3_column_int(info.get(), 3) == 0;
    const int pk = sqlite3_column_int(info.get(), 5);
    if (pk > 0) {
      ++pkColumns;
      if (sqlite3_stricmp(type.c_str(), "INTEGER") == 0)
        rowidKey.push_back(static_cast<int>(declared.size()));
    }
    declared.push_back(std::move(c));
  }
  // Only identity columns are declared INTEGER PRIMARY KEY (the rowid).
  if (pkColumns == 1 && rowidKey.size() == 1) {
    table->uniqueKeys.push_back(rowidKey);
    declared[static_cast<std::size_t>(rowidKey[0])].identity = true;
    declared[static_cast<std::size_t>(rowidKey[0])].nullable = false;
  }
  if (table->columns.size() != declared.size()) table->columns = std::move(declared);

  if (!table->view) {
    Statement indexes =
        connection.Prepare(fmt::format("PRAGMA {}.index_list({})", schema, Quoted(table->name)));
    std::vector<std::string> unique;
    while (sqlite3_step(indexes.get()) == SQLITE_ROW)
      if (sqlite3_column_int(indexes.get(), 2) != 0) unique.push_back(ColumnText(indexes.get(), 1));
    for (const std::string& index : unique) {
      Statement columns =
          connection.Prepare(fmt::format("PRAGMA {}.index_info({})", schema, Quoted(index)));
      std::vector<int> key;
      while (sqlite3_step(columns.get()) == SQLITE_ROW)
        key.push_back(table->FindColumn(ColumnText(columns.get(), 2)));
      bool valid = !key.empty();
      for (int k : key)
        if (k < 0) valid = false;
      if (valid) table->uniqueKeys.push_back(std::move(key));
    }
  }
  return table;
}

tsql::Catalog CatalogStore::Load(Connection& connection, std::string_view schema) {
  tsql::Catalog catalog;
  std::vector<std::string> names;
  {
    Statement list =
        connection.Prepare(fmt::format("SELECT name FROM {}.sqlite_master WHERE type IN ('table', "
                                       "'view') AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
                                       "AND name NOT LIKE 'zov\\_%' ESCAPE '\\'",
                                       schema));
    while (sqlite3_step(list.get()) == SQLITE_ROW) names.push_back(ColumnText(list.get(), 0));
  }
  for (const std::string& name : names)
    if (auto table = LoadObject(connection, schema, name)) catalog.Put(std::move(table));
  return catalog;
}

void CatalogStore::SaveColumns(Connection& connection, std::string_view schema,
                               std::string_view object,
                               const std::vector<tsql::ColumnInfo>& columns,
                               long long identitySeed) {
  Forget(connection, schema, object);
  AppendColumns(connection, schema, object, columns);
  if (identitySeed != 1) {
    Statement seed = connection.Prepare(fmt::format(
        "UPDATE {}.zov_columns SET seed = ?2 WHERE object = ?1 AND identity = 1", schema));
    BindText(seed, 1, object);
    sqlite3_bind_int64(seed.get(), 2, identitySeed);
    Step(connection, seed);
  }
}

void CatalogStore::AppendColumns(Connection& connection, std::string_view schema,
                                 std::string_view object,
                                 const std::vector<tsql::ColumnInfo>& columns) {
  Statement next = connection.Prepare(
      fmt::format("SELECT count(*) FROM {}.zov_columns WHERE object = ?1", schema));
  BindText(next, 1, object);
  sqlite3_step(next.get());
  int ordinal = sqlite3_column_int(next.get(), 0);
  Statement insert =
      connection.Prepare(fmt::format("INSERT INTO {}.zov_columns (object, ordinal, name, type, "
                                     "identity, nullable) VALUES (?1, ?2, ?3, ?4, ?5, ?6)",
                                     schema));
  for (const tsql::ColumnInfo& c : columns) {
    sqlite3_reset(insert.get());
    BindText(insert, 1, object);
    sqlite3_bind_int(insert.get(), 2, ordinal++);
    BindText(insert, 3, c.name);
    BindText(insert, 4, c.type.ToString());
    sqlite3_bind_int(insert.get(), 5, c.identity ? 1 : 0);
    sqlite3_bind_int(insert.get(), 6, c.nullable ? 1 : 0);
    Step(connection, insert);
  }
}

void CatalogStore::Forget(Connection& connection, std::string_view schema,
                          std::string_view object) {
  Statement del =
      connection.Prepare(fmt::format("DELETE FROM {}.zov_columns WHERE object = ?1", schema));
  BindText(del, 1, object);
  Step(connection, del);
}

long long CatalogStore::IdentitySeed(Connection& connection, std::string_view schema,
                                     std::string_view object) {
  Statement seed = connection.Prepare(
      fmt::format("SELECT seed FROM {}.zov_columns WHERE object = ?1 AND identity = 1", schema));
  BindText(seed, 1, object);
  if (sqlite3_step(seed.get()) != SQLITE_ROW) return 1;
  return sqlite3_column_int64(seed.get(), 0);
}

}  // namespace zov::data::sqlite
