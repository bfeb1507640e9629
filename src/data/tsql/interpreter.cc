#include "data/tsql/interpreter.h"

#include <fmt/format.h>
#include <sqlite3.h>

#include "data/sql_error.h"
#include "data/sqlite/catalog_store.h"
#include "data/sqlite/value_reader.h"
#include "data/tsql/ast/alter_table_statement.h"
#include "data/tsql/ast/block_statement.h"
#include "data/tsql/ast/constant_expression.h"
#include "data/tsql/ast/control_statement.h"
#include "data/tsql/ast/create_index_statement.h"
#include "data/tsql/ast/create_table_statement.h"
#include "data/tsql/ast/create_view_statement.h"
#include "data/tsql/ast/declare_statement.h"
#include "data/tsql/ast/delete_statement.h"
#include "data/tsql/ast/drop_statement.h"
#include "data/tsql/ast/if_statement.h"
#include "data/tsql/ast/insert_statement.h"
#include "data/tsql/ast/print_statement.h"
#include "data/tsql/ast/select_node.h"
#include "data/tsql/ast/select_statement.h"
#include "data/tsql/ast/set_operation_node.h"
#include "data/tsql/ast/set_option_statement.h"
#include "data/tsql/ast/set_variable_statement.h"
#include "data/tsql/ast/transaction_statement.h"
#include "data/tsql/ast/truncate_statement.h"
#include "data/tsql/ast/update_statement.h"
#include "data/tsql/ast/variable_expression.h"
#include "data/tsql/ast/while_statement.h"
#include "data/tsql/parser.h"
#include "data/tsql/translator.h"

