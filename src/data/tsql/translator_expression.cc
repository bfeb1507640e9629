// Expressions: typing, conversions between operand types, operators, predicates and functions.
#include <fmt/format.h>

#include <algorithm>
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

// SQL Server's date parts under their canonical names.
std::string DatePartName(std::string_view part) {
  struct Alias {
    const char* name;
    const char* canonical;
  };
  static constexpr Alias kParts[] = {
      {"YEAR", "YEAR"},       {"YY", "YEAR"},
      {"YYYY", "YEAR"},       {"QUARTER", "QUARTER"},
      {"QQ", "QUARTER"},      {"Q", "QUARTER"},
      {"MONTH", "MONTH"},     {"MM", "MONTH"},
      {"M", "MONTH"},         {"DAYOFYEAR", "DAYOFYEAR"},
      {"DY", "DAYOFYEAR"},    {"Y", "DAYOFYEAR"},
      {"DAY", "DAY"},         {"DD", "DAY"},
      {"D", "DAY"},           {"WEEK", "WEEK"},
      {"WK", "WEEK"},         {"WW", "WEEK"},
      {"WEEKDAY", "WEEKDAY"}, {"DW", "WEEKDAY"},
      {"W", "WEEKDAY"},       {"HOUR", "HOUR"},
      {"HH", "HOUR"},         {"MINUTE", "MINUTE"},
      {"MI", "MINUTE"},       {"N", "MINUTE"},
      {"SECOND", "SECOND"},   {"SS", "SECOND"},
      {"S", "SECOND"},        {"MILLISECOND", "MILLISECOND"},
      {"MS", "MILLISECOND"},
  };
  for (const Alias& a : kParts)
    if (EqualsNoCase(part, a.name)) return a.canonical;
  throw SqlError(fmt::format("'{}' is not a recognized datepart option.", part));
}

bool IsNumericOrNull(const SqlType& t) { return t.IsNumeric() || t.IsNull(); }

}  // namespace

// ---- Parameters and conversions ----------------------------------------------------------------

std::string Translator::AddParameter(Parameter p) {
  params_.push_back(p);
  return "?" + std::to_string(params_.size());
}

std::string Translator::TypeText(const SqlType& t) {
  const SqlType shown = t.IsNull() ? SqlType::Of(TypeId::Int) : t;
  return fmt::format("{} /* {} */", shown.Code(), shown.ToString());
}

bool Translator::SameClass(const SqlType& a, const SqlType& b) {
  if (a.IsNull() || b.IsNull()) return true;
  if (a.IsString() && b.IsString()) return true;
  if (a.IsNumeric() && b.IsNumeric()) return true;
  if (a.IsDateTime() && b.IsDateTime()) return true;
  return a.id == b.id;
}

std::string Translator::Collated(const Emitted& e) const {
  if (e.type.IsString() && !e.column) return e.sql + " COLLATE TSQL_CI";
  return e.sql;
}

std::string Translator::Comparable(const Emitted& e) const { return Collated(e); }

Translator::Emitted Translator::Exact(Emitted e) {
  if (!e.inexact) return e;
  e.sql = fmt::format("tsql_round({}, {})", e.sql, e.type.Scale());
  e.inexact = false;
  e.param = -1;
  return e;
}

Translator::Emitted Translator::ConvertTo(Emitted e, const SqlType& to, int style,
                                          ConversionContext context) {
  if (to.IsNull() || to.IsBoolean()) return e;
  if (e.type.IsNull()) {
    e.type = to;
    return e;
  }
  if (e.param >= 0 && !params_[static_cast<std::size_t>(e.param)].convert) {
    Parameter& p = params_[static_cast<std::size_t>(e.param)];
    p.convert = true;
    p.to = to;
    p.style = style;
    p.context = context;
    e.type = to;
    e.column = false;
    return e;
  }
  // An unrounded decimal needs no rounding first: the conversion reads it as the decimal it
  // stands for.
  const SqlType from = e.type;
  bool noop = false;
  if (from.id == to.id && !from.IsString() && from.id != TypeId::Decimal) {
    noop = true;
  } else if (from.IsInteger() && to.IsInteger()) {
    noop = Precedence(to.id) >= Precedence(from.id) && to.id != TypeId::Bit;
  } else if (from.IsInteger() && to.id == TypeId::Decimal) {
    noop = from.DecimalPrecision() <= to.precision - to.scale;
  } else if (from.id == TypeId::Decimal && to.id == TypeId::Decimal) {
    noop = from.scale <= to.scale && from.precision - from.scale <= to.precision - to.scale;
  } else if (from.IsDateTime() && to.id == TypeId::DateTime) {
    noop = true;
  } else if (from.IsString() && to.IsString() && to.id != TypeId::Char && to.id != TypeId::NChar) {
    const bool widening =
        to.length < 0 ||
        (from.length >= 0 && (to.IsUnicode() || !from.IsUnicode()) && from.length <= to.length);
    noop = widening;
  }
  if (noop) {
    e.type = to;
    if (e.column && !(from.IsString() && to.IsString())) e.column = false;
    return e;
  }
  if (from.IsNumeric() && to.id == TypeId::Float) {
    e = Exact(std::move(e));  // the double nearest the exact decimal
    e.sql = "CAST(" + e.sql + " AS REAL)";
  } else {
    e.sql = fmt::format("tsql_cast({}, {}, {}, {}, {})", e.sql, TypeText(from), TypeText(to), style,
                        context == ConversionContext::Assignment ? 1 : 0);
  }
  e.type = to;
  e.column = false;
  e.param = -1;
  e.inexact = false;
  return e;
}

