// Expressions: typing, operators, comparisons, predicates, CASE, CAST and subqueries.
#include <fmt/format.h>

#include <algorithm>
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
#include "data/tsql/ast/exists_expression.h"
#include "data/tsql/ast/function_expression.h"
#include "data/tsql/ast/in_expression.h"
#include "data/tsql/ast/is_null_expression.h"
#include "data/tsql/ast/like_expression.h"
#include "data/tsql/ast/logical_expression.h"
#include "data/tsql/ast/not_expression.h"
#include "data/tsql/ast/subquery_expression.h"
#include "data/tsql/ast/unary_expression.h"
#include "data/tsql/ast/variable_expression.h"
#include "data/tsql/text_rules.h"
#include "data/tsql/translator.h"

namespace zov::data::tsql {

namespace {

const char* OperatorName(char op) {
  switch (op) {
    case '+':
      return "add";
    case '-':
      return "subtract";
    case '*':
      return "multiply";
    case '/':
      return "divide";
    case '%':
      return "modulo";
    default:
      return "bitwise";
  }
}

}  // namespace

// ---- Expressions -------------------------------------------------------------------------------

Translator::Emitted Translator::Value(const Expression& e, const Scope& scope) {
  Emitted v = Emit(e, scope);
  if (v.type.IsBoolean())
    throw SqlError(
        "Incorrect syntax: a condition (comparison, IN, LIKE, EXISTS...) cannot be used as a "
        "value.");
  return v;
}

Translator::Emitted Translator::Predicate(const Expression& e, const Scope& scope) {
  Emitted v = Emit(e, scope);
  if (!v.type.IsBoolean())
    throw SqlError(
        "An expression of non-boolean type specified in a context where a condition is expected.");
  return v;
}

Translator::Emitted Translator::Emit(const Expression& e, const Scope& scope) {
  Emitted out;
  if (!rowValues_.empty()) {
    auto it = rowValues_.find(&e);
    if (it != rowValues_.end()) {
      Parameter p;
      p.source = ParameterSource::RowValue;
      p.index = it->second.index;
      p.from = it->second.type;
      out.sql = AddParameter(p);
      out.param = static_cast<int>(params_.size()) - 1;
      out.type = p.from;
      return out;
    }
  }
  switch (e.kind) {
    case ExpressionKind::Constant:
      return EmitConstant(e);
    case ExpressionKind::ColumnRef:
      return EmitColumn(e.As<ColumnRefExpression>(), scope);
    case ExpressionKind::Star:
      throw SqlError("Incorrect syntax near '*'.");
    case ExpressionKind::Variable:
      return EmitVariable(e);
    case ExpressionKind::Unary: {
      const auto& u = e.As<UnaryExpression>();
      Emitted x = Value(*u.operand, scope);
      if (u.op == '~') {
        if (!x.type.IsInteger() && !x.type.IsNull())
          throw SqlError(
              fmt::format("Operand data type {} is invalid for '~' operator.", x.type.ToString()));
        out.sql = "(~" + x.sql + ")";
        out.type = x.type;
        return out;
      }
      if (!x.type.IsNumericOrNull())
        throw SqlError(fmt::format("Operand data type {} is invalid for {} operator.",
                                   x.type.ToString(), u.op == '-' ? "minus" : "plus"));
      if (u.op == '+') return x;
      out.sql = "(-" + x.sql + ")";
      out.type = x.type.id == TypeId::Bit || x.type.id == TypeId::TinyInt ? SqlType::Of(TypeId::Int)
                                                                          : x.type;
      out.inexact = x.inexact;
      return out;
    }
    case ExpressionKind::Binary:
      return EmitBinary(e, scope);
    case ExpressionKind::Comparison:
      return EmitComparison(e, scope);
    case ExpressionKind::Logical: {
      const auto& l = e.As<LogicalExpression>();
      Emitted a = Predicate(*l.left, scope);
      Emitted b = Predicate(*l.right, scope);
      Chain(out, a, l.isAnd ? " AND " : " OR ", b, l.isAnd ? 'A' : 'O');
      out.type = SqlType::Of(TypeId::Boolean);
      return out;
    }
    case ExpressionKind::Not: {
      Emitted a = Predicate(*e.As<NotExpression>().operand, scope);
      out.sql = "(NOT " + a.sql + ")";
      out.type = SqlType::Of(TypeId::Boolean);
      return out;
    }
    case ExpressionKind::IsNull: {
      const auto& n = e.As<IsNullExpression>();
      Emitted a = Value(*n.operand, scope);
      out.sql = "(" + a.sql + (n.negated ? " IS NOT NULL)" : " IS NULL)");
      out.type = SqlType::Of(TypeId::Boolean);
      return out;
    }
    case ExpressionKind::Between:
      return EmitBetween(e, scope);
    case ExpressionKind::Like:
      return EmitLike(e, scope);
    case ExpressionKind::In:
      return EmitIn(e, scope);
    case ExpressionKind::Exists: {
      std::vector<ResultColumn> columns;
      std::string sub =
          QuerySql(*e.As<ExistsExpression>().subquery, &scope, columns, false, true, nullptr);
      out.sql = "EXISTS (" + sub + ")";
      out.type = SqlType::Of(TypeId::Boolean);
      return out;
    }
    case ExpressionKind::Subquery:
      if (aggregateDepth_ > 0)
        throw SqlError(
            "Cannot perform an aggregate function on an expression containing an aggregate or a "
            "subquery.");
      return EmitScalarSubquery(*e.As<SubqueryExpression>().subquery, scope);
    case ExpressionKind::Case:
      return EmitCase(e, scope);
    case ExpressionKind::Function:
      return EmitFunction(e.As<FunctionExpression>(), scope);
    case ExpressionKind::Cast:
      return EmitCast(e, scope);
  }
  return out;
}

Translator::Emitted Translator::EmitConstant(const Expression& e) {
  const auto& c = e.As<ConstantExpression>();
  Emitted out;
  if (c.IsNull()) {
    out.sql = "NULL";
    out.type = SqlType::Of(TypeId::Null);
    return out;
  }
  Parameter p;
  p.source = ParameterSource::Literal;
  p.index = c.slot;
  p.from = c.type;
  out.sql = AddParameter(p);
  out.param = static_cast<int>(params_.size()) - 1;
  out.type = c.type;
  return out;
}

Translator::Emitted Translator::EmitVariable(const Expression& e) {
  const auto& v = e.As<VariableExpression>();
  Parameter p;
  Emitted out;
  if (v.IsSystem()) {
    if (v.name == "@@IDENTITY") {
      p.source = ParameterSource::Identity;
      p.from = SqlType::Decimal(38, 0);
    } else if (v.name == "@@ROWCOUNT") {
      p.source = ParameterSource::RowCount;
      p.from = SqlType::Of(TypeId::Int);
    } else if (v.name == "@@ERROR") {
      p.source = ParameterSource::Zero;
      p.from = SqlType::Of(TypeId::Int);
    } else if (v.name == "@@TRANCOUNT") {
      p.source = ParameterSource::TranCount;
      p.from = SqlType::Of(TypeId::Int);
    } else {
      throw SqlError(fmt::format("Unsupported T-SQL construct: system function {}.", v.name));
    }
  } else {
    p.source = ParameterSource::Variable;
    p.index = v.index;
    p.from = in_.batch->variables[static_cast<std::size_t>(v.index)].type;
  }
  out.sql = AddParameter(p);
  out.param = static_cast<int>(params_.size()) - 1;
  out.type = p.from;
  return out;
}

Translator::Emitted Translator::EmitColumn(const ColumnRefExpression& ref, const Scope& scope) {
  Resolved r = Resolve(ref, scope);
  const ResultColumn& c = r.source->columns[static_cast<std::size_t>(r.column)];
  Emitted out;
  out.sql = r.source->sqlAlias + "." + Quote(c.name);
  out.type = c.type;
  out.column = true;
  return out;
}

Translator::Emitted Translator::EmitBinary(const Expression& e, const Scope& scope) {
  const auto& b = e.As<BinaryExpression>();
  return Arithmetic(b.op, Value(*b.left, scope), Value(*b.right, scope));
}

Translator::Emitted Translator::Arithmetic(char op, Emitted l, Emitted r) {
  struct {
    char op;
  } b{op};
  Emitted out;
  const bool ls = l.type.IsString(), rs = r.type.IsString();
  if (b.op == '+' && ((ls && rs) || (ls && r.type.IsNull()) || (rs && l.type.IsNull()))) {
    const SqlType& lt = l.type.IsNull() ? r.type : l.type;
    const SqlType& rt = r.type.IsNull() ? l.type : r.type;
    const bool unicode = lt.IsUnicode() || rt.IsUnicode();
    int length = (lt.length < 0 || rt.length < 0) ? -1 : lt.length + rt.length;
    if (length > (unicode ? 4000 : 8000)) length = -1;
    Chain(out, l, " || ", r, '|');
    out.type = SqlType{unicode ? TypeId::NVarChar : TypeId::VarChar, length, 0, 0};
    return out;
  }
  if (ls || rs) {
    Emitted& text = ls ? l : r;
    const Emitted& other = ls ? r : l;
    if (other.type.IsDateTime())
      throw SqlError("Unsupported T-SQL construct: arithmetic between a datetime and a string.");
    if (!other.type.IsNumeric())
      throw SqlError(fmt::format("Operand data type {} is invalid for {} operator.",
                                 other.type.ToString(), OperatorName(b.op)));
    SqlType target = other.type;
    if (target.id == TypeId::Decimal) target = SqlType::Decimal(38, std::max(10, target.scale));
    if (target.id == TypeId::Bit) target = SqlType::Of(TypeId::Int);
    text = ConvertTo(std::move(text), target);
  }
  if (l.type.IsDateTime() || r.type.IsDateTime()) {
    const bool leftDate = l.type.IsDateTime();
    const Emitted& date = leftDate ? l : r;
    const Emitted& number = leftDate ? r : l;
    if ((b.op != '+' && b.op != '-') || !number.type.IsNumericOrNull() ||
        (b.op == '-' && !leftDate))
      throw SqlError(fmt::format("Unsupported T-SQL construct: {} of {} and {}.",
                                 OperatorName(b.op), l.type.ToString(), r.type.ToString()));
    out.sql =
        fmt::format("tsql_adddays({}, {}{})", date.sql, b.op == '-' ? "-" : "", Exact(number).sql);
    out.type = date.type.id == TypeId::Date ? SqlType::Of(TypeId::DateTime) : date.type;
    return out;
  }
  if (!l.type.IsNumericOrNull() || !r.type.IsNumericOrNull()) {
    const SqlType& bad = l.type.IsNumericOrNull() ? r.type : l.type;
    throw SqlError(fmt::format("Operand data type {} is invalid for {} operator.", bad.ToString(),
                               OperatorName(b.op)));
  }
  const SqlType t =
      ArithmeticType(b.op == '&' || b.op == '|' || b.op == '^' ? '+' : b.op, l.type, r.type);
  out.type = t;
  switch (b.op) {
    case '+':
    case '-':
    case '*': {
      const char op[] = {' ', b.op, ' ', '\0'};
      Chain(out, l, op, r, b.op == '*' ? '*' : '+');
      out.inexact = t.IsExactScaled();
      return out;
    }
    case '/':
    case '%': {
      l = Exact(std::move(l));
      r = Exact(std::move(r));
      // A literal divisor other than 0 divides natively (the translation depends on it being
      // non-zero); any other divisor goes through the checked division, which raises on 0 only
      // when a non-NULL value is actually divided, as SQL Server does.
      bool literalDivisor = false;
      if (r.param >= 0 &&
          params_[static_cast<std::size_t>(r.param)].source == ParameterSource::Literal &&
          !params_[static_cast<std::size_t>(r.param)].convert) {
        Parameter& p = params_[static_cast<std::size_t>(r.param)];
        const SqlValue& v = (*in_.literalValues)[static_cast<std::size_t>(p.index)];
        if (v.AsDouble() != 0 && v.kind != SqlValue::Kind::Text) {
          literalDivisor = true;
          DependOnLiteral(p.index);
          if (!t.IsInteger()) p.asReal = true;
        }
      }
      if (b.op == '/') {
        if (literalDivisor)
          out.sql = "(" + l.sql + " / " + r.sql + ")";
        else
          out.sql = (t.IsInteger() ? "tsql_idiv(" : "tsql_div(") + l.sql + ", " + r.sql + ")";
        if (t.IsExactScaled()) out.sql = fmt::format("tsql_round({}, {}, 1)", out.sql, t.Scale());
      } else {
        if (literalDivisor && t.IsInteger())
          out.sql = "(" + l.sql + " % " + r.sql + ")";
        else
          out.sql = "tsql_mod(" + l.sql + ", " + r.sql + ")";
      }
      return out;
    }
    default: {
      if ((!l.type.IsInteger() && !l.type.IsNull()) || (!r.type.IsInteger() && !r.type.IsNull()))
        throw SqlError(
            fmt::format("The data types {} and {} are incompatible in the '{}' operator.",
                        l.type.ToString(), r.type.ToString(), b.op));
      if (b.op == '&')
        out.sql = "(" + l.sql + " & " + r.sql + ")";
      else if (b.op == '|')
        out.sql = "(" + l.sql + " | " + r.sql + ")";
      else
        out.sql = "((" + l.sql + " | " + r.sql + ") & ~(" + l.sql + " & " + r.sql + "))";
      if (l.type.id == TypeId::Bit && r.type.id == TypeId::Bit) out.type = SqlType::Of(TypeId::Bit);
      return out;
    }
  }
}

void Translator::Chain(Emitted& out, const Emitted& l, std::string_view op, const Emitted& r,
                       char group) {
  // "(a + b)" and c make "(a + b - c)": a long chain of one precedence group stays one level of
  // parentheses deep in the emitted SQL, as deep as SQLite's parser stack allows.
  if (l.chain == group && l.chainSize == l.sql.size()) {
    out.sql.assign(l.sql, 0, l.sql.size() - 1);
  } else {
    out.sql = "(";
    out.sql += l.sql;
  }
  out.sql += op;
  out.sql += r.sql;
  out.sql += ')';
  out.chain = group;
  out.chainSize = out.sql.size();
}

Translator::Emitted Translator::EmitComparison(const Expression& e, const Scope& scope) {
  const auto& c = e.As<ComparisonExpression>();
  Emitted l = Value(*c.left, scope);
  Emitted r = Value(*c.right, scope);
  Unify(l, r, "comparison");
  l = Exact(std::move(l));
  r = Exact(std::move(r));
  static const char* const kOps[] = {" = ", " <> ", " < ", " <= ", " > ", " >= "};
  Emitted out;
  std::string right = r.sql;
  if ((l.type.IsString() || r.type.IsString()) && !(l.column && r.column))
    right += in_.dialect->collate;
  out.sql = "(" + l.sql + kOps[static_cast<int>(c.op)] + right + ")";
  out.type = SqlType::Of(TypeId::Boolean);
  return out;
}

Translator::Emitted Translator::EmitBetween(const Expression& e, const Scope& scope) {
  const auto& b = e.As<BetweenExpression>();
  Emitted x = Value(*b.operand, scope);
  Emitted lo = Value(*b.low, scope);
  Emitted hi = Value(*b.high, scope);
  // Convert all three to the type of highest precedence, as the two comparisons would.
  Emitted* highest = &x;
  for (Emitted* v : {&lo, &hi})
    if (!v->type.IsNull() && Precedence(v->type.id) > Precedence(highest->type.id)) highest = v;
  const SqlType target = highest->type;
  for (Emitted* v : {&x, &lo, &hi})
    if (!SameClass(v->type, target)) *v = ConvertTo(std::move(*v), target);
  x = Exact(std::move(x));
  lo = Exact(std::move(lo));
  hi = Exact(std::move(hi));
  Emitted out;
  const bool text = x.type.IsString() || lo.type.IsString();
  std::string operand = text ? Collated(x) : x.sql;
  if (text && x.column) operand = x.sql;
  out.sql =
      "(" + operand + (b.negated ? " NOT BETWEEN " : " BETWEEN ") + lo.sql + " AND " + hi.sql + ")";
  out.type = SqlType::Of(TypeId::Boolean);
  return out;
}

Translator::Emitted Translator::EmitLike(const Expression& e, const Scope& scope) {
  const auto& l = e.As<LikeExpression>();
  Emitted x = AsText(Exact(Value(*l.operand, scope)));
  Emitted p = AsText(Exact(Value(*l.pattern, scope)));
  std::string sql = "tsql_like(" + x.sql + ", " + p.sql;
  if (l.escape) sql += ", " + AsText(Value(*l.escape, scope)).sql;
  sql += ")";
  Emitted out;
  out.sql = l.negated ? "(NOT " + sql + ")" : sql;
  out.type = SqlType::Of(TypeId::Boolean);
  return out;
}

namespace {

// Lists longer than this bind as one parameter.
constexpr std::size_t kLongInList = 64;

}  // namespace

Translator::Emitted Translator::EmitIn(const Expression& e, const Scope& scope) {
  const auto& in = e.As<InExpression>();
  Emitted x = Value(*in.operand, scope);
  Emitted out;
  out.type = SqlType::Of(TypeId::Boolean);
  if (in.subquery) {
    std::vector<ResultColumn> columns;
    std::vector<std::string> names{"v"};
    std::string sub = SingleColumnQuery(*in.subquery, scope, columns, names);
    if (columns.size() != 1)
      throw SqlError(
          "Only one expression can be specified in the select list when the subquery is not "
          "introduced with EXISTS.");
    const SqlType y = columns[0].type;
    if (!SameClass(x.type, y)) {
      if (Precedence(x.type.id) >= Precedence(y.id)) {
        Emitted v;
        v.sql = "\"v\"";
        v.type = y;
        v.column = true;
        v = ConvertTo(std::move(v), x.type);
        sub = "SELECT " + v.sql + " FROM (" + sub + ") AS " + NewAlias();
      } else {
        x = ConvertTo(std::move(x), y);
      }
    }
    x = Exact(std::move(x));
    const bool text = x.type.IsString();
    out.sql =
        "(" + (text ? Collated(x) : x.sql) + (in.negated ? " NOT IN (" : " IN (") + sub + "))";
    return out;
  }
  std::vector<Emitted> items;
  for (const ExpressionPtr& item : in.list) items.push_back(Value(*item, scope));
  // The operand converts once to the highest type among the list; the items convert to it.
  SqlType target = x.type;
  for (const Emitted& item : items)
    if (!SameClass(item.type, target) && Precedence(item.type.id) > Precedence(target.id))
      target = item.type;
  if (!SameClass(x.type, target)) x = ConvertTo(std::move(x), target);
  x = Exact(std::move(x));
  for (Emitted& item : items) {
    if (!SameClass(item.type, x.type)) item = ConvertTo(std::move(item), x.type);
    item = Exact(std::move(item));
  }
  // The items' parameters are the last ones added: a list of parameters (and NULLs) alone moves
  // into one.
  std::size_t bound = 0;
  for (const Emitted& item : items)
    if (item.param >= 0) ++bound;
  const std::size_t first = params_.size() - std::min(params_.size(), bound);
  bool onlyParameters = items.size() > kLongInList;
  for (std::size_t i = 0, next = first; onlyParameters && i < items.size(); ++i) {
    if (items[i].param >= 0)
      onlyParameters = items[i].param == static_cast<int>(next++) && !items[i].inexact;
    else
      onlyParameters = items[i].sql == "NULL";
  }
  std::vector<Parameter> listed;
  std::string list;
  if (onlyParameters) {
    for (const Emitted& item : items) {
      Parameter p;
      if (item.param >= 0)
        p = std::move(params_[static_cast<std::size_t>(item.param)]);
      else
        p.source = ParameterSource::Null;
      if (!p.convert) {
        p.convert = true;
        p.to = x.type.IsNull() ? p.from : x.type;
      }
      listed.push_back(std::move(p));
    }
    params_.resize(first);
  } else {
    for (const Emitted& item : items) {
      list += list.empty() ? "" : ", ";
      list += item.sql;
    }
  }
  const bool text = x.type.IsString();
  const std::string operand = text ? Collated(x) : x.sql;
  if (list.empty()) {
    // A long list of values binds as one parameter: a statement of 100,000 parameters costs
    // quadratic time to prepare.
    Parameter p;
    p.source = ParameterSource::List;
    p.from = x.type;
    p.items = std::move(listed);
    const std::string param = AddParameter(std::move(p));
    out.sql = "(" +
              fmt::format(fmt::runtime(in.negated ? in_.dialect->notInList : in_.dialect->inList),
                          operand, param) +
              ")";
    return out;
  }
  out.sql = "(" + operand + (in.negated ? " NOT IN (" : " IN (") + list + "))";
  return out;
}

Translator::Emitted Translator::EmitCase(const Expression& e, const Scope& scope) {
  const auto& c = e.As<CaseExpression>();
  std::string sql = "CASE";
  if (c.operand) {
    Emitted base = Value(*c.operand, scope);
    std::vector<Emitted> whens;
    SqlType target = base.type;
    for (const CaseWhen& w : c.whens) {
      whens.push_back(Value(*w.when, scope));
      const SqlType& t = whens.back().type;
      if (!SameClass(t, target) && Precedence(t.id) > Precedence(target.id)) target = t;
    }
    if (!SameClass(base.type, target)) base = ConvertTo(std::move(base), target);
    base = Exact(std::move(base));
    sql += " " + (base.type.IsString() ? Collated(base) : base.sql);
    std::vector<Emitted> thens;
    std::vector<SqlType> types;
    for (const CaseWhen& w : c.whens) {
      thens.push_back(Value(*w.then, scope));
      types.push_back(thens.back().type);
    }
    Emitted otherwise;
    if (c.otherwise) {
      otherwise = Value(*c.otherwise, scope);
      types.push_back(otherwise.type);
    }
    const SqlType result = CaseResultType(types);
    for (std::size_t i = 0; i < whens.size(); ++i) {
      Emitted w = whens[i];
      if (!SameClass(w.type, base.type)) w = ConvertTo(std::move(w), base.type);
      Emitted t = thens[i];
      if (!SameClass(t.type, result)) t = ConvertTo(std::move(t), result);
      sql += " WHEN " + Exact(std::move(w)).sql + " THEN " + Exact(std::move(t)).sql;
    }
    if (c.otherwise) {
      if (!SameClass(otherwise.type, result)) otherwise = ConvertTo(std::move(otherwise), result);
      sql += " ELSE " + Exact(std::move(otherwise)).sql;
    }
    Emitted out;
    out.sql = sql + " END";
    out.type = result;
    return out;
  }
  std::vector<std::string> conditions;
  std::vector<Emitted> thens;
  std::vector<SqlType> types;
  for (const CaseWhen& w : c.whens) {
    conditions.push_back(Predicate(*w.when, scope).sql);
    thens.push_back(Value(*w.then, scope));
    types.push_back(thens.back().type);
  }
  Emitted otherwise;
  if (c.otherwise) {
    otherwise = Value(*c.otherwise, scope);
    types.push_back(otherwise.type);
  }
  const SqlType result = CaseResultType(types);
  for (std::size_t i = 0; i < conditions.size(); ++i) {
    Emitted t = thens[i];
    if (!SameClass(t.type, result)) t = ConvertTo(std::move(t), result);
    sql += " WHEN " + conditions[i] + " THEN " + Exact(std::move(t)).sql;
  }
  if (c.otherwise) {
    if (!SameClass(otherwise.type, result)) otherwise = ConvertTo(std::move(otherwise), result);
    sql += " ELSE " + Exact(std::move(otherwise)).sql;
  }
  Emitted out;
  out.sql = sql + " END";
  out.type = result;
  return out;
}

Translator::Emitted Translator::EmitCast(const Expression& e, const Scope& scope) {
  const auto& c = e.As<CastExpression>();
  Emitted x = Value(*c.operand, scope);
  if (c.style >= 0 && x.type.IsDateTime() && c.target.IsString() &&
      !FormatDateTimeStyle(DateTimeParts{}, c.style, x.type.id))
    throw SqlError(
        fmt::format("{} is not a valid style number when converting from {} to a character string.",
                    c.style, x.type.ToString()));
  return ConvertTo(std::move(x), c.target, c.style, ConversionContext::Explicit);
}

std::string Translator::SingleColumnQuery(const tsql::Query& query, const Scope& scope,
                                          std::vector<ResultColumn>& columns,
                                          const std::vector<std::string>& names) {
  try {
    return QuerySql(query, &scope, columns, true, true, &names);
  } catch (const SqlError& e) {
    if (e.message().rfind("The number of columns in the column list", 0) == 0)
      throw SqlError(
          "Only one expression can be specified in the select list when the subquery is not "
          "introduced with EXISTS.");
    throw;
  }
}

bool Translator::SingleRow(const tsql::Query& query) {
  if (query.body->kind != QueryNodeKind::Select) return false;
  const auto& node = query.body->As<SelectNode>();
  // A SELECT without FROM yields one row, or none under a WHERE.
  if (node.from.empty() && node.groupBy.empty() && !node.having) return true;
  if (node.top && node.top->kind == ExpressionKind::Constant) {
    const auto& c = node.top->As<ConstantExpression>();
    if (c.type.IsInteger() && c.value.integer <= 1) return true;
  }
  if (node.groupBy.empty()) {
    for (const SelectItem& item : node.items)
      if (item.expression->kind != ExpressionKind::Star && ContainsAggregate(*item.expression))
        return true;
  }
  // Equality on every column of a unique key of the only table read.
  if (node.from.size() != 1 || node.from[0]->kind != TableRefKind::Base || !node.where)
    return false;
  const auto& base = node.from[0]->As<BaseTableRef>();
  auto table = FindTable(base.name);
  if (!table || table->uniqueKeys.empty()) return false;
  const std::string exposed = base.alias.empty() ? base.name.name : base.alias;
  std::vector<int> bound;
  auto innerColumn = [&](const Expression& x) -> int {
    if (x.kind != ExpressionKind::ColumnRef) return -1;
    const auto& ref = x.As<ColumnRefExpression>();
    if (ref.parts.size() >= 2 && !EqualsNoCase(ref.parts[ref.parts.size() - 2], exposed)) return -1;
    return table->FindColumn(ref.Column());
  };
  auto outerValue = [&](const Expression& x) {
    if (x.kind == ExpressionKind::Constant || x.kind == ExpressionKind::Variable) return true;
    if (x.kind != ExpressionKind::ColumnRef) return false;
    const auto& ref = x.As<ColumnRefExpression>();
    return ref.parts.size() >= 2 && !EqualsNoCase(ref.parts[ref.parts.size() - 2], exposed);
  };
  std::function<void(const Expression&)> collect = [&](const Expression& x) {
    if (x.kind == ExpressionKind::Logical && x.As<LogicalExpression>().isAnd) {
      collect(*x.As<LogicalExpression>().left);
      collect(*x.As<LogicalExpression>().right);
      return;
    }
    if (x.kind != ExpressionKind::Comparison || x.As<ComparisonExpression>().op != CompareOp::Equal)
      return;
    const auto& cmp = x.As<ComparisonExpression>();
    int col = innerColumn(*cmp.left);
    if (col >= 0 && outerValue(*cmp.right)) bound.push_back(col);
    col = innerColumn(*cmp.right);
    if (col >= 0 && outerValue(*cmp.left)) bound.push_back(col);
  };
  collect(*node.where);
  for (const auto& key : table->uniqueKeys) {
    bool all = true;
    for (int k : key)
      if (std::find(bound.begin(), bound.end(), k) == bound.end()) all = false;
    if (all) return true;
  }
  return false;
}

Translator::Emitted Translator::EmitScalarSubquery(const tsql::Query& query, const Scope& scope) {
  std::vector<ResultColumn> columns;
  std::vector<std::string> names{"v"};
  std::string sub = SingleColumnQuery(query, scope, columns, names);
  if (columns.size() != 1)
    throw SqlError(
        "Only one expression can be specified in the select list when the subquery is not "
        "introduced with EXISTS.");
  Emitted out;
  out.type = columns[0].type;
  if (SingleRow(query)) {
    out.sql = "(" + sub + ")";
  } else {
    // SQLite would silently take the first row; SQL Server refuses a second one.
    out.sql = "(SELECT tsql_single(count(*), max(\"v\")) FROM (SELECT \"v\" FROM (" + sub +
              ") AS " + NewAlias() + " LIMIT 2) AS " + NewAlias() + ")";
  }
  return out;
}

}  // namespace zov::data::tsql