namespace zov::data::tsql {

namespace {

using sqlite::CatalogStore;

constexpr long long kMaxLoopIterations = 10'000'000;

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

// ---- Batch -------------------------------------------------------------------------------------

void Interpreter::Load(std::string_view text) {
  text_ = text;
  try {
    Lexer::Read(text, lexed_);
    texts_.assign(static_cast<std::size_t>(lexed_.literalCount), std::string_view());
    values_.resize(static_cast<std::size_t>(lexed_.literalCount));
    for (const Token& t : lexed_.tokens) {
      if (t.literal < 0) continue;
      texts_[static_cast<std::size_t>(t.literal)] = t.text;
      values_[static_cast<std::size_t>(t.literal)] = LiteralValue(t);
    }
    entry_ = session_.FindBatch(lexed_.shape, texts_);
    if (!entry_) {
      std::shared_ptr<const Batch> tree = session_.database->FindTree(lexed_.shape, texts_);
      if (!tree) {
        tree = Parser::Parse(text, lexed_);
        session_.database->AddTree(lexed_.shape, tree);
      }
      entry_ = &session_.AddBatch(lexed_.shape, tree);
    }
  } catch (const SqlError& e) {
    throw e.WithStatement(std::string(text));
  }
}

namespace {

// Statements that write, a loop's counting twice: each statement is atomic on its own.
int WriteSteps(const Statement& s) {
  switch (s.kind) {
    case StatementKind::Select:
      return s.As<SelectStatement>().into ? 1 : 0;
    case StatementKind::Insert:
    case StatementKind::Update:
    case StatementKind::Delete:
    case StatementKind::CreateTable:
    case StatementKind::CreateIndex:
    case StatementKind::CreateView:
    case StatementKind::Drop:
    case StatementKind::AlterTable:
    case StatementKind::Truncate:
      return 1;
    case StatementKind::Transaction:
      return 2;
    case StatementKind::If: {
      const auto& i = s.As<IfStatement>();
      return WriteSteps(*i.then) + (i.otherwise ? WriteSteps(*i.otherwise) : 0);
    }
    case StatementKind::While:
      return 2 * WriteSteps(*s.As<WhileStatement>().body);
    case StatementKind::Block: {
      int n = 0;
      for (const StatementPtr& c : s.As<BlockStatement>().statements) n += WriteSteps(*c);
      return n;
    }
    default:
      return 0;
  }
}

}  // namespace

bool Interpreter::WritesInSteps() {
  if (entry_->writeSteps < 0) {
    const StatementList& list = entry_->batch->statements;
    int n = 0;
    for (const StatementPtr& s : list) n += WriteSteps(*s);
    // One writing statement alone is atomic by itself; anything after a write could still fail.
    const bool single = list.size() == 1 && n == 1 && list.front()->kind != StatementKind::If &&
                        list.front()->kind != StatementKind::Block;
    entry_->writeSteps = single ? 1 : n == 0 ? 0 : 2;
  }
  return entry_->writeSteps > 1;
}

BatchResult Interpreter::Run() {
  const Batch& batch = *entry_->batch;
  variables_.assign(batch.variables.size(), SqlValue());
  current_ = nullptr;
  try {
    // A batch checked under the current catalog needs no second check; one that reads temporary
    // tables is checked as it runs anyway.
    session_.Main();
    if (entry_->checkedGeneration != session_.MainGeneration()) {
      for (const StatementPtr& s : batch.statements) Precompile(*s);
      entry_->checkedGeneration = session_.MainGeneration();
    }
    for (const StatementPtr& s : batch.statements)
      if (Execute(*s) == Flow::Return) break;
  } catch (const SqlError& e) {
    throw e.WithStatement(current_ ? StatementText(*current_) : std::string(text_));
  } catch (const std::exception& e) {
    // Whatever else fails (a value beyond a Variant's range, memory) reaches the host as SqlError.
    throw SqlError(e.what(), current_ ? StatementText(*current_) : std::string(text_));
  }
  return std::move(result_);
}

std::string Interpreter::StatementText(const Statement& s) const {
  if (s.end <= s.begin || s.end > text_.size()) return std::string(text_);
  return std::string(text_.substr(s.begin, s.end - s.begin));
}

// ---- Checking before running -------------------------------------------------------------------

void Interpreter::PrecompileNode(const void* node, Use use, const Statement& owner) {
  try {
    Prepared(node, use, owner, true);
  } catch (const DeferredName&) {
    // Reads a temporary table: translated when it runs.
  } catch (const SqlError& e) {
    // Objects created later in the batch are resolved when the statement runs, as SQL Server's
    // deferred name resolution does; any other error stops the batch before it starts.
    if (e.message().rfind("Invalid object name", 0) == 0) return;
    current_ = &owner;
    throw;
  }
}

void Interpreter::Precompile(const Statement& s) {
  auto expression = [&](const Expression* e, const Statement& owner) {
    if (!e || e->kind == ExpressionKind::Constant ||
        (e->kind == ExpressionKind::Variable && !e->As<VariableExpression>().IsSystem()))
      return;
    PrecompileNode(e, Use::Scalar, owner);
  };
  switch (s.kind) {
    case StatementKind::Select:
    case StatementKind::Insert:
    case StatementKind::Update:
    case StatementKind::Delete:
      PrecompileNode(&s, Use::Statement, s);
      break;
    case StatementKind::If: {
      const auto& i = s.As<IfStatement>();
      PrecompileNode(i.condition.get(), Use::Condition, s);
      Precompile(*i.then);
      if (i.otherwise) Precompile(*i.otherwise);
      break;
    }
    case StatementKind::While: {
      const auto& w = s.As<WhileStatement>();
      PrecompileNode(w.condition.get(), Use::Condition, s);
      Precompile(*w.body);
      break;
    }
    case StatementKind::Block:
      for (const StatementPtr& child : s.As<BlockStatement>().statements) Precompile(*child);
      break;
    case StatementKind::Declare:
      for (const VariableDeclaration& d : s.As<DeclareStatement>().variables)
        expression(d.initial.get(), s);
      break;
    case StatementKind::SetVariable: {
      const auto& v = s.As<SetVariableStatement>();
      if (v.op == '=')
        expression(v.value.get(), s);
      else
        PrecompileNode(&s, Use::Compound, s);
      break;
    }
    case StatementKind::Print:
      expression(s.As<PrintStatement>().value.get(), s);
      break;
    default:
      break;
  }
}

// ---- Translations and parameters ---------------------------------------------------------------

bool Interpreter::Valid(const detail::CachedStatement& c) const {
  if (c.generation != session_.MainGeneration()) return false;
  for (const TempDependency& d : c.translation.tempDependencies) {
    auto t = session_.temp.Find(d.key);
    if ((t ? t->objectId : 0) != d.objectId) return false;
  }
  for (const PinnedLiteral& p : c.translation.literalDependencies)
    if (texts_[static_cast<std::size_t>(p.slot)] != p.text) return false;
  return true;
}

Translation Interpreter::Translate(const void* node, Use use, const Statement& owner,
                                   bool deferTemp) {
  TranslatorInput in;
  in.main = &session_.Main();
  in.temp = &session_.temp;
  in.batch = entry_->batch.get();
  in.literalTexts = &texts_;
  in.literalValues = &values_;
  in.deferTemp = deferTemp;
  Translator translator(in);
  switch (use) {
    case Use::Statement:
      switch (owner.kind) {
        case StatementKind::Select:
          return translator.Select(owner.As<SelectStatement>());
        case StatementKind::Insert:
          return translator.Insert(owner.As<InsertStatement>());
        case StatementKind::Update:
          return translator.Update(owner.As<UpdateStatement>());
        case StatementKind::Delete:
          return translator.Delete(owner.As<DeleteStatement>());
        default:
          break;
      }
      break;
    case Use::Scalar:
      return translator.Scalar(*static_cast<const Expression*>(node));
    case Use::Condition:
      return translator.Condition(*static_cast<const Expression*>(node));
    case Use::Compound: {
      const auto& s = owner.As<SetVariableStatement>();
      return translator.Compound(s.variable, s.op, *s.value);
    }
  }
  throw SqlError("Internal error: nothing to translate.");
}

detail::CachedStatement& Interpreter::Prepared(const void* node, Use use, const Statement& owner,
                                               bool deferTemp) {
  session_.Main();  // refresh the generation when another session changed the catalog
  const std::uintptr_t key =
      reinterpret_cast<std::uintptr_t>(node) * 4 + static_cast<std::uintptr_t>(use);
  auto& list = entry_->statements[key];
  for (auto& c : list)
    if (Valid(*c)) return *c;
  auto c = std::make_unique<detail::CachedStatement>();
  c->translation = Translate(node, use, owner, deferTemp);
  c->generation = session_.MainGeneration();
  if (list.size() >= 8) list.erase(list.begin());
  list.push_back(std::move(c));
  return *list.back();
}

SqlValue Interpreter::ParameterValue(const Parameter& p) const {
  switch (p.source) {
    case ParameterSource::Literal:
      return values_[static_cast<std::size_t>(p.index)];
    case ParameterSource::Variable:
      return variables_[static_cast<std::size_t>(p.index)];
    case ParameterSource::Identity:
      return session_.hasIdentity ? SqlValue::Integer(session_.lastIdentity) : SqlValue::Null();
    case ParameterSource::RowCount:
      return SqlValue::Integer(session_.rowCount);
    case ParameterSource::Zero:
      return SqlValue::Integer(0);
    case ParameterSource::TranCount:
      return SqlValue::Integer(session_.depth);
  }
  return SqlValue::Null();
}

void Interpreter::BindTo(sqlite3_stmt* stmt, const std::vector<Parameter>& params) {
  for (std::size_t i = 0; i < params.size(); ++i) {
    const Parameter& p = params[i];
    const int index = static_cast<int>(i) + 1;
    const SqlValue* value = nullptr;
    SqlValue converted;
    if (p.source == ParameterSource::Literal && !p.convert && !p.asReal) {
      value = &values_[static_cast<std::size_t>(p.index)];
    } else {
      converted = ParameterValue(p);
      if (p.convert) converted = ConvertValue(converted, p.from, p.to, p.style, p.context);
      if (p.asReal && converted.kind == SqlValue::Kind::Integer)
        converted = SqlValue::Real(static_cast<double>(converted.integer));
      value = &converted;
    }
    switch (value->kind) {
      case SqlValue::Kind::Null:
        sqlite3_bind_null(stmt, index);
        break;
      case SqlValue::Kind::Integer:
        sqlite3_bind_int64(stmt, index, value->integer);
        break;
      case SqlValue::Kind::Real:
        sqlite3_bind_double(stmt, index, value->real);
        break;
      case SqlValue::Kind::Text:
        // Literal texts live as long as the batch; converted ones are copied.
        sqlite3_bind_text(stmt, index, value->text.data(), static_cast<int>(value->text.size()),
                          value == &converted ? SQLITE_TRANSIENT : SQLITE_STATIC);
        break;
    }
  }
}

void Interpreter::Bind(detail::CachedStatement& c) {
  if (!c.statement) c.statement = session_.connection.Prepare(c.translation.sql);
  sqlite3_stmt* stmt = c.statement.get();
  sqlite3_reset(stmt);
  BindTo(stmt, c.translation.params);
}

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
    case StatementKind::Select: {
      const auto& select = s.As<SelectStatement>();
      if (select.into)
        RunSelectInto(select);
      else if (select.assigns)
        RunAssignment(select);
      else
        RunQuery(select);
      return Flow::Normal;
    }
    case StatementKind::Insert:
    case StatementKind::Update:
    case StatementKind::Delete:
      RunModification(s);
      return Flow::Normal;
    case StatementKind::CreateTable:
    case StatementKind::CreateIndex:
    case StatementKind::CreateView:
    case StatementKind::Drop:
    case StatementKind::AlterTable:
    case StatementKind::Truncate:
      RunDdl(s);
      return Flow::Normal;
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
      return Flow::Normal;
    case StatementKind::SetVariable: {
      const auto& v = s.As<SetVariableStatement>();
      SqlType type;
      SqlValue value;
      if (v.op == '=') {
        value = Evaluate(*v.value, s, type);
      } else {
        detail::CachedStatement& c = Prepared(&s, Use::Compound, s);
        sqlite3_stmt* stmt = StepOneRow(c);
        type = c.translation.columns[0].type;
        value = sqlite::ReadValue(stmt, 0, type);
        sqlite3_reset(stmt);
      }
      Assign(v.variable, value, type);
      return Flow::Normal;
    }
    case StatementKind::SetOption:
      RunSetOption(s);
      return Flow::Normal;
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
    case StatementKind::Print: {
      SqlType type;
      Evaluate(*s.As<PrintStatement>().value, s, type);
      return Flow::Normal;
    }
  }
  return Flow::Normal;
}

