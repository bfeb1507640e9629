// Queries: SELECT, set operations, FROM, name resolution and grouping rules.
#include "data/tsql/translator.h"

#include <fmt/format.h>

#include <cctype>
#include <functional>

#include "data/sql_error.h"
#include "data/tsql/ast/base_table_ref.h"
#include "data/tsql/ast/between_expression.h"
#include "data/tsql/ast/binary_expression.h"
#include "data/tsql/ast/case_expression.h"
#include "data/tsql/ast/cast_expression.h"
#include "data/tsql/ast/column_ref_expression.h"
#include "data/tsql/ast/comparison_expression.h"
#include "data/tsql/ast/constant_expression.h"
#include "data/tsql/ast/derived_table_ref.h"
#include "data/tsql/ast/function_expression.h"
#include "data/tsql/ast/in_expression.h"
#include "data/tsql/ast/is_null_expression.h"
#include "data/tsql/ast/join_ref.h"
#include "data/tsql/ast/like_expression.h"
#include "data/tsql/ast/logical_expression.h"
#include "data/tsql/ast/not_expression.h"
#include "data/tsql/ast/set_operation_node.h"
#include "data/tsql/ast/star_expression.h"
#include "data/tsql/ast/unary_expression.h"
#include "data/tsql/ast/variable_expression.h"
#include "data/tsql/text_rules.h"

namespace zov::data::tsql {

namespace {

bool IsAggregateName(std::string_view name) {
  static const char* const kAggregates[] = {"COUNT",        "COUNT_BIG", "SUM",       "AVG", "MIN",
                                            "MAX",          "STDEV",     "STDEVP",    "VAR", "VARP",
                                            "CHECKSUM_AGG", "GROUPING",  "STRING_AGG"};
  for (const char* a : kAggregates)
    if (EqualsNoCase(name, a)) return true;
  return false;
}

bool HasRightOrFullJoin(const TableRef& ref) {
  if (ref.kind != TableRefKind::Join) return false;
  const auto& j = ref.As<JoinRef>();
  return j.type == JoinType::Right || j.type == JoinType::Full || HasRightOrFullJoin(*j.left) ||
         HasRightOrFullJoin(*j.right);
}

// Calls `visit` for each operand of `e` (not for what subqueries hold).
template <class Visit>
void ForEachChild(const Expression& e, Visit&& visit) {
  auto each = [&](const ExpressionPtr& x) {
    if (x) visit(*x);
  };
  switch (e.kind) {
    case ExpressionKind::Unary:
      each(e.As<UnaryExpression>().operand);
      return;
    case ExpressionKind::Binary:
      each(e.As<BinaryExpression>().left);
      each(e.As<BinaryExpression>().right);
      return;
    case ExpressionKind::Comparison:
      each(e.As<ComparisonExpression>().left);
      each(e.As<ComparisonExpression>().right);
      return;
    case ExpressionKind::Logical:
      each(e.As<LogicalExpression>().left);
      each(e.As<LogicalExpression>().right);
      return;
    case ExpressionKind::Not:
      each(e.As<NotExpression>().operand);
      return;
    case ExpressionKind::IsNull:
      each(e.As<IsNullExpression>().operand);
      return;
    case ExpressionKind::Between:
      each(e.As<BetweenExpression>().operand);
      each(e.As<BetweenExpression>().low);
      each(e.As<BetweenExpression>().high);
      return;
    case ExpressionKind::Like:
      each(e.As<LikeExpression>().operand);
      each(e.As<LikeExpression>().pattern);
      each(e.As<LikeExpression>().escape);
      return;
    case ExpressionKind::In:
      each(e.As<InExpression>().operand);
      for (const ExpressionPtr& x : e.As<InExpression>().list) each(x);
      return;
    case ExpressionKind::Case: {
      const auto& c = e.As<CaseExpression>();
      each(c.operand);
      for (const CaseWhen& w : c.whens) {
        each(w.when);
        each(w.then);
      }
      each(c.otherwise);
      return;
    }
    case ExpressionKind::Function:
      for (const ExpressionPtr& x : e.As<FunctionExpression>().args) each(x);
      return;
    case ExpressionKind::Cast:
      each(e.As<CastExpression>().operand);
      return;
    default:
      return;
  }
}

int FindName(const std::vector<ResultColumn>& columns, std::string_view name) {
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (EqualsNoCase(columns[i].name, name)) return static_cast<int>(i);
  return -1;
}

}  // namespace

Translator::Translator(TranslatorInput input) : in_(input) {}

std::string Translator::Quote(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') out += '"';
  }
  out += '"';
  return out;
}

std::string Translator::TableSql(const Dialect& dialect, const TableInfo& table) {
  return table.temp ? std::string(dialect.tempSchema) + Quote(table.name) : Quote(table.name);
}

std::string Translator::NewAlias() { return fmt::format("\"s{}\"", ++aliasCounter_); }

void Translator::DependOnLiteral(int slot) {
  if (slot < 0) return;
  for (const PinnedLiteral& p : literalDependencies_)
    if (p.slot == slot) return;
  literalDependencies_.push_back(
      PinnedLiteral{slot, std::string((*in_.literalTexts)[static_cast<std::size_t>(slot)])});
}

std::shared_ptr<const TableInfo> Translator::FindTable(const ObjectName& name) {
  if (name.IsTemp()) {
    if (in_.deferTemp) throw DeferredName{};
    if (!name.database.empty() && !EqualsNoCase(name.database, "tempdb")) return nullptr;
    if (name.name.size() > 1 && name.name[1] == '#')
      throw SqlError(
          fmt::format("Unsupported T-SQL construct: global temporary table {}.", name.name));
    auto t = in_.temp->Find(name.name);
    const std::string key = Catalog::Key(name.name);
    bool recorded = false;
    for (const TempDependency& d : tempDependencies_)
      if (d.key == key) recorded = true;
    if (!recorded) tempDependencies_.push_back(TempDependency{key, t ? t->objectId : 0});
    return t;
  }
  if (!name.database.empty() && !EqualsNoCase(name.database, "tempdb"))
    throw SqlError(fmt::format("Unsupported T-SQL construct: a table of another database ({}.{}).",
                               name.database, name.name));
  if (!name.schema.empty() && !EqualsNoCase(name.schema, "dbo")) return nullptr;
  return in_.main->Find(name.name);
}

