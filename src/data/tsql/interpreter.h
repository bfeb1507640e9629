// Runs a batch: finds or parses its tree, checks every statement it can before running any (as
// SQL Server compiles a batch), then executes the statements in order: queries through their
// cached translations and prepared statements, variables, IF/WHILE, DDL with the catalog kept in
// step, temporary tables in the session's own schema.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "data/database.h"
#include "data/engine/connection.h"
#include "data/session_state.h"
#include "data/tsql/ast/statement.h"
#include "data/tsql/lexer.h"
#include "data/tsql/translator.h"

namespace zov::data::tsql {

class Expression;
class SelectStatement;

class Interpreter {
 public:
  explicit Interpreter(detail::SessionState& session)
      : session_(session),
        lexed_(session.lexed),
        texts_(session.literalTexts),
        values_(session.literalValues) {}

  // Reads the batch `text`: finds or parses its tree; throws SqlError when it does not parse.
  void Load(std::string_view text);
  // Whether the loaded batch needs a transaction to be all or nothing: a batch that only reads,
  // or is one writing statement, does not.
  bool WritesInSteps();
  // Whether the loaded batch may write the database's tables (not only temporary ones).
  bool WritesDatabase();
  // Runs the loaded batch; throws SqlError naming the failing statement.
  BatchResult Run();
  // Load, then Run.
  BatchResult Run(std::string_view text) {
    Load(text);
    return Run();
  }

 private:
  enum class Flow { Normal, Break, Continue, Return };
  enum class Use : std::uintptr_t { Statement = 0, Scalar = 1, Condition = 2, Compound = 3 };

  Flow Execute(const Statement& s);
  // A statement that neither branches nor loops.
  void ExecuteSimple(const Statement& s);
  Flow ExecuteList(const StatementList& list);
  void Precompile(const Statement& s);
  void PrecompileNode(const void* node, Use use, const Statement& owner);

  detail::CachedStatement& Prepared(const void* node, Use use, const Statement& owner,
                                    bool deferTemp = false);
  Translation Translate(const void* node, Use use, const Statement& owner, bool deferTemp);
  // What the translator reads: the catalogs, the batch, its literals and the engine's dialect.
  TranslatorInput Input(bool deferTemp);
  bool Valid(const detail::CachedStatement& c) const;
  // The values of `params` as bound to ?1 .. ?n, valid until the next call.
  const engine::Bound& BindValues(const std::vector<Parameter>& params);
  SqlValue ParameterValue(const Parameter& p) const;
  // Runs a cached statement (prepared on first use), showing its rows to `rows`; the rows it
  // changed.
  long long RunCached(detail::CachedStatement& c, engine::RowVisitor rows = {});
  // Runs `run` so that a failure undoes `run` alone, where a failed statement would otherwise
  // spoil the open transaction.
  template <class F>
  auto Guarded(F&& run);

  void RunQuery(const SelectStatement& s);
  void RunAssignment(const SelectStatement& s);
  void RunSelectInto(const SelectStatement& s);
  void RunModification(const Statement& s);
  void RunDdl(const Statement& s);
  void RunSetOption(const Statement& s);
  void RunTransaction(const Statement& s);

  // The single row of a statement of one value (SELECT expr), as a value of its type.
  SqlValue OneValue(detail::CachedStatement& c, SqlType& type);
  SqlValue Evaluate(const Expression& e, const Statement& owner, SqlType& type);
  bool Condition(const Expression& e, const Statement& owner);
  void Assign(int variable, const SqlValue& value, const SqlType& from);

  std::string StatementText(const Statement& s) const;
  void ChangeCatalog(const TableInfo* table, bool temp, const std::string& name);

  detail::SessionState& session_;
  std::string_view text_;
  LexedBatch& lexed_;  // the session's storage, reused
  std::vector<std::string_view>& texts_;
  std::vector<SqlValue>& values_;
  detail::CachedBatch* entry_ = nullptr;
  std::vector<SqlValue> variables_;
  const std::vector<SqlValue>* row_ = nullptr;  // the row a row-by-row assignment is at
  engine::Bound bound_;                         // what BindValues gives out
  std::vector<SqlValue> boundValues_;           // the converted values it points to
  BatchResult result_;
  const Statement* current_ = nullptr;
};

template <class F>
auto Interpreter::Guarded(F&& run) {
  if (session_.depth == 0 || session_.inAtomic || !session_.dialect->errorAbortsTransaction)
    return run();
  engine::Connection& connection = *session_.connection;
  connection.Savepoint("zov_statement");
  try {
    if constexpr (std::is_void_v<decltype(run())>) {
      run();
      connection.Release("zov_statement");
    } else {
      auto result = run();
      connection.Release("zov_statement");
      return result;
    }
  } catch (...) {
    try {
      connection.RollbackTo("zov_statement");
      connection.Release("zov_statement");
    } catch (...) {
    }
    throw;
  }
}

}  // namespace zov::data::tsql
