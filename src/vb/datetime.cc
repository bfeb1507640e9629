#include "zov/vb/datetime.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "zov/vb/convert.h"
#include "zov/vb/error.h"

namespace zov::vb {

namespace {
constexpr std::chrono::sys_days kEpoch = std::chrono::year{1899} / 12 / 30;
constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

std::int64_t FloorMod(std::int64_t a, std::int64_t b) { return a - FloorDiv(a, b) * b; }

// An OLE serial keeps the time as a positive fraction even before day 0 (-1.25 is 1899-12-29
// 06:00). The linear value counts days and time on one axis, so that arithmetic works across 0.
double LinearOf(Date date) {
  if (!IsDateSerialInRange(date.serial)) Raise(kErrOverflow);
  const double whole = std::trunc(date.serial);
  return whole + std::fabs(date.serial - whole);
}

Date DateOfLinear(double linear) {
  const double days = std::floor(linear);
  const double fraction = linear - days;
  return Date{days >= 0 ? days + fraction : days - fraction};
}

// Whole seconds since 1899-12-30 00:00, the time rounded to the second as VB shows it.
std::int64_t SecondsOf(Date date) { return std::llround(LinearOf(date) * kSecondsPerDay); }

Date DateOfSeconds(std::int64_t seconds) {
  const std::int64_t days = FloorDiv(seconds, kSecondsPerDay);
  const double fraction = static_cast<double>(seconds - days * kSecondsPerDay) / kSecondsPerDay;
  return DateOfLinear(static_cast<double>(days) + fraction);
}

std::int64_t DayNumber(Date date) { return FloorDiv(SecondsOf(date), kSecondsPerDay); }

std::chrono::year_month_day CivilOf(std::int64_t day) {
  return std::chrono::year_month_day{kEpoch + std::chrono::days{day}};
}

// Day number of the first of a month; the year must be within the chrono range.
std::int64_t FirstOfMonth(std::int64_t year, int month) {
  using namespace std::chrono;
  if (year < -30000 || year > 30000) Raise(kErrInvalidProcedureCall);
  const sys_days first = std::chrono::year{static_cast<int>(year)} / month / 1;
  return (first - kEpoch).count();
}

int DaysInMonth(int year, int month) {
  using namespace std::chrono;
  const year_month_day_last last{std::chrono::year{year} /
                                 std::chrono::month{static_cast<unsigned>(month)} /
                                 std::chrono::last};
  return static_cast<int>(static_cast<unsigned>(last.day()));
}

int YearOf(std::chrono::year_month_day ymd) { return static_cast<int>(ymd.year()); }
int MonthOf(std::chrono::year_month_day ymd) {
  return static_cast<int>(static_cast<unsigned>(ymd.month()));
}

Date CheckedDate(Date date) {
  if (!IsDateSerialInRange(date.serial)) Raise(kErrInvalidProcedureCall);
  return date;
}

// 0 = Sunday ... 6 = Saturday; day 0 (1899-12-30) was a Saturday.
int WeekdayIndex(std::int64_t day) { return static_cast<int>(FloorMod(day + 6, 7)); }

int FirstDay(int firstDayOfWeek) {
  if (firstDayOfWeek < 0 || firstDayOfWeek > 7) Raise(kErrInvalidProcedureCall);
  return firstDayOfWeek == 0 ? 1 : firstDayOfWeek;
}

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

Date AddMonths(Date date, std::int64_t months) {
  const double linear = LinearOf(date);
  const double day = std::floor(linear);
  const auto ymd = CivilOf(static_cast<std::int64_t>(day));
  const std::int64_t total = std::int64_t{YearOf(ymd)} * 12 + (MonthOf(ymd) - 1) + months;
  const std::int64_t year = FloorDiv(total, 12);
  const int month = static_cast<int>(total - year * 12) + 1;
  if (year < 100 || year > 9999) Raise(kErrInvalidProcedureCall);
  const int dayOfMonth = std::min(static_cast<int>(static_cast<unsigned>(ymd.day())),
                                  DaysInMonth(static_cast<int>(year), month));
  const std::int64_t newDay = FirstOfMonth(year, month) + dayOfMonth - 1;
  return DateOfLinear(static_cast<double>(newDay) + (linear - day));
}

// A small cursor over the text of a date.
struct Reader {
  std::string_view text;
  std::size_t pos = 0;