Translation Translator::Finish(std::string sql, std::vector<ResultColumn> columns) {
  Translation t;
  t.sql = in_.dialect->parameter ? WriteParameters(sql) : std::move(sql);
  t.params = std::move(params_);
  t.columns = std::move(columns);
  t.literalDependencies = std::move(literalDependencies_);
  t.tempDependencies = std::move(tempDependencies_);
  params_.clear();
  literalDependencies_.clear();
  tempDependencies_.clear();
  return t;
}

namespace {

// `sql` with every ?n outside quoted names and texts replaced by `write(n)`.
template <class Write>
std::string ReplaceParameters(const std::string& sql, Write&& write) {
  std::string out;
  out.reserve(sql.size() + sql.size() / 4);
  for (std::size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (c == '\'' || c == '"') {
      const std::size_t end = sql.find(c, i + 1);
      const std::size_t stop = end == std::string::npos ? sql.size() : end + 1;
      out.append(sql, i, stop - i);
      i = stop - 1;
      continue;
    }
    if (c != '?' || i + 1 >= sql.size() || !std::isdigit(static_cast<unsigned char>(sql[i + 1]))) {
      out += c;
      continue;
    }
    std::size_t j = i + 1;
    int n = 0;
    while (j < sql.size() && std::isdigit(static_cast<unsigned char>(sql[j])))
      n = n * 10 + (sql[j++] - '0');
    out += write(n);
    i = j - 1;
  }
  return out;
}

}  // namespace

std::string Translator::WriteParameters(const std::string& sql) const {
  return ReplaceParameters(sql, [&](int n) {
    const Parameter& p = params_[static_cast<std::size_t>(n - 1)];
    // A divisor bound as a double divides exactly; the engine takes it as an exact number.
    return in_.dialect->parameter(n,
                                  p.asReal    ? SqlType::Decimal(38, 10)
                                  : p.convert ? p.to
                                              : p.from,
                                  p.source == ParameterSource::List);
  });
}

std::string Translator::InlineLiterals(const std::string& sql) const {
  return ReplaceParameters(sql, [&](int n) {
    const Parameter& p = params_[static_cast<std::size_t>(n - 1)];
    if (p.source != ParameterSource::Literal)
      throw SqlError(
          "Unsupported T-SQL construct: variables, system functions or a long IN list in a view.");
    SqlValue v = (*in_.literalValues)[static_cast<std::size_t>(p.index)];
    if (p.convert) v = ConvertValue(v, p.from, p.to, p.style, p.context);
    if (p.asReal && v.kind == SqlValue::Kind::Integer)
      v = SqlValue::Real(static_cast<double>(v.integer));
    return in_.dialect->literal(v, p.convert ? p.to : p.from);
  });
}

// ---- Statements --------------------------------------------------------------------------------

Translation Translator::Select(const SelectStatement& statement) {
  const QueryNode* first = statement.query->body.get();
  while (first->kind == QueryNodeKind::SetOperation)
    first = first->As<SetOperationNode>().left.get();
  const auto& core = first->As<SelectNode>();
  if (statement.assigns) return Assignment(*statement.query, core);
  std::vector<ResultColumn> columns;
  std::string sql = QuerySql(*statement.query, nullptr, columns, false, false, nullptr);
  if (statement.into) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (columns[i].name.empty())
        throw SqlError(
            "An object or column name is missing or empty. For SELECT INTO statements, verify each "
            "column has a name.");
      for (std::size_t j = 0; j < i; ++j)
        if (EqualsNoCase(columns[i].name, columns[j].name))
          throw SqlError(
              fmt::format("Column names in each table must be unique. Column name '{}' in table "
                          "'{}' is specified more than once.",
                          columns[i].name, core.into.name));
    }
  }
  return Finish(std::move(sql), std::move(columns));
}

Translation Translator::Assignment(const tsql::Query& query, const SelectNode& core) {
  std::vector<int> assigned;
  bool rowByRow = false;
  for (const SelectItem& item : core.items) {
    assigned.push_back(item.assignTo);
    if (item.assignOp != '=') rowByRow = true;
  }
  // SQL Server evaluates SELECT @v = @v + x row by row: an item that reads an assigned variable
  // sees the value the rows before gave it.
  if (!core.from.empty())
    for (const SelectItem& item : core.items)
      if (UsesVariable(*item.expression, assigned)) rowByRow = true;
  if (!rowByRow) {
    std::vector<ResultColumn> columns;
    std::string sql = QuerySql(query, nullptr, columns, false, false, nullptr);
    Translation t = Finish(std::move(sql), std::move(columns));
    t.assignTo = std::move(assigned);
    t.assignOps.assign(t.assignTo.size(), '=');
    return t;
  }
  if (core.distinct)
    throw SqlError(
        "Unsupported T-SQL construct: SELECT DISTINCT that assigns variables row by row.");
  // The query yields, row by row, the parts of the items that read no assigned variable; each
  // item is then a statement of its own over those parts and the variables as they stand.
  std::vector<const Expression*> lifted;
  for (const SelectItem& item : core.items) Lift(*item.expression, assigned, lifted);
  Core rows = TranslateCore(core, nullptr, &query.orderBy, false, &lifted);
  if (rows.items.empty()) {  // every item is variables and constants: one column to count rows
    Emitted one;
    one.sql = "1";
    one.type = SqlType::Of(TypeId::Int);
    rows.items.push_back(one);
    rows.names.emplace_back();
  }
  std::vector<ResultColumn> columns;
  for (std::size_t i = 0; i < rows.items.size(); ++i)
    columns.push_back(ResultColumn{rows.names[i], rows.items[i].type});
  std::string sql = RenderCore(rows, nullptr, false);
  Translation t = Finish(std::move(sql), columns);
  for (std::size_t i = 0; i < lifted.size(); ++i)
    rowValues_[lifted[i]] = RowValue{static_cast<int>(i), columns[i].type};
  for (const SelectItem& item : core.items) {
    Scope none;
    Emitted v = Value(*item.expression, none);
    if (item.assignOp != '=') {
      Parameter p;
      p.source = ParameterSource::Variable;
      p.index = item.assignTo;
      p.from = in_.batch->variables[static_cast<std::size_t>(item.assignTo)].type;
      Emitted current;
      current.sql = AddParameter(p);
      current.param = static_cast<int>(params_.size()) - 1;
      current.type = p.from;
      v = Arithmetic(item.assignOp, std::move(current), std::move(v));
    }
    v = Exact(std::move(v));
    const SqlType type = v.type;
    t.steps.push_back(Finish("SELECT " + v.sql, {ResultColumn{"", type}}));
    t.assignTo.push_back(item.assignTo);
    t.assignOps.push_back('=');
  }
  rowValues_.clear();
  return t;
}

