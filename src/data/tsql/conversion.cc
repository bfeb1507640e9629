#include "data/tsql/conversion.h"

#include <fmt/format.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "data/sql_error.h"
#include "data/tsql/text_rules.h"

namespace zov::data::tsql {

namespace {

constexpr std::int64_t kMsPerDay = 86400000;

std::string_view Trim(std::string_view s) {
  while (!s.empty() &&
         (s.front() == ' ' || s.front() == '\t' || s.front() == '\r' || s.front() == '\n'))
    s.remove_prefix(1);
  while (!s.empty() &&
         (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.remove_suffix(1);
  return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const char* TextTypeName(const SqlType& t) { return t.IsUnicode() ? "nvarchar" : "varchar"; }

// The significant digits of |value| rounded to 15 figures: digits[0] stands at 10^exponent.
struct DecimalDigits {
  char digits[16] = {};
  int exponent = 0;
};

DecimalDigits Digits15(double value) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
  DecimalDigits d;
  int n = 0;
  const char* p = buf;
  for (; *p && *p != 'e'; ++p)
    if (IsDigit(*p)) d.digits[n++] = *p;
  d.exponent = *p == 'e' ? std::atoi(p + 1) : 0;
  return d;
}

// Rebuilds a double from the first `keep` digits (keep may be 0), adding one unit in the last
// kept place when `bump` is set.
double FromDigits(const DecimalDigits& d, int keep, bool bump, bool negative) {
  std::string mantissa(d.digits, d.digits + std::max(0, std::min(keep, 15)));
  int exponent = d.exponent;
  if (mantissa.empty()) {
    if (!bump) return 0.0;
    mantissa = "1";
    exponent += 1;  // the bumped unit sits one place left of the first dropped digit
  } else if (bump) {
    int i = static_cast<int>(mantissa.size()) - 1;
    while (i >= 0 && mantissa[i] == '9') mantissa[i--] = '0';
    if (i < 0) {
      mantissa.insert(mantissa.begin(), '1');
      exponent += 1;
    } else {
      ++mantissa[i];
    }
  }
  const std::string text = fmt::format("{}0.{}e{}", negative ? "-" : "", mantissa, exponent + 1);
  return std::strtod(text.c_str(), nullptr);
}

double Pow10(int n) {
  static const double kTable[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (n >= 0 && n <= 22) return kTable[n];
  return std::pow(10.0, n);
}

std::optional<std::int64_t> ParseIntegerText(std::string_view text) {
  text = Trim(text);
  if (text.empty()) return 0;  // SQL Server converts '' to 0
  bool negative = false;
  if (text.front() == '+' || text.front() == '-') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return 0;  // a lone sign converts to 0 as well
  std::int64_t v = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    if (v > (INT64_MAX - (c - '0')) / 10) return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return negative ? -v : v;
}

// Plain decimal notation: sign, digits, point, digits; no exponent.
std::optional<double> ParseDecimalText(std::string_view text) {
  text = Trim(text);
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  bool digits = false;
  while (i < text.size() && IsDigit(text[i])) ++i, digits = true;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, digits = true;
  }
  if (!digits || i != text.size()) return std::nullopt;
  return std::strtod(std::string(text).c_str(), nullptr);
}

std::optional<double> ParseFloatText(std::string_view text) {
  text = Trim(text);
  if (text.empty()) return 0.0;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  bool digits = false;
  while (i < text.size() && IsDigit(text[i])) ++i, digits = true;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, digits = true;
  }
  if (!digits) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool exp = false;
    while (i < text.size() && IsDigit(text[i])) ++i, exp = true;
    if (!exp) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  return std::strtod(std::string(text).c_str(), nullptr);
}

// Reads up to `max` digits starting at `i`; returns the count read.
int ReadDigits(std::string_view s, std::size_t& i, int max, int& value) {
  int n = 0;
  value = 0;
  while (i < s.size() && IsDigit(s[i]) && n < max) {
    value = value * 10 + (s[i] - '0');
    ++i;
    ++n;
  }
  return n;
}

int ExpandYear(int year, int digits) {
  if (digits > 2) return year;
  return year < 50 ? 2000 + year : 1900 + year;  // SQL Server's two-digit year cutoff 2049
}

bool ParseTime(std::string_view s, std::size_t& i, DateTimeParts& p) {
  int h = 0, mi = 0, sec = 0, ms = 0;
  if (ReadDigits(s, i, 2, h) == 0) return false;
  if (i >= s.size() || s[i] != ':') return false;
  ++i;
  if (ReadDigits(s, i, 2, mi) == 0) return false;
  if (i < s.size() && s[i] == ':') {
    ++i;
    if (ReadDigits(s, i, 2, sec) == 0) return false;
    if (i < s.size() && (s[i] == '.' || s[i] == ':')) {
      const bool point = s[i] == '.';
      ++i;
      int v = 0;
      const int n = ReadDigits(s, i, 3, v);
      if (n == 0) return false;
      if (i < s.size() && IsDigit(s[i])) return false;  // datetime holds milliseconds only
      ms = point ? (n == 1 ? v * 100 : n == 2 ? v * 10 : v) : v;
    }
  }
  while (i < s.size() && s[i] == ' ') ++i;
  if (i + 2 <= s.size() &&
      (EqualsNoCase(s.substr(i, 2), "AM") || EqualsNoCase(s.substr(i, 2), "PM"))) {
    const bool pm = EqualsNoCase(s.substr(i, 2), "PM");
    i += 2;
    if (h < 1 || h > 12) return false;
    if (h == 12) h = 0;
    if (pm) h += 12;
  }
  if (h > 23 || mi > 59 || sec > 59) return false;
  p.hour = h;
  p.minute = mi;
  p.second = sec;
  p.millisecond = ms;
  return true;
}

bool ValidDate(int y, int m, int d) {
  return y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

std::string FormatFloat(double v) {
  // SQL Server's style 0 for float: at most six significant digits, exponent with three digits.
  if (v == 0) return "0";
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  std::string s = buf;
  const std::size_t e = s.find('e');
  if (e != std::string::npos) {
    const char sign = s[e + 1];
    std::string digits = s.substr(e + 2);
    while (digits.size() < 3) digits.insert(digits.begin(), '0');
    s = s.substr(0, e) + "e" + sign + digits;
  }
  return s;
}

std::string FormatFixed(double v, int scale) {
  std::string s = fmt::format("{:.{}f}", RoundDecimal(v, scale), scale);
  if (s[0] == '-') {
    bool zero = true;
    for (char c : s)
      if (c >= '1' && c <= '9') zero = false;
    if (zero) s.erase(0, 1);
  }
  return s;
}

[[noreturn]] void Fail(std::string message) { throw SqlError(std::move(message)); }

// The double a numeric source stands for.
double NumberOf(const SqlValue& v) { return v.AsDouble(); }

SqlValue DateTimeValue(const DateTimeParts& p, const SqlType& to, bool fromText) {
  DateTimeParts q = p;
  if (to.id == TypeId::Date) {
    q.hour = q.minute = q.second = q.millisecond = 0;
  } else if (to.id == TypeId::SmallDateTime) {
    std::int64_t ms = ToMilliseconds(q);
    // SQL Server rounds 29.998 seconds and less down to the minute, 29.999 seconds and more up.
    ms = (ms + 30001) / 60000 * 60000;
    q = FromMilliseconds(ms);
    if (q.year < 1900 || q.year > 2079)
      Fail(
          "The conversion of a varchar data type to a smalldatetime data type resulted in an "
          "out-of-range value.");
  } else if (to.id == TypeId::DateTime && q.year < 1753) {
    Fail(fromText ? "The conversion of a varchar data type to a datetime data type resulted in an "
                    "out-of-range value."
                  : "Arithmetic overflow error converting expression to data type datetime.");
  }
  return SqlValue::Text(FormatCanonical(q));
}

DateTimeParts DateOfValue(const SqlValue& v) {
  if (v.kind == SqlValue::Kind::Text) {
    if (auto p = ParseCanonical(v.text)) return *p;
    if (auto p = ParseDateTime(v.text, -1)) return *p;
    Fail("Conversion failed when converting date and/or time from character string.");
  }
  // A number of days since 1900-01-01 (what SQL Server stores).
  const double days = v.AsDouble();
  return FromMilliseconds(static_cast<std::int64_t>(std::llround(days * kMsPerDay)));
}

SqlValue ToInteger(const SqlValue& v, const SqlType& from, const SqlType& to) {
  std::int64_t result = 0;
  const bool textual = v.kind == SqlValue::Kind::Text && !from.IsDateTime();
  if (textual) {
    auto parsed = ParseIntegerText(v.text);
    if (!parsed)
      Fail(fmt::format("Conversion failed when converting the {} value '{}' to data type {}.",
                       TextTypeName(from), v.text, to.ToString()));
    result = *parsed;
  } else if (from.IsDateTime()) {
    if (from.id == TypeId::Date)
      Fail(fmt::format("Explicit conversion from data type date to {} is not allowed.",
                       to.ToString()));
    const std::int64_t ms = ToMilliseconds(DateOfValue(v));
    result = static_cast<std::int64_t>(std::floor(static_cast<double>(ms) / kMsPerDay + 0.5));
  } else if (v.kind == SqlValue::Kind::Integer) {
    result = v.integer;
  } else {
    double d = v.real;
    if (from.id == TypeId::Money || from.id == TypeId::SmallMoney)
      d = RoundDecimal(d, 0);
    else
      d = TruncateDecimal(d, 0);
    if (!(d > -9.3e18 && d < 9.3e18))
      Fail(fmt::format("Arithmetic overflow error converting expression to data type {}.",
                       to.ToString()));
    result = static_cast<std::int64_t>(d);
  }
  if (to.id == TypeId::Bit) return SqlValue::Integer(result != 0 ? 1 : 0);
  std::int64_t lo = INT64_MIN, hi = INT64_MAX;
  if (to.id == TypeId::TinyInt) lo = 0, hi = 255;
  if (to.id == TypeId::SmallInt) lo = -32768, hi = 32767;
  if (to.id == TypeId::Int) lo = -2147483648LL, hi = 2147483647LL;
  if (result < lo || result > hi) {
    if (textual)
      Fail(
          fmt::format("The conversion of the {} value '{}' overflowed an {} column. Use a larger "
                      "integer column.",
                      TextTypeName(from), v.text, to.ToString()));
    Fail(fmt::format("Arithmetic overflow error converting expression to data type {}.",
                     to.ToString()));
  }
  return SqlValue::Integer(result);
}

SqlValue ToScaled(const SqlValue& v, const SqlType& from, const SqlType& to) {
  double d = 0;
  if (v.kind == SqlValue::Kind::Text && !from.IsDateTime()) {
    auto parsed = ParseDecimalText(v.text);
    if (!parsed) {
      if (to.id == TypeId::Decimal)
        Fail(fmt::format("Error converting data type {} to numeric.", TextTypeName(from)));
      Fail("Cannot convert a char value to money. The char value has incorrect syntax.");
    }
    d = *parsed;
  } else if (from.IsDateTime()) {
    if (from.id == TypeId::Date)
      Fail(fmt::format("Explicit conversion from data type date to {} is not allowed.",
                       to.ToString()));
    d = static_cast<double>(ToMilliseconds(DateOfValue(v))) / kMsPerDay;
  } else {
    d = NumberOf(v);
  }
  const int scale = to.Scale();
  const double rounded = RoundDecimal(d, scale);
  const int integral = (to.id == TypeId::Decimal ? to.precision : to.DecimalPrecision()) - scale;
  if (std::fabs(rounded) >= Pow10(integral)) {
    if (to.id == TypeId::Decimal) {
      const char* source = from.IsInteger()       ? "int"
                           : from.IsString()      ? TextTypeName(from)
                           : from.IsApproximate() ? "float"
                                                  : "numeric";
      Fail(fmt::format("Arithmetic overflow error converting {} to data type numeric.", source));
    }
    Fail("Arithmetic overflow error converting expression to data type money.");
  }
  return SqlValue::Real(rounded == 0 ? 0.0 : rounded);
}

SqlValue ToApproximate(const SqlValue& v, const SqlType& from, const SqlType& to) {
  if (v.kind == SqlValue::Kind::Text && !from.IsDateTime()) {
    auto parsed = ParseFloatText(v.text);
    if (!parsed)
      Fail(fmt::format("Error converting data type {} to {}.", TextTypeName(from), to.ToString()));
    return SqlValue::Real(to.id == TypeId::Real ? static_cast<float>(*parsed) : *parsed);
  }
  if (from.IsDateTime()) {
    if (from.id == TypeId::Date)
      Fail(fmt::format("Explicit conversion from data type date to {} is not allowed.",
                       to.ToString()));
    return SqlValue::Real(static_cast<double>(ToMilliseconds(DateOfValue(v))) / kMsPerDay);
  }
  const double d = NumberOf(v);
  return SqlValue::Real(to.id == TypeId::Real ? static_cast<float>(d) : d);
}

SqlValue ToBit(const SqlValue& v, const SqlType& from) {
  if (v.kind == SqlValue::Kind::Text && !from.IsDateTime()) {
    std::string_view t = Trim(v.text);
    if (EqualsNoCase(t, "true")) return SqlValue::Integer(1);
    if (EqualsNoCase(t, "false")) return SqlValue::Integer(0);
    auto parsed = ParseFloatText(t);
    if (!parsed)
      Fail(fmt::format("Conversion failed when converting the {} value '{}' to data type bit.",
                       TextTypeName(from), v.text));
    return SqlValue::Integer(*parsed != 0 ? 1 : 0);
  }
  if (from.IsDateTime())
    Fail(fmt::format("Explicit conversion from data type {} to bit is not allowed.",
                     from.ToString()));
  return SqlValue::Integer(NumberOf(v) != 0 ? 1 : 0);
}

SqlValue ToDate(const SqlValue& v, const SqlType& from, const SqlType& to, int style) {
  if (v.kind == SqlValue::Kind::Text && !from.IsDateTime()) {
    auto parsed = ParseDateTime(v.text, style);
    if (!parsed) Fail("Conversion failed when converting date and/or time from character string.");
    return DateTimeValue(*parsed, to, true);
  }
  if (from.IsNumeric() && to.id == TypeId::Date)
    Fail(fmt::format("Explicit conversion from data type {} to date is not allowed.",
                     from.ToString()));
  return DateTimeValue(DateOfValue(v), to, false);
}

SqlValue ToText(const SqlValue& v, const SqlType& from, const SqlType& to, int style,
                ConversionContext context) {
  std::string text;
  bool numeric = false;
  if (from.IsDateTime()) {
    auto formatted = FormatDateTimeStyle(DateOfValue(v), style < 0 ? 0 : style, from.id);
    if (!formatted)
      Fail(fmt::format(
          "{} is not a valid style number when converting from {} to a character string.", style,
          from.ToString()));
    text = *formatted;
  } else if (v.kind == SqlValue::Kind::Text) {
    text = v.text;
  } else {
    text = NumberToText(
        v, from.IsNull()
               ? SqlType::Of(v.kind == SqlValue::Kind::Integer ? TypeId::Int : TypeId::Float)
               : from);
    numeric = true;
  }
  if (to.length >= 0) {
    const int have = StoredLength(text, to);
    if (have > to.length) {
      if (numeric) {
        if (from.IsInteger()) return SqlValue::Text("*");
        Fail(fmt::format("Arithmetic overflow error converting {} to data type {}.",
                         from.IsApproximate() ? "float" : "numeric", TextTypeName(to)));
      }
      if (context == ConversionContext::Assignment) {
        // Trailing spaces past the length are dropped silently, anything else is an error.
        std::string kept = TruncateToLength(text, to, to.length);
        std::string_view rest = std::string_view(text).substr(kept.size());
        for (char c : rest)
          if (c != ' ') Fail("String or binary data would be truncated.");
        text = std::move(kept);
      } else {
        text = TruncateToLength(text, to, to.length);
      }
    }
    if (to.id == TypeId::Char || to.id == TypeId::NChar) {
      int have2 = StoredLength(text, to);
      if (have2 < to.length) text.append(static_cast<std::size_t>(to.length - have2), ' ');
    }
  }
  return SqlValue::Text(std::move(text));
}

}  // namespace

std::int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2));
}

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) return 29;
  return kDays[month - 1];
}

