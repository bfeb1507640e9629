#include "data/tsql/interpreter.h"

#include <fmt/format.h>

#include <optional>

#include "data/sql_error.h"
#include "data/tsql/ast/block_statement.h"
#include "data/tsql/ast/constant_expression.h"
#include "data/tsql/ast/create_table_statement.h"
#include "data/tsql/ast/declare_statement.h"
#include "data/tsql/ast/delete_statement.h"
#include "data/tsql/ast/drop_statement.h"
#include "data/tsql/ast/if_statement.h"
#include "data/tsql/ast/insert_statement.h"
#include "data/tsql/ast/print_statement.h"
#include "data/tsql/ast/select_node.h"
#include "data/tsql/ast/select_statement.h"
#include "data/tsql/ast/set_operation_node.h"
#include "data/tsql/ast/set_variable_statement.h"
#include "data/tsql/ast/truncate_statement.h"
#include "data/tsql/ast/update_statement.h"
#include "data/tsql/ast/variable_expression.h"
#include "data/tsql/ast/while_statement.h"
#include "data/tsql/parser.h"
#include "data/tsql/translator.h"

namespace zov::data::tsql {

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
// `database`: one of them writes a table of the database, not only temporary ones.
int WriteSteps(const Statement& s, bool& database) {
  auto writes = [&](bool temp) {
    if (!temp) database = true;
    return 1;
  };
  switch (s.kind) {
    case StatementKind::Select: {
      const auto& select = s.As<SelectStatement>();
      if (!select.into) return 0;
      const QueryNode* first = select.query->body.get();
      while (first->kind == QueryNodeKind::SetOperation)
        first = first->As<SetOperationNode>().left.get();
      return writes(first->As<SelectNode>().into.IsTemp());
    }
    case StatementKind::Insert:
      return writes(s.As<InsertStatement>().target.IsTemp());
    case StatementKind::Update:
      return writes(s.As<UpdateStatement>().target.IsTemp());
    case StatementKind::Delete:
      return writes(s.As<DeleteStatement>().target.IsTemp());
    case StatementKind::CreateTable:
      return writes(s.As<CreateTableStatement>().name.IsTemp());
    case StatementKind::Drop: {
      bool temp = true;
      for (const ObjectName& n : s.As<DropStatement>().names) temp = temp && n.IsTemp();
      return writes(temp);
    }
    case StatementKind::Truncate:
      return writes(s.As<TruncateStatement>().table.IsTemp());
    case StatementKind::CreateIndex:
    case StatementKind::CreateView:
    case StatementKind::AlterTable:
      return writes(false);
    case StatementKind::Transaction:
      database = true;
      return 2;
    case StatementKind::If: {
      const auto& i = s.As<IfStatement>();
      return WriteSteps(*i.then, database) + (i.otherwise ? WriteSteps(*i.otherwise, database) : 0);
    }
    case StatementKind::While:
      return 2 * WriteSteps(*s.As<WhileStatement>().body, database);
    case StatementKind::Block: {
      int n = 0;
      for (const StatementPtr& c : s.As<BlockStatement>().statements) n += WriteSteps(*c, database);
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
    bool database = false;
    for (const StatementPtr& s : list) n += WriteSteps(*s, database);
    // One writing statement alone is atomic by itself; anything after a write could still fail.
    const bool single = list.size() == 1 && n == 1 && list.front()->kind != StatementKind::If &&
                        list.front()->kind != StatementKind::Block;
    entry_->writeSteps = single ? 1 : n == 0 ? 0 : 2;
    entry_->writesDatabase = database;
  }
  return entry_->writeSteps > 1;
}

bool Interpreter::WritesDatabase() {
  WritesInSteps();
  return entry_->writesDatabase;
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
  Translator translator(Input(deferTemp));
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

TranslatorInput Interpreter::Input(bool deferTemp) {
  TranslatorInput in;
  in.main = &session_.Main();
  in.temp = &session_.temp;
  in.batch = entry_->batch.get();
  in.literalTexts = &texts_;
  in.literalValues = &values_;
  in.deferTemp = deferTemp;
  in.dialect = session_.dialect;
  return in;
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
    case ParameterSource::Null:
      return SqlValue::Null();
    case ParameterSource::RowValue:
      return (*row_)[static_cast<std::size_t>(p.index)];
    case ParameterSource::ObjectId: {
      std::string texts[2];
      for (std::size_t i = 0; i < p.items.size() && i < 2; ++i) {
        const Parameter& item = p.items[i];
        const SqlValue v =
            ConvertValue(ParameterValue(item), item.from, item.to, item.style, item.context);
        if (v.IsNull()) {
          if (i == 0) return SqlValue::Null();
          continue;
        }
        texts[i] = v.text;
      }
      const std::optional<long long> id = session_.ObjectId(texts[0], texts[1]);
      return id ? SqlValue::Integer(*id) : SqlValue::Null();
    }
    case ParameterSource::List: {
      std::vector<SqlValue> values;
      values.reserve(p.items.size());
      for (const Parameter& item : p.items)
        values.push_back(
            ConvertValue(ParameterValue(item), item.from, item.to, item.style, item.context));
      return SqlValue::Text(session_.dialect->listParameter(values, p.from));
    }
  }
  return SqlValue::Null();
}

const engine::Bound& Interpreter::BindValues(const std::vector<Parameter>& params) {
  bound_.resize(params.size());
  // Converted values live here; the storage never moves while it is being filled.
  boundValues_.resize(params.size());
  for (std::size_t i = 0; i < params.size(); ++i) {
    const Parameter& p = params[i];
    if (p.source == ParameterSource::Literal && !p.convert && !p.asReal) {
      bound_[i] = &values_[static_cast<std::size_t>(p.index)];
      continue;
    }
    SqlValue& v = boundValues_[i];
    v = ParameterValue(p);
    if (p.convert) v = ConvertValue(v, p.from, p.to, p.style, p.context);
    if (p.asReal && v.kind == SqlValue::Kind::Integer)
      v = SqlValue::Real(static_cast<double>(v.integer));
    bound_[i] = &v;
  }
  return bound_;
}

long long Interpreter::RunCached(detail::CachedStatement& c, engine::RowVisitor rows) {
  engine::Connection& connection = *session_.connection;
  if (!c.statement) c.statement = connection.Prepare(c.translation.sql);
  return connection.Run(*c.statement, BindValues(c.translation.params), rows,
                        c.translation.writesDatabase);
}

// ---- Values ------------------------------------------------------------------------------------

SqlValue Interpreter::OneValue(detail::CachedStatement& c, SqlType& type) {
  type = c.translation.columns[0].type;
  std::optional<SqlValue> value;
  RunCached(c, [&](const engine::Row& row) {
    if (!value) value = row.Value(0, type);
  });
  if (!value) throw SqlError("Internal error: a value's statement gave no row.");
  return std::move(*value);
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
  return OneValue(Prepared(&e, Use::Scalar, owner), type);
}

bool Interpreter::Condition(const Expression& e, const Statement& owner) {
  return Guarded([&] {
    bool result = false;
    RunCached(Prepared(&e, Use::Condition, owner),
              [&](const engine::Row& row) { result = row.Integer(0) != 0; });
    return result;
  });
}

void Interpreter::Assign(int variable, const SqlValue& value, const SqlType& from) {
  const SqlType& to = entry_->batch->variables[static_cast<std::size_t>(variable)].type;
  variables_[static_cast<std::size_t>(variable)] =
      ConvertValue(value, from, to, -1, ConversionContext::Explicit);
}

}  // namespace zov::data::tsql
