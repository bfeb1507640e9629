#include "data/sqlite/functions.h"

#include <fmt/format.h>
#include <sqlite3.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "data/sql_error.h"
#include "data/tsql/conversion.h"
#include "data/tsql/text_rules.h"

namespace zov::data::sqlite {

namespace {

using tsql::ConversionContext;
using tsql::DateTimeParts;
using tsql::SqlType;
using tsql::SqlValue;

constexpr std::int64_t kMsPerDay = 86400000;

SqlValue ValueOf(sqlite3_value* v) {
  switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
      return SqlValue::Integer(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
      return SqlValue::Real(sqlite3_value_double(v));
    case SQLITE_NULL:
      return SqlValue::Null();
    default: {
      const unsigned char* text = sqlite3_value_text(v);
      return SqlValue::Text(std::string(reinterpret_cast<const char*>(text),
                                        static_cast<std::size_t>(sqlite3_value_bytes(v))));
    }
  }
}

std::string_view TextOf(sqlite3_value* v) {
  const unsigned char* text = sqlite3_value_text(v);
  return std::string_view(reinterpret_cast<const char*>(text),
                          static_cast<std::size_t>(sqlite3_value_bytes(v)));
}

void Result(sqlite3_context* ctx, const SqlValue& v) {
  switch (v.kind) {
    case SqlValue::Kind::Null:
      sqlite3_result_null(ctx);
      break;
    case SqlValue::Kind::Integer:
      sqlite3_result_int64(ctx, v.integer);
      break;
    case SqlValue::Kind::Real:
      sqlite3_result_double(ctx, v.real);
      break;
    case SqlValue::Kind::Text:
      sqlite3_result_text(ctx, v.text.data(), static_cast<int>(v.text.size()), SQLITE_TRANSIENT);
      break;
  }
}

void ResultText(sqlite3_context* ctx, const std::string& s) {
  sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

bool AnyNull(int argc, sqlite3_value** argv) {
  for (int i = 0; i < argc; ++i)
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
  return false;
}

// Runs `body`, turning SqlError into the SQL function's error.
template <class F>
void Guarded(sqlite3_context* ctx, F&& body) {
  try {
    body();
  } catch (const SqlError& e) {
    sqlite3_result_error(ctx, e.message().c_str(), -1);
  } catch (const std::exception& e) {
    sqlite3_result_error(ctx, e.what(), -1);
  }
}

[[noreturn]] void Fail(std::string message) { throw SqlError(std::move(message)); }

// A type argument: the number SqlType::Code gives, or T-SQL text ('decimal(18,2)').
SqlType TypeArgument(sqlite3_value** argv, int i) {
  if (sqlite3_value_type(argv[i]) == SQLITE_INTEGER)
    return SqlType::FromCode(sqlite3_value_int64(argv[i]));
  return tsql::TypeFromDeclaration(TextOf(argv[i]));
}

DateTimeParts DateArgument(sqlite3_value* v) {
  SqlValue value = ValueOf(v);
  if (value.kind == SqlValue::Kind::Text) {
    if (auto p = tsql::ParseCanonical(value.text)) return *p;
    if (auto p = tsql::ParseDateTime(value.text, -1)) return *p;
    Fail("Conversion failed when converting date and/or time from character string.");
  }
  return tsql::FromMilliseconds(
      static_cast<std::int64_t>(std::llround(value.AsDouble() * kMsPerDay)));
}

std::string DateResult(const DateTimeParts& p) {
  if (p.year < 1753 || p.year > 9999)
    Fail("Adding a value to a 'datetime' column caused an overflow.");
  return tsql::FormatCanonical(p);
}

// Byte offset of character `n` (0-based) in UTF-8 text; the text's size when it has fewer.
std::size_t CharOffset(std::string_view s, long long n) {
  std::size_t i = 0;
  while (n > 0 && i < s.size()) {
    ++i;
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
    --n;
  }
  return i;
}

std::string Substring(std::string_view s, long long start, long long length) {
  // SQL Server counts the characters from `start` even when it is below 1.
  long long from = std::max(1LL, start);
  long long to = start + length;  // exclusive
  if (to <= from) return {};
  const std::size_t b = CharOffset(s, from - 1);
  const std::size_t e = CharOffset(s, to - 1);
  return std::string(s.substr(b, e - b));
}

// ---- conversions and arithmetic

void Cast(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guarded(ctx, [&] {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const SqlType from = TypeArgument(argv, 1);
    const SqlType to = TypeArgument(argv, 2);
    const int style = sqlite3_value_int(argv[3]);
    const auto context =
        sqlite3_value_int(argv[4]) ? ConversionContext::Assignment : ConversionContext::Explicit;
    Result(ctx, tsql::ConvertValue(ValueOf(argv[0]), from, to, style, context));
  });
}

void Round(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  Guarded(ctx, [&] {
    if (AnyNull(argc, argv)) return sqlite3_result_null(ctx);
    const int digits = sqlite3_value_int(argv[1]);
    const bool truncate = argc > 2 && sqlite3_value_int64(argv[2]) != 0;
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER) {
      const std::int64_t v = sqlite3_value_int64(argv[0]);
      if (digits >= 0) return sqlite3_result_int64(ctx, v);
      const double r = truncate ? tsql::TruncateDecimal(static_cast<double>(v), digits)
                                : tsql::RoundDecimal(static_cast<double>(v), digits);
      return sqlite3_result_int64(ctx, static_cast<std::int64_t>(r));
    }
    const double v = sqlite3_value_double(argv[0]);
    sqlite3_result_double(
        ctx, (truncate ? tsql::TruncateDecimal(v, digits) : tsql::RoundDecimal(v, digits)) + 0.0);
  });
}

void Divide(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guarded(ctx, [&] {
    if (AnyNull(2, argv)) return sqlite3_result_null(ctx);
    const double d = sqlite3_value_double(argv[1]);
    if (d == 0) Fail("Divide by zero error encountered.");
    sqlite3_result_double(ctx, sqlite3_value_double(argv[0]) / d);
  });
}

void IntegerDivide(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guarded(ctx, [&] {
    if (AnyNull(2, argv)) return sqlite3_result_null(ctx);
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER &&
        sqlite3_value_type(argv[1]) == SQLITE_INTEGER) {
      const std::int64_t a = sqlite3_value_int64(argv[0]);
      const std::int64_t b = sqlite3_value_int64(argv[1]);
      if (b == 0) Fail("Divide by zero error encountered.");
      if (a == INT64_MIN && b == -1)
        Fail("Arithmetic overflow error converting expression to data type bigint.");
      return sqlite3_result_int64(ctx, a / b);
    }
    const double b = sqlite3_value_double(argv[1]);
    if (b == 0) Fail("Divide by zero error encountered.");
    sqlite3_result_int64(ctx,
                         static_cast<std::int64_t>(std::trunc(sqlite3_value_double(argv[0]) / b)));
  });
}

void Modulo(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guarded(ctx, [&] {
    if (AnyNull(2, argv)) return sqlite3_result_null(ctx);
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER &&
        sqlite3_value_type(argv[1]) == SQLITE_INTEGER) {
      const std::int64_t a = sqlite3_value_int64(argv[0]);
      const std::int64_t b = sqlite3_value_int64(argv[1]);
      if (b == 0) Fail("Divide by zero error encountered.");
      if (b == -1) return sqlite3_result_int64(ctx, 0);
      return sqlite3_result_int64(ctx, a % b);
    }
    const double b = sqlite3_value_double(argv[1]);
    if (b == 0) Fail("Divide by zero error encountered.");
    sqlite3_result_double(ctx, std::fmod(sqlite3_value_double(argv[0]), b));
  });
}

