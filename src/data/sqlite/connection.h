// One SQLite connection and its prepared statements, with errors raised as SqlError.
#pragma once

#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace zov::data::sqlite {

// A prepared statement owned by its holder; finalized on destruction.
class Statement {
 public:
  Statement() = default;
  explicit Statement(sqlite3_stmt* stmt) : stmt_(stmt) {}
  ~Statement();
  Statement(Statement&& o) noexcept : stmt_(o.stmt_) { o.stmt_ = nullptr; }
  Statement& operator=(Statement&& o) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  sqlite3_stmt* get() const { return stmt_; }
  explicit operator bool() const { return stmt_ != nullptr; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

class Connection {
 public:
  // Opens (creating when missing) the database file at `path` in WAL mode with a busy timeout.
  explicit Connection(const std::string& path);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  sqlite3* handle() const { return db_; }
  // Runs SQL without results; throws SqlError with SQLite's message.
  void Exec(std::string_view sql);
  // Prepares one statement; throws SqlError with SQLite's message.
  Statement Prepare(std::string_view sql);
  // Raises the connection's last error for `sql` as an SqlError (SQL Server wording where known).
  [[noreturn]] void Fail(std::string_view sql) const;
  // The rows changed by the last INSERT, UPDATE or DELETE.
  long long Changes() const;
  long long LastInsertRowId() const;
  bool InTransaction() const;

 private:
  sqlite3* db_ = nullptr;
};

// SQL Server's wording for the SQLite errors a T-SQL user can meet (constraint violations).
std::string TranslateSqliteMessage(std::string_view message);

}  // namespace zov::data::sqlite
