// Parameters and conversions: where a value converts to another type, as a bound parameter or in
// SQL.
#include <fmt/format.h>

#include <algorithm>

#include "data/sql_error.h"
#include "data/tsql/translator.h"

namespace zov::data::tsql {

// ---- Parameters and conversions ----------------------------------------------------------------

std::string Translator::AddParameter(Parameter p) {
  params_.push_back(p);
  return "?" + std::to_string(params_.size());
}

bool Translator::SameClass(const SqlType& a, const SqlType& b) {
  if (a.IsNull() || b.IsNull()) return true;
  if (a.IsString() && b.IsString()) return true;
  if (a.IsNumeric() && b.IsNumeric()) return true;
  if (a.IsDateTime() && b.IsDateTime()) return true;
  return a.id == b.id;
}

std::string Translator::Collated(const Emitted& e) const {
  if (e.type.IsString() && !e.column) return e.sql + std::string(in_.dialect->collate);
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
    e.sql = fmt::format(fmt::runtime(in_.dialect->toFloat), e.sql);
  } else {
    e.sql = in_.dialect->convert(e.sql, from, to, style, context == ConversionContext::Assignment);
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
  e.sql = in_.dialect->convert(e.sql, from, to, -1, true);
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

}  // namespace zov::data::tsql
