// Running statements: control flow, queries, assignments, INSERT/UPDATE/DELETE, SET options and
// transactions.
#include <fmt/format.h>

#include <optional>

#include "data/engine/values.h"
#include "data/sql_error.h"
#include "data/tsql/ast/block_statement.h"
#include "data/tsql/ast/control_statement.h"
#include "data/tsql/ast/declare_statement.h"
#include "data/tsql/ast/if_statement.h"
#include "data/tsql/ast/print_statement.h"
#include "data/tsql/ast/select_statement.h"
#include "data/tsql/ast/set_option_statement.h"
#include "data/tsql/ast/set_variable_statement.h"
#include "data/tsql/ast/transaction_statement.h"
#include "data/tsql/ast/while_statement.h"
#include "data/tsql/interpreter.h"
#include "data/tsql/translator.h"

namespace zov::data::tsql {

namespace {

constexpr long long kMaxLoopIterations = 10'000'000;

}  // namespace

// ---- Statements --------------------------------------------------------------------------------

Interpreter::Flow Interpreter::ExecuteList(const StatementList& list) {
  for (const StatementPtr& s : list) {
    const Flow f = Execute(*s);
    if (f != Flow::Normal) return f;
  }
  return Flow::Normal;
}

Interpreter::Flow Interpreter::Execute(const Statement& s) {
  current_ = &s;
  switch (s.kind) {
    case StatementKind::If: {
      const auto& i = s.As<IfStatement>();
      if (Condition(*i.condition, s)) return Execute(*i.then);
      if (i.otherwise) return Execute(*i.otherwise);
      return Flow::Normal;
    }
    case StatementKind::While: {
      const auto& w = s.As<WhileStatement>();
      long long iterations = 0;
      while (Condition(*w.condition, s)) {
        if (++iterations > kMaxLoopIterations)
          throw SqlError("WHILE loop ran more than 10,000,000 times; stopped.");
        const Flow f = Execute(*w.body);
        if (f == Flow::Break) break;
        if (f == Flow::Return) return f;
      }
      return Flow::Normal;
    }
    case StatementKind::Block:
      return ExecuteList(s.As<BlockStatement>().statements);
    case StatementKind::Control:
      switch (s.As<ControlStatement>().what) {
        case ControlKind::Break:
          return Flow::Break;
        case ControlKind::Continue:
          return Flow::Continue;
        case ControlKind::Return:
          return Flow::Return;
      }
      return Flow::Normal;
    case StatementKind::Transaction:
      RunTransaction(s);
      return Flow::Normal;
    case StatementKind::SetOption:
      RunSetOption(s);
      return Flow::Normal;
    default:
      Guarded([&] { ExecuteSimple(s); });
      return Flow::Normal;
  }
}

void Interpreter::ExecuteSimple(const Statement& s) {
  switch (s.kind) {
    case StatementKind::Select: {
      const auto& select = s.As<SelectStatement>();
      if (select.into)
        RunSelectInto(select);
      else if (select.assigns)
        RunAssignment(select);
      else
        RunQuery(select);
      return;
    }
    case StatementKind::Insert:
    case StatementKind::Update:
    case StatementKind::Delete:
      RunModification(s);
      return;
    case StatementKind::CreateTable:
    case StatementKind::CreateIndex:
    case StatementKind::CreateView:
    case StatementKind::Drop:
    case StatementKind::AlterTable:
    case StatementKind::Truncate:
      RunDdl(s);
      return;
    case StatementKind::Declare:
      for (const VariableDeclaration& d : s.As<DeclareStatement>().variables) {
        if (d.initial) {
          SqlType type;
          SqlValue v = Evaluate(*d.initial, s, type);
          Assign(d.variable, v, type);
        } else {
          variables_[static_cast<std::size_t>(d.variable)] = SqlValue::Null();
        }
      }
      return;
    case StatementKind::SetVariable: {
      const auto& v = s.As<SetVariableStatement>();
      SqlType type;
      SqlValue value = v.op == '=' ? Evaluate(*v.value, s, type)
                                   : OneValue(Prepared(&s, Use::Compound, s), type);
      Assign(v.variable, value, type);
      return;
    }
    case StatementKind::Print: {
      SqlType type;
      Evaluate(*s.As<PrintStatement>().value, s, type);
      return;
    }
    default:
      return;
  }
}

void Interpreter::RunQuery(const SelectStatement& s) {
  detail::CachedStatement& c = Prepared(&s, Use::Statement, s);
  const auto& columns = c.translation.columns;
  if (c.columns.size() != columns.size()) {
    c.columns.clear();
    for (const ResultColumn& col : columns)
      c.columns.push_back(Column{col.name, engine::VarTypeOf(col.type), col.type.ToString()});
  }
  ResultSet rs;
  rs.columns = c.columns;
  RunCached(c, [&](const engine::Row& r) {
    std::vector<vb::Variant> row;
    row.reserve(columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i)
      row.push_back(r.Variant(static_cast<int>(i), columns[i].type));
    rs.rows.push_back(std::move(row));
  });
  session_.rowCount = static_cast<long long>(rs.rows.size());
  result_.resultSets.push_back(std::move(rs));
}

void Interpreter::RunAssignment(const SelectStatement& s) {
  detail::CachedStatement& c = Prepared(&s, Use::Statement, s);
  const Translation& t = c.translation;
  const auto& columns = t.columns;
  long long rows = 0;
  if (t.steps.empty()) {
    // Every row assigns in turn; the last one stays, as in SQL Server.
    RunCached(c, [&](const engine::Row& r) {
      ++rows;
      for (std::size_t i = 0; i < columns.size(); ++i)
        Assign(t.assignTo[i], r.Value(static_cast<int>(i), columns[i].type), columns[i].type);
    });
    session_.rowCount = rows;
    return;
  }
  if (c.steps.empty())
    for (const Translation& step : t.steps) {
      auto cached = std::make_unique<detail::CachedStatement>();
      cached->translation = step;
      cached->generation = c.generation;
      c.steps.push_back(std::move(cached));
    }
  // The rows come first (the engine may hold them until the statement ends), then each row's
  // items are evaluated in order, each seeing what the items and rows before it assigned.
  std::vector<std::vector<SqlValue>> values;
  RunCached(c, [&](const engine::Row& r) {
    std::vector<SqlValue> row;
    row.reserve(columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i)
      row.push_back(r.Value(static_cast<int>(i), columns[i].type));
    values.push_back(std::move(row));
  });
  for (std::vector<SqlValue>& row : values) {
    row_ = &row;
    for (std::size_t k = 0; k < c.steps.size(); ++k) {
      SqlType type;
      SqlValue v = OneValue(*c.steps[k], type);
      Assign(t.assignTo[k], v, type);
    }
  }
  row_ = nullptr;
  session_.rowCount = static_cast<long long>(values.size());
}

void Interpreter::RunModification(const Statement& s) {
  detail::CachedStatement& c = Prepared(&s, Use::Statement, s);
  const Translation& t = c.translation;
  if (s.kind == StatementKind::Insert) {
    if (!t.identityTable.empty() && session_.identityInsert != Catalog::Key(t.identityTable))
      throw SqlError(
          fmt::format("Cannot insert explicit value for identity column in table '{}' when "
                      "IDENTITY_INSERT is set to OFF.",
                      t.identityTable));
    if (t.identityTable.empty() && !t.insertTable.empty() &&
        session_.identityInsert == Catalog::Key(t.insertTable))
      throw SqlError(
          fmt::format("Explicit value must be specified for identity column in table '{}' either "
                      "when IDENTITY_INSERT is set to ON or when a replication user is inserting "
                      "into a NOT FOR REPLICATION identity column.",
                      t.insertTable));
  }
  // An engine that gives the generated identity values back as the INSERT's rows.
  std::optional<long long> returned;
  const long long changes =
      RunCached(c, [&](const engine::Row& row) { returned = row.Integer(0); });
  if (!session_.nocount) result_.rowsAffected += changes;
  session_.rowCount = changes;
  if (s.kind != StatementKind::Insert || t.insertTable.empty() || changes == 0) return;
  session_.hasIdentity = true;
  session_.lastIdentity = returned ? *returned : session_.connection->LastInsertId();
  if (!t.identityTable.empty()) {
    ObjectName name;
    name.name = t.identityTable;
    if (auto table = Translator(Input(false)).FindTable(name))
      session_.connection->FollowIdentity(*table);
  }
}

void Interpreter::RunSetOption(const Statement& s) {
  const auto& o = s.As<SetOptionStatement>();
  const std::string& name = o.option;
  if (name == "NOCOUNT") {
    session_.nocount = o.on;
    return;
  }
  if (name == "IDENTITY_INSERT") {
    Translator translator(Input(false));
    auto table = translator.FindTable(o.table);
    if (!table)
      throw SqlError(fmt::format(
          "Cannot find the object \"{}\" because it does not exist or you do not have permissions.",
          o.table.name));
    if (table->IdentityColumn() < 0)
      throw SqlError(fmt::format(
          "Table '{}' does not have the identity property. Cannot perform SET operation.",
          table->name));
    const std::string key = Catalog::Key(table->name);
    if (o.on) {
      if (!session_.identityInsert.empty() && session_.identityInsert != key) {
        auto other = session_.temp.Find(session_.identityInsert);
        if (!other) other = session_.Main().Find(session_.identityInsert);
        throw SqlError(
            fmt::format("IDENTITY_INSERT is already ON for table '{}'. Cannot perform SET "
                        "operation for table '{}'.",
                        other ? other->name : session_.identityInsert, table->name));
      }
      session_.identityInsert = key;
    } else if (session_.identityInsert == key) {
      session_.identityInsert.clear();
    }
    return;
  }
  // Options whose default SQL Server shares with this front end: setting them ON (or the
  // default) changes nothing; the other value is not reproduced.
  static const char* const kOnDefault[] = {
      "ANSI_NULLS", "QUOTED_IDENTIFIER", "ANSI_WARNINGS", "ANSI_PADDING", "CONCAT_NULL_YIELDS_NULL",
      "ARITHABORT", "ANSI_NULL_DFLT_ON"};
  static const char* const kOffDefault[] = {
      "NUMERIC_ROUNDABORT", "IMPLICIT_TRANSACTIONS", "ANSI_NULL_DFLT_OFF", "NOEXEC",    "FMTONLY",
      "PARSEONLY",          "SHOWPLAN_ALL",          "SHOWPLAN_TEXT",      "STATISTICS"};
  for (const char* n : kOnDefault)
    if (name == n) {
      if (!o.on) throw SqlError(fmt::format("Unsupported T-SQL construct: SET {} OFF.", name));
      return;
    }
  for (const char* n : kOffDefault)
    if (name == n) {
      if (o.on) throw SqlError(fmt::format("Unsupported T-SQL construct: SET {} ON.", name));
      return;
    }
  if (name == "XACT_ABORT") {
    if (o.on) throw SqlError("Unsupported T-SQL construct: SET XACT_ABORT ON.");
    return;
  }
  throw SqlError(fmt::format("Unsupported T-SQL construct: SET {}.", name));
}

void Interpreter::RunTransaction(const Statement& s) {
  if (session_.inAtomic)
    throw SqlError(
        "Unsupported T-SQL construct: BEGIN/COMMIT/ROLLBACK TRANSACTION inside a batch run as one "
        "unit.");
  switch (s.As<TransactionStatement>().what) {
    case TransactionKind::Begin:
      session_.BeginTransaction();
      break;
    case TransactionKind::Commit:
      session_.CommitTransaction();
      break;
    case TransactionKind::Rollback:
      session_.RollbackTransaction();
      break;
  }
}

}  // namespace zov::data::tsql