void Single(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_int64(argv[0]) > 1) {
    sqlite3_result_error(ctx,
                         "Subquery returned more than 1 value. This is not permitted when the "
                         "subquery follows =, !=, <, "
                         "<= , >, >= or when the subquery is used as an expression.",
                         -1);
    return;
  }
  sqlite3_result_value(ctx, argv[1]);
}

void Ceiling(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER)
    return sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
  const double v = sqlite3_value_double(argv[0]);
  // The value stands for a decimal: 2.0000000000000004 is 2.
  sqlite3_result_double(ctx, std::ceil(tsql::RoundDecimal(v, 12)) + 0.0);
}

void Floor(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER)
    return sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
  sqlite3_result_double(ctx,
                        std::floor(tsql::RoundDecimal(sqlite3_value_double(argv[0]), 12)) + 0.0);
}

void IsNumeric(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_int(ctx, 0);
  if (sqlite3_value_type(argv[0]) != SQLITE_TEXT) return sqlite3_result_int(ctx, 1);
  std::string s(TextOf(argv[0]));
  std::string cleaned;
  for (char c : s)
    if (c != ',' && c != '$' && c != ' ') cleaned += c;
  if (cleaned.empty() || cleaned == "+" || cleaned == "-" || cleaned == ".")
    return sqlite3_result_int(ctx, 0);
  char* end = nullptr;
  std::strtod(cleaned.c_str(), &end);
  sqlite3_result_int(ctx, end && *end == '\0' ? 1 : 0);
}