void Translator::Lift(const Expression& e, const std::vector<int>& assigned,
                      std::vector<const Expression*>& lifted) {
  // A part that reads no assigned variable comes from the row; a subquery counts as such a part
  // and sees the variables as the statement starts.
  if (!UsesVariable(e, assigned)) {
    if (e.kind != ExpressionKind::Constant && e.kind != ExpressionKind::Variable)
      lifted.push_back(&e);
    return;
  }
  ForEachChild(e, [&](const Expression& child) { Lift(child, assigned, lifted); });
}

Translation Translator::Query(const tsql::Query& query) {
  std::vector<ResultColumn> columns;
  std::string sql = QuerySql(query, nullptr, columns, true, false, nullptr);
  return Finish(std::move(sql), std::move(columns));
}

Translation Translator::Scalar(const Expression& expression) {
  Scope scope;
  aggregatesAllowed_ = false;
  Emitted e = Value(expression, scope);
  std::string sql = "SELECT " + Exact(e).sql;
  return Finish(std::move(sql), {ResultColumn{"", e.type}});
}

Translation Translator::Compound(int variable, char op, const Expression& value) {
  Scope scope;
  Parameter p;
  p.source = ParameterSource::Variable;
  p.index = variable;
  p.from = in_.batch->variables[static_cast<std::size_t>(variable)].type;
  Emitted current;
  current.sql = AddParameter(p);
  current.param = static_cast<int>(params_.size()) - 1;
  current.type = p.from;
  Emitted e = Arithmetic(op, std::move(current), Value(value, scope));
  std::string sql = "SELECT " + Exact(e).sql;
  return Finish(std::move(sql), {ResultColumn{"", e.type}});
}

Translation Translator::Condition(const Expression& condition) {
  Scope scope;
  aggregatesAllowed_ = false;
  Emitted e = Predicate(condition, scope);
  std::string sql = "SELECT CASE WHEN " + e.sql + " THEN 1 ELSE 0 END";
  return Finish(std::move(sql), {ResultColumn{"", SqlType::Of(TypeId::Int)}});
}

// ---- Queries -----------------------------------------------------------------------------------

std::string Translator::QuerySql(const tsql::Query& query, const Scope* outer,
                                 std::vector<ResultColumn>& columns, bool derived, bool inSubquery,
                                 const std::vector<std::string>* names) {
  if (query.body->kind == QueryNodeKind::Select) {
    Core core = TranslateCore(query.body->As<SelectNode>(), outer, &query.orderBy, inSubquery);
    if (names) {
      if (names->size() != core.items.size())
        throw SqlError(
            "The number of columns in the column list does not match the number of columns of the "
            "query.");
      core.names = *names;
    }
    columns.clear();
    for (std::size_t i = 0; i < core.items.size(); ++i)
      columns.push_back(ResultColumn{core.names[i], core.items[i].type});
    return RenderCore(core, nullptr, derived);
  }
  std::string sql =
      SetOperationSql(query.body->As<SetOperationNode>(), outer, columns, derived, names);
  if (!query.orderBy.empty()) {
    if (inSubquery)
      throw SqlError(
          "The ORDER BY clause is invalid in views, inline functions, derived tables, subqueries, "
          "and common table expressions, unless TOP, OFFSET or FOR XML is also specified.");
    std::string order;
    for (const OrderItem& item : query.orderBy) {
      int position = -1;
      const Expression& e = *item.expression;
      if (e.kind == ExpressionKind::Constant && e.As<ConstantExpression>().type.IsInteger()) {
        position = static_cast<int>(e.As<ConstantExpression>().value.integer);
        if (position < 1 || position > static_cast<int>(columns.size()))
          throw SqlError(
              fmt::format("The ORDER BY position number {} is out of range of the number of items "
                          "in the select list.",
                          position));
      } else if (e.kind == ExpressionKind::ColumnRef &&
                 e.As<ColumnRefExpression>().parts.size() == 1) {
        const int found = FindName(columns, e.As<ColumnRefExpression>().Column());
        if (found >= 0) position = found + 1;
      }
      if (position < 0)
        throw SqlError(
            "ORDER BY items must appear in the select list if the statement contains a UNION, "
            "INTERSECT or EXCEPT operator.");
      order += order.empty() ? " ORDER BY " : ", ";
      order += std::to_string(position);
      order += item.descending ? in_.dialect->descending : in_.dialect->ascending;
    }
    sql += order;
  } else if (!derived && !inSubquery && in_.dialect->orderDistinctSets &&
             DistinctSet(query.body->As<SetOperationNode>())) {
    // SQL Server (and SQLite) remove duplicates by sorting, and statements written for them come
    // to rely on the order that gives.
    std::string order;
    for (std::size_t i = 1; i <= columns.size(); ++i)
      order +=
          (i == 1 ? " ORDER BY " : ", ") + std::to_string(i) + std::string(in_.dialect->ascending);
    sql += order;
  }
  return sql;
}

