#include "zov/vb/convert.h"

#include <cmath>

#include "decimal.h"
#include "format_pattern.h"
#include "zov/vb/datetime.h"
#include "zov/vb/error.h"

namespace zov::vb {

namespace {

using detail::Decimal;

bool EqualsIgnoringCase(std::string_view text, std::string_view word) {
  return StrComp(text, word, CompareMethod::Text) == 0;
}

// The Double value of any Variant that VB converts to a number.
double NumberOf(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty:
      return 0;
    case VarType::Null:
      Raise(kErrInvalidUseOfNull);
    case VarType::Boolean:
      return v.AsBool() ? -1 : 0;
    case VarType::Long:
      return v.AsLong();
    case VarType::Double:
      return v.AsDouble();
    case VarType::Currency:
      return v.AsCurrency().ToDouble();
    case VarType::Date:
      return v.AsDate().serial;
    case VarType::String: {
      const auto parsed = detail::ParseNumber(v.AsString());
      if (!parsed) Raise(kErrTypeMismatch);
      const double value = detail::ToDouble(*parsed);
      if (!std::isfinite(value)) Raise(kErrOverflow);
      return value;
    }
    case VarType::Object:
      break;
  }
  Raise(kErrTypeMismatch);
}

// Half to even (the default floating-point rounding mode), then a range check.
double RoundToRange(double value, double low, double high) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= low && rounded <= high)) Raise(kErrOverflow);
  return rounded;
}

int Sign(double x) { return x < 0 ? -1 : x > 0 ? 1 : 0; }

Comparison FromSign(int s) {
  return s < 0 ? Comparison::Less : s > 0 ? Comparison::Greater : Comparison::Equal;
}

Comparison CompareNumbers(const Variant& a, const Variant& b) {
  if (a.Type() == VarType::Currency && b.Type() == VarType::Currency)
    return FromSign(a.AsCurrency() < b.AsCurrency() ? -1 : a.AsCurrency() > b.AsCurrency() ? 1 : 0);
  return FromSign(Sign(NumberOf(a) - NumberOf(b)));
}

// An operand of the arithmetic operators after VB's conversions: Empty and Boolean become Long,
// text becomes Double.
struct Operand {
  VarType kind = VarType::Long;
  std::int64_t whole = 0;  // Long
  double real = 0;         // Double, Date
  Currency money;          // Currency

  double AsDouble() const {
    return kind == VarType::Long       ? static_cast<double>(whole)
           : kind == VarType::Currency ? money.ToDouble()
                                       : real;
  }
  Currency AsCurrency() const {
    if (kind == VarType::Currency) return money;
    if (kind == VarType::Long) return Currency::FromScaled(whole * Currency::kScale);
    return Currency::FromDouble(real);
  }
};

Operand OperandOf(const Variant& v) {
  Operand o;  // Empty and Boolean are Long
  switch (v.Type()) {
    case VarType::Empty:
      break;
    case VarType::Boolean:
      o.whole = v.AsBool() ? -1 : 0;
      break;
    case VarType::Long:
      o.whole = v.AsLong();
      break;
    case VarType::Currency:
      o.kind = VarType::Currency;
      o.money = v.AsCurrency();
      break;
    case VarType::Date:
      o.kind = VarType::Date;
      o.real = v.AsDate().serial;
      break;
    case VarType::Double:
    case VarType::String:
      o.kind = VarType::Double;
      o.real = NumberOf(v);
      break;
    default:
      Raise(kErrTypeMismatch);
  }
  return o;
}

enum class Op { kAdd, kSubtract, kMultiply };

Variant CheckedDouble(double value) {
  if (!std::isfinite(value)) Raise(kErrOverflow);
  return value;
}

Variant CheckedDate(double serial) {
  if (!IsDateSerialInRange(serial)) Raise(kErrOverflow);
  return Date{serial};
}

Currency MultiplyCurrency(Currency x, Currency y) {
  const __int128 product = static_cast<__int128>(x.scaled) * y.scaled;
  __int128 q = product / Currency::kScale;
  const __int128 r = product % Currency::kScale;
  const __int128 twice = (r < 0 ? -r : r) * 2;
  if (twice > Currency::kScale || (twice == Currency::kScale && q % 2 != 0))
    q += product < 0 ? -1 : 1;
  if (q > INT64_MAX || q < INT64_MIN) Raise(kErrOverflow);
  return Currency::FromScaled(static_cast<std::int64_t>(q));
}