// ---- strings

void Like(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv)) return sqlite3_result_null(ctx);
  auto* pattern = static_cast<tsql::LikePattern*>(sqlite3_get_auxdata(ctx, 1));
  std::unique_ptr<tsql::LikePattern> local;
  if (!pattern) {
    std::uint32_t escape = 0;
    if (argc > 2) {
      auto cps = tsql::CodePoints(TextOf(argv[2]));
      if (cps.size() != 1) {
        sqlite3_result_error(ctx, "The invalid escape character was specified in a LIKE predicate.",
                             -1);
        return;
      }
      escape = cps[0];
    }
    local = std::make_unique<tsql::LikePattern>(TextOf(argv[1]), escape);
    pattern = local.get();
  }
  sqlite3_result_int(ctx, pattern->Matches(TextOf(argv[0])) ? 1 : 0);
  if (local && argc == 2)
    sqlite3_set_auxdata(ctx, 1, local.release(),
                        [](void* p) { delete static_cast<tsql::LikePattern*>(p); });
}

void PatIndex(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (AnyNull(2, argv)) return sqlite3_result_null(ctx);
  tsql::LikePattern pattern(TextOf(argv[0]), 0);
  sqlite3_result_int64(ctx, pattern.Find(TextOf(argv[1])));
}

void CharIndex(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv)) return sqlite3_result_null(ctx);
  const long long start = argc > 2 ? sqlite3_value_int64(argv[2]) : 1;
  sqlite3_result_int64(ctx, tsql::FindIgnoringCase(TextOf(argv[0]), TextOf(argv[1]), start));
}

void SubstringFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (AnyNull(3, argv)) return sqlite3_result_null(ctx);
  const long long length = sqlite3_value_int64(argv[2]);
  if (length < 0)
    return sqlite3_result_error(ctx, "Invalid length parameter passed to the substring function.",
                                -1);
  ResultText(ctx, Substring(TextOf(argv[0]), sqlite3_value_int64(argv[1]), length));
}

void Left(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (AnyNull(2, argv)) return sqlite3_result_null(ctx);
  const long long n = sqlite3_value_int64(argv[1]);
  if (n < 0)
    return sqlite3_result_error(ctx, "Invalid length parameter passed to the left function.", -1);
  std::string_view s = TextOf(argv[0]);
  ResultText(ctx, std::string(s.substr(0, CharOffset(s, n))));
}

void Right(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (AnyNull(2, argv)) return sqlite3_result_null(ctx);
  const long long n = sqlite3_value_int64(argv[1]);
  if (n < 0)
    return sqlite3_result_error(ctx, "Invalid length parameter passed to the right function.", -1);
  std::string_view s = TextOf(argv[0]);
  const long long count = tsql::CharacterCount(s);
  ResultText(ctx, std::string(s.substr(CharOffset(s, std::max(0LL, count - n)))));
}

void Replace(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (AnyNull(3, argv)) return sqlite3_result_null(ctx);
  ResultText(ctx, tsql::ReplaceIgnoringCase(TextOf(argv[0]), TextOf(argv[1]), TextOf(argv[2])));
}