Translator::Emitted Translator::ForWrite(Emitted e, const SqlType& to) {
  if (e.type.IsNull()) return e;
  if (e.param >= 0 && !params_[static_cast<std::size_t>(e.param)].convert)
    return ConvertTo(std::move(e), to, -1, ConversionContext::Assignment);
  const SqlType& from = e.type;
  bool noop = false;
  if (!e.inexact) {
    if (from.IsInteger() && to.IsInteger())
      noop =
          to.id != TypeId::Bit ? Precedence(to.id) >= Precedence(from.id) : from.id == TypeId::Bit;
    else if (from.IsInteger() && to.id == TypeId::Decimal)
      noop = from.id != TypeId::Bit && from.DecimalPrecision() <= to.precision - to.scale;
    else if (from.IsInteger() && (to.id == TypeId::Money || to.IsApproximate()))
      noop = from.id != TypeId::Bit;
    else if (from.id == TypeId::Decimal && to.id == TypeId::Decimal)
      noop = from.scale <= to.scale && from.precision - from.scale <= to.precision - to.scale;
    else if (from.id == TypeId::Decimal && to.id == TypeId::Money)
      noop = from.scale <= 4 && from.precision - from.scale <= 15;
    else if (from.id == TypeId::Money && to.id == TypeId::Money)
      noop = true;
    else if (from.id == TypeId::Money && to.id == TypeId::Decimal)
      noop = to.scale >= 4 && to.precision - to.scale >= 15;
    else if (from.IsApproximate() && to.id == TypeId::Float)
      noop = true;
    else if (from.id == TypeId::Real && to.id == TypeId::Real)
      noop = true;
    else if (from.IsDateTime() && to.id == TypeId::DateTime)
      noop = true;
    else if (from.id == TypeId::SmallDateTime && to.id == TypeId::SmallDateTime)
      noop = true;
    else if (from.id == TypeId::Date && to.id == TypeId::Date)
      noop = true;
    else if (from.IsString() && to.IsString()) {
      if (to.id == TypeId::Text || to.id == TypeId::NText)
        noop = true;
      else if (to.id == TypeId::Char || to.id == TypeId::NChar)
        noop = from.id == to.id && from.length == to.length;
      else if (to.length < 0)
        noop = true;
      else if (from.length >= 0 && from.id != TypeId::Text && from.id != TypeId::NText)
        noop = from.IsUnicode() && !to.IsUnicode() ? 2 * from.length <= to.length
                                                   : from.length <= to.length;
    }
  }
  if (noop) return e;
  e.sql = fmt::format("tsql_cast({}, {}, {}, -1, 1)", e.sql, TypeText(from), TypeText(to));
  e.type = to;
  e.inexact = false;
  e.column = false;
  e.param = -1;
  return e;
}

Translator::Emitted Translator::AsText(Emitted e) {
  if (e.type.IsString()) return e;
  if (e.type.IsNull()) {
    e.type = SqlType::VarChar(-1);
    return e;
  }
  return ConvertTo(std::move(e), SqlType::VarChar(-1));
}

