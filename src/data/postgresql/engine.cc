#include "data/postgresql/engine.h"

#include <fmt/format.h>
#include <libpq-fe.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <optional>

#include "data/engine/values.h"
#include "data/postgresql/dialect.h"
#include "data/postgresql/runtime.h"
#include "data/sql_error.h"
#include "data/tsql/conversion.h"
#include "data/tsql/text_rules.h"
#include "data/tsql/translator.h"

namespace zov::data::postgresql {

namespace {

using tsql::SqlType;
using tsql::SqlValue;
using tsql::TypeId;

// Advisory lock keys: the database's write lock, and the one that installing the runtime takes.
constexpr long long kWriteLock = 0x7A6F7600;
constexpr long long kRuntimeLock = 0x7A6F7601;

constexpr const char* kTooDeep =
    "Some part of your SQL statement is nested too deeply. Rewrite the query or break it up into "
    "smaller queries.";

// ---- Results and errors ----------------------------------------------------------------------

class Result {
 public:
  explicit Result(PGresult* r) : r_(r) {}
  ~Result() { PQclear(r_); }
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;
  PGresult* get() const { return r_; }
  bool Ok() const {
    const ExecStatusType s = PQresultStatus(r_);
    return s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK;
  }

 private:
  PGresult* r_;
};

std::string Field(PGresult* r, int code) {
  const char* v = r ? PQresultErrorField(r, code) : nullptr;
  return v ? v : "";
}

// The server's error in SQL Server's words where the front end's users meet it; the tsql_*
// functions raise SQL Server's own messages already.
SqlError ErrorOf(PGresult* r, PGconn* c) {
  const std::string state = Field(r, PG_DIAG_SQLSTATE);
  std::string message = Field(r, PG_DIAG_MESSAGE_PRIMARY);
  if (message.empty()) {
    message = PQerrorMessage(c);
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
      message.pop_back();
  }
  const std::string table = Field(r, PG_DIAG_TABLE_NAME);
  if (state == "23505")
    return SqlError(fmt::format(
        "Violation of PRIMARY KEY or UNIQUE KEY constraint. Cannot insert duplicate key in object "
        "'{}'. ({})",
        table, Field(r, PG_DIAG_MESSAGE_DETAIL)));
  if (state == "23502")
    return SqlError(fmt::format(
        "Cannot insert the value NULL into column '{}', table '{}'; column does not allow nulls.",
        Field(r, PG_DIAG_COLUMN_NAME), table));
  if (state == "22012") return SqlError("Divide by zero error encountered.");
  if (state == "22003") {
    const char* type = message.rfind("smallint", 0) == 0  ? "smallint"
                       : message.rfind("bigint", 0) == 0  ? "bigint"
                       : message.rfind("integer", 0) == 0 ? "int"
                                                          : "numeric";
    return SqlError(
        fmt::format("Arithmetic overflow error converting expression to data type {}.", type));
  }
  if (state == "22001") return SqlError("String or binary data would be truncated.");
  if (state == "55P03") return SqlError("Lock request time out period exceeded.");
  if (state == "54001") return SqlError(kTooDeep);
  if (state == "40P01")
    return SqlError(
        "Transaction was deadlocked on lock resources with another process and has been chosen "
        "as the deadlock victim. Rerun the transaction.");
  return SqlError(message);
}

// ---- Values ----------------------------------------------------------------------------------

// A timestamp or date as the server writes it ("2026-12-05 13:45:07.123", "2026-12-05"), to the
// millisecond.
tsql::DateTimeParts ParseTimestamp(std::string_view s) {
  tsql::DateTimeParts p;
  int n = 0;
  auto number = [&](std::size_t& i, int digits) {
    int v = 0;
    for (int k = 0; k < digits && i < s.size() && s[i] >= '0' && s[i] <= '9'; ++k, ++i)
      v = v * 10 + (s[i] - '0');
    return v;
  };
  std::size_t i = 0;
  p.year = number(i, 4);
  ++i;
  p.month = number(i, 2);
  ++i;
  p.day = number(i, 2);
  if (i < s.size() && s[i] == ' ') {
    ++i;
    p.hour = number(i, 2);
    ++i;
    p.minute = number(i, 2);
    ++i;
    p.second = number(i, 2);
    if (i < s.size() && s[i] == '.') {
      ++i;
      double fraction = 0, scale = 0.1;
      for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, scale /= 10)
        fraction += (s[i] - '0') * scale;
      n = static_cast<int>(std::lround(fraction * 1000));
    }
  }
  if (n == 0) return p;
  return tsql::FromMilliseconds(tsql::ToMilliseconds(p) + n);
}

class ResultRow final : public engine::Row {
 public:
  ResultRow(PGresult* r, int row) : r_(r), row_(row) {}
  void Move(int row) { row_ = row; }

