// DDL and SELECT ... INTO: the statements that change the catalog, which is kept in step.
#include <fmt/format.h>
#include <sqlite3.h>

#include "data/sql_error.h"
#include "data/sqlite/catalog_store.h"
#include "data/tsql/ast/alter_table_statement.h"
#include "data/tsql/ast/create_index_statement.h"
#include "data/tsql/ast/create_table_statement.h"
#include "data/tsql/ast/create_view_statement.h"
#include "data/tsql/ast/drop_statement.h"
#include "data/tsql/ast/select_node.h"
#include "data/tsql/ast/select_statement.h"
#include "data/tsql/ast/set_operation_node.h"
#include "data/tsql/ast/truncate_statement.h"
#include "data/tsql/interpreter.h"
#include "data/tsql/translator.h"

namespace zov::data::tsql {

namespace {

using sqlite::CatalogStore;

// A savepoint around the steps of one DDL statement: all of them or none.
class DdlScope {
 public:
  explicit DdlScope(sqlite::Connection& c) : c_(c) { c_.Exec("SAVEPOINT zov_ddl"); }
  ~DdlScope() {
    if (!done_) {
      try {
        c_.Exec("ROLLBACK TO zov_ddl");
        c_.Exec("RELEASE zov_ddl");
      } catch (...) {
      }
    }
  }
  void Commit() {
    c_.Exec("RELEASE zov_ddl");
    done_ = true;
  }

