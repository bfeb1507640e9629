#include "zov/vb/format.h"

#include <algorithm>
#include <cmath>

#include "format_pattern.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/error.h"
#include "zov/vb/strings.h"

namespace zov::vb {

namespace {

using detail::Decimal;

// A named format: the pattern it stands for, the two words of the Yes/No family, or the value's
// own text.
struct Named {
  std::string_view pattern;
  std::string_view yes, no;  // set for Yes/No, True/False, On/Off
  bool general = false;      // General Number and General Date: the value's own text
};

std::optional<Named> NamedFormat(std::string_view name) {
  struct Entry {
    std::string_view name;
    Named format;
  };
  static constexpr Entry kNamed[] = {
      {"General Number", {"", "", "", true}},
      {"Currency", {"¥#,##0.00;¥-#,##0.00", "", "", false}},
      {"Fixed", {"0.00", "", "", false}},
      {"Standard", {"#,##0.00", "", "", false}},
      {"Percent", {"0.00%", "", "", false}},
      {"Scientific", {"0.00E+00", "", "", false}},
      {"Yes/No", {"", "Yes", "No", false}},
      {"True/False", {"", "True", "False", false}},
      {"On/Off", {"", "On", "Off", false}},
      {"General Date", {"c", "", "", false}},
      {"Long Date", {"dddddd", "", "", false}},
      {"Short Date", {"yyyy-mm-dd", "", "", false}},
      {"Long Time", {"hh:nn:ss", "", "", false}},
      {"Medium Time", {"hh:nn AM/PM", "", "", false}},
      {"Short Time", {"hh:nn", "", "", false}},
  };
  // Every pattern a cell is shown with passes here: a name of ASCII only can match a name of its
  // own length only (full-width letters are longer in bytes).
  const bool ascii = std::all_of(name.begin(), name.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  for (const Entry& e : kNamed)
    if ((!ascii || name.size() == e.name.size()) && StrComp(name, e.name, CompareMethod::Text) == 0)
      return e.format;
  return std::nullopt;
}

// The decimal digits Format works on: a Double (or text read as one) gives its 15 significant
// digits, Currency and Long are exact.
std::optional<Decimal> NumberOf(const Variant& v) {
  switch (v.Type()) {
    case VarType::Long:
      return detail::DecimalOfInteger(v.AsLong());
    case VarType::Currency:
      return detail::DecimalOfCurrency(v.AsCurrency());
    case VarType::String:
      if (!IsNumeric(v)) return std::nullopt;
      [[fallthrough]];
    default:
      return detail::DecimalOfDouble(CDbl(v));
  }
}

std::optional<Date> DateOf(const Variant& v) {
  if (v.IsString()) {
    if (auto parsed = ParseDate(v.AsString())) return parsed;
    if (!IsNumeric(v)) return std::nullopt;
  }
  return CDate(CDbl(v));
}

}  // namespace

std::string Format(const Variant& value, std::string_view pattern) {
  if (value.IsObject()) Raise(kErrTypeMismatch);
  std::string_view p = pattern;
  if (const auto named = NamedFormat(pattern)) {
    if (value.IsNull()) return {};
    if (!named->yes.empty()) {
      if (!IsNumeric(value)) return CStr(value);
      return std::string(CDbl(value) != 0 ? named->yes : named->no);
    }
    if (named->general) return CStr(value);
    p = named->pattern;
  }
  if (value.IsNull()) return detail::FormatNullNumber(p);
  if (p.empty()) return CStr(value);
  if (detail::IsDatePattern(p)) {
    const auto date = value.Type() == VarType::Date ? std::optional(value.AsDate()) : DateOf(value);
    return date ? detail::FormatDate(*date, p) : value.AsString();
  }
  const auto number = NumberOf(value);
  return number ? detail::FormatNumber(*number, p) : value.AsString();
}

Currency FormatToPlaces(const Variant& value, int places) {
  if (places < 0) Raise(kErrInvalidProcedureCall);
  if (value.IsNull()) Raise(kErrInvalidUseOfNull);
  std::string text = Format(value, "#,##0." + std::string(static_cast<std::size_t>(places), '0'));
  text.erase(std::remove(text.begin(), text.end(), ','), text.end());
  return CCur(text);
}

double Round(double value, int places) {
  if (places < 0) Raise(kErrInvalidProcedureCall);
  const double factor = std::pow(10.0, places);
  const double scaled = value * factor;
  // Past 2^52 a Double has no fraction left to round.
  if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) return value;
  return std::nearbyint(scaled) / factor + 0.0;  // + 0.0: no negative zero
}

Currency Round(Currency value, int places) {
  if (places < 0) Raise(kErrInvalidProcedureCall);
  if (places >= 4) return value;
  std::int64_t unit = 1;
  for (int i = places; i < 4; ++i) unit *= 10;
  std::int64_t q = value.scaled / unit;
  const std::int64_t r = value.scaled % unit;
  const std::int64_t twice = (r < 0 ? -r : r) * 2;
  if (twice > unit || (twice == unit && q % 2 != 0)) q += value.scaled < 0 ? -1 : 1;
  std::int64_t scaled = 0;
  if (__builtin_mul_overflow(q, unit, &scaled)) Raise(kErrOverflow);
  return Currency::FromScaled(scaled);
}

Variant Round(const Variant& value, int places) {
  switch (value.Type()) {
    case VarType::Null:
      return value;
    case VarType::Empty:
      return 0;
    case VarType::Boolean:
      return value.AsBool() ? -1 : 0;
    case VarType::Long:
      return value.AsLong();
    case VarType::Currency:
      return Round(value.AsCurrency(), places);
    case VarType::Date:
      return Date{Round(value.AsDate().serial, places)};
    case VarType::Double:
    case VarType::String:
      return Round(CDbl(value), places);
    case VarType::Object:
      break;
  }
  Raise(kErrTypeMismatch);
}

}  // namespace zov::vb