std::string FormatCanonical(const DateTimeParts& p) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", p.year, p.month, p.day,
                p.hour, p.minute, p.second, p.millisecond);
  return buf;
}

std::optional<DateTimeParts> ParseCanonical(std::string_view s) {
  if (s.size() != 23 || s[4] != '-' || s[7] != '-' || s[10] != ' ' || s[13] != ':' ||
      s[16] != ':' || s[19] != '.')
    return std::nullopt;
  auto num = [&](std::size_t at, int n, int& out) {
    out = 0;
    for (int k = 0; k < n; ++k) {
      const char c = s[at + k];
      if (!IsDigit(c)) return false;
      out = out * 10 + (c - '0');
    }
    return true;
  };
  DateTimeParts p;
  if (!num(0, 4, p.year) || !num(5, 2, p.month) || !num(8, 2, p.day) || !num(11, 2, p.hour) ||
      !num(14, 2, p.minute) || !num(17, 2, p.second) || !num(20, 3, p.millisecond))
    return std::nullopt;
  return p;
}

std::optional<DateTimeParts> ParseDateTime(std::string_view text, int style) {
  std::string_view s = Trim(text);
  DateTimeParts p;
  if (s.empty()) return p;  // '' is 1900-01-01 00:00:00
  std::size_t i = 0;
  // Count the leading digits to tell the forms apart.
  std::size_t lead = 0;
  while (lead < s.size() && IsDigit(s[lead])) ++lead;
  if (lead < s.size() && s[lead] == ':') {  // time only
    if (!ParseTime(s, i, p) || i != s.size()) return std::nullopt;
    return p;
  }
  if (lead == 8) {  // yyyymmdd
    int y = 0, m = 0, d = 0;
    ReadDigits(s, i, 4, y);
    ReadDigits(s, i, 2, m);
    ReadDigits(s, i, 2, d);
    if (!ValidDate(y, m, d)) return std::nullopt;
    p.year = y, p.month = m, p.day = d;
  } else if (lead == 4 && i + 4 < s.size() && (s[4] == '-' || s[4] == '/' || s[4] == '.')) {
    const char sep = s[4];
    int y = 0, m = 0, d = 0;
    ReadDigits(s, i, 4, y);
    ++i;
    if (ReadDigits(s, i, 2, m) == 0 || i >= s.size() || s[i] != sep) return std::nullopt;
    ++i;
    if (ReadDigits(s, i, 2, d) == 0) return std::nullopt;
    if (!ValidDate(y, m, d)) return std::nullopt;
    p.year = y, p.month = m, p.day = d;
  } else if ((lead == 1 || lead == 2) && lead < s.size() &&
             (s[lead] == '-' || s[lead] == '/' || s[lead] == '.')) {
    const char sep = s[lead];
    int a = 0, b = 0, y = 0;
    ReadDigits(s, i, 2, a);
    ++i;
    if (ReadDigits(s, i, 2, b) == 0 || i >= s.size() || s[i] != sep) return std::nullopt;
    ++i;
    const int yd = ReadDigits(s, i, 4, y);
    if (yd != 2 && yd != 4) return std::nullopt;
    y = ExpandYear(y, yd);
    const bool dayFirst =
        style == 3 || style == 4 || style == 5 || style == 103 || style == 104 || style == 105;
    const int m = dayFirst ? b : a;
    const int d = dayFirst ? a : b;
    if (!ValidDate(y, m, d)) return std::nullopt;
    p.year = y, p.month = m, p.day = d;
  } else {
    return std::nullopt;
  }
  if (i == s.size()) return p;
  if (s[i] != ' ' && s[i] != 'T') return std::nullopt;
  while (i < s.size() && (s[i] == ' ' || s[i] == 'T')) ++i;
  if (i == s.size()) return p;
  if (!ParseTime(s, i, p) || i != s.size()) return std::nullopt;
  return p;
}