  SqlValue Value(int i, const SqlType& t) const override {
    if (PQgetisnull(r_, row_, i)) return SqlValue::Null();
    const std::string_view s = Text(i);
    if (t.IsInteger() || t.IsNull() || t.IsBoolean()) return SqlValue::Integer(Integral(s));
    if (t.IsExactScaled()) return SqlValue::Real(tsql::RoundDecimal(Number(s), t.Scale()));
    if (t.IsApproximate()) return SqlValue::Real(Number(s));
    if (t.IsDateTime()) return SqlValue::Text(tsql::FormatCanonical(ParseTimestamp(s)));
    return SqlValue::Text(std::string(s));
  }

  vb::Variant Variant(int i, const SqlType& t) const override {
    if (PQgetisnull(r_, row_, i)) return vb::Variant::Null();
    const std::string_view s = Text(i);
    switch (t.id) {
      case TypeId::Bit:
      case TypeId::Boolean:
        return vb::Variant(s == "t" || (s != "f" && Number(s) != 0));
      case TypeId::Null:
      case TypeId::TinyInt:
      case TypeId::SmallInt:
      case TypeId::Int:
      case TypeId::BigInt: {
        const std::int64_t v = Integral(s);
        if (t.id != TypeId::BigInt && t.id != TypeId::Null &&
            (v < -2147483648LL || v > 2147483647LL))
          throw SqlError(fmt::format(
              "Arithmetic overflow error converting expression to data type {}.", t.ToString()));
        return vb::Variant(v);
      }
      case TypeId::Decimal:
        return vb::Variant(tsql::RoundDecimal(Number(s), t.scale));
      case TypeId::Real:
      case TypeId::Float:
        return vb::Variant(Number(s));
      case TypeId::Money:
      case TypeId::SmallMoney:
        return vb::Variant(vb::Currency::FromDouble(tsql::RoundDecimal(Number(s), 4)));
      case TypeId::DateTime:
      case TypeId::SmallDateTime:
      case TypeId::Date:
        return vb::Variant(engine::DateOf(ParseTimestamp(s)));
      default:
        return vb::Variant(std::string(s));
    }
  }

  long long Integer(int i) const override { return Integral(Text(i)); }

 private:
  std::string_view Text(int i) const {
    return std::string_view(PQgetvalue(r_, row_, i),
                            static_cast<std::size_t>(PQgetlength(r_, row_, i)));
  }
  static double Number(std::string_view s) { return std::strtod(std::string(s).c_str(), nullptr); }
  // An integer column; a value the server computed as a decimal or double truncates.
  static std::int64_t Integral(std::string_view s) {
    if (s == "t") return 1;
    if (s == "f") return 0;
    const std::string text(s);
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (end && *end == '\0') return v;
    return static_cast<std::int64_t>(std::trunc(std::strtod(text.c_str(), nullptr)));
  }

  PGresult* r_;
  int row_;
};

// ---- Connection ------------------------------------------------------------------------------

class ServerConnection;

class ServerStatement final : public engine::Statement {
 public:
  ServerStatement(ServerConnection& owner, std::string name)
      : owner_(owner), name_(std::move(name)) {}
  ~ServerStatement() override;
  const std::string& name() const { return name_; }

