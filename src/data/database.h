// The host database: SQL Server's T-SQL run on an embedded SQLite file or on a PostgreSQL server.
//
// A Database is one account set's database; each Session is one connection of its own (temporary
// tables, SET options, variables of the running batch, prepared statements and the translation
// cache are the session's). Sessions may run on different threads at the same time; a single
// session is used by one thread at a time.
//
//   auto db = zov::data::Database::Open("account.db");  // or "postgresql://host/zov"
//   auto session = db->NewSession();
//   zov::data::BatchResult r = session->Execute("SELECT FName FROM t_Stock WHERE FItemID = 3");
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/sql_error.h"
#include "zov/vb/variant.h"

namespace zov::data {

// A column of a result set.
struct Column {
  std::string name;          // as SQL Server names it; empty for an expression without alias
  vb::VarType type;          // the kind of the column's non-NULL values: Long, Double, Currency,
                             // Date, String or Boolean
  std::string declaredType;  // the T-SQL type: "int", "decimal(18,2)", "varchar(50)", "datetime"
};

// The rows of one SELECT. NULL is Variant::Null(); Empty never appears. Duplicate column names
// are kept as the query produced them.
struct ResultSet {
  std::vector<Column> columns;
  std::vector<std::vector<vb::Variant>> rows;
};

// Everything a batch returned.
struct BatchResult {
  std::vector<ResultSet> resultSets;  // one per SELECT that returns rows, in order
  long long rowsAffected = 0;         // rows of INSERT/UPDATE/DELETE/SELECT INTO counted while
                                      // SET NOCOUNT is OFF, as SQL Server reports them
};

// Whether a batch runs as one unit: with Yes a failing batch leaves the database as it was.
enum class Atomic { No, Yes };

namespace detail {
class SessionState;
class DatabaseState;
}  // namespace detail

class Session {
 public:
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Runs one T-SQL batch (no GO separators). Throws SqlError with SQL Server's message and the
  // failing statement; a syntax error fails before anything runs. With Atomic::Yes the batch runs
  // in a transaction (a savepoint inside Begin/Commit) and a failure undoes all of it.
  BatchResult Execute(std::string_view batch, Atomic atomic = Atomic::No);
  // Runs a script of batches separated by lines holding only GO, in order, stopping at the first
  // failure; the results of all batches are concatenated.
  BatchResult ExecuteScript(std::string_view script, Atomic atomic = Atomic::No);

  // Starts a transaction (nested calls only count, as BEGIN TRANSACTION does).
  void Begin();
  // Commits when the outermost Begin is matched; throws SqlError without a Begin.
  void Commit();
  // Undoes the whole transaction, whatever its nesting; throws SqlError without a Begin.
  void Rollback();
  // Whether a transaction begun with Begin (or BEGIN TRAN) is open.
  bool InTransaction() const;

 private:
  friend class Database;
  explicit Session(std::unique_ptr<detail::SessionState> state);
  std::unique_ptr<detail::SessionState> state_;
};

// Whether `location` names a database on a server (a "postgresql://" connection string) rather
// than a file.
bool IsServerLocation(std::string_view location);

class Database {
 public:
  // Opens the database at `location`: an SQLite file, created when missing, or a PostgreSQL
  // database given by its connection string. Throws SqlError when it cannot.
  static std::shared_ptr<Database> Open(const std::string& location);
  // Creates an empty database at `location`, replacing whatever is there (on a server: creates
  // the database when missing, empties it otherwise), and opens it.
  static std::shared_ptr<Database> Create(const std::string& location);
  // Makes `to` a copy of the database at `from` (nothing may be connected to `from`).
  static void Copy(const std::string& from, const std::string& to);
  // Removes the database at `location`, if any.
  static void Drop(const std::string& location);
  // The location of a database named `name` beside the one at `location`: a file in the same
  // folder, or a database on the same server.
  static std::string Named(const std::string& location, std::string_view name);
  // `location` as messages may show it (without a password).
  static std::string Shown(const std::string& location);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // A new session with its own connection. Sessions keep the database open while they live.
  std::unique_ptr<Session> NewSession();
  // Where this database lives: the file, or the server's connection string.
  const std::string& location() const;

 private:
  explicit Database(std::shared_ptr<detail::DatabaseState> state);
  std::shared_ptr<detail::DatabaseState> state_;
};

}  // namespace zov::data