void Upper(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (AnyNull(1, argv)) return sqlite3_result_null(ctx);
  ResultText(ctx, tsql::ToUpper(TextOf(argv[0])));
}

void Lower(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (AnyNull(1, argv)) return sqlite3_result_null(ctx);
  ResultText(ctx, tsql::ToLower(TextOf(argv[0])));
}

void Replicate(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (AnyNull(2, argv)) return sqlite3_result_null(ctx);
  const long long n = sqlite3_value_int64(argv[1]);
  if (n < 0) return sqlite3_result_null(ctx);
  std::string_view s = TextOf(argv[0]);
  std::string out;
  for (long long i = 0; i < n && out.size() < 32000; ++i) out.append(s);
  ResultText(ctx, out);
}

void Reverse(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (AnyNull(1, argv)) return sqlite3_result_null(ctx);
  auto cps = tsql::CodePoints(TextOf(argv[0]));
  std::string out;
  for (auto it = cps.rbegin(); it != cps.rend(); ++it) tsql::AppendUtf8(out, *it);
  ResultText(ctx, out);
}

void Stuff(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (AnyNull(3, argv)) return sqlite3_result_null(ctx);
  std::string_view s = TextOf(argv[0]);
  const long long start = sqlite3_value_int64(argv[1]);
  const long long length = sqlite3_value_int64(argv[2]);
  const long long count = tsql::CharacterCount(s);
  if (start < 1 || start > count || length < 0) return sqlite3_result_null(ctx);
  std::string out(s.substr(0, CharOffset(s, start - 1)));
  if (sqlite3_value_type(argv[3]) != SQLITE_NULL) out.append(TextOf(argv[3]));
  out.append(s.substr(CharOffset(s, std::min(count, start - 1 + length))));
  ResultText(ctx, out);
}

void Str(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv)) return sqlite3_result_null(ctx);
  const double v = sqlite3_value_double(argv[0]);
  const long long length = argc > 1 ? sqlite3_value_int64(argv[1]) : 10;
  long long decimals = argc > 2 ? std::min<long long>(16, sqlite3_value_int64(argv[2])) : 0;
  if (length <= 0 || length > 8000 || decimals < 0) return sqlite3_result_null(ctx);
  std::string text;
  for (;; --decimals) {
    text = fmt::format("{:.{}f}", tsql::RoundDecimal(v, static_cast<int>(decimals)), decimals);
    if (static_cast<long long>(text.size()) <= length || decimals == 0) break;
  }
  if (static_cast<long long>(text.size()) > length)
    text = std::string(static_cast<std::size_t>(length), '*');
  else
    text.insert(0, static_cast<std::size_t>(length) - text.size(), ' ');
  ResultText(ctx, text);
}

void DataLength(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (AnyNull(1, argv)) return sqlite3_result_null(ctx);
  const bool unicode = sqlite3_value_int(argv[1]) != 0;
  const SqlType t = unicode ? SqlType::NVarChar(-1) : SqlType::VarChar(-1);
  const int units = tsql::StoredLength(TextOf(argv[0]), t);
  sqlite3_result_int(ctx, unicode ? units * 2 : units);
}

// ---- dates

DateTimeParts Now(bool utc) {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const int ms =
      static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  std::tm tm{};
  if (utc)
    gmtime_r(&seconds, &tm);
  else
    localtime_r(&seconds, &tm);
  return DateTimeParts{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                       tm.tm_min,         tm.tm_sec,     ms};
}

void GetDate(sqlite3_context* ctx, int, sqlite3_value**) {
  ResultText(ctx, tsql::FormatCanonical(Now(false)));
}
void GetUtcDate(sqlite3_context* ctx, int, sqlite3_value**) {
  ResultText(ctx, tsql::FormatCanonical(Now(true)));
}

void AddDays(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guarded(ctx, [&] {
    if (AnyNull(2, argv)) return sqlite3_result_null(ctx);
    const DateTimeParts d = DateArgument(argv[0]);
    const double days = sqlite3_value_double(argv[1]);
    ResultText(ctx, DateResult(tsql::FromMilliseconds(tsql::ToMilliseconds(d) +
                                                      std::llround(days * kMsPerDay))));
  });
}