 private:
  ServerConnection& owner_;
  std::string name_;
};

// SQL Server's type of a column the front end did not record (a table made elsewhere, or a
// temporary table read back after a rollback), from PostgreSQL's name of its type.
SqlType TypeOfColumn(std::string_view type) {
  auto starts = [&](std::string_view p) { return type.rfind(p, 0) == 0; };
  auto argument = [&](int which) {
    const std::size_t open = type.find('(');
    if (open == std::string_view::npos) return -1;
    const std::size_t comma = type.find(',', open);
    const std::size_t at = which == 1 ? open + 1 : comma == std::string_view::npos ? 0 : comma + 1;
    return at == 0 ? -1 : std::atoi(std::string(type.substr(at)).c_str());
  };
  if (type == "smallint") return SqlType::Of(TypeId::SmallInt);
  if (type == "integer") return SqlType::Of(TypeId::Int);
  if (type == "bigint") return SqlType::Of(TypeId::BigInt);
  if (type == "boolean") return SqlType::Of(TypeId::Bit);
  if (starts("numeric"))
    return argument(1) < 0 ? SqlType::Decimal(38, 10)
                           : SqlType::Decimal(argument(1), std::max(0, argument(2)));
  if (type == "real") return SqlType::Of(TypeId::Real);
  if (type == "double precision") return SqlType::Of(TypeId::Float);
  if (starts("timestamp(0)")) return SqlType::Of(TypeId::SmallDateTime);
  if (starts("timestamp")) return SqlType::Of(TypeId::DateTime);
  if (type == "date") return SqlType::Of(TypeId::Date);
  if (starts("character varying") || starts("character")) return SqlType::NVarChar(argument(1));
  return SqlType::NVarChar(-1);
}

class ServerConnection final : public engine::Connection {
 public:
  explicit ServerConnection(const std::string& location) : location_(location) {
    conn_ = PQconnectdb(location.c_str());
    if (PQstatus(conn_) != CONNECTION_OK) {
      std::string message = PQerrorMessage(conn_);
      while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
        message.pop_back();
      PQfinish(conn_);
      throw SqlError(fmt::format("Cannot open database \"{}\": {}", Shown(location), message));
    }
    // Text the way the front end reads it; a lock that another session holds for longer than
    // SQLite's busy timeout fails the statement, as it does there; GETDATE() in the local time.
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const long offset = local.tm_gmtoff / 60;
    Exec(fmt::format(
        "SET client_encoding = 'UTF8'; SET DateStyle = 'ISO, YMD'; SET extra_float_digits = 1; "
        "SET lock_timeout = '10s'; SET client_min_messages = warning; "
        "SET TIME ZONE INTERVAL '{}{:02}:{:02}' HOUR TO MINUTE; LISTEN zov_catalog",
        offset < 0 ? "-" : "+", std::labs(offset) / 60, std::labs(offset) % 60));
  }
  ~ServerConnection() override { PQfinish(conn_); }
  ServerConnection(const ServerConnection&) = delete;
  ServerConnection& operator=(const ServerConnection&) = delete;

  const tsql::Dialect& Dialect() const override { return postgresql::Dialect(); }

  void Exec(std::string_view sql) override {
    FlushDeallocations();
    Result r(PQexec(conn_, std::string(sql).c_str()));
    TakeNotifications();
    if (!r.Ok()) throw ErrorOf(r.get(), conn_);
  }

  std::unique_ptr<engine::Statement> Prepare(const std::string& sql) override {
    FlushDeallocations();
    std::string name = fmt::format("z{}", ++statements_);
    Result r(PQprepare(conn_, name.c_str(), sql.c_str(), 0, nullptr));
    if (!r.Ok()) throw ErrorOf(r.get(), conn_);
    return std::make_unique<ServerStatement>(*this, std::move(name));
  }

  long long Run(engine::Statement& statement, const engine::Bound& values, engine::RowVisitor rows,
                bool writes) override {
    FlushDeallocations();
    // A single writing statement takes the write lock as a transaction does.
    const bool own = writes && !InTransaction();
    if (own) Begin(true);
    long long changes = 0;
    try {
      changes = Execute(static_cast<ServerStatement&>(statement).name(), values, rows);
    } catch (...) {
      if (own) RollbackQuietly();
      throw;
    }
    if (own) Commit();
    return changes;
  }

  long long LastInsertId() override { return 0; }

  void Begin(bool write) override {
    Exec(write ? fmt::format("BEGIN; SELECT pg_advisory_xact_lock({})", kWriteLock) : "BEGIN");
  }

  void Commit() override {
    Result r(PQexec(conn_, "COMMIT"));
    if (!r.Ok()) throw ErrorOf(r.get(), conn_);
    // A transaction a failed statement spoiled ends in a rollback, silently: say so.
    if (std::strcmp(PQcmdStatus(r.get()), "COMMIT") != 0)
      throw SqlError("The transaction was rolled back: a statement in it failed.");
  }
  void Rollback() override { Exec("ROLLBACK"); }
  void Savepoint(std::string_view name) override { Exec(fmt::format("SAVEPOINT {}", name)); }
  void RollbackTo(std::string_view name) override { Exec(fmt::format("ROLLBACK TO {}", name)); }
  void Release(std::string_view name) override { Exec(fmt::format("RELEASE {}", name)); }
  bool InTransaction() const override {
    const PGTransactionStatusType s = PQtransactionStatus(conn_);
    return s == PQTRANS_INTRANS || s == PQTRANS_INERROR || s == PQTRANS_ACTIVE;
  }