void Interpreter::RunQuery(const SelectStatement& s) {
  detail::CachedStatement& c = Prepared(&s, Use::Statement, s);
  Bind(c);
  sqlite3_stmt* stmt = c.statement.get();
  const auto& columns = c.translation.columns;
  if (c.columns.size() != columns.size()) {
    c.columns.clear();
    for (const ResultColumn& col : columns)
      c.columns.push_back(Column{col.name, sqlite::VarTypeOf(col.type), col.type.ToString()});
  }
  ResultSet rs;
  rs.columns = c.columns;
  int rc;
  try {
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      std::vector<vb::Variant> row;
      row.reserve(columns.size());
      for (std::size_t i = 0; i < columns.size(); ++i)
        row.push_back(sqlite::ReadVariant(stmt, static_cast<int>(i), columns[i].type));
      rs.rows.push_back(std::move(row));
    }
  } catch (...) {
    sqlite3_reset(stmt);
    throw;
  }
  if (rc != SQLITE_DONE) {
    sqlite3_reset(stmt);
    session_.connection.Fail(c.translation.sql);
  }
  sqlite3_reset(stmt);
  session_.rowCount = static_cast<long long>(rs.rows.size());
  result_.resultSets.push_back(std::move(rs));
}

void Interpreter::RunAssignment(const SelectStatement& s) {
  detail::CachedStatement& c = Prepared(&s, Use::Statement, s);
  Bind(c);
  sqlite3_stmt* stmt = c.statement.get();
  const auto& columns = c.translation.columns;
  long long rows = 0;
  int rc;
  try {
    // Every row assigns in turn; the last one stays, as in SQL Server.
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      ++rows;
      for (std::size_t i = 0; i < columns.size(); ++i)
        Assign(c.translation.assignTo[i],
               sqlite::ReadValue(stmt, static_cast<int>(i), columns[i].type), columns[i].type);
    }
  } catch (...) {
    sqlite3_reset(stmt);
    throw;
  }
  if (rc != SQLITE_DONE) {
    sqlite3_reset(stmt);
    session_.connection.Fail(c.translation.sql);
  }
  sqlite3_reset(stmt);
  session_.rowCount = rows;
}