Variant Arithmetic(Op op, const Operand& x, const Operand& y) {
  const bool anyDate = x.kind == VarType::Date || y.kind == VarType::Date;
  if (anyDate && op != Op::kMultiply) {
    if (op == Op::kSubtract && x.kind == VarType::Date && y.kind == VarType::Date)
      return CheckedDouble(x.real - y.real);
    return CheckedDate(op == Op::kAdd ? x.AsDouble() + y.AsDouble() : x.AsDouble() - y.AsDouble());
  }
  if (x.kind == VarType::Currency || y.kind == VarType::Currency) {
    const Currency a = x.AsCurrency(), b = y.AsCurrency();
    if (op == Op::kMultiply) return MultiplyCurrency(a, b);
    std::int64_t sum = 0;
    const bool overflow = op == Op::kAdd ? __builtin_add_overflow(a.scaled, b.scaled, &sum)
                                         : __builtin_sub_overflow(a.scaled, b.scaled, &sum);
    if (overflow) Raise(kErrOverflow);
    return Currency::FromScaled(sum);
  }
  if (x.kind == VarType::Long && y.kind == VarType::Long) {
    const std::int64_t r = op == Op::kAdd        ? x.whole + y.whole
                           : op == Op::kSubtract ? x.whole - y.whole
                                                 : x.whole * y.whole;
    if (r >= INT32_MIN && r <= INT32_MAX) return static_cast<std::int32_t>(r);
    return static_cast<double>(r);  // VB widens a Variant Long that overflows to a Double
  }
  const double a = x.AsDouble(), b = y.AsDouble();
  return CheckedDouble(op == Op::kAdd ? a + b : op == Op::kSubtract ? a - b : a * b);
}

Variant Binary(Op op, const Variant& a, const Variant& b) {
  if (a.IsNull() || b.IsNull()) return Variant::Null();
  return Arithmetic(op, OperandOf(a), OperandOf(b));
}

}  // namespace

bool CBool(const Variant& v) {
  if (v.IsString()) {
    const std::string& text = v.AsString();
    if (EqualsIgnoringCase(text, "True")) return true;
    if (EqualsIgnoringCase(text, "False")) return false;
  }
  return NumberOf(v) != 0;
}

std::int16_t CInt(const Variant& v) {
  return static_cast<std::int16_t>(RoundToRange(NumberOf(v), -32768.0, 32767.0));
}

std::int32_t CLng(const Variant& v) {
  return static_cast<std::int32_t>(RoundToRange(NumberOf(v), -2147483648.0, 2147483647.0));
}

double CDbl(const Variant& v) { return NumberOf(v); }

Currency CCur(const Variant& v) {
  switch (v.Type()) {
    case VarType::Currency:
      return v.AsCurrency();
    case VarType::Long:
      return Currency::FromScaled(std::int64_t{v.AsLong()} * Currency::kScale);
    case VarType::String: {
      const auto parsed = detail::ParseNumber(v.AsString());
      if (!parsed) Raise(kErrTypeMismatch);
      const auto money = detail::ToCurrency(*parsed);
      if (!money) Raise(kErrOverflow);
      return *money;
    }
    default:
      return Currency::FromDouble(NumberOf(v));
  }
}

Date CDate(const Variant& v) {
  switch (v.Type()) {
    case VarType::Date:
      return v.AsDate();
    case VarType::String: {
      const auto parsed = ParseDate(v.AsString());
      if (!parsed) Raise(kErrTypeMismatch);
      return *parsed;
    }
    default: {
      const double serial = NumberOf(v);
      if (!IsDateSerialInRange(serial)) Raise(kErrOverflow);
      return Date{serial};
    }
  }
}

std::string CStr(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty:
      return {};
    case VarType::Null:
      Raise(kErrInvalidUseOfNull);
    case VarType::Boolean:
      return v.AsBool() ? "True" : "False";
    case VarType::Long:
      return std::to_string(v.AsLong());
    case VarType::Double:
      return detail::GeneralText(detail::DecimalOfDouble(v.AsDouble()));
    case VarType::Currency:
      return detail::FixedText(detail::DecimalOfCurrency(v.AsCurrency()));
    case VarType::Date:
      return detail::GeneralDateText(v.AsDate());
    case VarType::String:
      return v.AsString();
    case VarType::Object:
      break;
  }
  Raise(kErrTypeMismatch);
}