  // ---- Catalog

  void PrepareCatalog() override {
    const std::string version = RuntimeVersion();
    if (InstalledVersion() == version) return;
    // Two processes opening a new database at once install the runtime one after the other.
    Exec(fmt::format("SELECT pg_advisory_lock({})", kRuntimeLock));
    try {
      if (InstalledVersion() != version)
        Exec(RuntimeScript() +
             "\nCREATE TABLE IF NOT EXISTS zov_columns (object text NOT NULL, ordinal int NOT "
             "NULL, name text NOT NULL, type text NOT NULL, identity int NOT NULL DEFAULT 0, seed "
             "bigint NOT NULL DEFAULT 1, nullable int NOT NULL DEFAULT 1, PRIMARY KEY (object, "
             "ordinal));\nCREATE TABLE IF NOT EXISTS zov_runtime (version text NOT NULL);\n"
             "DELETE FROM zov_runtime;\nINSERT INTO zov_runtime VALUES ('" +
             version + "');");
    } catch (...) {
      try {
        Exec(fmt::format("SELECT pg_advisory_unlock({})", kRuntimeLock));
      } catch (...) {
      }
      throw;
    }
    Exec(fmt::format("SELECT pg_advisory_unlock({})", kRuntimeLock));
  }

  tsql::Catalog LoadCatalog(bool temp) override {
    tsql::Catalog catalog;
    for (auto& table : LoadObjects(temp, nullptr)) catalog.Put(std::move(table));
    return catalog;
  }

  std::shared_ptr<tsql::TableInfo> LoadObject(bool temp, std::string_view name) override {
    const std::string n(name);
    auto objects = LoadObjects(temp, &n);
    if (objects.empty()) return nullptr;
    return objects.front();
  }

  void SaveColumns(std::string_view object, const std::vector<tsql::ColumnInfo>& columns,
                   long long identitySeed) override {
    ForgetColumns(object);
    AppendColumns(object, columns);
    if (identitySeed != 1)
      Query(
          "UPDATE zov_columns SET seed = $2::int8 WHERE lower(object) = lower($1) AND identity "
          "= 1",
          {std::string(object), std::to_string(identitySeed)});
  }

  void AppendColumns(std::string_view object,
                     const std::vector<tsql::ColumnInfo>& columns) override {
    auto count = Query("SELECT count(*) FROM zov_columns WHERE lower(object) = lower($1)",
                       {std::string(object)});
    int ordinal = std::atoi(count.at(0).at(0).c_str());
    for (const tsql::ColumnInfo& c : columns)
      Query(
          "INSERT INTO zov_columns (object, ordinal, name, type, identity, nullable) VALUES ($1, "
          "$2::int4, $3, $4, $5::int4, $6::int4)",
          {std::string(object), std::to_string(ordinal++), c.name, c.type.ToString(),
           c.identity ? "1" : "0", c.nullable ? "1" : "0"});
  }

  void ForgetColumns(std::string_view object) override {
    Query("DELETE FROM zov_columns WHERE lower(object) = lower($1)", {std::string(object)});
  }

  long long IdentitySeed(std::string_view object) override {
    auto rows =
        Query("SELECT seed FROM zov_columns WHERE lower(object) = lower($1) AND identity = 1",
              {std::string(object)});
    return rows.empty() ? 1 : std::atoll(rows[0][0].c_str());
  }

  void RestartIdentity(const tsql::TableInfo& table, long long next) override {
    const int column = table.IdentityColumn();
    if (column < 0) return;
    Exec(fmt::format("ALTER TABLE {} ALTER COLUMN {} RESTART WITH {}",
                     tsql::Translator::TableSql(Dialect(), table),
                     tsql::Translator::Quote(table.columns[static_cast<std::size_t>(column)].name),
                     next));
  }

  void FollowIdentity(const tsql::TableInfo& table) override {
    const int column = table.IdentityColumn();
    if (column < 0) return;
    Query("SELECT tsql_follow_identity($1::regclass, $2)",
          {tsql::Translator::TableSql(Dialect(), table),
           table.columns[static_cast<std::size_t>(column)].name});
  }