bool Translator::DistinctSet(const SetOperationNode& node) {
  return node.type != SetOperationType::UnionAll;
}

Translator::Core Translator::TranslateCore(const SelectNode& node, const Scope* outer,
                                           const std::vector<OrderItem>* orderBy, bool inSubquery,
                                           const std::vector<const Expression*>* lifted) {
  // The select list: the node's items, or the parts of them lifted out of an assignment.
  struct ListItem {
    const Expression* expression;
    std::string alias;
  };
  std::vector<ListItem> list;
  if (lifted)
    for (const Expression* e : *lifted) list.push_back(ListItem{e, {}});
  else
    for (const SelectItem& item : node.items)
      list.push_back(ListItem{item.expression.get(), item.alias});

  Scope scope;
  scope.outer = outer;
  Core core;
  core.head = node.distinct ? "SELECT DISTINCT" : "SELECT";
  std::vector<std::string> savedNullRejected = std::move(nullRejected_);
  nullRejected_.clear();
  if (node.where) CollectNullRejected(*node.where);
  core.body = FromSql(node.from, scope);
  nullRejected_ = std::move(savedNullRejected);

  bool grouped = !node.groupBy.empty() || node.having != nullptr;
  for (const ListItem& item : list)
    if (item.expression->kind != ExpressionKind::Star && ContainsAggregate(*item.expression))
      grouped = true;

  // The select list.
  for (const ListItem& item : list) {
    const Expression& e = *item.expression;
    if (e.kind == ExpressionKind::Star) {
      const std::string& qualifier = e.As<StarExpression>().qualifier;
      bool any = false;
      for (const Source& s : scope.sources) {
        if (!qualifier.empty() && !EqualsNoCase(s.exposed, qualifier)) continue;
        any = true;
        for (const ResultColumn& c : s.columns) {
          if (grouped) {
            // SELECT * over a grouped query: every column must be grouped by itself.
            bool isGrouped = false;
            for (const ExpressionPtr& g : node.groupBy) {
              if (g->kind != ExpressionKind::ColumnRef) continue;
              Resolved r = Resolve(g->As<ColumnRefExpression>(), scope);
              if (r.source == &s &&
                  EqualsNoCase(r.source->columns[static_cast<std::size_t>(r.column)].name, c.name))
                isGrouped = true;
            }
            if (!isGrouped)
              throw SqlError(
                  fmt::format("Column '{}.{}' is invalid in the select list because it is not "
                              "contained in either an aggregate function or the GROUP BY clause.",
                              s.exposed, c.name));
          }
          Emitted col;
          col.sql = s.sqlAlias + "." + Quote(c.name);
          col.type = c.type;
          col.column = true;
          core.items.push_back(std::move(col));
          core.names.push_back(c.name);
        }
      }
      if (!any) {
        if (qualifier.empty()) throw SqlError("Must specify table to select from.");
        throw SqlError(
            fmt::format("The multi-part identifier \"{}\" could not be bound.", qualifier));
      }
      continue;
    }
    if (grouped) CheckGrouped(e, node.groupBy, scope, "select list");
    aggregatesAllowed_ = true;
    Emitted v = Value(e, scope);
    aggregatesAllowed_ = false;
    std::string name = item.alias;
    if (name.empty() && e.kind == ExpressionKind::ColumnRef)
      name = e.As<ColumnRefExpression>().Column();
    core.items.push_back(std::move(v));
    core.names.push_back(std::move(name));
  }

  if (node.where) {
    Emitted w = Predicate(*node.where, scope);
    core.body += " WHERE " + w.sql;
  }
  if (!node.groupBy.empty()) {
    std::string group;
    for (const ExpressionPtr& g : node.groupBy) {
      if (ContainsAggregate(*g))
        throw SqlError(
            "Cannot use an aggregate or a subquery in an expression used for the group by list of "
            "a GROUP BY clause.");
      if (g->kind == ExpressionKind::Subquery)
        throw SqlError(
            "Cannot use an aggregate or a subquery in an expression used for the group by list of "
            "a GROUP BY clause.");
      Emitted v = Value(*g, scope);
      group += group.empty() ? " GROUP BY " : ", ";
      group += Comparable(Exact(v));
    }
    core.body += group;
  }
  if (node.having) {
    CheckGrouped(*node.having, node.groupBy, scope, "HAVING clause");
    aggregatesAllowed_ = true;
    Emitted h = Predicate(*node.having, scope);
    aggregatesAllowed_ = false;
    core.body += " HAVING " + h.sql;
  }

  if (orderBy && !orderBy->empty()) {
    if (inSubquery && !node.top)
      throw SqlError(
          "The ORDER BY clause is invalid in views, inline functions, derived tables, subqueries, "
          "and common table expressions, unless TOP, OFFSET or FOR XML is also specified.");
    std::string order;
    for (const OrderItem& item : *orderBy) {
      const Expression& e = *item.expression;
      int position = -1;
      if (e.kind == ExpressionKind::Constant && e.As<ConstantExpression>().type.IsInteger()) {
        if (lifted)
          throw SqlError(
              "Unsupported T-SQL construct: ORDER BY a position in a SELECT that assigns "
              "variables row by row.");
        position = static_cast<int>(e.As<ConstantExpression>().value.integer);
        if (position < 1 || position > static_cast<int>(core.items.size()))
          throw SqlError(
              fmt::format("The ORDER BY position number {} is out of range of the number of items "
                          "in the select list.",
                          position));
      } else if (e.kind == ExpressionKind::ColumnRef &&
                 e.As<ColumnRefExpression>().parts.size() == 1) {
        // A select-list alias or column name comes first, as in SQL Server.
        int matches = 0;
        const std::string& name = e.As<ColumnRefExpression>().Column();
        for (std::size_t i = 0; i < core.names.size(); ++i) {
          if (EqualsNoCase(core.names[i], name)) {
            if (matches == 0)
              position = static_cast<int>(i) + 1;
            else if (core.items[i].sql != core.items[static_cast<std::size_t>(position - 1)].sql)
              throw SqlError(fmt::format("Ambiguous column name '{}'.", name));
            ++matches;
          }
        }
      }
      if (position < 0) {
        for (std::size_t i = 0; i < list.size() && position < 0; ++i) {
          const Expression& item = *list[i].expression;
          if (item.kind == ExpressionKind::Star) break;  // positions shift after a star
          if (SameExpression(item, e, scope)) position = static_cast<int>(i) + 1;
        }
      }
      order += order.empty() ? " ORDER BY " : ", ";
      if (position > 0) {
        order += std::to_string(position);
      } else {
        if (node.distinct)
          throw SqlError(
              "ORDER BY items must appear in the select list if SELECT DISTINCT is specified.");
        if (grouped) CheckGrouped(e, node.groupBy, scope, "ORDER BY clause");
        aggregatesAllowed_ = grouped;
        Emitted v = Value(e, scope);
        aggregatesAllowed_ = false;
        order += Comparable(Exact(v));
      }
      order += item.descending ? in_.dialect->descending : in_.dialect->ascending;
    }
    core.order = order;
  }

  if (node.top) {
    const Expression& top = *node.top;
    if (top.kind == ExpressionKind::Constant) {
      const auto& c = top.As<ConstantExpression>();
      if (!c.type.IsInteger())
        throw SqlError(
            "The number of rows provided for a TOP or FETCH clauses row count parameter must be an "
            "integer.");
      if (c.value.integer < 0)
        throw SqlError("A TOP N or FETCH rows count value may not be negative.");
      core.limit = fmt::format(" LIMIT {}", c.value.integer);
    } else {
      Emitted v = Value(top, scope);
      if (!v.type.IsInteger() && !v.type.IsNull())
        throw SqlError(
            "The number of rows provided for a TOP or FETCH clauses row count parameter must be an "
            "integer.");
      core.limit = " LIMIT " + v.sql;
    }
  }
  return core;
}

