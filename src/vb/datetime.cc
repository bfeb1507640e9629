#include "zov/vb/datetime.h"

#include <chrono>
#include <cmath>

namespace zov::vb {

namespace {
constexpr std::chrono::sys_days kEpoch = std::chrono::year{1899} / 12 / 30;
}

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

}  // namespace zov::vb