  void AnnounceCatalogChange() override { Exec("NOTIFY zov_catalog"); }

  bool CatalogChangedElsewhere() override {
    // What arrived since the last statement, read without a round trip.
    if (PQconsumeInput(conn_)) TakeNotifications();
    const bool changed = catalogChanged_;
    catalogChanged_ = false;
    return changed;
  }

  // Prepared statements are deallocated when it is safe to send anything (not in the middle of
  // a transaction a failure spoiled).
  void Deallocate(std::string name) { deallocate_.push_back(std::move(name)); }

 private:
  using Rows = std::vector<std::vector<std::string>>;

  long long Execute(const std::string& name, const engine::Bound& values, engine::RowVisitor rows) {
    std::vector<std::string> texts(values.size());
    std::vector<const char*> pointers(values.size(), nullptr);
    for (std::size_t i = 0; i < values.size(); ++i) {
      const SqlValue& v = *values[i];
      switch (v.kind) {
        case SqlValue::Kind::Null:
          break;
        case SqlValue::Kind::Integer:
          texts[i] = std::to_string(v.integer);
          pointers[i] = texts[i].c_str();
          break;
        case SqlValue::Kind::Real:
          texts[i] = fmt::format("{}", v.real);
          pointers[i] = texts[i].c_str();
          break;
        case SqlValue::Kind::Text:
          pointers[i] = v.text.c_str();
          break;
      }
    }
    Result r(PQexecPrepared(conn_, name.c_str(), static_cast<int>(values.size()), pointers.data(),
                            nullptr, nullptr, 0));
    TakeNotifications();
    if (!r.Ok()) throw ErrorOf(r.get(), conn_);
    const int n = PQntuples(r.get());
    ResultRow row(r.get(), 0);
    for (int i = 0; i < n; ++i) {
      row.Move(i);
      rows(row);
    }
    const char* changed = PQcmdTuples(r.get());
    return changed && *changed ? std::atoll(changed) : 0;
  }

  // Runs `sql` with text parameters; its rows as texts ("" for NULL).
  Rows Query(const std::string& sql, const std::vector<std::string>& params) {
    FlushDeallocations();
    std::vector<const char*> pointers;
    for (const std::string& p : params) pointers.push_back(p.c_str());
    Result r(PQexecParams(conn_, sql.c_str(), static_cast<int>(params.size()), nullptr,
                          pointers.data(), nullptr, nullptr, 0));
    if (!r.Ok()) throw ErrorOf(r.get(), conn_);
    Rows rows;
    for (int i = 0; i < PQntuples(r.get()); ++i) {
      std::vector<std::string> row;
      for (int j = 0; j < PQnfields(r.get()); ++j) row.emplace_back(PQgetvalue(r.get(), i, j));
      rows.push_back(std::move(row));
    }
    return rows;
  }

  // Notifications arrive with the results of the statements around them.
  void TakeNotifications() {
    while (PGnotify* n = PQnotifies(conn_)) {
      if (n->be_pid != PQbackendPID(conn_)) catalogChanged_ = true;
      PQfreemem(n);
    }
  }

  void FlushDeallocations() {
    if (deallocate_.empty() || PQtransactionStatus(conn_) == PQTRANS_INERROR) return;
    std::string sql;
    for (const std::string& name : deallocate_) sql += "DEALLOCATE " + name + ";";
    deallocate_.clear();
    Result r(PQexec(conn_, sql.c_str()));
  }

  void RollbackQuietly() {
    try {
      Exec("ROLLBACK");
    } catch (...) {
    }
  }

  static std::string RuntimeVersion() {
    // FNV-1a of the script: a changed script is applied again.
    std::uint64_t h = 1469598103934665603ULL;
    for (unsigned char c : RuntimeScript()) h = (h ^ c) * 1099511628211ULL;
    return fmt::format("{:016x}", h);
  }

  std::string InstalledVersion() {
    if (Query("SELECT to_regclass('zov_runtime') IS NOT NULL", {}).at(0).at(0) != "t") return "";
    auto rows = Query("SELECT version FROM zov_runtime", {});
    return rows.empty() ? "" : rows[0][0];
  }