void Translator::Unify(Emitted& a, Emitted& b, const char* what) {
  (void)what;
  if (SameClass(a.type, b.type)) return;
  Emitted& low = Precedence(a.type.id) >= Precedence(b.type.id) ? b : a;
  const Emitted& high = &low == &a ? b : a;
  SqlType target = high.type;
  if (target.id == TypeId::Decimal && low.type.IsString())
    target = SqlType::Decimal(38, std::max(10, target.scale));
  low = ConvertTo(std::move(low), target);
}

SqlType Translator::CommonResultType(const std::vector<SqlType>& types, const char* what) {
  SqlType t = SqlType::Of(TypeId::Null);
  for (const SqlType& x : types) {
    if (x.IsBoolean())
      throw SqlError(
          fmt::format("Incorrect syntax: a condition cannot be used as a value in {}.", what));
    t = CommonType(t, x);
  }
  return t;
}

SqlType Translator::CaseResultType(const std::vector<SqlType>& types) {
  const SqlType t = CommonResultType(types, "CASE");
  if (t.IsNull())
    throw SqlError(
        "At least one of the result expressions in a CASE expression must be an expression other "
        "than the NULL constant.");
  return t;
}

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
      if (!IsNumericOrNull(x.type))
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
      out.sql = "(" + a.sql + (l.isAnd ? " AND " : " OR ") + b.sql + ")";
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
    out.sql = "(" + l.sql + " || " + r.sql + ")";
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
    if ((b.op != '+' && b.op != '-') || !IsNumericOrNull(number.type) || (b.op == '-' && !leftDate))
      throw SqlError(fmt::format("Unsupported T-SQL construct: {} of {} and {}.",
                                 OperatorName(b.op), l.type.ToString(), r.type.ToString()));
    out.sql =
        fmt::format("tsql_adddays({}, {}{})", date.sql, b.op == '-' ? "-" : "", Exact(number).sql);
    out.type = date.type.id == TypeId::Date ? SqlType::Of(TypeId::DateTime) : date.type;
    return out;
  }
  if (!IsNumericOrNull(l.type) || !IsNumericOrNull(r.type)) {
    const SqlType& bad = IsNumericOrNull(l.type) ? r.type : l.type;
    throw SqlError(fmt::format("Operand data type {} is invalid for {} operator.", bad.ToString(),
                               OperatorName(b.op)));
  }
  const SqlType t =
      ArithmeticType(b.op == '&' || b.op == '|' || b.op == '^' ? '+' : b.op, l.type, r.type);
  out.type = t;
  switch (b.op) {
    case '+':
    case '-':
    case '*':
      out.sql = "(" + l.sql + " " + b.op + " " + r.sql + ")";
      out.inexact = t.IsExactScaled();
      return out;
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
    right += " COLLATE TSQL_CI";
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
        sub = "SELECT " + v.sql + " FROM (" + sub + ")";
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
  std::string list;
  for (Emitted& item : items) {
    if (!SameClass(item.type, x.type)) item = ConvertTo(std::move(item), x.type);
    item = Exact(std::move(item));
    list += list.empty() ? "" : ", ";
    list += item.sql;
  }
  const bool text = x.type.IsString();
  out.sql = "(" + (text ? Collated(x) : x.sql) + (in.negated ? " NOT IN (" : " IN (") + list + "))";
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
    out.sql =
        "(SELECT tsql_single(count(*), max(\"v\")) FROM (SELECT \"v\" FROM (" + sub + ") LIMIT 2))";
  }
  return out;
}

// ---- Functions ---------------------------------------------------------------------------------