std::int64_t ToMilliseconds(const DateTimeParts& p) {
  static const std::int64_t kBase = DaysFromCivil(1900, 1, 1);
  const std::int64_t days = DaysFromCivil(p.year, p.month, p.day) - kBase;
  return days * kMsPerDay + ((p.hour * 60 + p.minute) * 60 + p.second) * 1000LL + p.millisecond;
}

DateTimeParts FromMilliseconds(std::int64_t ms) {
  static const std::int64_t kBase = DaysFromCivil(1900, 1, 1);
  std::int64_t days = ms / kMsPerDay;
  std::int64_t rest = ms % kMsPerDay;
  if (rest < 0) {
    rest += kMsPerDay;
    --days;
  }
  DateTimeParts p;
  CivilFromDays(days + kBase, p.year, p.month, p.day);
  p.hour = static_cast<int>(rest / 3600000);
  p.minute = static_cast<int>(rest / 60000 % 60);
  p.second = static_cast<int>(rest / 1000 % 60);
  p.millisecond = static_cast<int>(rest % 1000);
  return p;
}

std::optional<std::string> FormatDateTimeStyle(const DateTimeParts& p, int style, TypeId from) {
  static const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const int yy = p.year % 100;
  auto time12 = [&] {
    int h = p.hour % 12;
    if (h == 0) h = 12;
    return fmt::format("{:>2}:{:02}{}", h, p.minute, p.hour < 12 ? "AM" : "PM");
  };
  if (from == TypeId::Date && (style == 0 || style == 100)) {
    return fmt::format("{:04}-{:02}-{:02}", p.year, p.month, p.day);
  }
  switch (style) {
    case 0:
    case 100:
      return fmt::format("{} {:>2} {:04} {}", kMonths[p.month - 1], p.day, p.year, time12());
    case 1:
      return fmt::format("{:02}/{:02}/{:02}", p.month, p.day, yy);
    case 101:
      return fmt::format("{:02}/{:02}/{:04}", p.month, p.day, p.year);
    case 2:
      return fmt::format("{:02}.{:02}.{:02}", yy, p.month, p.day);
    case 102:
      return fmt::format("{:04}.{:02}.{:02}", p.year, p.month, p.day);
    case 3:
      return fmt::format("{:02}/{:02}/{:02}", p.day, p.month, yy);
    case 103:
      return fmt::format("{:02}/{:02}/{:04}", p.day, p.month, p.year);
    case 4:
      return fmt::format("{:02}.{:02}.{:02}", p.day, p.month, yy);
    case 104:
      return fmt::format("{:02}.{:02}.{:04}", p.day, p.month, p.year);
    case 5:
      return fmt::format("{:02}-{:02}-{:02}", p.day, p.month, yy);
    case 105:
      return fmt::format("{:02}-{:02}-{:04}", p.day, p.month, p.year);
    case 8:
    case 108:
      return fmt::format("{:02}:{:02}:{:02}", p.hour, p.minute, p.second);
    case 10:
      return fmt::format("{:02}-{:02}-{:02}", p.month, p.day, yy);
    case 110:
      return fmt::format("{:02}-{:02}-{:04}", p.month, p.day, p.year);
    case 11:
      return fmt::format("{:02}/{:02}/{:02}", yy, p.month, p.day);
    case 111:
      return fmt::format("{:04}/{:02}/{:02}", p.year, p.month, p.day);
    case 12:
      return fmt::format("{:02}{:02}{:02}", yy, p.month, p.day);
    case 112:
      return fmt::format("{:04}{:02}{:02}", p.year, p.month, p.day);
    case 20:
    case 120:
      return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02}", p.year, p.month, p.day, p.hour,
                         p.minute, p.second);
    case 21:
    case 25:
    case 121:
      return FormatCanonical(p);
    case 23:
      return fmt::format("{:04}-{:02}-{:02}", p.year, p.month, p.day);
    case 126: {
      std::string s = fmt::format("{:04}-{:02}-{:02}T{:02}:{:02}:{:02}", p.year, p.month, p.day,
                                  p.hour, p.minute, p.second);
      if (p.millisecond) s += fmt::format(".{:03}", p.millisecond);
      return s;
    }
    default:
      return std::nullopt;
  }
}