DateTimeParts AddMonths(DateTimeParts d, long long months) {
  long long total = static_cast<long long>(d.year) * 12 + (d.month - 1) + months;
  if (total < 0 || total > 9999LL * 12 + 11)
    Fail("Adding a value to a 'datetime' column caused an overflow.");
  d.year = static_cast<int>(total / 12);
  d.month = static_cast<int>(total % 12) + 1;
  d.day = std::min(d.day, tsql::DaysInMonth(d.year, d.month));
  return d;
}

void DateAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guarded(ctx, [&] {
    if (AnyNull(3, argv)) return sqlite3_result_null(ctx);
    const std::string_view part = TextOf(argv[0]);
    const long long n = sqlite3_value_type(argv[1]) == SQLITE_INTEGER
                            ? sqlite3_value_int64(argv[1])
                            : static_cast<long long>(std::trunc(sqlite3_value_double(argv[1])));
    DateTimeParts d = DateArgument(argv[2]);
    std::int64_t unit = 0;
    if (part == "YEAR")
      d = AddMonths(d, n * 12);
    else if (part == "QUARTER")
      d = AddMonths(d, n * 3);
    else if (part == "MONTH")
      d = AddMonths(d, n);
    else if (part == "DAY" || part == "DAYOFYEAR" || part == "WEEKDAY")
      unit = kMsPerDay;
    else if (part == "WEEK")
      unit = 7 * kMsPerDay;
    else if (part == "HOUR")
      unit = 3600000;
    else if (part == "MINUTE")
      unit = 60000;
    else if (part == "SECOND")
      unit = 1000;
    else if (part == "MILLISECOND")
      unit = 1;
    if (unit) d = tsql::FromMilliseconds(tsql::ToMilliseconds(d) + n * unit);
    ResultText(ctx, DateResult(d));
  });
}

long long FloorDiv(long long a, long long b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

void DateDiff(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guarded(ctx, [&] {
    if (AnyNull(3, argv)) return sqlite3_result_null(ctx);
    const std::string_view part = TextOf(argv[0]);
    const DateTimeParts a = DateArgument(argv[1]);
    const DateTimeParts b = DateArgument(argv[2]);
    const long long ma = tsql::ToMilliseconds(a), mb = tsql::ToMilliseconds(b);
    long long r = 0;
    if (part == "YEAR")
      r = b.year - a.year;
    else if (part == "QUARTER")
      r = (b.year * 4LL + (b.month - 1) / 3) - (a.year * 4LL + (a.month - 1) / 3);
    else if (part == "MONTH")
      r = (b.year * 12LL + b.month) - (a.year * 12LL + a.month);
    else if (part == "DAY" || part == "DAYOFYEAR" || part == "WEEKDAY")
      r = FloorDiv(mb, kMsPerDay) - FloorDiv(ma, kMsPerDay);
    else if (part == "WEEK")
      r = FloorDiv(FloorDiv(mb, kMsPerDay) + 1, 7) - FloorDiv(FloorDiv(ma, kMsPerDay) + 1, 7);
    else if (part == "HOUR")
      r = FloorDiv(mb, 3600000) - FloorDiv(ma, 3600000);
    else if (part == "MINUTE")
      r = FloorDiv(mb, 60000) - FloorDiv(ma, 60000);
    else if (part == "SECOND")
      r = FloorDiv(mb, 1000) - FloorDiv(ma, 1000);
    else
      r = mb - ma;
    if (r > 2147483647LL || r < -2147483648LL)
      Fail(
          "The datediff function resulted in an overflow. The number of dateparts separating two "
          "date/time instances is too large.");
    sqlite3_result_int64(ctx, r);
  });
}

int DayOfYear(const DateTimeParts& d) {
  return static_cast<int>(tsql::DaysFromCivil(d.year, d.month, d.day) -
                          tsql::DaysFromCivil(d.year, 1, 1)) +
         1;
}

// Sunday = 1 ... Saturday = 7 (DATEFIRST 7).
int WeekDay(const DateTimeParts& d) {
  const long long days = tsql::DaysFromCivil(d.year, d.month, d.day);  // 1970-01-01 was a Thursday
  return static_cast<int>(((days + 4) % 7 + 7) % 7) + 1;
}

long long DatePartValue(std::string_view part, const DateTimeParts& d) {
  if (part == "YEAR") return d.year;
  if (part == "QUARTER") return (d.month - 1) / 3 + 1;
  if (part == "MONTH") return d.month;
  if (part == "DAYOFYEAR") return DayOfYear(d);
  if (part == "DAY") return d.day;
  if (part == "WEEK") {
    DateTimeParts jan1{d.year, 1, 1};
    return (DayOfYear(d) + WeekDay(jan1) - 2) / 7 + 1;
  }
  if (part == "WEEKDAY") return WeekDay(d);
  if (part == "HOUR") return d.hour;
  if (part == "MINUTE") return d.minute;
  if (part == "SECOND") return d.second;
  return d.millisecond;
}

void DatePart(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guarded(ctx, [&] {
    if (AnyNull(2, argv)) return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, DatePartValue(TextOf(argv[0]), DateArgument(argv[1])));
  });
}

