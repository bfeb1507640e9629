// VB dates: building and splitting the OLE date serial, and the date functions the rules use.
#pragma once

#include <optional>
#include <string_view>

#include "zov/vb/variant.h"

namespace zov::vb {

struct DateParts {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The serial of a calendar date and time (proleptic Gregorian; day 0 is 1899-12-30).
Date DateFromParts(const DateParts& parts);
// The calendar date and time of a serial, the time rounded to the nearest second as VB shows it.
DateParts PartsOfDate(Date date);

}  // namespace zov::vb