std::string Translator::RenderCore(const Core& core, const std::vector<ResultColumn>* target,
                                   bool derived) {
  std::string sql = core.head;
  for (std::size_t i = 0; i < core.items.size(); ++i) {
    Emitted item = core.items[i];
    if (target && !((*target)[i].type == item.type))
      item = ConvertTo(std::move(item), (*target)[i].type);
    if (derived || target) item = Exact(std::move(item));
    sql += i == 0 ? " " : ", ";
    sql += Collated(item);
    if (derived || target) {
      const std::string& name = core.names[i];
      sql += " AS " + Quote(name.empty() ? fmt::format("_c{}", i + 1) : name);
    }
  }
  sql += core.body;
  sql += core.order;
  sql += core.limit;
  return sql;
}

void Translator::CollectLeaves(const QueryNode& node, std::vector<const SelectNode*>& leaves) {
  if (node.kind == QueryNodeKind::Select) {
    leaves.push_back(&node.As<SelectNode>());
    return;
  }
  const auto& op = node.As<SetOperationNode>();
  CollectLeaves(*op.left, leaves);
  CollectLeaves(*op.right, leaves);
}

std::string Translator::SetOperationSql(const SetOperationNode& node, const Scope* outer,
                                        std::vector<ResultColumn>& columns, bool derived,
                                        const std::vector<std::string>* names) {
  std::vector<const SelectNode*> leaves;
  CollectLeaves(node, leaves);
  std::vector<Core> cores;
  for (const SelectNode* leaf : leaves) {
    if (leaf->top)
      throw SqlError(
          "Unsupported T-SQL construct: TOP in a query combined by UNION, EXCEPT or INTERSECT.");
    if (leaf->hasInto && leaf != leaves.front())
      throw SqlError(
          "SELECT INTO must be the first query in a statement containing a UNION, INTERSECT or "
          "EXCEPT operator.");
    cores.push_back(TranslateCore(*leaf, outer, nullptr, false));
  }
  const std::size_t width = cores.front().items.size();
  for (const Core& c : cores)
    if (c.items.size() != width)
      throw SqlError(
          "All queries combined using a UNION, INTERSECT or EXCEPT operator must have an equal "
          "number of expressions in their target lists.");
  std::vector<ResultColumn> target(width);
  for (std::size_t i = 0; i < width; ++i) {
    std::vector<SqlType> types;
    for (const Core& c : cores) types.push_back(c.items[i].type);
    target[i].type = CommonResultType(types, "UNION");
    target[i].name = names ? (*names)[i] : cores.front().names[i];
  }
  if (names && names->size() != width)
    throw SqlError(
        "The number of columns in the column list does not match the number of columns of the "
        "query.");
  cores.front().names.clear();
  for (const ResultColumn& c : target) cores.front().names.push_back(c.name);
  std::size_t next = 0;
  // SQLite combines compound members left to right; a right operand that is itself a set
  // operation (INTERSECT binds tighter in T-SQL) becomes a subquery.
  std::function<std::string(const QueryNode&, bool)> render = [&](const QueryNode& n,
                                                                  bool first) -> std::string {
    if (n.kind == QueryNodeKind::Select) {
      Core& c = cores[next++];
      if (!first) c.names = cores.front().names;
      return RenderCore(c, &target, true);
    }
    const auto& op = n.As<SetOperationNode>();
    std::string left = render(*op.left, first);
    std::string right = render(*op.right, false);
    if (op.right->kind == QueryNodeKind::SetOperation)
      right = "SELECT * FROM (" + right + ") AS " + NewAlias();
    const char* keyword = op.type == SetOperationType::Union      ? " UNION "
                          : op.type == SetOperationType::UnionAll ? " UNION ALL "
                          : op.type == SetOperationType::Except   ? " EXCEPT "
                                                                  : " INTERSECT ";
    return left + keyword + right;
  };
  (void)derived;
  std::string sql = render(node, true);
  columns = target;
  return sql;
}

