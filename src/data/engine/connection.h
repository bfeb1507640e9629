// The seam between the T-SQL front end and the engine that stores an account set: one session's
// connection, which runs the SQL the translator wrote in the engine's dialect, keeps transactions
// and reads and records the catalog. SQLite (sqlite/) and PostgreSQL (postgresql/) implement it;
// nothing above it knows which one it talks to.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "data/tsql/catalog.h"
#include "data/tsql/dialect.h"
#include "data/tsql/sql_type.h"
#include "data/tsql/sql_value.h"
#include "zov/vb/variant.h"

namespace zov::data::engine {

// The current row of a running statement. Columns are read as the T-SQL types the translation
// gave them.
class Row {
 public:
  virtual ~Row() = default;
  // Column `i` as a plain value (decimals rounded to their scale, datetimes in their canonical
  // text), as variables hold it.
  virtual tsql::SqlValue Value(int i, const tsql::SqlType& type) const = 0;
  // Column `i` as the Variant a result set carries.
  virtual vb::Variant Variant(int i, const tsql::SqlType& type) const = 0;
  // Column `i` as an integer (the 0 or 1 of a condition).
  virtual long long Integer(int i) const = 0;
};

// Calls a callable for every row without owning or copying it.
class RowVisitor {
 public:
  template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, RowVisitor>>>
  RowVisitor(F&& f)  // NOLINT: implicit, as a function parameter takes a lambda
      : object_(const_cast<void*>(static_cast<const void*>(&f))),
        call_(
            [](void* o, const Row& row) { (*static_cast<std::remove_reference_t<F>*>(o))(row); }) {}
  // A visitor that ignores the rows.
  RowVisitor() : call_([](void*, const Row&) {}) {}

  void operator()(const Row& row) const { call_(object_, row); }

 private:
  void* object_ = nullptr;
  void (*call_)(void*, const Row&);
};

// A statement prepared on a connection; only that connection runs it.
class Statement {
 public:
  virtual ~Statement() = default;
};

// Values bound to ?1 .. ?n: each points to a value that outlives the run.
using Bound = std::vector<const tsql::SqlValue*>;

class Connection {
 public:
  virtual ~Connection() = default;

  // The SQL this engine takes.
  virtual const tsql::Dialect& Dialect() const = 0;

  // ---- Running SQL
  // Runs SQL without parameters or rows (DDL, transaction control). Throws SqlError.
  virtual void Exec(std::string_view sql) = 0;
  virtual std::unique_ptr<Statement> Prepare(const std::string& sql) = 0;
  // Runs `statement` with `values`, showing every row it yields to `rows`; returns the rows an
  // INSERT, UPDATE or DELETE changed. `writes`: the statement writes tables of the database (not
  // only temporary ones), which an engine that serialises writers locks for. Throws SqlError in
  // SQL Server's words; the statement is ready to run again either way.
  virtual long long Run(Statement& statement, const Bound& values, RowVisitor rows,
                        bool writes) = 0;
  // The identity value of the row the last INSERT added (engines whose dialect returns it with
  // the INSERT's own rows do not use this).
  virtual long long LastInsertId() = 0;

  // ---- Transactions
  // Begins a transaction; `write`: one that writes the database, which takes the engine's write
  // lock at once, as SQLite's BEGIN IMMEDIATE does.
  virtual void Begin(bool write) = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;
  // A savepoint inside the open transaction, and undoing or releasing it.
  virtual void Savepoint(std::string_view name) = 0;
  virtual void RollbackTo(std::string_view name) = 0;
  virtual void Release(std::string_view name) = 0;
  // Whether a transaction is open on the connection.
  virtual bool InTransaction() const = 0;

  // ---- Catalog: the tables and views of the database (`temp` false) or of the session's
  // temporary schema, with each column's declared T-SQL type kept beside the engine's own.
  // Creates what the catalog record needs (once per database).
  virtual void PrepareCatalog() = 0;
  virtual tsql::Catalog LoadCatalog(bool temp) = 0;
  // The object `name`, or null when the engine has none.
  virtual std::shared_ptr<tsql::TableInfo> LoadObject(bool temp, std::string_view name) = 0;
  // Records the columns of a new object of the database (replacing any earlier record), with
  // its identity column's seed.
  virtual void SaveColumns(std::string_view object, const std::vector<tsql::ColumnInfo>& columns,
                           long long identitySeed) = 0;
  virtual void AppendColumns(std::string_view object,
                             const std::vector<tsql::ColumnInfo>& columns) = 0;
  virtual void ForgetColumns(std::string_view object) = 0;
  // The identity seed recorded for `object` (1 when none).
  virtual long long IdentitySeed(std::string_view object) = 0;

  // ---- Identity
  // The identity column of `table` gives `next` to the next row (TRUNCATE, a temporary table
  // made anew).
  virtual void RestartIdentity(const tsql::TableInfo& table, long long next) = 0;
  // After rows with explicit identity values (IDENTITY_INSERT ON): the next generated value
  // comes after the highest one, as SQL Server continues.
  virtual void FollowIdentity(const tsql::TableInfo& table) = 0;

  // ---- Other processes on the same database
  // Tells them that the catalog changed (when the transaction that changed it commits).
  virtual void AnnounceCatalogChange() = 0;
  // Whether another process announced a change since the last call.
  virtual bool CatalogChangedElsewhere() = 0;
};

}  // namespace zov::data::engine
