// Translates statements of the syntax tree to SQLite SQL with SQL Server's semantics, using the
// catalog for the declared types of columns.
//
// Every expression is typed as SQL Server types it. The types decide what "+" means (addition,
// date arithmetic or concatenation), how operands of different types convert before they meet,
// where integer division truncates, the scale of decimal results, and which comparisons ignore
// case. Literals and variables become parameters; when they meet a typed operand they carry the
// conversion to that type so that SQLite compares canonical values. Anything SQL Server would
// reject, and anything this front end cannot reproduce exactly, raises SqlError.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/tsql/ast/batch.h"
#include "data/tsql/ast/create_index_statement.h"
#include "data/tsql/ast/create_table_statement.h"
#include "data/tsql/ast/create_view_statement.h"
#include "data/tsql/ast/delete_statement.h"
#include "data/tsql/ast/expression.h"
#include "data/tsql/ast/insert_statement.h"
#include "data/tsql/ast/query.h"
#include "data/tsql/ast/select_node.h"
#include "data/tsql/ast/select_statement.h"
#include "data/tsql/ast/update_statement.h"
#include "data/tsql/catalog.h"
#include "data/tsql/dialect.h"
#include "data/tsql/translation.h"

namespace zov::data::tsql {

class FunctionExpression;
class ColumnRefExpression;
class SetOperationNode;

// What a translation reads besides the statement.
struct TranslatorInput {
  const Catalog* main = nullptr;                                // the database's tables and views
  const Catalog* temp = nullptr;                                // the session's temporary tables
  const Batch* batch = nullptr;                                 // variables of the batch
  const std::vector<std::string_view>* literalTexts = nullptr;  // token text of each literal
  const std::vector<SqlValue>* literalValues = nullptr;         // value of each literal
  bool deferTemp = false;  // throw DeferredName on a temporary table (checking a batch early)
  const Dialect* dialect = nullptr;  // the engine's SQL
};

// Thrown instead of translating a statement that reads a temporary table while a batch is checked
// before it runs: the table may be created by the batch itself.
struct DeferredName {};

// The engine's CREATE TABLE for a T-SQL one, with what the catalog records.
struct CreateTablePlan {
  std::string sql;
  std::vector<ColumnInfo> columns;
  std::vector<std::vector<int>> uniqueKeys;  // the primary key and UNIQUE keys, by column position
  long long identitySeed = 1;                // the identity column's first value
};

class Translator {
 public:
  explicit Translator(TranslatorInput input);

  // SELECT (returning rows, assigning variables, or the query part of SELECT ... INTO).
  Translation Select(const SelectStatement& statement);
  // A query on its own (view bodies, INSERT ... SELECT sources).
  Translation Query(const tsql::Query& query);
  Translation Insert(const InsertStatement& statement);
  Translation Update(const UpdateStatement& statement);
  Translation Delete(const DeleteStatement& statement);
  // "SELECT expr": the value of a SET, DECLARE or PRINT expression.
  Translation Scalar(const Expression& expression);
  // "SELECT CASE WHEN condition THEN 1 ELSE 0 END" for IF and WHILE.
  Translation Condition(const Expression& condition);
  // "SELECT @v op value" for SET @v += value and the like.
  Translation Compound(int variable, char op, const Expression& value);

  // DDL: SQLite text for the statement, with the columns the catalog records.
  CreateTablePlan CreateTable(const CreateTableStatement& statement);
  // The CREATE TABLE for SELECT ... INTO `name` with the given result columns.
  CreateTablePlan CreateTableFor(const ObjectName& name, const std::vector<ResultColumn>& columns);
  // The engine's CREATE VIEW, literals written into its text.
  Translation CreateView(const CreateViewStatement& statement);
  std::string CreateIndex(const CreateIndexStatement& statement);
  // ALTER TABLE ADD: one SQLite statement per column.
  std::vector<std::string> AddColumns(const ObjectName& table,
                                      const std::vector<ColumnDefinition>& columns,
                                      std::vector<ColumnInfo>& added);