std::string Translator::FromSql(const std::vector<TableRefPtr>& from, Scope& scope) {
  if (from.empty()) return {};
  std::string sql = " FROM ";
  for (std::size_t i = 0; i < from.size(); ++i) {
    if (i > 0) sql += ", ";
    sql += TableRefSql(*from[i], scope, i > 0 && HasRightOrFullJoin(*from[i]));
  }
  return sql;
}

void Translator::AddTableSource(const TableInfo& table, const std::string& exposed, Scope& scope,
                                std::string& sql) {
  for (const Source& s : scope.sources)
    if (EqualsNoCase(s.exposed, exposed))
      throw SqlError(
          fmt::format("The objects \"{}\" and \"{}\" in the FROM clause have the same exposed "
                      "names. Use correlation names to distinguish them.",
                      s.exposed, exposed));
  Source s;
  s.exposed = exposed;
  s.sqlAlias = NewAlias();
  s.table = &table;
  for (const ColumnInfo& c : table.columns) s.columns.push_back(ResultColumn{c.name, c.type});
  sql = TableSql(table) + " AS " + s.sqlAlias;
  scope.sources.push_back(std::move(s));
}

std::string Translator::TableRefSql(const TableRef& ref, Scope& scope, bool parenthesise) {
  switch (ref.kind) {
    case TableRefKind::Base: {
      const auto& b = ref.As<BaseTableRef>();
      auto table = FindTable(b.name);
      if (!table) throw SqlError(fmt::format("Invalid object name '{}'.", b.name.name));
      std::string sql;
      AddTableSource(*table, b.alias.empty() ? b.name.name : b.alias, scope, sql);
      return sql;
    }
    case TableRefKind::Derived: {
      const auto& d = ref.As<DerivedTableRef>();
      std::vector<ResultColumn> columns;
      std::string sub = QuerySql(*d.query, scope.outer, columns, true, true,
                                 d.columns.empty() ? nullptr : &d.columns);
      for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name.empty())
          throw SqlError(
              fmt::format("No column name was specified for column {} of '{}'.", i + 1, d.alias));
        for (std::size_t j = 0; j < i; ++j)
          if (EqualsNoCase(columns[i].name, columns[j].name))
            throw SqlError(fmt::format("The column '{}' was specified multiple times for '{}'.",
                                       columns[i].name, d.alias));
      }
      for (const Source& s : scope.sources)
        if (EqualsNoCase(s.exposed, d.alias))
          throw SqlError(
              fmt::format("The objects \"{}\" and \"{}\" in the FROM clause have the same exposed "
                          "names. Use correlation names to distinguish them.",
                          s.exposed, d.alias));
      Source s;
      s.exposed = d.alias;
      s.sqlAlias = NewAlias();
      s.columns = std::move(columns);
      std::string sql = "(" + sub + ") AS " + s.sqlAlias;
      scope.sources.push_back(std::move(s));
      return sql;
    }
    case TableRefKind::Join: {
      const auto& j = ref.As<JoinRef>();
      std::string left = TableRefSql(*j.left, scope, false);
      std::string right = TableRefSql(*j.right, scope, j.right->kind == TableRefKind::Join);
      // A RIGHT (FULL) JOIN whose left side the WHERE clause rejects NULL for keeps only the rows
      // an inner (left) join gives; SQLite plans the inner form far better.
      JoinType type = j.type;
      if ((type == JoinType::Right || type == JoinType::Full) && NullRejected(*j.left))
        type = type == JoinType::Right ? JoinType::Inner : JoinType::Left;
      const char* keyword = type == JoinType::Inner   ? " JOIN "
                            : type == JoinType::Left  ? " LEFT JOIN "
                            : type == JoinType::Right ? " RIGHT JOIN "
                            : type == JoinType::Full  ? " FULL JOIN "
                                                      : " CROSS JOIN ";
      std::string sql = left + keyword + right;
      if (j.condition) sql += " ON " + Predicate(*j.condition, scope).sql;
      return parenthesise ? "(" + sql + ")" : sql;
    }
  }
  return {};
}

void Translator::CollectNullRejected(const Expression& where) {
  // Conjuncts that are unknown when a qualified column is NULL: comparisons, BETWEEN, LIKE, IN.
  auto qualifier = [&](const Expression& e) {
    if (e.kind != ExpressionKind::ColumnRef) return;
    const auto& ref = e.As<ColumnRefExpression>();
    if (ref.parts.size() >= 2)
      nullRejected_.push_back(Catalog::Key(ref.parts[ref.parts.size() - 2]));
  };
  switch (where.kind) {
    case ExpressionKind::Logical:
      if (where.As<LogicalExpression>().isAnd) {
        CollectNullRejected(*where.As<LogicalExpression>().left);
        CollectNullRejected(*where.As<LogicalExpression>().right);
      }
      return;
    case ExpressionKind::Comparison:
      qualifier(*where.As<ComparisonExpression>().left);
      qualifier(*where.As<ComparisonExpression>().right);
      return;
    case ExpressionKind::Between:
      qualifier(*where.As<BetweenExpression>().operand);
      return;
    case ExpressionKind::Like:
      qualifier(*where.As<LikeExpression>().operand);
      return;
    case ExpressionKind::In:
      qualifier(*where.As<InExpression>().operand);
      return;
    case ExpressionKind::IsNull:
      if (where.As<IsNullExpression>().negated) qualifier(*where.As<IsNullExpression>().operand);
      return;
    default:
      return;
  }
}