// Rounds (or truncates) at `digits` decimals, reading the value as the decimal of at most 15
// significant digits it stands for. Scaled by 10^digits, such a decimal lies on an integer or at
// least 10^-(15 - integer digits) away from one, while the double carries an error of a few ulps:
// within `tolerance` of an integer the value is that integer (0.3 truncates to 0.3); within it of
// a tie the decimal digits decide (2.675 rounds to 2.68); elsewhere the binary value is plain.
static double ScaleDecimal(double value, int digits, bool truncate) {
  if (!std::isfinite(value) || digits > 15) return value;
  const double scale = Pow10(digits);
  const double y = value * scale;
  if (std::fabs(y) >= 9e15) return value;
  const double tolerance = std::fabs(y) * 4e-15 + 1e-12;
  const double whole = std::trunc(y);
  const double frac = std::fabs(y - whole);
  double r;
  if (frac < tolerance || frac > 1 - tolerance) {
    r = std::round(y);
  } else if (truncate) {
    r = whole;
  } else if (std::fabs(frac - 0.5) > tolerance) {
    r = std::round(y);
  } else {
    const DecimalDigits d = Digits15(value);
    const int keep = d.exponent + digits + 1;  // digits kept before the first dropped one
    if (keep >= 15) return value;
    if (keep < 0) return 0.0;
    const double exact = FromDigits(d, keep, d.digits[keep] >= '5', value < 0);
    return exact == 0 ? 0.0 : exact;
  }
  r /= scale;
  return r == 0 ? 0.0 : r;
}

