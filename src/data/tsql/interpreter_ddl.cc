// DDL and SELECT ... INTO: the statements that change the catalog, which is kept in step.
#include <fmt/format.h>

#include "data/sql_error.h"
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

// The steps of one DDL statement as one: all of them or none.
class DdlScope {
 public:
  explicit DdlScope(engine::Connection& c) : c_(c), own_(!c.InTransaction()) {
    if (own_)
      c_.Begin(false);
    else
      c_.Savepoint("zov_ddl");
  }
  ~DdlScope() {
    if (done_) return;
    try {
      if (own_) {
        c_.Rollback();
      } else {
        c_.RollbackTo("zov_ddl");
        c_.Release("zov_ddl");
      }
    } catch (...) {
    }
  }
  void Commit() {
    if (own_)
      c_.Commit();
    else
      c_.Release("zov_ddl");
    done_ = true;
  }

 private:
  engine::Connection& c_;
  const bool own_;
  bool done_ = false;
};

const SelectNode& FirstSelect(const SelectStatement& s) {
  const QueryNode* node = s.query->body.get();
  while (node->kind == QueryNodeKind::SetOperation) node = node->As<SetOperationNode>().left.get();
  return node->As<SelectNode>();
}

}  // namespace

void Interpreter::RunSelectInto(const SelectStatement& s) {
  detail::CachedStatement& c = Prepared(&s, Use::Statement, s);
  const ObjectName& into = FirstSelect(s).into;
  Translator translator(Input(false));
  CreateTablePlan plan = translator.CreateTableFor(into, c.translation.columns);
  engine::Connection& conn = *session_.connection;
  if (session_.depth > 0 || session_.inAtomic) session_.ddlInTransaction = true;
  long long changes = 0;
  if (into.IsTemp()) session_.ForgetDormant(into.name);
  {
    DdlScope scope(conn);
    conn.Exec(plan.sql);
    if (!into.IsTemp()) conn.SaveColumns(into.name, plan.columns, 1);
    auto table = conn.LoadObject(into.IsTemp(), into.name);
    table->columns = plan.columns;
    if (table->temp) table->objectId = session_.NextTempId();
    std::unique_ptr<engine::Statement> insert =
        conn.Prepare("INSERT INTO " + translator.TableSql(*table) + " " + c.translation.sql);
    changes = conn.Run(*insert, BindValues(c.translation.params), {}, !into.IsTemp());
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
  session_.connection->AnnounceCatalogChange();
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
  engine::Connection& conn = *session_.connection;
  if (session_.depth > 0 || session_.inAtomic) session_.ddlInTransaction = true;
  switch (s.kind) {
    case StatementKind::CreateTable: {
      const auto& ct = s.As<CreateTableStatement>();
      CreateTablePlan plan = translator.CreateTable(ct);
      const bool temp = ct.name.IsTemp();
      if (temp && plan.identitySeed == 1) {
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
      if (!temp) conn.SaveColumns(ct.name.name, plan.columns, plan.identitySeed);
      auto table = conn.LoadObject(temp, ct.name.name);
      if (plan.identitySeed != 1) conn.RestartIdentity(*table, plan.identitySeed);
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
      std::vector<ColumnInfo> columns;
      for (const ResultColumn& c : t.columns)
        columns.push_back(ColumnInfo{c.name, c.type, false, true});
      DdlScope scope(conn);
      conn.Exec(t.sql);
      conn.SaveColumns(cv.name.name, columns, 1);
      auto view = conn.LoadObject(false, cv.name.name);
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
      auto reloaded = conn.LoadObject(temp, table->name);
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
                            (table->temp ? std::string(session_.dialect->tempSchema) : "") +
                            Translator::Quote(table->name + "." + name.name);
          try {
            conn.Exec(sql);
          } catch (const SqlError&) {
            throw SqlError(
                fmt::format("Cannot drop the index '{}.{}', because it does not exist or you do "
                            "not have permission.",
                            name.schema, name.name));
          }
          auto reloaded = conn.LoadObject(table->temp, table->name);
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
            std::string(table->view ? "DROP VIEW " : "DROP TABLE ") + translator.TableSql(*table);
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
          conn.ForgetColumns(table->name);
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
      if (table->temp) session_.tempCreateSql.erase(Catalog::Key(table->name));
      DdlScope scope(conn);
      for (const std::string& sql : statements) conn.Exec(sql);
      if (!table->temp) conn.AppendColumns(table->name, added);
      auto reloaded = conn.LoadObject(table->temp, table->name);
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
      conn.Exec("DELETE FROM " + translator.TableSql(*table));
      if (table->IdentityColumn() >= 0)
        conn.RestartIdentity(*table, table->temp ? 1 : conn.IdentitySeed(table->name));
      scope.Commit();
      return;
    }
    default:
      return;
  }
}

}  // namespace zov::data::tsql