Translator::Emitted Translator::EmitFunction(const FunctionExpression& f, const Scope& scope) {
  const std::string name = UpperAscii(f.name);
  Emitted out;
  auto args = [&](std::size_t min, std::size_t max) {
    if (f.args.size() < min || f.args.size() > max || f.star)
      throw SqlError(
          fmt::format("The {} function requires {} argument(s).", f.name,
                      min == max ? std::to_string(min) : fmt::format("{} to {}", min, max)));
  };
  auto arg = [&](std::size_t i) { return Exact(Value(*f.args[i], scope)); };
  auto integer = [&](std::size_t i) {
    Emitted v = arg(i);
    if (!v.type.IsInteger() && !v.type.IsNull())
      v = ConvertTo(std::move(v), SqlType::Of(TypeId::Int));
    return v;
  };
  if (!f.schema.empty()) {
    if (EqualsNoCase(f.schema, "dbo") && name == "GETCOMPLEXQTY") {
      args(2, 2);
      Emitted item = integer(0);
      Emitted qty = arg(1);
      if (!IsNumericOrNull(qty.type)) qty = ConvertTo(std::move(qty), SqlType::Decimal(28, 10));
      out.sql = "tsql_complex_qty(" + item.sql + ", " + qty.sql + ")";
      out.type = SqlType::NVarChar(255);
      return out;
    }
    throw SqlError(
        fmt::format("Cannot find either column \"{}\" or the user-defined function or aggregate "
                    "\"{}.{}\", or the name is ambiguous.",
                    f.schema, f.schema, f.name));
  }
  static const char* const kAggregates[] = {"COUNT",        "COUNT_BIG", "SUM",       "AVG", "MIN",
                                            "MAX",          "STDEV",     "STDEVP",    "VAR", "VARP",
                                            "CHECKSUM_AGG", "GROUPING",  "STRING_AGG"};
  for (const char* a : kAggregates)
    if (name == a) return EmitAggregate(f, scope);
  if (name == "DATEADD" || name == "DATEDIFF" || name == "DATEPART" || name == "DATENAME" ||
      name == "YEAR" || name == "MONTH" || name == "DAY" || name == "GETDATE" ||
      name == "GETUTCDATE" || name == "SYSDATETIME" || name == "ISDATE" || name == "DATEDIFF_BIG")
    return EmitDateFunction(f, scope);

  if (name == "ISNULL") {
    args(2, 2);
    Emitted a = arg(0);
    Emitted b = arg(1);
    const SqlType t = a.type.IsNull() ? b.type : a.type;
    if (!(b.type == t) && !b.type.IsNull()) {
      const bool widening =
          SameClass(b.type, t) &&
          !(t.IsString() && (t.length >= 0 && (b.type.length < 0 || b.type.length > t.length))) &&
          !(t.IsInteger() && !b.type.IsInteger()) &&
          !(t.id == TypeId::Decimal && b.type.Scale() > t.Scale());
      if (!widening) b = ConvertTo(std::move(b), t);
    }
    out.sql = "ifnull(" + a.sql + ", " + b.sql + ")";
    out.type = t;
    return out;
  }
  if (name == "COALESCE") {
    if (f.args.size() < 2) throw SqlError("The coalesce function requires at least two arguments.");
    std::vector<Emitted> values;
    std::vector<SqlType> types;
    for (std::size_t i = 0; i < f.args.size(); ++i) {
      values.push_back(arg(i));
      types.push_back(values.back().type);
    }
    const SqlType t = CommonResultType(types, "COALESCE");
    out.sql = "coalesce(";
    for (std::size_t i = 0; i < values.size(); ++i) {
      Emitted v = values[i];
      if (!SameClass(v.type, t)) v = ConvertTo(std::move(v), t);
      out.sql += (i ? ", " : "") + v.sql;
    }
    out.sql += ")";
    out.type = t;
    return out;
  }
  if (name == "NULLIF") {
    args(2, 2);
    Emitted a = arg(0);
    Emitted b = arg(1);
    const SqlType t = a.type;
    Unify(a, b, "NULLIF");
    out.sql =
        "nullif(" + (a.type.IsString() ? a.sql + " COLLATE TSQL_CI" : a.sql) + ", " + b.sql + ")";
    out.type = t.IsNull() ? a.type : a.type;
    return out;
  }
  if (name == "IIF") {
    args(3, 3);
    Emitted c = Predicate(*f.args[0], scope);
    Emitted a = arg(1);
    Emitted b = arg(2);
    const SqlType t = CommonResultType({a.type, b.type}, "IIF");
    if (!SameClass(a.type, t)) a = ConvertTo(std::move(a), t);
    if (!SameClass(b.type, t)) b = ConvertTo(std::move(b), t);
    out.sql = "CASE WHEN " + c.sql + " THEN " + a.sql + " ELSE " + b.sql + " END";
    out.type = t;
    return out;
  }
  if (name == "LEN" || name == "LTRIM" || name == "RTRIM" || name == "TRIM" || name == "UPPER" ||
      name == "LOWER" || name == "SUBSTRING" || name == "LEFT" || name == "RIGHT" ||
      name == "REPLACE" || name == "CHARINDEX" || name == "PATINDEX" || name == "REPLICATE" ||
      name == "SPACE" || name == "REVERSE" || name == "STUFF" || name == "STR" ||
      name == "CONCAT" || name == "DATALENGTH")
    return EmitStringFunction(f, name, scope);
  if (name == "ROUND") {
    args(2, 3);
    Emitted x = Value(*f.args[0], scope);
    if (!IsNumericOrNull(x.type)) x = ConvertTo(std::move(x), SqlType::Of(TypeId::Float));
    Emitted n = integer(1);
    out.sql = "tsql_round(" + x.sql + ", " + n.sql;
    if (f.args.size() == 3) out.sql += ", " + integer(2).sql;
    out.sql += ")";
    out.type = x.type.id == TypeId::Decimal
                   ? SqlType::Decimal(std::min(38, x.type.precision + 1), x.type.scale)
               : x.type.IsNull() ? SqlType::Of(TypeId::Int)
                                 : x.type;
    if (out.type.id == TypeId::Bit || out.type.id == TypeId::TinyInt)
      out.type = SqlType::Of(TypeId::Int);
    return out;
  }
  if (name == "ABS" || name == "CEILING" || name == "FLOOR" || name == "SIGN") {
    args(1, 1);
    Emitted x = arg(0);
    if (!IsNumericOrNull(x.type)) x = ConvertTo(std::move(x), SqlType::Of(TypeId::Float));
    const char* fn = name == "ABS"       ? "abs"
                     : name == "CEILING" ? "tsql_ceiling"
                     : name == "FLOOR"   ? "tsql_floor"
                                         : "sign";
    out.sql = std::string(fn) + "(" + x.sql + ")";
    out.type = x.type;
    if (x.type.id == TypeId::Decimal && name != "ABS")
      out.type = SqlType::Decimal(x.type.precision, 0);
    if (out.type.id == TypeId::Bit) out.type = SqlType::Of(TypeId::Int);
    return out;
  }
  if (name == "POWER") {
    args(2, 2);
    Emitted x = arg(0);
    Emitted y = arg(1);
    if (!IsNumericOrNull(x.type) || !IsNumericOrNull(y.type))
      throw SqlError("The POWER function requires numeric arguments.");
    out.sql = "pow(" + x.sql + ", " + y.sql + ")";
    if (x.type.IsInteger()) {
      out.sql = "CAST(" + out.sql + " AS INTEGER)";
      out.type = x.type.id == TypeId::BigInt ? x.type : SqlType::Of(TypeId::Int);
    } else {
      out.type = SqlType::Of(TypeId::Float);
    }
    return out;
  }
  if (name == "SQRT" || name == "EXP" || name == "LOG" || name == "LOG10" || name == "PI") {
    if (name == "PI") {
      args(0, 0);
      out.sql = "pi()";
    } else {
      args(1, 1);
      Emitted x = ConvertTo(arg(0), SqlType::Of(TypeId::Float));
      const char* fn = name == "SQRT"  ? "sqrt"
                       : name == "EXP" ? "exp"
                       : name == "LOG" ? "ln"
                                       : "log10";
      out.sql = std::string(fn) + "(" + x.sql + ")";
    }
    out.type = SqlType::Of(TypeId::Float);
    return out;
  }
  if (name == "ISNUMERIC") {
    args(1, 1);
    out.sql = "tsql_isnumeric(" + arg(0).sql + ")";
    out.type = SqlType::Of(TypeId::Int);
    return out;
  }
  if (name == "OBJECT_ID") {
    args(1, 2);
    out.sql = "tsql_object_id(" + AsText(arg(0)).sql;
    if (f.args.size() == 2) out.sql += ", " + AsText(arg(1)).sql;
    out.sql += ")";
    out.type = SqlType::Of(TypeId::Int);
    return out;
  }
  if (name == "SCOPE_IDENTITY") {
    args(0, 0);
    Parameter p;
    p.source = ParameterSource::Identity;
    p.from = SqlType::Decimal(38, 0);
    out.sql = AddParameter(p);
    out.type = p.from;
    return out;
  }
  static const char* const kKnownUnsupported[] = {
      "NEWID",       "CHAR",        "NCHAR",         "ASCII",         "UNICODE",      "FORMAT",
      "TRY_CONVERT", "TRY_CAST",    "PARSE",         "CHOOSE",        "STRING_SPLIT", "SOUNDEX",
      "DIFFERENCE",  "QUOTENAME",   "EOMONTH",       "DATEFROMPARTS", "ROW_NUMBER",   "RANK",
      "DENSE_RANK",  "NTILE",       "IDENT_CURRENT", "USER_NAME",     "SUSER_SNAME",  "HOST_NAME",
      "DB_NAME",     "OBJECT_NAME", "COL_LENGTH",    "RAND"};
  for (const char* u : kKnownUnsupported)
    if (name == u) throw SqlError(fmt::format("Unsupported T-SQL construct: function {}.", name));
  throw SqlError(fmt::format("'{}' is not a recognized built-in function name.", f.name));
}