  // The engine's name of a table: "name", or temp."#name" in SQLite's dialect.
  static std::string TableSql(const Dialect& dialect, const TableInfo& table);
  std::string TableSql(const TableInfo& table) const { return TableSql(*in_.dialect, table); }
  // Quotes an identifier.
  static std::string Quote(std::string_view name);
  // The table a statement names, or null (Tempdb.dbo.#t and dbo.t are understood).
  std::shared_ptr<const TableInfo> FindTable(const ObjectName& name);

 private:
  struct Emitted {
    std::string sql;
    SqlType type;
    bool column = false;   // a plain column reference: carries the column's collation
    int param = -1;        // the expression is exactly this parameter
    bool inexact = false;  // decimal arithmetic not yet rounded to its scale
    // `sql` is a parenthesised chain of operators of one precedence group ('+' for + and -, '*',
    // 'A' for AND, 'O' for OR) while it keeps the size it had when the chain was made.
    char chain = 0;
    std::size_t chainSize = 0;
  };

  struct Source {
    std::string exposed;   // the alias, or the table's name
    std::string sqlAlias;  // the alias emitted for SQLite
    std::vector<ResultColumn> columns;
    const TableInfo* table = nullptr;
  };

  struct Scope {
    std::vector<Source> sources;
    const Scope* outer = nullptr;
  };

  struct Resolved {
    const Source* source = nullptr;
    int column = -1;
    int depth = 0;  // 0: the current scope
  };

  struct Core {  // one translated SELECT, before its items are joined
    std::vector<Emitted> items;
    std::vector<std::string> names;
    std::string head;   // "SELECT" or "SELECT DISTINCT"
    std::string body;   // FROM ... HAVING ...
    std::string order;  // " ORDER BY ..."
    std::string limit;  // " LIMIT n"
  };

  // ---- queries (translator.cc)
  Translation Finish(std::string sql, std::vector<ResultColumn> columns);
  // SELECT @v = ...: one statement, or, when an item reads a variable the SELECT assigns, a query
  // of the items' other parts and a step per item evaluated for each of its rows.
  Translation Assignment(const tsql::Query& query, const SelectNode& core);
  // Collects the largest parts of `e` that read none of `assigned`.
  void Lift(const Expression& e, const std::vector<int>& assigned,
            std::vector<const Expression*>& lifted);
  // `sql` with every ?n written as the dialect writes parameter n.
  std::string WriteParameters(const std::string& sql) const;
  // `sql` with every ?n replaced by the value of its literal (a view keeps no parameters).
  std::string InlineLiterals(const std::string& sql) const;
  // `derived`: the query feeds another (derived table, view, subquery, INSERT): its columns are
  // named and its decimal results rounded in SQL. `names` renames the columns.
  std::string QuerySql(const tsql::Query& query, const Scope* outer,
                       std::vector<ResultColumn>& columns, bool derived, bool inSubquery,
                       const std::vector<std::string>* names);
  // `lifted`: the select list is these parts of the node's items (a row-by-row assignment).
  Core TranslateCore(const SelectNode& node, const Scope* outer,
                     const std::vector<OrderItem>* orderBy, bool inSubquery,
                     const std::vector<const Expression*>* lifted = nullptr);
  std::string RenderCore(const Core& core, const std::vector<ResultColumn>* target, bool derived);
  void CollectLeaves(const QueryNode& node, std::vector<const SelectNode*>& leaves);
  // Whether the outermost operation removes duplicates (UNION, EXCEPT, INTERSECT).
  static bool DistinctSet(const SetOperationNode& node);
  std::string SetOperationSql(const SetOperationNode& node, const Scope* outer,
                              std::vector<ResultColumn>& columns, bool derived,
                              const std::vector<std::string>* names);
  std::string FromSql(const std::vector<TableRefPtr>& from, Scope& scope);
  // The table an UPDATE or DELETE (`verb`, with `of` the word its messages put before an object)
  // changes, added to `scope` with the FROM clause's sources (`fromSql`); refuses derived tables,
  // views and a table FROM names only by alias.
  const Source& ModifiedSource(const ObjectName& name, const std::vector<TableRefPtr>& from,
                               const char* verb, const char* of, Scope& scope,
                               std::string& fromSql);
  std::string TableRefSql(const TableRef& ref, Scope& scope, bool parenthesise);
  void AddTableSource(const TableInfo& table, const std::string& alias, Scope& scope,
                      std::string& sql);
  std::string NewAlias();
  void CollectNullRejected(const Expression& where);
  bool NullRejected(const TableRef& ref) const;