bool Translator::NullRejected(const TableRef& ref) const {
  switch (ref.kind) {
    case TableRefKind::Base: {
      const auto& b = ref.As<BaseTableRef>();
      const std::string key = Catalog::Key(b.alias.empty() ? b.name.name : b.alias);
      for (const std::string& q : nullRejected_)
        if (q == key) return true;
      return false;
    }
    case TableRefKind::Derived: {
      const std::string key = Catalog::Key(ref.As<DerivedTableRef>().alias);
      for (const std::string& q : nullRejected_)
        if (q == key) return true;
      return false;
    }
    case TableRefKind::Join:
      // Any table of an inner join rejects the rows the outer join would add; keep it simple and
      // look only at tables joined without their own outer join.
      return ref.As<JoinRef>().type == JoinType::Inner &&
             (NullRejected(*ref.As<JoinRef>().left) || NullRejected(*ref.As<JoinRef>().right));
  }
  return false;
}

// ---- Names -------------------------------------------------------------------------------------

Translator::Resolved Translator::Resolve(const ColumnRefExpression& ref, const Scope& scope) {
  const std::string& column = ref.Column();
  const std::string qualifier =
      ref.parts.size() >= 2 ? ref.parts[ref.parts.size() - 2] : std::string();
  int depth = 0;
  for (const Scope* s = &scope; s; s = s->outer, ++depth) {
    Resolved found;
    for (const Source& source : s->sources) {
      if (!qualifier.empty() && !EqualsNoCase(source.exposed, qualifier)) continue;
      const int index = FindName(source.columns, column);
      if (index < 0) {
        if (!qualifier.empty()) throw SqlError(fmt::format("Invalid column name '{}'.", column));
        continue;
      }
      if (found.source) throw SqlError(fmt::format("Ambiguous column name '{}'.", column));
      found.source = &source;
      found.column = index;
      found.depth = depth;
    }
    if (found.source) return found;
  }
  if (!qualifier.empty()) {
    std::string full;
    for (std::size_t i = 0; i < ref.parts.size(); ++i) full += (i ? "." : "") + ref.parts[i];
    // A qualifier that names a source of the scope has already failed above.
    bool known = false;
    for (const Scope* s = &scope; s; s = s->outer)
      for (const Source& source : s->sources)
        if (EqualsNoCase(source.exposed, qualifier)) known = true;
    if (!known)
      throw SqlError(fmt::format("The multi-part identifier \"{}\" could not be bound.", full));
  }
  throw SqlError(fmt::format("Invalid column name '{}'.", column));
}

bool Translator::UsesVariable(const Expression& e, const std::vector<int>& variables) {
  if (e.kind == ExpressionKind::Variable) {
    const int index = e.As<VariableExpression>().index;
    for (int v : variables)
      if (v == index) return true;
    return false;
  }
  bool uses = false;
  ForEachChild(e, [&](const Expression& child) { uses = uses || UsesVariable(child, variables); });
  return uses;
}

bool Translator::ContainsAggregate(const Expression& e) const {
  switch (e.kind) {
    case ExpressionKind::Function: {
      const auto& f = e.As<FunctionExpression>();
      if (f.schema.empty() && IsAggregateName(f.name)) return true;
      for (const ExpressionPtr& a : f.args)
        if (ContainsAggregate(*a)) return true;
      return false;
    }
    case ExpressionKind::Unary:
      return ContainsAggregate(*e.As<UnaryExpression>().operand);
    case ExpressionKind::Binary:
      return ContainsAggregate(*e.As<BinaryExpression>().left) ||
             ContainsAggregate(*e.As<BinaryExpression>().right);
    case ExpressionKind::Comparison:
      return ContainsAggregate(*e.As<ComparisonExpression>().left) ||
             ContainsAggregate(*e.As<ComparisonExpression>().right);
    case ExpressionKind::Logical:
      return ContainsAggregate(*e.As<LogicalExpression>().left) ||
             ContainsAggregate(*e.As<LogicalExpression>().right);
    case ExpressionKind::Not:
      return ContainsAggregate(*e.As<NotExpression>().operand);
    case ExpressionKind::IsNull:
      return ContainsAggregate(*e.As<IsNullExpression>().operand);
    case ExpressionKind::Between: {
      const auto& b = e.As<BetweenExpression>();
      return ContainsAggregate(*b.operand) || ContainsAggregate(*b.low) ||
             ContainsAggregate(*b.high);
    }
    case ExpressionKind::Like:
      return ContainsAggregate(*e.As<LikeExpression>().operand) ||
             ContainsAggregate(*e.As<LikeExpression>().pattern);
    case ExpressionKind::In: {
      const auto& in = e.As<InExpression>();
      if (ContainsAggregate(*in.operand)) return true;
      for (const ExpressionPtr& x : in.list)
        if (ContainsAggregate(*x)) return true;
      return false;
    }
    case ExpressionKind::Case: {
      const auto& c = e.As<CaseExpression>();
      if (c.operand && ContainsAggregate(*c.operand)) return true;
      for (const CaseWhen& w : c.whens)
        if (ContainsAggregate(*w.when) || ContainsAggregate(*w.then)) return true;
      return c.otherwise && ContainsAggregate(*c.otherwise);
    }
    case ExpressionKind::Cast:
      return ContainsAggregate(*e.As<CastExpression>().operand);
    default:
      return false;
  }
}