Translator::Emitted Translator::EmitStringFunction(const FunctionExpression& f,
                                                   const std::string& name, const Scope& scope) {
  Emitted out;
  auto args = [&](std::size_t min, std::size_t max) {
    if (f.args.size() < min || f.args.size() > max || f.star)
      throw SqlError(
          fmt::format("The {} function requires {} argument(s).", f.name,
                      min == max ? std::to_string(min) : fmt::format("{} to {}", min, max)));
  };
  auto text = [&](std::size_t i) { return AsText(Exact(Value(*f.args[i], scope))); };
  auto integer = [&](std::size_t i) {
    Emitted v = Exact(Value(*f.args[i], scope));
    if (!v.type.IsInteger() && !v.type.IsNull())
      v = ConvertTo(std::move(v), SqlType::Of(TypeId::BigInt));
    return v;
  };
  auto resultText = [](const SqlType& like) {
    return SqlType{like.IsUnicode() ? TypeId::NVarChar : TypeId::VarChar, -1, 0, 0};
  };
  if (name == "LEN") {
    args(1, 1);
    Emitted s = text(0);
    out.sql = "length(rtrim(" + s.sql + ", ' '))";
    out.type = SqlType::Of(TypeId::Int);
    return out;
  }
  if (name == "DATALENGTH") {
    args(1, 1);
    Emitted s = Exact(Value(*f.args[0], scope));
    if (!s.type.IsString() && !s.type.IsNull())
      throw SqlError("Unsupported T-SQL construct: DATALENGTH of a non-character value.");
    out.sql = fmt::format("tsql_datalength({}, {})", s.sql, s.type.IsUnicode() ? 1 : 0);
    out.type = SqlType::Of(TypeId::Int);
    return out;
  }
  if (name == "LTRIM" || name == "RTRIM" || name == "TRIM") {
    args(1, 1);
    Emitted s = text(0);
    const char* fn = name == "LTRIM" ? "ltrim" : name == "RTRIM" ? "rtrim" : "trim";
    out.sql = std::string(fn) + "(" + s.sql + ", ' ')";
    out.type = s.type.id == TypeId::Char    ? SqlType::VarChar(s.type.length)
               : s.type.id == TypeId::NChar ? SqlType::NVarChar(s.type.length)
                                            : s.type;
    return out;
  }
  if (name == "UPPER" || name == "LOWER") {
    args(1, 1);
    Emitted s = text(0);
    out.sql = std::string(name == "UPPER" ? "tsql_upper(" : "tsql_lower(") + s.sql + ")";
    out.type = s.type;
    return out;
  }
  if (name == "SUBSTRING") {
    args(3, 3);
    Emitted s = text(0);
    out.sql = "tsql_substring(" + s.sql + ", " + integer(1).sql + ", " + integer(2).sql + ")";
    out.type =
        SqlType{s.type.IsUnicode() ? TypeId::NVarChar : TypeId::VarChar, s.type.length, 0, 0};
    return out;
  }
  if (name == "LEFT" || name == "RIGHT") {
    args(2, 2);
    Emitted s = text(0);
    out.sql = std::string(name == "LEFT" ? "tsql_left(" : "tsql_right(") + s.sql + ", " +
              integer(1).sql + ")";
    out.type =
        SqlType{s.type.IsUnicode() ? TypeId::NVarChar : TypeId::VarChar, s.type.length, 0, 0};
    return out;
  }
  if (name == "REPLACE") {
    args(3, 3);
    Emitted s = text(0);
    out.sql = "tsql_replace(" + s.sql + ", " + text(1).sql + ", " + text(2).sql + ")";
    out.type = resultText(s.type);
    return out;
  }
  if (name == "CHARINDEX") {
    args(2, 3);
    out.sql = "tsql_charindex(" + text(0).sql + ", " + text(1).sql;
    if (f.args.size() == 3) out.sql += ", " + integer(2).sql;
    out.sql += ")";
    out.type = SqlType::Of(TypeId::Int);
    return out;
  }
  if (name == "PATINDEX") {
    args(2, 2);
    out.sql = "tsql_patindex(" + text(0).sql + ", " + text(1).sql + ")";
    out.type = SqlType::Of(TypeId::Int);
    return out;
  }
  if (name == "REPLICATE") {
    args(2, 2);
    Emitted s = text(0);
    out.sql = "tsql_replicate(" + s.sql + ", " + integer(1).sql + ")";
    out.type = resultText(s.type);
    return out;
  }
  if (name == "SPACE") {
    args(1, 1);
    out.sql = "tsql_replicate(' ', " + integer(0).sql + ")";
    out.type = SqlType::VarChar(-1);
    return out;
  }
  if (name == "REVERSE") {
    args(1, 1);
    Emitted s = text(0);
    out.sql = "tsql_reverse(" + s.sql + ")";
    out.type = s.type;
    return out;
  }
  if (name == "STUFF") {
    args(4, 4);
    Emitted s = text(0);
    out.sql = "tsql_stuff(" + s.sql + ", " + integer(1).sql + ", " + integer(2).sql + ", " +
              text(3).sql + ")";
    out.type = resultText(s.type);
    return out;
  }
  if (name == "STR") {
    args(1, 3);
    Emitted x = Exact(Value(*f.args[0], scope));
    if (!IsNumericOrNull(x.type)) x = ConvertTo(std::move(x), SqlType::Of(TypeId::Float));
    out.sql = "tsql_str(" + x.sql;
    for (std::size_t i = 1; i < f.args.size(); ++i) out.sql += ", " + integer(i).sql;
    out.sql += ")";
    out.type = SqlType::VarChar(-1);
    return out;
  }
  // CONCAT: NULL counts as the empty string.
  if (f.args.size() < 2) throw SqlError("The concat function requires 2 to 254 arguments.");
  bool unicode = false;
  out.sql = "(";
  for (std::size_t i = 0; i < f.args.size(); ++i) {
    Emitted s = text(i);
    unicode = unicode || s.type.IsUnicode();
    out.sql += (i ? " || " : "") + std::string("ifnull(") + s.sql + ", '')";
  }
  out.sql += ")";
  out.type = unicode ? SqlType::NVarChar(-1) : SqlType::VarChar(-1);
  return out;
}