  // ---- names
  Resolved Resolve(const ColumnRefExpression& ref, const Scope& scope);
  bool SameExpression(const Expression& a, const Expression& b, const Scope& scope);
  bool ContainsAggregate(const Expression& e) const;
  static bool UsesVariable(const Expression& e, const std::vector<int>& variables);
  void CheckGrouped(const Expression& e, const ExpressionList& groupBy, const Scope& scope,
                    const char* clause);
  void DependOnLiteral(int slot);

  // ---- expressions (translator_expression.cc)
  Emitted Value(const Expression& e, const Scope& scope);
  Emitted Predicate(const Expression& e, const Scope& scope);
  Emitted Emit(const Expression& e, const Scope& scope);
  Emitted EmitColumn(const ColumnRefExpression& ref, const Scope& scope);
  Emitted EmitConstant(const Expression& e);
  Emitted EmitVariable(const Expression& e);
  Emitted EmitBinary(const Expression& e, const Scope& scope);
  Emitted Arithmetic(char op, Emitted l, Emitted r);
  static void Chain(Emitted& out, const Emitted& l, std::string_view op, const Emitted& r,
                    char group);
  Emitted EmitComparison(const Expression& e, const Scope& scope);
  Emitted EmitIn(const Expression& e, const Scope& scope);
  Emitted EmitLike(const Expression& e, const Scope& scope);
  Emitted EmitBetween(const Expression& e, const Scope& scope);
  Emitted EmitCase(const Expression& e, const Scope& scope);
  Emitted EmitCast(const Expression& e, const Scope& scope);
  Emitted EmitScalarSubquery(const tsql::Query& query, const Scope& scope);
  bool SingleRow(const tsql::Query& query);
  std::string SingleColumnQuery(const tsql::Query& query, const Scope& scope,
                                std::vector<ResultColumn>& columns,
                                const std::vector<std::string>& names);

  // ---- functions (translator_function.cc)
  Emitted EmitFunction(const FunctionExpression& f, const Scope& scope);
  Emitted EmitAggregate(const FunctionExpression& f, const Scope& scope);
  Emitted EmitDateFunction(const FunctionExpression& f, const Scope& scope);
  Emitted EmitStringFunction(const FunctionExpression& f, const std::string& name,
                             const Scope& scope);

  // ---- conversions (translator_conversion.cc)
  Emitted ConvertTo(Emitted e, const SqlType& to, int style = -1,
                    ConversionContext context = ConversionContext::Explicit);
  Emitted ForWrite(Emitted e, const SqlType& column);
  Emitted Exact(Emitted e);
  Emitted AsText(Emitted e);
  std::string Collated(const Emitted& e) const;
  std::string Comparable(const Emitted& e) const;
  void Unify(Emitted& a, Emitted& b, const char* what);
  SqlType CommonResultType(const std::vector<SqlType>& types, const char* what);
  // The common type of a CASE's results; a CASE whose results are all NULL is refused.
  SqlType CaseResultType(const std::vector<SqlType>& types);
  std::string AddParameter(Parameter p);
  static bool SameClass(const SqlType& a, const SqlType& b);

  // ---- DDL (translator_ddl.cc)
  std::string ColumnSql(const ColumnDefinition& c, bool asRowId, bool forceNotNull);
  std::string DefaultSql(const Expression& e, const SqlType& type);

  TranslatorInput in_;
  std::vector<Parameter> params_;
  std::vector<PinnedLiteral> literalDependencies_;
  std::vector<TempDependency> tempDependencies_;
  int aliasCounter_ = 0;
  // Upper-cased qualifiers that the WHERE clause of the SELECT being translated rejects NULL for.
  std::vector<std::string> nullRejected_;
  int aggregateDepth_ = 0;  // > 0 while inside an aggregate's arguments
  // Parts of an assignment's items that come from the current row, by their place in it.
  struct RowValue {
    int index;
    SqlType type;
  };
  std::unordered_map<const Expression*, RowValue> rowValues_;
  bool aggregatesAllowed_ = false;
};

}  // namespace zov::data::tsql