  bool AtEnd() const { return pos == text.size(); }
  bool Take(std::string_view s) {
    if (text.substr(pos, s.size()) != s) return false;
    pos += s.size();
    return true;
  }
  // Reads min..max digits; -1 when fewer than min.
  int Number(int min, int max) {
    const std::size_t start = pos;
    int value = 0, count = 0;
    while (count < max && pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
      value = value * 10 + (text[pos++] - '0');
      ++count;
    }
    if (count >= min) return value;
    pos = start;
    return -1;
  }
};

// "H:mm[:ss]" to the end of the text; seconds into the day, or -1.
std::int64_t ReadTime(Reader& r) {
  const int hour = r.Number(1, 2);
  if (hour < 0 || !r.Take(":")) return -1;
  const int minute = r.Number(1, 2);
  if (minute < 0) return -1;
  int second = 0;
  if (r.Take(":") && (second = r.Number(1, 2)) < 0) return -1;
  if (!r.AtEnd() || hour > 23 || minute > 59 || second > 59) return -1;
  return hour * 3600 + minute * 60 + second;
}

}  // namespace

Date DateFromParts(const DateParts& p) {
  using namespace std::chrono;
  const sys_days day = year{p.year} / month{static_cast<unsigned>(p.month)} / p.day;
  const double days = static_cast<double>((day - kEpoch).count());
  const double fraction = (p.hour * 3600.0 + p.minute * 60.0 + p.second) / 86400.0;
  // Before day 0 the OLE serial keeps the time as a positive fraction after a negative day count.
  return Date{days >= 0 ? days + fraction : days - fraction};
}

DateParts PartsOfDate(Date date) {
  using namespace std::chrono;
  if (!IsDateSerialInRange(date.serial)) Raise(kErrOverflow);  // no calendar date to split
  double whole = std::trunc(date.serial);
  double fraction = std::fabs(date.serial - whole);
  long long seconds = std::llround(fraction * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    whole += date.serial >= 0 ? 1 : -1;
  }
  const year_month_day ymd{kEpoch + days{static_cast<long long>(whole)}};
  DateParts p;
  p.year = static_cast<int>(ymd.year());
  p.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  p.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  p.hour = static_cast<int>(seconds / 3600);
  p.minute = static_cast<int>(seconds / 60 % 60);
  p.second = static_cast<int>(seconds % 60);
  return p;
}

bool IsDateSerialInRange(double serial) { return serial > -657435.0 && serial < 2958466.0; }

Date DateSerial(int year, int month, int day) {
  std::int64_t y = year;
  if (y >= 0 && y <= 29)
    y += 2000;
  else if (y >= 30 && y <= 99)
    y += 1900;
  const std::int64_t total = y * 12 + (std::int64_t{month} - 1);
  const std::int64_t carriedYear = FloorDiv(total, 12);
  const int carriedMonth = static_cast<int>(total - carriedYear * 12) + 1;
  const std::int64_t serial = FirstOfMonth(carriedYear, carriedMonth) + (std::int64_t{day} - 1);
  return CheckedDate(Date{static_cast<double>(serial)});
}

Date TimeSerial(int hour, int minute, int second) {
  return CheckedDate(DateOfSeconds(std::int64_t{hour} * 3600 + std::int64_t{minute} * 60 + second));
}

int Year(Date date) { return PartsOfDate(date).year; }
int Month(Date date) { return PartsOfDate(date).month; }
int Day(Date date) { return PartsOfDate(date).day; }
int Hour(Date date) { return PartsOfDate(date).hour; }
int Minute(Date date) { return PartsOfDate(date).minute; }
int Second(Date date) { return PartsOfDate(date).second; }

int Weekday(Date date, int firstDayOfWeek) {
  const int first = FirstDay(firstDayOfWeek);
  return static_cast<int>(FloorMod(WeekdayIndex(DayNumber(date)) - (first - 1), 7)) + 1;
}

Date DateValue(const Variant& value) {
  return DateOfSeconds(DayNumber(CDate(value)) * kSecondsPerDay);
}

Date TimeValue(const Variant& value) {
  return DateOfSeconds(FloorMod(SecondsOf(CDate(value)), kSecondsPerDay));
}

Date Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return DateFromParts(DateParts{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                 local.tm_hour, local.tm_min, local.tm_sec});
}

Date Today() { return DateOfSeconds(DayNumber(Now()) * kSecondsPerDay); }