double Val(std::string_view t) {
  std::size_t i = 0;
  // Val skips blanks, tabs and line feeds wherever they are, even between digits.
  const auto peek = [&]() -> char {
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t' || t[i] == '\n')) ++i;
    return i < t.size() ? t[i] : '\0';
  };
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };

  if (peek() == '&') {
    ++i;
    const char kind = peek();
    const int radix = (kind == 'H' || kind == 'h') ? 16 : (kind == 'O' || kind == 'o') ? 8 : 0;
    if (radix == 0) return 0;
    ++i;
    std::uint64_t value = 0;
    for (char c = peek();; c = peek()) {
      const int d = digit(c)                 ? c - '0'
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                             : 99;
      if (d >= radix) break;
      value = value * radix + static_cast<std::uint64_t>(d);
      if (value > 0xFFFFFFFFull) Raise(kErrOverflow);
      ++i;
    }
    return *detail::WrapRadixValue(value);
  }

  Decimal d;
  if (peek() == '-' || peek() == '+') d.negative = t[i++] == '-';
  int whole = 0;
  for (; digit(peek()); ++i, ++whole) d.digits.push_back(t[i]);
  if (peek() == '.')
    for (++i; digit(peek()); ++i) d.digits.push_back(t[i]);
  long exponent = 0;
  if (!d.digits.empty()) {
    const char e = peek();
    if (e == 'e' || e == 'E' || e == 'd' || e == 'D') {
      ++i;
      bool minus = false;
      if (peek() == '-' || peek() == '+') minus = t[i++] == '-';
      for (; digit(peek()); ++i) exponent = std::min(exponent * 10 + (t[i] - '0'), 100000L);
      if (minus) exponent = -exponent;
    }
  }
  d.point = whole + static_cast<int>(exponent);
  detail::Normalize(d);
  const double value = detail::ToDouble(d);
  if (!std::isfinite(value)) Raise(kErrOverflow);
  return value == 0 ? 0.0 : value;
}

bool IsNumeric(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Long:
    case VarType::Double:
    case VarType::Currency:
      return true;
    case VarType::String: {
      const auto parsed = detail::ParseNumber(v.AsString());
      return parsed && std::isfinite(detail::ToDouble(*parsed));
    }
    default:
      return false;
  }
}

Comparison Compare(const Variant& a, const Variant& b, CompareMethod compare) {
  if (a.IsNull() || b.IsNull()) return Comparison::Null;
  if (a.IsObject() || b.IsObject()) Raise(kErrTypeMismatch);
  const bool textA = a.IsString(), textB = b.IsString();
  if (textA || textB) {
    if (textA && textB) return FromSign(StrComp(a.AsString(), b.AsString(), compare));
    if (a.IsEmpty()) return FromSign(StrComp("", b.AsString(), compare));
    if (b.IsEmpty()) return FromSign(StrComp(a.AsString(), "", compare));
    return textA ? Comparison::Greater : Comparison::Less;  // a number sorts before any text
  }
  return CompareNumbers(a, b);
}

Comparison CompareToNumber(const Variant& a, double b) {
  if (a.IsNull()) return Comparison::Null;
  return FromSign(Sign(NumberOf(a) - b));
}

Comparison CompareToString(const Variant& a, std::string_view b, CompareMethod compare) {
  if (a.IsNull()) return Comparison::Null;
  return FromSign(StrComp(CStr(a), b, compare));
}

Variant Add(const Variant& a, const Variant& b) {
  if (a.IsNull() || b.IsNull()) return Variant::Null();
  if ((a.IsString() && (b.IsString() || b.IsEmpty())) || (a.IsEmpty() && b.IsString()))
    return CStr(a) + CStr(b);
  return Binary(Op::kAdd, a, b);
}

Variant Subtract(const Variant& a, const Variant& b) { return Binary(Op::kSubtract, a, b); }

Variant Multiply(const Variant& a, const Variant& b) {
  if (a.IsNull() || b.IsNull()) return Variant::Null();
  Operand x = OperandOf(a), y = OperandOf(b);
  for (Operand* o : {&x, &y})
    if (o->kind == VarType::Date) o->kind = VarType::Double;
  return Arithmetic(Op::kMultiply, x, y);
}

Variant Divide(const Variant& a, const Variant& b) {
  if (a.IsNull() || b.IsNull()) return Variant::Null();
  const double x = OperandOf(a).AsDouble(), y = OperandOf(b).AsDouble();
  if (y == 0) Raise(x == 0 ? kErrOverflow : kErrDivisionByZero);
  return CheckedDouble(x / y);
}

Variant Concat(const Variant& a, const Variant& b) {
  if (a.IsNull() && b.IsNull()) return Variant::Null();
  return (a.IsNull() ? std::string() : CStr(a)) + (b.IsNull() ? std::string() : CStr(b));
}

std::int32_t QBColor(std::int32_t color) {
  static constexpr std::int32_t kColors[16] = {
      0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
      0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  if (color < 0 || color > 15) Raise(kErrInvalidProcedureCall);
  return kColors[color];
}

}  // namespace zov::vb