void Interpreter::RunSelectInto(const SelectStatement& s) {
  detail::CachedStatement& c = Prepared(&s, Use::Statement, s);
  const ObjectName& into = FirstSelect(s).into;
  TranslatorInput in{&session_.Main(), &session_.temp, entry_->batch.get(),
                     &texts_,          &values_,       false};
  Translator translator(in);
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
  Bind(c);
  sqlite3_stmt* stmt = c.statement.get();
  const int rc = sqlite3_step(stmt);
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
    sqlite3_reset(stmt);
    session_.connection.Fail(t.sql);
  }
  sqlite3_reset(stmt);
  const long long changes = session_.connection.Changes();
  if (!session_.nocount) result_.rowsAffected += changes;
  session_.rowCount = changes;
  if (s.kind == StatementKind::Insert && !t.insertTable.empty() && changes > 0) {
    session_.hasIdentity = true;
    session_.lastIdentity = session_.connection.LastInsertRowId();
  }
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
  TranslatorInput in{main.get(), &session_.temp, entry_->batch.get(), &texts_, &values_, false};
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

void Interpreter::RunSetOption(const Statement& s) {
  const auto& o = s.As<SetOptionStatement>();
  const std::string& name = o.option;
  if (name == "NOCOUNT") {
    session_.nocount = o.on;
    return;
  }
  if (name == "IDENTITY_INSERT") {
    TranslatorInput in{&session_.Main(), &session_.temp, entry_->batch.get(),
                       &texts_,          &values_,       false};
    Translator translator(in);
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

// ---- Values ------------------------------------------------------------------------------------

sqlite3_stmt* Interpreter::StepOneRow(detail::CachedStatement& c) {
  Bind(c);
  sqlite3_stmt* stmt = c.statement.get();
  if (sqlite3_step(stmt) != SQLITE_ROW) {
    sqlite3_reset(stmt);
    session_.connection.Fail(c.translation.sql);
  }
  return stmt;
}

SqlValue Interpreter::Evaluate(const Expression& e, const Statement& owner, SqlType& type) {
  if (e.kind == ExpressionKind::Constant) {
    const auto& c = e.As<ConstantExpression>();
    type = c.type;
    return c.IsNull() ? SqlValue::Null() : values_[static_cast<std::size_t>(c.slot)];
  }
  if (e.kind == ExpressionKind::Variable && !e.As<VariableExpression>().IsSystem()) {
    const int index = e.As<VariableExpression>().index;
    type = entry_->batch->variables[static_cast<std::size_t>(index)].type;
    return variables_[static_cast<std::size_t>(index)];
  }
  detail::CachedStatement& c = Prepared(&e, Use::Scalar, owner);
  sqlite3_stmt* stmt = StepOneRow(c);
  type = c.translation.columns[0].type;
  SqlValue v = sqlite::ReadValue(stmt, 0, type);
  sqlite3_reset(stmt);
  return v;
}

bool Interpreter::Condition(const Expression& e, const Statement& owner) {
  sqlite3_stmt* stmt = StepOneRow(Prepared(&e, Use::Condition, owner));
  const bool result = sqlite3_column_int(stmt, 0) != 0;
  sqlite3_reset(stmt);
  return result;
}

void Interpreter::Assign(int variable, const SqlValue& value, const SqlType& from) {
  const SqlType& to = entry_->batch->variables[static_cast<std::size_t>(variable)].type;
  variables_[static_cast<std::size_t>(variable)] =
      ConvertValue(value, from, to, -1, ConversionContext::Explicit);
}

}  // namespace zov::data::tsql