 private:
  sqlite::Connection& c_;
  bool done_ = false;
};

const SelectNode& FirstSelect(const SelectStatement& s) {
  const QueryNode* node = s.query->body.get();
  while (node->kind == QueryNodeKind::SetOperation) node = node->As<SetOperationNode>().left.get();
  return node->As<SelectNode>();
}

std::string SqlLiteral(const SqlValue& v) {
  switch (v.kind) {
    case SqlValue::Kind::Null:
      return "NULL";
    case SqlValue::Kind::Integer:
      return std::to_string(v.integer);
    case SqlValue::Kind::Real:
      return fmt::format("{:.17g}", v.real);
    case SqlValue::Kind::Text: {
      std::string out = "'";
      for (char c : v.text) {
        out += c;
        if (c == '\'') out += '\'';
      }
      return out + "'";
    }
  }
  return "NULL";
}

}  // namespace

void Interpreter::RunSelectInto(const SelectStatement& s) {
  detail::CachedStatement& c = Prepared(&s, Use::Statement, s);
  const ObjectName& into = FirstSelect(s).into;
  Translator translator(Input(false));
  CreateTablePlan plan = translator.CreateTableFor(into, c.translation.columns);
  const char* schema = into.IsTemp() ? "temp" : "main";
  if (session_.depth > 0 || session_.inAtomic) session_.ddlInTransaction = true;
  long long changes = 0;
  if (into.IsTemp()) session_.ForgetDormant(into.name);
  {
    DdlScope scope(session_.connection);
    session_.connection.Exec(plan.sql);
    if (!into.IsTemp())
      CatalogStore::SaveColumns(session_.connection, schema, into.name, plan.columns, 1);
    auto table = CatalogStore::LoadObject(session_.connection, schema, into.name);
    table->columns = plan.columns;
    if (table->temp) table->objectId = session_.NextTempId();
    sqlite::Statement insert = session_.connection.Prepare(
        "INSERT INTO " + Translator::TableSql(*table) + " " + c.translation.sql);
    BindTo(insert.get(), c.translation.params);
    const int rc = sqlite3_step(insert.get());
    if (rc != SQLITE_DONE) session_.connection.Fail(c.translation.sql);
    changes = session_.connection.Changes();
    scope.Commit();
    ChangeCatalog(table.get(), into.IsTemp(), into.name);
  }
  if (!session_.nocount) result_.rowsAffected += changes;
  session_.rowCount = changes;
}

// ---- DDL ---------------------------------------------------------------------------------------

void Interpreter::ChangeCatalog(const TableInfo* table, bool temp, const std::string& name) {
  if (temp) {
    if (table)
      session_.temp.Put(std::make_shared<TableInfo>(*table));
    else
      session_.temp.Remove(name);
    return;
  }
  std::shared_ptr<const TableInfo> copy = table ? std::make_shared<TableInfo>(*table) : nullptr;
  session_.database->ChangeMain([&](Catalog& c) {
    if (copy)
      c.Put(copy);
    else
      c.Remove(name);
  });
  session_.Main();
}

void Interpreter::RunDdl(const Statement& s) {
  // The catalog this translator reads stays alive while DDL publishes newer ones.
  std::shared_ptr<const Catalog> main = (session_.Main(), session_.main);
  TranslatorInput in = Input(false);
  in.main = main.get();
  Translator translator(in);
  sqlite::Connection& conn = session_.connection;
  if (session_.depth > 0 || session_.inAtomic) session_.ddlInTransaction = true;
  switch (s.kind) {
    case StatementKind::CreateTable: {
      const auto& ct = s.As<CreateTableStatement>();
      CreateTablePlan plan = translator.CreateTable(ct);
      const bool temp = ct.name.IsTemp();
      const char* schema = temp ? "temp" : "main";
      long long seed = 1;
      for (const ColumnDefinition& c : ct.columns)
        if (c.identity) seed = c.identitySeed;
      if (temp && plan.seedSql.empty()) {
        // A temporary table is one statement, and the session's memory knows it exactly.
        if (session_.ReviveTemp(ct.name.name, plan.sql)) {
          session_.tempCreateSql[Catalog::Key(ct.name.name)] = plan.sql;
          return;
        }
        session_.ForgetDormant(ct.name.name);
        conn.Exec(plan.sql);
        session_.tempCreateSql[Catalog::Key(ct.name.name)] = plan.sql;
        auto table = std::make_shared<TableInfo>();
        table->name = ct.name.name;
        table->temp = true;
        table->objectId = session_.NextTempId();
        table->columns = plan.columns;
        table->uniqueKeys = plan.uniqueKeys;
        session_.temp.Put(std::move(table));
        return;
      }
      if (temp) session_.ForgetDormant(ct.name.name);
      DdlScope scope(conn);
      conn.Exec(plan.sql);
      if (!plan.seedSql.empty()) conn.Exec(plan.seedSql);
      if (!temp) CatalogStore::SaveColumns(conn, schema, ct.name.name, plan.columns, seed);
      auto table = CatalogStore::LoadObject(conn, schema, ct.name.name);
      if (temp) {
        table->columns = plan.columns;
        table->objectId = session_.NextTempId();
      }
      scope.Commit();
      ChangeCatalog(table.get(), temp, ct.name.name);
      return;
    }
    case StatementKind::CreateView: {
      const auto& cv = s.As<CreateViewStatement>();
      Translation t = translator.CreateView(cv);
      // SQLite keeps no parameters in a view: the literals go in as SQL text.
      std::string sql;
      for (std::size_t i = 0; i < t.sql.size(); ++i) {
        if (t.sql[i] == '?' && i + 1 < t.sql.size() &&
            std::isdigit(static_cast<unsigned char>(t.sql[i + 1]))) {
          std::size_t j = i + 1;
          int n = 0;
          while (j < t.sql.size() && std::isdigit(static_cast<unsigned char>(t.sql[j])))
            n = n * 10 + (t.sql[j++] - '0');
          const Parameter& p = t.params[static_cast<std::size_t>(n - 1)];
          SqlValue v = ParameterValue(p);
          if (p.convert) v = ConvertValue(v, p.from, p.to, p.style, p.context);
          if (p.asReal && v.kind == SqlValue::Kind::Integer)
            v = SqlValue::Real(static_cast<double>(v.integer));
          sql += SqlLiteral(v);
          i = j - 1;
        } else {
          sql += t.sql[i];
        }
      }
      std::vector<ColumnInfo> columns;
      for (const ResultColumn& c : t.columns)
        columns.push_back(ColumnInfo{c.name, c.type, false, true});
      DdlScope scope(conn);
      conn.Exec(sql);
      CatalogStore::SaveColumns(conn, "main", cv.name.name, columns, 1);
      auto view = CatalogStore::LoadObject(conn, "main", cv.name.name);
      scope.Commit();
      ChangeCatalog(view.get(), false, cv.name.name);
      return;
    }
    case StatementKind::CreateIndex: {
      const auto& ci = s.As<CreateIndexStatement>();
      std::string sql = translator.CreateIndex(ci);
      auto table = translator.FindTable(ci.table);
      conn.Exec(sql);
      // An indexed temporary table is no longer the table its CREATE makes.
      if (table->temp) session_.tempCreateSql.erase(Catalog::Key(table->name));
      const bool temp = table->temp;
      auto reloaded = CatalogStore::LoadObject(conn, temp ? "temp" : "main", table->name);
      if (temp) {
        reloaded->columns = table->columns;
        reloaded->objectId = session_.NextTempId();
      }
      ChangeCatalog(reloaded.get(), temp, table->name);
      return;
    }
    case StatementKind::Drop: {
      const auto& d = s.As<DropStatement>();
      for (const ObjectName& name : d.names) {
        if (d.what == DropKind::Index) {
          ObjectName tableName;
          tableName.name = name.schema;
          auto table = name.schema.empty() ? nullptr : translator.FindTable(tableName);
          if (!table) {
            if (d.ifExists) continue;
            throw SqlError(
                fmt::format("Cannot drop the index '{}.{}', because it does not exist or you do "
                            "not have permission.",
                            name.schema, name.name));
          }
          std::string sql = std::string("DROP INDEX ") + (d.ifExists ? "IF EXISTS " : "") +
                            (table->temp ? "temp." : "") +
                            Translator::Quote(table->name + "." + name.name);
          try {
            conn.Exec(sql);
          } catch (const SqlError&) {
            throw SqlError(
                fmt::format("Cannot drop the index '{}.{}', because it does not exist or you do "
                            "not have permission.",
                            name.schema, name.name));
          }
          auto reloaded =
              CatalogStore::LoadObject(conn, table->temp ? "temp" : "main", table->name);
          if (table->temp) {
            reloaded->columns = table->columns;
            reloaded->objectId = session_.NextTempId();
          }
          ChangeCatalog(reloaded.get(), table->temp, table->name);
          continue;
        }
        auto table = translator.FindTable(name);
        const char* what = d.what == DropKind::Table ? "table" : "view";
        if (!table) {
          if (d.ifExists) continue;
          throw SqlError(fmt::format(
              "Cannot drop the {} '{}', because it does not exist or you do not have permission.",
              what, name.name));
        }
        if (d.what == DropKind::Table && table->view)
          throw SqlError(
              fmt::format("Cannot use DROP TABLE with '{}' because '{}' is a view. Use DROP VIEW.",
                          name.name, name.name));
        if (d.what == DropKind::View && !table->view)
          throw SqlError(
              fmt::format("Cannot use DROP VIEW with '{}' because '{}' is a table. Use DROP TABLE.",
                          name.name, name.name));
        const std::string drop =
            std::string(table->view ? "DROP VIEW " : "DROP TABLE ") + Translator::TableSql(*table);
        if (table->temp) {
          auto made = session_.tempCreateSql.find(Catalog::Key(table->name));
          if (made != session_.tempCreateSql.end()) {
            session_.DropTemp(table, made->second);
            session_.tempCreateSql.erase(made);
          } else {
            conn.Exec(drop);
          }
        } else {
          DdlScope scope(conn);
          conn.Exec(drop);
          CatalogStore::Forget(conn, "main", table->name);
          scope.Commit();
        }
        if (session_.identityInsert == Catalog::Key(table->name)) session_.identityInsert.clear();
        ChangeCatalog(nullptr, table->temp, table->name);
      }
      return;
    }
    case StatementKind::AlterTable: {
      const auto& a = s.As<AlterTableStatement>();
      std::vector<ColumnInfo> added;
      std::vector<std::string> statements = translator.AddColumns(a.table, a.add, added);
      auto table = translator.FindTable(a.table);
      const char* schema = table->temp ? "temp" : "main";
      if (table->temp) session_.tempCreateSql.erase(Catalog::Key(table->name));
      DdlScope scope(conn);
      for (const std::string& sql : statements) conn.Exec(sql);
      if (!table->temp) CatalogStore::AppendColumns(conn, schema, table->name, added);
      auto reloaded = CatalogStore::LoadObject(conn, schema, table->name);
      if (table->temp) {
        reloaded->columns = table->columns;
        for (const ColumnInfo& c : added) reloaded->columns.push_back(c);
        reloaded->objectId = session_.NextTempId();
      }
      scope.Commit();
      ChangeCatalog(reloaded.get(), table->temp, table->name);
      return;
    }
    case StatementKind::Truncate: {
      const auto& t = s.As<TruncateStatement>();
      auto table = translator.FindTable(t.table);
      if (!table)
        throw SqlError(
            fmt::format("Cannot find the object \"{}\" because it does not exist or you do not "
                        "have permissions.",
                        t.table.name));
      if (table->view)
        throw SqlError(
            fmt::format("Cannot truncate table '{}' because it is not a table.", t.table.name));
      DdlScope scope(conn);
      conn.Exec("DELETE FROM " + Translator::TableSql(*table));
      if (table->IdentityColumn() >= 0) {
        const char* schema = table->temp ? "temp" : "main";
        const long long seed =
            table->temp ? 1 : CatalogStore::IdentitySeed(conn, schema, table->name);
        sqlite::Statement reset = conn.Prepare(
            fmt::format("UPDATE {}.sqlite_sequence SET seq = ?2 WHERE name = ?1", schema));
        sqlite3_bind_text(reset.get(), 1, table->name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(reset.get(), 2, seed - 1);
        if (sqlite3_step(reset.get()) != SQLITE_DONE) conn.Fail("");
      }
      scope.Commit();
      return;
    }
    default:
      return;
  }
}

}  // namespace zov::data::tsql