double RoundDecimal(double value, int digits) { return ScaleDecimal(value, digits, false); }

double TruncateDecimal(double value, int digits) { return ScaleDecimal(value, digits, true); }

std::string NumberToText(const SqlValue& v, const SqlType& from) {
  if (v.kind == SqlValue::Kind::Text) return v.text;
  if (v.kind == SqlValue::Kind::Null) return {};
  switch (from.id) {
    case TypeId::Bit:
      return v.AsDouble() != 0 ? "1" : "0";
    case TypeId::TinyInt:
    case TypeId::SmallInt:
    case TypeId::Int:
    case TypeId::BigInt:
      if (v.kind == SqlValue::Kind::Integer) return std::to_string(v.integer);
      return fmt::format("{:.0f}", TruncateDecimal(v.real, 0));
    case TypeId::Decimal:
      return FormatFixed(v.AsDouble(), from.scale);
    case TypeId::Money:
    case TypeId::SmallMoney:
      return FormatFixed(v.AsDouble(), 2);
    default:
      if (v.kind == SqlValue::Kind::Integer) return std::to_string(v.integer);
      return FormatFloat(v.real);
  }
}

int StoredLength(std::string_view text, const SqlType& t) {
  int n = 0;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const int bytes = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (t.IsUnicode())
      n += bytes == 4 ? 2 : 1;
    else
      n += c < 0x80 ? 1 : 2;
    i += static_cast<std::size_t>(bytes);
  }
  return n;
}

