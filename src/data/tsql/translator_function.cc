// Functions: the built-in scalar, string and date functions, aggregates and dbo.GetComplexQty.
#include <fmt/format.h>

#include <algorithm>
#include <cctype>

#include "data/sql_error.h"
#include "data/tsql/ast/function_expression.h"
#include "data/tsql/text_rules.h"
#include "data/tsql/translator.h"

namespace zov::data::tsql {

namespace {

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

}  // namespace

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
      if (!qty.type.IsNumericOrNull()) qty = ConvertTo(std::move(qty), SqlType::Decimal(28, 10));
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
    out.sql = "coalesce(" + a.sql + ", " + b.sql + ")";
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
    out.sql = "nullif(" + (a.type.IsString() ? a.sql + std::string(in_.dialect->collate) : a.sql) +
              ", " + b.sql + ")";
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
    if (!x.type.IsNumericOrNull()) x = ConvertTo(std::move(x), SqlType::Of(TypeId::Float));
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
    if (!x.type.IsNumericOrNull()) x = ConvertTo(std::move(x), SqlType::Of(TypeId::Float));
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
    if (!x.type.IsNumericOrNull() || !y.type.IsNumericOrNull())
      throw SqlError("The POWER function requires numeric arguments.");
    out.sql = "pow(" + x.sql + ", " + y.sql + ")";
    if (x.type.IsInteger()) {
      out.sql = fmt::format(fmt::runtime(in_.dialect->truncate), out.sql);
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
    // Object_Id answers from the session's view of the catalog (its temporary tables among it):
    // the front end evaluates it whenever it binds the parameter.
    Parameter p;
    p.source = ParameterSource::ObjectId;
    p.from = SqlType::Of(TypeId::Int);
    for (std::size_t i = 0; i < f.args.size(); ++i) {
      Emitted a = AsText(arg(i));
      Parameter item;
      if (a.param >= 0 && a.param + 1 == static_cast<int>(params_.size())) {
        item = std::move(params_.back());
        params_.pop_back();
      } else if (a.sql == "NULL") {
        item.source = ParameterSource::Null;
      } else {
        throw SqlError(
            "Unsupported T-SQL construct: OBJECT_ID of a value that is not a literal or a "
            "variable.");
      }
      p.items.push_back(std::move(item));
    }
    out.sql = AddParameter(std::move(p));
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
    const std::string_view fn = name == "LTRIM"   ? std::string_view("ltrim")
                                : name == "RTRIM" ? std::string_view("rtrim")
                                                  : in_.dialect->trimBoth;
    out.sql = fmt::format("{}({}, ' ')", fn, s.sql);
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
    if (!x.type.IsNumericOrNull()) x = ConvertTo(std::move(x), SqlType::Of(TypeId::Float));
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
    out.sql += (i ? " || " : "") + std::string("coalesce(") + s.sql + ", '')";
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
    out.sql = in_.dialect->datePart(d.sql, name);
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
