#include "data/sqlite/connection.h"

#include <fmt/format.h>
#include <sqlite3.h>

#include "data/sql_error.h"
#include "data/tsql/text_rules.h"

namespace zov::data::sqlite {

Statement::~Statement() {
  if (stmt_) sqlite3_finalize(stmt_);
}

Statement& Statement::operator=(Statement&& o) noexcept {
  if (this != &o) {
    if (stmt_) sqlite3_finalize(stmt_);
    stmt_ = o.stmt_;
    o.stmt_ = nullptr;
  }
  return *this;
}

Connection::Connection(const std::string& path) {
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    throw SqlError(fmt::format("Cannot open database \"{}\": {}", path, message));
  }
  sqlite3_extended_result_codes(db_, 1);
  // Text columns are declared with this collation; every connection to the file needs it.
  sqlite3_create_collation_v2(
      db_, "TSQL_CI", SQLITE_UTF8, nullptr,
      [](void*, int na, const void* a, int nb, const void* b) {
        return tsql::CompareIgnoringCase(
            std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(na)),
            std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(nb)));
      },
      nullptr);
  sqlite3_busy_timeout(db_, 10000);
  // The first statements read the file: a damaged one fails here, and the handle must not outlive
  // the failed constructor.
  try {
    Exec("PRAGMA journal_mode=WAL");
    Exec("PRAGMA synchronous=NORMAL");
    Exec("PRAGMA temp_store=MEMORY");
  } catch (const SqlError& e) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    throw SqlError(fmt::format("Cannot open database \"{}\": {}", path, e.message()));
  }
}

Connection::~Connection() {
  if (db_) sqlite3_close_v2(db_);
}

void Connection::Exec(std::string_view sql) {
  std::string text(sql);
  char* error = nullptr;
  if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error ? error : sqlite3_errmsg(db_);
    sqlite3_free(error);
    throw SqlError(TranslateSqliteMessage(message));
  }
}

Statement Connection::Prepare(std::string_view sql) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                         &stmt, nullptr) != SQLITE_OK)
    Fail(sql);
  return Statement(stmt);
}

void Connection::Fail(std::string_view sql) const {
  (void)sql;
  throw SqlError(TranslateSqliteMessage(sqlite3_errmsg(db_)));
}

long long Connection::Changes() const { return sqlite3_changes64(db_); }
long long Connection::LastInsertRowId() const { return sqlite3_last_insert_rowid(db_); }
bool Connection::InTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

std::string TranslateSqliteMessage(std::string_view message) {
  auto after = [&](std::string_view prefix) -> std::string_view {
    if (message.rfind(prefix, 0) == 0) return message.substr(prefix.size());
    return {};
  };
  if (auto rest = after("NOT NULL constraint failed: "); !rest.empty()) {
    const std::size_t dot = rest.find('.');
    std::string_view table = dot == std::string_view::npos ? rest : rest.substr(0, dot);
    std::string_view column = dot == std::string_view::npos ? rest : rest.substr(dot + 1);
    return fmt::format(
        "Cannot insert the value NULL into column '{}', table '{}'; column does not allow nulls.",
        column, table);
  }
  if (auto rest = after("UNIQUE constraint failed: "); !rest.empty()) {
    const std::size_t dot = rest.find('.');
    std::string_view table = dot == std::string_view::npos ? rest : rest.substr(0, dot);
    return fmt::format(
        "Violation of PRIMARY KEY or UNIQUE KEY constraint. Cannot insert duplicate key in object "
        "'{}'. ({})",
        table, rest);
  }
  if (auto rest = after("no such table: "); !rest.empty())
    return fmt::format("Invalid object name '{}'.", rest);
  if (auto rest = after("no such column: "); !rest.empty())
    return fmt::format("Invalid column name '{}'.", rest);
  // SQLite's own limits on the depth of a statement.
  if (message == "parser stack overflow" || message.rfind("Expression tree is too large", 0) == 0)
    return "Some part of your SQL statement is nested too deeply. Rewrite the query or break it up "
           "into smaller queries.";
  if (message == "integer overflow")
    return "Arithmetic overflow error converting expression to data type bigint.";
  return std::string(message);
}

}  // namespace zov::data::sqlite