Translator::Emitted Translator::EmitDateFunction(const FunctionExpression& f, const Scope& scope) {
  const std::string name = UpperAscii(f.name);
  Emitted out;
  auto args = [&](std::size_t n) {
    if (f.args.size() != n || f.star)
      throw SqlError(fmt::format("The {} function requires {} argument(s).", f.name,
                                 n + (f.datePart.empty() ? 0 : 1)));
  };
  auto date = [&](std::size_t i) {
    Emitted d = Exact(Value(*f.args[i], scope));
    if (!d.type.IsDateTime() && !d.type.IsNull())
      d = ConvertTo(std::move(d), SqlType::Of(TypeId::DateTime));
    return d;
  };
  if (name == "GETDATE" || name == "SYSDATETIME" || name == "GETUTCDATE") {
    args(0);
    out.sql = name == "GETUTCDATE" ? "tsql_getutcdate()" : "tsql_getdate()";
    out.type = SqlType::Of(TypeId::DateTime);
    return out;
  }
  if (name == "ISDATE") {
    args(1);
    out.sql = "tsql_isdate(" + AsText(Exact(Value(*f.args[0], scope))).sql + ")";
    out.type = SqlType::Of(TypeId::Int);
    return out;
  }
  if (name == "YEAR" || name == "MONTH" || name == "DAY") {
    args(1);
    Emitted d = date(0);
    const char* range = name == "YEAR" ? "1, 4" : name == "MONTH" ? "6, 2" : "9, 2";
    // Datetimes are stored as canonical text, so the parts are plain substrings.
    out.sql = fmt::format("CAST(substr({}, {}) AS INTEGER)", d.sql, range);
    out.type = SqlType::Of(TypeId::Int);
    return out;
  }
  const std::string part = DatePartName(f.datePart);
  if (name == "DATEADD") {
    args(2);
    Emitted n = Exact(Value(*f.args[0], scope));
    if (!n.type.IsInteger() && !n.type.IsNull())
      n = ConvertTo(std::move(n), SqlType::Of(TypeId::Int));
    Emitted d = date(1);
    out.sql = fmt::format("tsql_dateadd('{}', {}, {})", part, n.sql, d.sql);
    out.type = d.type.IsNull() ? SqlType::Of(TypeId::DateTime) : d.type;
    return out;
  }
  if (name == "DATEDIFF" || name == "DATEDIFF_BIG") {
    args(2);
    Emitted a = date(0);
    Emitted b = date(1);
    out.sql = fmt::format("tsql_datediff('{}', {}, {})", part, a.sql, b.sql);
    out.type = SqlType::Of(name == "DATEDIFF" ? TypeId::Int : TypeId::BigInt);
    return out;
  }
  args(1);
  Emitted d = date(0);
  if (name == "DATEPART") {
    out.sql = fmt::format("tsql_datepart('{}', {})", part, d.sql);
    out.type = SqlType::Of(TypeId::Int);
  } else {
    out.sql = fmt::format("tsql_datename('{}', {})", part, d.sql);
    out.type = SqlType::NVarChar(30);
  }
  return out;
}