void DateName(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guarded(ctx, [&] {
    if (AnyNull(2, argv)) return sqlite3_result_null(ctx);
    static const char* kMonths[] = {"January",   "February", "March",    "April",
                                    "May",       "June",     "July",     "August",
                                    "September", "October",  "November", "December"};
    static const char* kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                  "Thursday", "Friday", "Saturday"};
    const std::string_view part = TextOf(argv[0]);
    const DateTimeParts d = DateArgument(argv[1]);
    if (part == "MONTH") return ResultText(ctx, kMonths[d.month - 1]);
    if (part == "WEEKDAY") return ResultText(ctx, kDays[WeekDay(d) - 1]);
    ResultText(ctx, std::to_string(DatePartValue(part, d)));
  });
}

void IsDate(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_int(ctx, 0);
  auto p = tsql::ParseDateTime(TextOf(argv[0]), -1);
  sqlite3_result_int(ctx, p && p->year >= 1753 && !TextOf(argv[0]).empty() ? 1 : 0);
}

// ---- host functions

std::string FormatUnitCount(double n) {
  std::string s = fmt::format("{:.4f}", tsql::RoundDecimal(n, 4));
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

// The quantity in the item's units from the largest to the smallest ("2箱3个"), the units being
// the item's rows of vw_Unit with a coefficient above 0 by coefficient descending (then FOrder):
// each unit but the smallest takes the whole count that fits; the smallest takes the rest,
// rounded to 4 decimals without trailing zeros ("2.5瓶"); units with nothing left are skipped;
// zero is "0" and the smallest unit's name; a negative quantity is the rendering of its
// magnitude after "-"; an item without units renders the bare number.
void ComplexQty(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guarded(ctx, [&] {
    if (AnyNull(2, argv)) return sqlite3_result_null(ctx);
    auto* context = static_cast<FunctionContext*>(sqlite3_user_data(ctx));
    sqlite3* db = sqlite3_context_db_handle(ctx);
    if (!context->unitQuery) {
      // Units of equal coefficient go in their FOrder when the view has one.
      sqlite3_stmt* stmt = nullptr;
      const char* ordered =
          "SELECT FName, FCoefficient FROM vw_Unit WHERE FSrcItemId = ?1 AND FCoefficient > 0 "
          "ORDER BY FCoefficient DESC, FOrder";
      const char* plain =
          "SELECT FName, FCoefficient FROM vw_Unit WHERE FSrcItemId = ?1 AND FCoefficient > 0 "
          "ORDER BY FCoefficient DESC";
      if (sqlite3_prepare_v3(db, ordered, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) !=
              SQLITE_OK &&
          sqlite3_prepare_v3(db, plain, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
        Fail(TranslateSqliteMessage(sqlite3_errmsg(db)));
      context->unitQuery = Statement(stmt);
    }
    sqlite3_stmt* stmt = context->unitQuery.get();
    sqlite3_reset(stmt);
    sqlite3_bind_value(stmt, 1, argv[0]);
    struct Unit {
      std::string name;
      double coefficient;
    };
    std::vector<Unit> units;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      const unsigned char* name = sqlite3_column_text(stmt, 0);
      units.push_back(
          Unit{name ? reinterpret_cast<const char*>(name) : "", sqlite3_column_double(stmt, 1)});
    }
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE) Fail(TranslateSqliteMessage(sqlite3_errmsg(db)));
    const double qty = sqlite3_value_double(argv[1]);
    if (units.empty()) return ResultText(ctx, FormatUnitCount(qty));
    double rest = tsql::RoundDecimal(std::fabs(qty), 10);
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
      const Unit& u = units[i];
      if (i + 1 == units.size()) {
        const double n = tsql::RoundDecimal(rest / u.coefficient, 4);
        if (n != 0) out += FormatUnitCount(n) + u.name;
      } else {
        const double n = std::floor(rest / u.coefficient + 1e-9);
        if (n > 0) {
          out += FormatUnitCount(n) + u.name;
          rest = tsql::RoundDecimal(rest - n * u.coefficient, 10);
        }
      }
    }
    if (out.empty())
      out = "0" + units.back().name;
    else if (qty < 0)
      out = "-" + out;
    ResultText(ctx, out);
  });
}

}  // namespace