Date DateAdd(std::string_view interval, double number, Date date) {
  const double count = std::trunc(number);
  if (!(std::fabs(count) < 1e12)) Raise(kErrInvalidProcedureCall);
  const auto n = static_cast<std::int64_t>(count);
  const std::string unit = LowerAscii(interval);
  if (unit == "yyyy") return CheckedDate(AddMonths(date, n * 12));
  if (unit == "q") return CheckedDate(AddMonths(date, n * 3));
  if (unit == "m") return CheckedDate(AddMonths(date, n));
  if (unit == "d" || unit == "y" || unit == "w")
    return CheckedDate(DateOfLinear(LinearOf(date) + static_cast<double>(n)));
  if (unit == "ww") return CheckedDate(DateOfLinear(LinearOf(date) + static_cast<double>(n * 7)));
  const std::int64_t seconds = unit == "h" ? 3600 : unit == "n" ? 60 : unit == "s" ? 1 : 0;
  if (seconds == 0) Raise(kErrInvalidProcedureCall);
  return CheckedDate(DateOfSeconds(SecondsOf(date) + n * seconds));
}

std::int32_t DateDiff(std::string_view interval, Date date1, Date date2, int firstDayOfWeek) {
  const std::string unit = LowerAscii(interval);
  const std::int64_t s1 = SecondsOf(date1), s2 = SecondsOf(date2);
  const std::int64_t day1 = FloorDiv(s1, kSecondsPerDay), day2 = FloorDiv(s2, kSecondsPerDay);
  const auto ymd1 = CivilOf(day1), ymd2 = CivilOf(day2);
  std::int64_t result = 0;
  if (unit == "yyyy") {
    result = YearOf(ymd2) - YearOf(ymd1);
  } else if (unit == "q") {
    result =
        (YearOf(ymd2) * 4 + (MonthOf(ymd2) - 1) / 3) - (YearOf(ymd1) * 4 + (MonthOf(ymd1) - 1) / 3);
  } else if (unit == "m") {
    result = (YearOf(ymd2) * 12 + MonthOf(ymd2)) - (YearOf(ymd1) * 12 + MonthOf(ymd1));
  } else if (unit == "d" || unit == "y") {
    result = day2 - day1;
  } else if (unit == "w") {
    result = (day2 - day1) / 7;
  } else if (unit == "ww") {
    const int first = FirstDay(firstDayOfWeek) - 1;
    const auto weekStart = [&](std::int64_t day) {
      return day - FloorMod(WeekdayIndex(day) - first, 7);
    };
    result = (weekStart(day2) - weekStart(day1)) / 7;
  } else if (unit == "h") {
    result = FloorDiv(s2, 3600) - FloorDiv(s1, 3600);
  } else if (unit == "n") {
    result = FloorDiv(s2, 60) - FloorDiv(s1, 60);
  } else if (unit == "s") {
    result = s2 - s1;
  } else {
    Raise(kErrInvalidProcedureCall);
  }
  if (result < INT32_MIN || result > INT32_MAX) Raise(kErrOverflow);
  return static_cast<std::int32_t>(result);
}

std::optional<Date> ParseDate(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  Reader r{text};
  const int year = r.Number(4, 4);
  if (year < 0) {
    const std::int64_t time = ReadTime(r);
    if (time < 0) return std::nullopt;
    return DateOfSeconds(time);
  }
  std::string_view sep1, sep2;
  for (std::string_view sep : {"-", "/", "."}) {
    if (r.Take(sep)) {
      sep1 = sep2 = sep;
      break;
    }
  }
  if (sep1.empty()) {
    if (!r.Take("年")) return std::nullopt;
    sep1 = "年";
    sep2 = "月";
  }
  const int month = r.Number(1, 2);
  if (month < 0 || !r.Take(sep2)) return std::nullopt;
  const int day = r.Number(1, 2);
  if (day < 0) return std::nullopt;
  if (sep1 == "年") r.Take("日");
  if (year < 100 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    return std::nullopt;
  std::int64_t time = 0;
  if (!r.AtEnd()) {
    if (!r.Take(" ")) return std::nullopt;
    while (r.Take(" ")) {
    }
    time = ReadTime(r);
    if (time < 0) return std::nullopt;
  }
  return DateOfSeconds((FirstOfMonth(year, month) + day - 1) * kSecondsPerDay + time);
}

bool IsDate(const Variant& value) {
  if (value.Type() == VarType::Date) return true;
  return value.IsString() && ParseDate(value.AsString()).has_value();
}

}  // namespace zov::vb
