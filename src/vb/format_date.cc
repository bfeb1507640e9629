#include <cmath>
#include <cstdio>

#include "format_pattern.h"
#include "zov/vb/datetime.h"

namespace zov::vb::detail {

namespace {

constexpr const char* kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};
constexpr const char* kMonthNames[] = {"January",   "February", "March",    "April",
                                       "May",       "June",     "July",     "August",
                                       "September", "October",  "November", "December"};

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithIgnoringCase(std::string_view s, std::size_t at, std::string_view word) {
  if (s.size() - at < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (Lower(s[at + i]) != word[i]) return false;
  return true;
}

std::size_t CharLength(std::string_view s, std::size_t at) {
  const auto b = static_cast<unsigned char>(s[at]);
  const std::size_t n = b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
  return std::min(n, s.size() - at);
}

std::string Number(int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  return buf;
}

// Length of the AM/PM marker at `at` ("am/pm", "a/p" or "ampm", any case), 0 when none.
std::size_t AmPmLength(std::string_view p, std::size_t at) {
  for (std::string_view marker : {"am/pm", "ampm", "a/p"})
    if (StartsWithIgnoringCase(p, at, marker)) return marker.size();
  return 0;
}

// Everything a date pattern can show, computed once.
struct DateFacts {
  DateParts parts;
  int weekday = 1;  // 1 = Sunday
  int dayOfYear = 1;
  int weekOfYear = 1;  // weeks starting on Sunday, week 1 holding January 1

  explicit DateFacts(Date date) : parts(PartsOfDate(date)) {
    const Date midnight = DateFromParts({parts.year, parts.month, parts.day});
    const Date newYear = DateFromParts({parts.year, 1, 1});
    weekday = Weekday(midnight);
    dayOfYear = DateDiff("d", newYear, midnight) + 1;
    weekOfYear = (dayOfYear - 1 + Weekday(newYear) - 1) / 7 + 1;
  }
};

}  // namespace

bool IsDatePattern(std::string_view p) {
  for (std::size_t i = 0; i < p.size(); ++i) {
    const char c = Lower(p[i]);
    if (c == '"') {
      const std::size_t close = p.find('"', i + 1);
      if (close == std::string_view::npos) return false;
      i = close;
    } else if (c == '\\') {
      ++i;
    } else if (std::string_view("dmyhnswqc").find(c) != std::string_view::npos ||
               StartsWithIgnoringCase(p, i, "ttttt")) {
      return true;
    }
  }
  return false;
}

std::string GeneralDateText(Date value) {
  const DateParts p = PartsOfDate(value);
  const std::string date = Number(p.year, 4) + "-" + Number(p.month, 2) + "-" + Number(p.day, 2);
  const std::string time =
      Number(p.hour, 2) + ":" + Number(p.minute, 2) + ":" + Number(p.second, 2);
  if (std::trunc(value.serial) == 0) return time;  // a time alone, as VB shows day 0
  if (p.hour == 0 && p.minute == 0 && p.second == 0) return date;
  return date + " " + time;
}

std::string FormatDate(Date value, std::string_view p) {
  const DateFacts f(value);
  const DateParts& t = f.parts;
  bool twelveHour = false;
  for (std::size_t i = 0; i < p.size(); ++i)
    if (AmPmLength(p, i) > 0) twelveHour = true;
  const int hour = twelveHour ? (t.hour % 12 == 0 ? 12 : t.hour % 12) : t.hour;

  std::string out;
  bool afterHour = false;  // "m" right after an hour means minutes
  for (std::size_t i = 0; i < p.size();) {
    const char c = Lower(p[i]);
    if (c == '"') {
      const std::size_t close = p.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? p.size() : close;
      out += p.substr(i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    if (c == '\\' && i + 1 < p.size()) {
      const std::size_t n = CharLength(p, i + 1);
      out += p.substr(i + 1, n);
      i += 1 + n;
      continue;
    }
    if (const std::size_t n = AmPmLength(p, i); n > 0) {
      const bool upper = p[i] == 'A';
      const bool shortForm = StartsWithIgnoringCase(p, i, "a/p");
      std::string marker = t.hour < 12 ? (shortForm ? "a" : "am") : (shortForm ? "p" : "pm");
      if (upper)
        for (char& ch : marker) ch = static_cast<char>(ch - 'a' + 'A');
      out += marker;
      afterHour = false;
      i += n;
      continue;
    }
    std::size_t run = 1;
    while (i + run < p.size() && Lower(p[i + run]) == c) ++run;
    std::size_t take = 0;
    bool hourToken = false;
    switch (c) {
      case 'd':
        take = std::min<std::size_t>(run, 6);
        if (take == 1)
          out += std::to_string(t.day);
        else if (take == 2)
          out += Number(t.day, 2);
        else if (take == 3)
          out += std::string(kDayNames[f.weekday - 1]).substr(0, 3);
        else if (take == 4)
          out += kDayNames[f.weekday - 1];
        else if (take == 5)
          out += FormatDate(value, "yyyy-mm-dd");
        else
          out += FormatDate(value, "yyyy\"年\"m\"月\"d\"日\"");
        break;
      case 'w':
        take = std::min<std::size_t>(run, 2);
        out += std::to_string(take == 2 ? f.weekOfYear : f.weekday);
        break;
      case 'm':
        take = std::min<std::size_t>(run, 4);
        if (take <= 2 && afterHour)
          out += take == 1 ? std::to_string(t.minute) : Number(t.minute, 2);
        else if (take == 1)
          out += std::to_string(t.month);
        else if (take == 2)
          out += Number(t.month, 2);
        else if (take == 3)
          out += std::string(kMonthNames[t.month - 1]).substr(0, 3);
        else
          out += kMonthNames[t.month - 1];
        break;
      case 'q':
        take = 1;
        out += std::to_string((t.month - 1) / 3 + 1);
        break;
      case 'y':
        take = run >= 4 ? 4 : run >= 2 ? 2 : 1;
        if (take == 4)
          out += Number(t.year, 4);
        else if (take == 2)
          out += Number(t.year % 100, 2);
        else
          out += std::to_string(f.dayOfYear);
        break;
      case 'h':
        take = std::min<std::size_t>(run, 2);
        out += take == 1 ? std::to_string(hour) : Number(hour, 2);
        hourToken = true;
        break;
      case 'n':
        take = std::min<std::size_t>(run, 2);
        out += take == 1 ? std::to_string(t.minute) : Number(t.minute, 2);
        break;
      case 's':
        take = std::min<std::size_t>(run, 2);
        out += take == 1 ? std::to_string(t.second) : Number(t.second, 2);
        break;
      case 'c':
        take = 1;
        out += GeneralDateText(value);
        break;
      case 't':
        if (run >= 5) {
          take = 5;
          out += FormatDate(value, "hh:nn:ss");
        }
        break;
      default:
        break;
    }
    if (take == 0) {  // a literal character
      const std::size_t n = CharLength(p, i);
      out += p.substr(i, n);
      i += n;
      continue;
    }
    afterHour = hourToken;
    i += take;
  }
  return out;
}

}  // namespace zov::vb::detail