Translator::Emitted Translator::EmitAggregate(const FunctionExpression& f, const Scope& scope) {
  const std::string name = UpperAscii(f.name);
  if (!aggregatesAllowed_)
    throw SqlError(
        "An aggregate may not appear in the WHERE clause unless it is in a subquery contained in a "
        "HAVING clause or a select list, and the column being aggregated is an outer reference.");
  if (aggregateDepth_ > 0)
    throw SqlError(
        "Cannot perform an aggregate function on an expression containing an aggregate or a "
        "subquery.");
  Emitted out;
  if (name == "COUNT" || name == "COUNT_BIG") {
    out.type = SqlType::Of(name == "COUNT" ? TypeId::Int : TypeId::BigInt);
    if (f.star) {
      out.sql = "count(*)";
      return out;
    }
    if (f.args.size() != 1)
      throw SqlError(fmt::format("The {} function requires 1 argument(s).", f.name));
    ++aggregateDepth_;
    Emitted x = Exact(Value(*f.args[0], scope));
    --aggregateDepth_;
    out.sql = std::string("count(") + (f.distinct ? "DISTINCT " : "") + Comparable(x) + ")";
    return out;
  }
  if (name != "SUM" && name != "AVG" && name != "MIN" && name != "MAX")
    throw SqlError(fmt::format("Unsupported T-SQL construct: aggregate {}.", name));
  if (f.star || f.args.size() != 1)
    throw SqlError(fmt::format("The {} function requires 1 argument(s).", f.name));
  ++aggregateDepth_;
  Emitted x = Value(*f.args[0], scope);
  --aggregateDepth_;
  const std::string distinct = f.distinct ? "DISTINCT " : "";
  if (name == "MIN" || name == "MAX") {
    x = Exact(std::move(x));
    out.sql = (name == "MIN" ? "min(" : "max(") + distinct + Comparable(x) + ")";
    out.type = x.type;
    return out;
  }
  const SqlType& t = x.type;
  if (!t.IsNumeric() || t.id == TypeId::Bit) {
    std::string typeName = t.IsNull() ? "NULL" : t.ToString();
    typeName = typeName.substr(0, typeName.find('('));
    std::string op = name;
    for (char& ch : op) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    throw SqlError(fmt::format("Operand data type {} is invalid for {} operator.", typeName, op));
  }
  if (f.distinct) x = Exact(std::move(x));
  if (name == "SUM") {
    out.sql = "sum(" + distinct + x.sql + ")";
    if (t.IsInteger())
      out.type = SqlType::Of(t.id == TypeId::BigInt ? TypeId::BigInt : TypeId::Int);
    else if (t.id == TypeId::Decimal)
      out.type = SqlType::Decimal(38, t.scale);
    else if (t.id == TypeId::Money || t.id == TypeId::SmallMoney)
      out.type = SqlType::Of(TypeId::Money);
    else
      out.type = SqlType::Of(TypeId::Float);
    out.inexact = out.type.IsExactScaled();
    return out;
  }
  // AVG: integer averages truncate as SQL Server's integer division does.
  if (t.IsInteger()) {
    out.sql = "(sum(" + distinct + x.sql + ") / count(" + distinct + x.sql + "))";
    out.type = SqlType::Of(t.id == TypeId::BigInt ? TypeId::BigInt : TypeId::Int);
    return out;
  }
  out.sql = "avg(" + distinct + x.sql + ")";
  if (t.id == TypeId::Decimal)
    out.type = SqlType::Decimal(38, std::max(6, t.scale));
  else if (t.id == TypeId::Money || t.id == TypeId::SmallMoney)
    out.type = SqlType::Of(TypeId::Money);
  else
    out.type = SqlType::Of(TypeId::Float);
  out.inexact = out.type.IsExactScaled();
  return out;
}

}  // namespace zov::data::tsql