std::string TruncateToLength(std::string_view text, const SqlType& t, int length) {
  int n = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const int bytes = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    const int units = t.IsUnicode() ? (bytes == 4 ? 2 : 1) : (c < 0x80 ? 1 : 2);
    if (n + units > length) break;
    n += units;
    i += static_cast<std::size_t>(bytes);
  }
  return std::string(text.substr(0, std::min(i, text.size())));
}

int CharacterCount(std::string_view text) {
  int n = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

SqlValue ConvertValue(const SqlValue& value, const SqlType& from, const SqlType& to, int style,
                      ConversionContext context) {
  if (value.IsNull()) return value;
  switch (to.id) {
    case TypeId::Null:
    case TypeId::Boolean:
      return value;
    case TypeId::Bit:
      return ToBit(value, from);
    case TypeId::TinyInt:
    case TypeId::SmallInt:
    case TypeId::Int:
    case TypeId::BigInt:
      return ToInteger(value, from, to);
    case TypeId::Decimal:
    case TypeId::Money:
    case TypeId::SmallMoney:
      return ToScaled(value, from, to);
    case TypeId::Real:
    case TypeId::Float:
      return ToApproximate(value, from, to);
    case TypeId::DateTime:
    case TypeId::SmallDateTime:
    case TypeId::Date:
      return ToDate(value, from, to, style);
    case TypeId::Char:
    case TypeId::VarChar:
    case TypeId::Text:
    case TypeId::NChar:
    case TypeId::NVarChar:
    case TypeId::NText:
      return ToText(value, from, to, style, context);
  }
  return value;
}

SqlValue NormaliseStored(const SqlValue& value, const SqlType& t) {
  if (value.kind == SqlValue::Kind::Integer && (t.IsExactScaled() || t.IsApproximate()))
    return SqlValue::Real(static_cast<double>(value.integer));
  return value;
}

}  // namespace zov::data::tsql