  // Tables and views of the database (or the session's temporary ones), all or the one `name`.
  std::vector<std::shared_ptr<tsql::TableInfo>> LoadObjects(bool temp, const std::string* name) {
    const std::string schema = temp ? "pg_my_temp_schema()" : "current_schema()::regnamespace";
    const std::string only = name ? " AND lower(c.relname) = lower($1)" : "";
    const std::vector<std::string> params =
        name ? std::vector<std::string>{*name} : std::vector<std::string>{};
    std::vector<std::shared_ptr<tsql::TableInfo>> objects;
    std::map<std::string, std::shared_ptr<tsql::TableInfo>> byOid;
    for (auto& row : Query("SELECT c.oid, c.relname, c.relkind FROM pg_class c WHERE "
                           "c.relnamespace = " +
                               schema +
                               " AND c.relkind IN ('r', 'v', 'p') AND c.relname NOT LIKE "
                               "'zov\\_%'" +
                               only,
                           params)) {
      auto table = std::make_shared<tsql::TableInfo>();
      table->objectId = std::atoll(row[0].c_str());
      table->name = row[1];
      table->view = row[2] == "v";
      table->temp = temp;
      byOid[row[0]] = table;
      objects.push_back(table);
    }
    if (objects.empty()) return objects;

    // The engine's own view of the columns.
    std::map<std::string, std::vector<tsql::ColumnInfo>> declared;
    for (auto& row :
         Query("SELECT a.attrelid, a.attname, format_type(a.atttypid, a.atttypmod), "
               "a.attnotnull, a.attidentity <> '' FROM pg_attribute a JOIN pg_class c ON c.oid = "
               "a.attrelid WHERE c.relnamespace = " +
                   schema + " AND a.attnum > 0 AND NOT a.attisdropped" + only +
                   " ORDER BY a.attrelid, a.attnum",
               params)) {
      tsql::ColumnInfo c;
      c.name = row[1];
      c.type = TypeOfColumn(row[2]);
      c.nullable = row[3] != "t";
      c.identity = row[4] == "t";
      declared[row[0]].push_back(std::move(c));
    }
    // The declared T-SQL types the front end recorded.
    std::map<std::string, std::vector<tsql::ColumnInfo>> recorded;
    if (!temp) {
      for (auto& row : Query("SELECT lower(object), name, type, identity, nullable FROM "
                             "zov_columns ORDER BY lower(object), ordinal",
                             {})) {
        tsql::ColumnInfo c;
        c.name = row[1];
        c.type = tsql::TypeFromDeclaration(row[2]);
        c.identity = row[3] == "1";
        c.nullable = row[4] == "1";
        recorded[row[0]].push_back(std::move(c));
      }
    }
    for (auto& [oid, table] : byOid) {
      std::vector<tsql::ColumnInfo>& engine = declared[oid];
      auto it = recorded.find(tsql::ToLower(table->name));
      table->columns =
          it != recorded.end() && it->second.size() == engine.size() ? it->second : engine;
      const int identity = table->IdentityColumn();
      if (identity >= 0) table->uniqueKeys.push_back({identity});
    }
    // Unique keys, by column names in key order (the identity column's key counted already).
    for (auto& row :
         Query("SELECT i.indrelid, (SELECT string_agg(a.attname, E'\\n' ORDER BY k.o) FROM "
               "unnest(i.indkey) WITH ORDINALITY AS k(n, o) JOIN pg_attribute a ON a.attrelid = "
               "i.indrelid AND a.attnum = k.n) FROM pg_index i JOIN pg_class c ON c.oid = "
               "i.indrelid WHERE c.relnamespace = " +
                   schema + " AND i.indisunique" + only + " ORDER BY i.indrelid, i.indexrelid",
               params)) {
      auto it = byOid.find(row[0]);
      if (it == byOid.end()) continue;
      tsql::TableInfo& table = *it->second;
      std::vector<int> key;
      std::size_t start = 0;
      bool valid = true;
      for (std::size_t i = 0; i <= row[1].size(); ++i) {
        if (i < row[1].size() && row[1][i] != '\n') continue;
        const int column = table.FindColumn(std::string_view(row[1]).substr(start, i - start));
        if (column < 0) valid = false;
        key.push_back(column);
        start = i + 1;
      }
      const int identity = table.IdentityColumn();
      if (valid && !key.empty() && !(key.size() == 1 && key[0] == identity))
        table.uniqueKeys.push_back(std::move(key));
    }
    return objects;
  }

