#include "data/sqlite/engine.h"

#include <fmt/format.h>
#include <sqlite3.h>

#include "data/sql_error.h"
#include "data/sqlite/catalog_store.h"
#include "data/sqlite/connection.h"
#include "data/sqlite/dialect.h"
#include "data/sqlite/functions.h"
#include "data/sqlite/value_reader.h"

namespace zov::data::sqlite {

namespace {

class PreparedStatement final : public engine::Statement {
 public:
  explicit PreparedStatement(sqlite::Statement statement) : statement_(std::move(statement)) {}
  sqlite3_stmt* get() const { return statement_.get(); }

 private:
  sqlite::Statement statement_;
};

class StepRow final : public engine::Row {
 public:
  explicit StepRow(sqlite3_stmt* stmt) : stmt_(stmt) {}
  tsql::SqlValue Value(int i, const tsql::SqlType& type) const override {
    return ReadValue(stmt_, i, type);
  }
  vb::Variant Variant(int i, const tsql::SqlType& type) const override {
    return ReadVariant(stmt_, i, type);
  }
  long long Integer(int i) const override { return sqlite3_column_int64(stmt_, i); }

 private:
  sqlite3_stmt* stmt_;
};

class FileConnection final : public engine::Connection {
 public:
  explicit FileConnection(const std::string& path) : connection_(path) {
    RegisterFunctions(connection_.handle(), &functions_);
  }
  ~FileConnection() override {
    functions_.unitQuery = Statement();
    if (connection_.InTransaction()) {
      try {
        connection_.Exec("ROLLBACK");
      } catch (...) {
      }
    }
  }

  const tsql::Dialect& Dialect() const override { return sqlite::Dialect(); }

  void Exec(std::string_view sql) override { connection_.Exec(sql); }

  std::unique_ptr<engine::Statement> Prepare(const std::string& sql) override {
    return std::make_unique<PreparedStatement>(connection_.Prepare(sql));
  }

  long long Run(engine::Statement& statement, const engine::Bound& values, engine::RowVisitor rows,
                bool) override {
    sqlite3_stmt* stmt = static_cast<PreparedStatement&>(statement).get();
    sqlite3_reset(stmt);
    for (std::size_t i = 0; i < values.size(); ++i) {
      const int index = static_cast<int>(i) + 1;
      const tsql::SqlValue& v = *values[i];
      switch (v.kind) {
        case tsql::SqlValue::Kind::Null:
          sqlite3_bind_null(stmt, index);
          break;
        case tsql::SqlValue::Kind::Integer:
          sqlite3_bind_int64(stmt, index, v.integer);
          break;
        case tsql::SqlValue::Kind::Real:
          sqlite3_bind_double(stmt, index, v.real);
          break;
        case tsql::SqlValue::Kind::Text:
          // The values outlive the run, and every run binds anew.
          sqlite3_bind_text(stmt, index, v.text.data(), static_cast<int>(v.text.size()),
                            SQLITE_STATIC);
          break;
      }
    }
    const StepRow row(stmt);
    int rc;
    try {
      while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) rows(row);
    } catch (...) {
      sqlite3_reset(stmt);
      throw;
    }
    if (rc != SQLITE_DONE) {
      sqlite3_reset(stmt);
      connection_.Fail("");
    }
    sqlite3_reset(stmt);
    return connection_.Changes();
  }

  long long LastInsertId() override { return connection_.LastInsertRowId(); }

  void Begin(bool write) override { connection_.Exec(write ? "BEGIN IMMEDIATE" : "BEGIN"); }
  void Commit() override { connection_.Exec("COMMIT"); }
  void Rollback() override { connection_.Exec("ROLLBACK"); }
  void Savepoint(std::string_view name) override {
    connection_.Exec(fmt::format("SAVEPOINT {}", name));
  }
  void RollbackTo(std::string_view name) override {
    connection_.Exec(fmt::format("ROLLBACK TO {}", name));
  }
  void Release(std::string_view name) override {
    connection_.Exec(fmt::format("RELEASE {}", name));
  }
  bool InTransaction() const override { return connection_.InTransaction(); }

  void PrepareCatalog() override { CatalogStore::Prepare(connection_, "main"); }
  tsql::Catalog LoadCatalog(bool temp) override {
    return CatalogStore::Load(connection_, temp ? "temp" : "main");
  }
  std::shared_ptr<tsql::TableInfo> LoadObject(bool temp, std::string_view name) override {
    return CatalogStore::LoadObject(connection_, temp ? "temp" : "main", name);
  }
  void SaveColumns(std::string_view object, const std::vector<tsql::ColumnInfo>& columns,
                   long long identitySeed) override {
    CatalogStore::SaveColumns(connection_, "main", object, columns, identitySeed);
  }
  void AppendColumns(std::string_view object,
                     const std::vector<tsql::ColumnInfo>& columns) override {
    CatalogStore::AppendColumns(connection_, "main", object, columns);
  }
  void ForgetColumns(std::string_view object) override {
    CatalogStore::Forget(connection_, "main", object);
  }
  long long IdentitySeed(std::string_view object) override {
    return CatalogStore::IdentitySeed(connection_, "main", object);
  }

  void RestartIdentity(const tsql::TableInfo& table, long long next) override {
    // AUTOINCREMENT keeps the highest rowid given out in sqlite_sequence.
    const char* schema = table.temp ? "temp" : "main";
    Statement remove =
        connection_.Prepare(fmt::format("DELETE FROM {}.sqlite_sequence WHERE name = ?1", schema));
    sqlite3_bind_text(remove.get(), 1, table.name.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(remove.get()) != SQLITE_DONE) connection_.Fail("");
    if (next == 1) return;
    Statement insert = connection_.Prepare(
        fmt::format("INSERT INTO {}.sqlite_sequence (name, seq) VALUES (?1, ?2)", schema));
    sqlite3_bind_text(insert.get(), 1, table.name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(insert.get(), 2, next - 1);
    if (sqlite3_step(insert.get()) != SQLITE_DONE) connection_.Fail("");
  }
  // AUTOINCREMENT continues after the highest rowid by itself.
  void FollowIdentity(const tsql::TableInfo&) override {}

  // One file serves the processes of one machine, whose catalogs are read when they start.
  void AnnounceCatalogChange() override {}
  bool CatalogChangedElsewhere() override { return false; }

 private:
  sqlite::Connection connection_;
  FunctionContext functions_;
};

}  // namespace

std::unique_ptr<engine::Connection> Connect(const std::string& path) {
  return std::make_unique<FileConnection>(path);
}

}  // namespace zov::data::sqlite