void RegisterFunctions(sqlite3* db, FunctionContext* context) {
  struct Entry {
    const char* name;
    int args;
    bool deterministic;
    void (*fn)(sqlite3_context*, int, sqlite3_value**);
  };
  // Functions that can raise stay non-deterministic so that SQLite never evaluates them ahead of
  // the CASE branch or row that needs them.
  static const Entry kFunctions[] = {
      {"tsql_cast", 5, false, Cast},
      {"tsql_round", 2, true, Round},
      {"tsql_round", 3, true, Round},
      {"tsql_div", 2, false, Divide},
      {"tsql_idiv", 2, false, IntegerDivide},
      {"tsql_mod", 2, false, Modulo},
      {"tsql_single", 2, false, Single},
      {"tsql_ceiling", 1, true, Ceiling},
      {"tsql_floor", 1, true, Floor},
      {"tsql_isnumeric", 1, true, IsNumeric},
      {"tsql_like", 2, true, Like},
      {"tsql_like", 3, false, Like},
      {"tsql_patindex", 2, true, PatIndex},
      {"tsql_charindex", 2, true, CharIndex},
      {"tsql_charindex", 3, true, CharIndex},
      {"tsql_substring", 3, false, SubstringFunction},
      {"tsql_left", 2, false, Left},
      {"tsql_right", 2, false, Right},
      {"tsql_replace", 3, true, Replace},
      {"tsql_upper", 1, true, Upper},
      {"tsql_lower", 1, true, Lower},
      {"tsql_replicate", 2, true, Replicate},
      {"tsql_reverse", 1, true, Reverse},
      {"tsql_stuff", 4, true, Stuff},
      {"tsql_str", 1, true, Str},
      {"tsql_str", 2, true, Str},
      {"tsql_str", 3, true, Str},
      {"tsql_datalength", 2, true, DataLength},
      {"tsql_getdate", 0, false, GetDate},
      {"tsql_getutcdate", 0, false, GetUtcDate},
      {"tsql_adddays", 2, false, AddDays},
      {"tsql_dateadd", 3, false, DateAdd},
      {"tsql_datediff", 3, false, DateDiff},
      {"tsql_datepart", 2, false, DatePart},
      {"tsql_datename", 2, false, DateName},
      {"tsql_isdate", 1, true, IsDate},
      {"tsql_complex_qty", 2, false, ComplexQty},
  };
  for (const Entry& e : kFunctions) {
    const int flags = SQLITE_UTF8 | (e.deterministic ? SQLITE_DETERMINISTIC : 0);
    if (sqlite3_create_function_v2(db, e.name, e.args, flags, context, e.fn, nullptr, nullptr,
                                   nullptr) != SQLITE_OK)
      throw SqlError(
          fmt::format("Cannot register SQL function {}: {}", e.name, sqlite3_errmsg(db)));
  }
}

}  // namespace zov::data::sqlite