  const std::string location_;
  PGconn* conn_ = nullptr;
  long long statements_ = 0;
  std::vector<std::string> deallocate_;
  bool catalogChanged_ = false;
};

ServerStatement::~ServerStatement() { owner_.Deallocate(std::move(name_)); }

// A connection to the server's maintenance database, for creating and dropping databases.
std::unique_ptr<ServerConnection> Maintenance(const std::string& location) {
  return std::make_unique<ServerConnection>(WithDatabase(location, "postgres"));
}

std::string QuoteName(std::string_view name) { return tsql::Translator::Quote(name); }

}  // namespace

std::unique_ptr<engine::Connection> Connect(const std::string& location) {
  return std::make_unique<ServerConnection>(location);
}

// ---- Locations
// ----------------------------------------------------------------------------------- A location is
// a connection URI: postgresql://[user[:password]@][host][:port][/dbname][?param...]

namespace {

struct UriParts {
  std::string head;      // up to and including the authority
  std::string database;  // the path without its "/"
  std::string tail;      // "?..." or ""
};

UriParts Split(const std::string& location) {
  UriParts p;
  const std::size_t scheme = location.find("://");
  const std::size_t authority = scheme == std::string::npos ? 0 : scheme + 3;
  const std::size_t query = location.find('?', authority);
  const std::size_t end = query == std::string::npos ? location.size() : query;
  const std::size_t slash = location.find('/', authority);
  if (slash == std::string::npos || slash > end) {
    p.head = location.substr(0, end);
  } else {
    p.head = location.substr(0, slash);
    p.database = location.substr(slash + 1, end - slash - 1);
  }
  p.tail = query == std::string::npos ? "" : location.substr(query);
  return p;
}

}  // namespace

std::string WithDatabase(const std::string& location, std::string_view name) {
  UriParts p = Split(location);
  return p.head + "/" + std::string(name) + p.tail;
}

std::string DatabaseName(const std::string& location) {
  const std::string raw = Split(location).database;
  std::string name;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '%' && i + 2 < raw.size()) {
      name += static_cast<char>(std::strtol(raw.substr(i + 1, 2).c_str(), nullptr, 16));
      i += 2;
    } else {
      name += raw[i];
    }
  }
  return name;
}

std::string Shown(const std::string& location) {
  UriParts p = Split(location);
  const std::size_t scheme = p.head.find("://");
  const std::size_t at = p.head.rfind('@');
  if (scheme != std::string::npos && at != std::string::npos && at > scheme) {
    const std::size_t colon = p.head.find(':', scheme + 3);
    if (colon != std::string::npos && colon < at) p.head.erase(colon, at - colon);
  }
  // A password among the parameters goes too.
  std::string tail;
  std::size_t start = 0;
  while (start < p.tail.size()) {
    std::size_t next = p.tail.find('&', start + 1);
    if (next == std::string::npos) next = p.tail.size();
    const std::string param = p.tail.substr(start, next - start);
    if (param.find("password=") == std::string::npos) tail += param;
    start = next;
  }
  if (!tail.empty() && tail[0] == '&') tail[0] = '?';
  return p.head + (p.database.empty() ? "" : "/" + p.database) + tail;
}

void CreateEmpty(const std::string& location) {
  std::unique_ptr<ServerConnection> target;
  try {
    target = std::make_unique<ServerConnection>(location);
  } catch (const SqlError& e) {
    if (e.message().find("does not exist") == std::string::npos) throw;
  }
  if (!target) {
    Maintenance(location)->Exec(fmt::format("CREATE DATABASE {} TEMPLATE template0 ENCODING 'UTF8'",
                                            QuoteName(DatabaseName(location))));
    return;
  }
  target->Exec("DROP SCHEMA IF EXISTS public CASCADE; CREATE SCHEMA public");
}

void Copy(const std::string& from, const std::string& to) {
  auto maintenance = Maintenance(from);
  maintenance->Exec(
      fmt::format("DROP DATABASE IF EXISTS {} WITH (FORCE)", QuoteName(DatabaseName(to))));
  maintenance->Exec(fmt::format("CREATE DATABASE {} TEMPLATE {}", QuoteName(DatabaseName(to)),
                                QuoteName(DatabaseName(from))));
}

void Drop(const std::string& location) {
  Maintenance(location)->Exec(
      fmt::format("DROP DATABASE IF EXISTS {} WITH (FORCE)", QuoteName(DatabaseName(location))));
}

}  // namespace zov::data::postgresql
