// VB dates: building and splitting the OLE date serial, and the date functions the rules use.
#pragma once

#include <cstdint>
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
// Error 6 for a serial outside VB's date range (see IsDateSerialInRange).
DateParts PartsOfDate(Date date);

// True when the serial lies in VB's date range, 100-01-01 to 9999-12-31 23:59:59.
bool IsDateSerialInRange(double serial);

// Every function below raises Error 6 for a date outside that range.

// The date of year, month and day, months and days past their range carrying over as VB's
// DateSerial (DateSerial(2026, 13, 1) = 2027-01-01, DateSerial(2026, 3, 0) = 2026-02-28); years
// 0 to 29 mean 2000 to 2029 and 30 to 99 mean 1930 to 1999. Error 5 outside the date range.
Date DateSerial(int year, int month, int day);
// The time of day of hours, minutes and seconds, carrying over as VB's TimeSerial.
Date TimeSerial(int hour, int minute, int second);

// Calendar parts of a date (its time rounded to the second, as VB shows it).
int Year(Date date);
int Month(Date date);
int Day(Date date);
int Hour(Date date);
int Minute(Date date);
int Second(Date date);
// Day of the week, 1 for `firstDayOfWeek` (1 = Sunday, the default, ... 7 = Saturday; 0 counts as
// Sunday). Error 5 for a first day outside 0 to 7.
int Weekday(Date date, int firstDayOfWeek = 1);

// The date part of a value converted as CDate converts it (a text with a time gives its date).
Date DateValue(const Variant& value);
// The time part of a value converted as CDate converts it, on day 0.
Date TimeValue(const Variant& value);
// The current local date and time, to the second.
Date Now();
// The current local date without time (VB's Date function).
Date Today();

// `date` moved by `number` intervals: "yyyy" years, "q" quarters, "m" months (the day clamped to
// the end of a shorter month: 2026-01-31 + 1 month = 2026-02-28), "y", "d", "w" days, "ww" weeks,
// "h" hours, "n" minutes, "s" seconds (any case). `number` is truncated to a whole count. Error 5
// for another interval or a result outside the date range.
Date DateAdd(std::string_view interval, double number, Date date);
// The number of interval boundaries from `date1` to `date2` (negative when date2 is earlier):
// "d"/"y" calendar days (times ignored: 23:59 to 00:01 next day is 1), "w" whole weeks, "ww"
// week starts (`firstDayOfWeek` as for Weekday), "m" months and "q" quarters and "yyyy" years by
// calendar number, "h", "n", "s" by the clock. Error 5 for another interval, Error 6 past the Long
// range.
std::int32_t DateDiff(std::string_view interval, Date date1, Date date2, int firstDayOfWeek = 1);

// Reads "yyyy-MM-dd", "yyyy-M-d", "yyyy/MM/dd", "yyyy.MM.dd" or "yyyy年M月d日", each optionally
// followed by " HH:mm" or " HH:mm:ss", or a time "HH:mm[:ss]" alone (on day 0); surrounding
// spaces are ignored. nullopt for anything else or for a day, month or time that does not exist.
std::optional<Date> ParseDate(std::string_view text);
// True for a Date and for text ParseDate reads; numbers, Empty and Null are not dates.
bool IsDate(const Variant& value);

}  // namespace zov::vb