bool Translator::SameExpression(const Expression& a, const Expression& b, const Scope& scope) {
  if (a.kind != b.kind) return false;
  switch (a.kind) {
    case ExpressionKind::Constant: {
      const auto& x = a.As<ConstantExpression>();
      const auto& y = b.As<ConstantExpression>();
      if (x.IsNull() || y.IsNull()) return x.IsNull() && y.IsNull();
      if (!(x.type == y.type)) return false;
      DependOnLiteral(x.slot);
      DependOnLiteral(y.slot);
      return (*in_.literalTexts)[static_cast<std::size_t>(x.slot)] ==
             (*in_.literalTexts)[static_cast<std::size_t>(y.slot)];
    }
    case ExpressionKind::ColumnRef: {
      Resolved x = Resolve(a.As<ColumnRefExpression>(), scope);
      Resolved y = Resolve(b.As<ColumnRefExpression>(), scope);
      return x.source == y.source && x.column == y.column;
    }
    case ExpressionKind::Variable:
      return a.As<VariableExpression>().index == b.As<VariableExpression>().index &&
             EqualsNoCase(a.As<VariableExpression>().name, b.As<VariableExpression>().name);
    case ExpressionKind::Unary:
      return a.As<UnaryExpression>().op == b.As<UnaryExpression>().op &&
             SameExpression(*a.As<UnaryExpression>().operand, *b.As<UnaryExpression>().operand,
                            scope);
    case ExpressionKind::Binary: {
      const auto& x = a.As<BinaryExpression>();
      const auto& y = b.As<BinaryExpression>();
      return x.op == y.op && SameExpression(*x.left, *y.left, scope) &&
             SameExpression(*x.right, *y.right, scope);
    }
    case ExpressionKind::Function: {
      const auto& x = a.As<FunctionExpression>();
      const auto& y = b.As<FunctionExpression>();
      if (!EqualsNoCase(x.name, y.name) || !EqualsNoCase(x.schema, y.schema) ||
          x.args.size() != y.args.size() || x.distinct != y.distinct || x.star != y.star ||
          !EqualsNoCase(x.datePart, y.datePart))
        return false;
      for (std::size_t i = 0; i < x.args.size(); ++i)
        if (!SameExpression(*x.args[i], *y.args[i], scope)) return false;
      return true;
    }
    case ExpressionKind::Cast: {
      const auto& x = a.As<CastExpression>();
      const auto& y = b.As<CastExpression>();
      return x.target == y.target && x.style == y.style &&
             SameExpression(*x.operand, *y.operand, scope);
    }
    case ExpressionKind::Case: {
      const auto& x = a.As<CaseExpression>();
      const auto& y = b.As<CaseExpression>();
      if ((x.operand == nullptr) != (y.operand == nullptr) || x.whens.size() != y.whens.size() ||
          (x.otherwise == nullptr) != (y.otherwise == nullptr))
        return false;
      if (x.operand && !SameExpression(*x.operand, *y.operand, scope)) return false;
      for (std::size_t i = 0; i < x.whens.size(); ++i)
        if (!SameExpression(*x.whens[i].when, *y.whens[i].when, scope) ||
            !SameExpression(*x.whens[i].then, *y.whens[i].then, scope))
          return false;
      return !x.otherwise || SameExpression(*x.otherwise, *y.otherwise, scope);
    }
    default:
      return false;
  }
}

void Translator::CheckGrouped(const Expression& e, const ExpressionList& groupBy,
                              const Scope& scope, const char* clause) {
  for (const ExpressionPtr& g : groupBy)
    if (SameExpression(*g, e, scope)) return;
  auto check = [&](const ExpressionPtr& child) {
    if (child) CheckGrouped(*child, groupBy, scope, clause);
  };
  switch (e.kind) {
    case ExpressionKind::ColumnRef: {
      Resolved r = Resolve(e.As<ColumnRefExpression>(), scope);
      if (r.depth > 0) return;  // an outer reference is a constant here
      throw SqlError(fmt::format(
          "Column '{}.{}' is invalid in the {} because it is not contained in either an aggregate "
          "function or the GROUP BY clause.",
          r.source->exposed, r.source->columns[static_cast<std::size_t>(r.column)].name, clause));
    }
    case ExpressionKind::Function: {
      const auto& f = e.As<FunctionExpression>();
      if (f.schema.empty() && IsAggregateName(f.name)) return;
      for (const ExpressionPtr& a : f.args) check(a);
      return;
    }
    case ExpressionKind::Unary:
      check(e.As<UnaryExpression>().operand);
      return;
    case ExpressionKind::Binary:
      check(e.As<BinaryExpression>().left);
      check(e.As<BinaryExpression>().right);
      return;
    case ExpressionKind::Comparison:
      check(e.As<ComparisonExpression>().left);
      check(e.As<ComparisonExpression>().right);
      return;
    case ExpressionKind::Logical:
      check(e.As<LogicalExpression>().left);
      check(e.As<LogicalExpression>().right);
      return;
    case ExpressionKind::Not:
      check(e.As<NotExpression>().operand);
      return;
    case ExpressionKind::IsNull:
      check(e.As<IsNullExpression>().operand);
      return;
    case ExpressionKind::Between:
      check(e.As<BetweenExpression>().operand);
      check(e.As<BetweenExpression>().low);
      check(e.As<BetweenExpression>().high);
      return;
    case ExpressionKind::Like:
      check(e.As<LikeExpression>().operand);
      check(e.As<LikeExpression>().pattern);
      return;
    case ExpressionKind::In: {
      const auto& in = e.As<InExpression>();
      check(in.operand);
      for (const ExpressionPtr& x : in.list) check(x);
      return;
    }
    case ExpressionKind::Case: {
      const auto& c = e.As<CaseExpression>();
      check(c.operand);
      for (const CaseWhen& w : c.whens) {
        check(w.when);
        check(w.then);
      }
      check(c.otherwise);
      return;
    }
    case ExpressionKind::Cast:
      check(e.As<CastExpression>().operand);
      return;
    default:
      return;  // constants, variables, subqueries
  }
}

}  // namespace zov::data::tsql
