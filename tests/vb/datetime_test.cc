#include "zov/vb/datetime.h"

#include <gtest/gtest.h>

#include <cmath>

#include "vb_error.h"
#include "zov/vb/convert.h"

namespace zov::vb {
namespace {

Date D(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
  return DateFromParts({y, m, d, hh, mm, ss});
}

TEST(VbDate, DateSerialCarriesMonthsAndDaysOver) {
  EXPECT_EQ(DateSerial(2026, 13, 1), D(2027, 1, 1));
  EXPECT_EQ(DateSerial(2026, 3, 0), D(2026, 2, 28));
  EXPECT_EQ(DateSerial(2024, 3, 0), D(2024, 2, 29));
  EXPECT_EQ(DateSerial(2026, 2, 29), D(2026, 3, 1));
  EXPECT_EQ(DateSerial(2026, 0, 1), D(2025, 12, 1));
  EXPECT_EQ(DateSerial(2026, -13, 1), D(2024, 11, 1));
  EXPECT_EQ(DateSerial(2026, 1, -1), D(2025, 12, 30));
  EXPECT_EQ(DateSerial(2026, 1, 366), D(2027, 1, 1));
  EXPECT_EQ(DateSerial(26, 1, 1), D(2026, 1, 1));
  EXPECT_EQ(DateSerial(99, 1, 1), D(1999, 1, 1));
  EXPECT_EQ(DateSerial(1899, 12, 30).serial, 0);
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, DateSerial(10000, 1, 1));
  EXPECT_EQ(TimeSerial(25, 0, 0), D(1899, 12, 31, 1, 0, 0));
  EXPECT_EQ(TimeSerial(0, 90, -30), D(1899, 12, 30, 1, 29, 30));
}

TEST(VbDate, PartsAndWeekday) {
  const Date d = D(2026, 1, 5, 8, 7, 9);
  EXPECT_EQ(Year(d), 2026);
  EXPECT_EQ(Month(d), 1);
  EXPECT_EQ(Day(d), 5);
  EXPECT_EQ(Hour(d), 8);
  EXPECT_EQ(Minute(d), 7);
  EXPECT_EQ(Second(d), 9);
  EXPECT_EQ(Weekday(d), 2);     // Monday, weeks from Sunday
  EXPECT_EQ(Weekday(d, 2), 1);  // weeks from Monday
  EXPECT_EQ(Weekday(Date{0}), 7);
  EXPECT_EQ(Weekday(Date{-1.25}), 6);  // 1899-12-29 06:00, a Friday
  EXPECT_EQ(Hour(Date{-1.25}), 6);
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, Weekday(d, 8));
  EXPECT_VB_ERROR(kErrOverflow, Year(Date{1e300}));
  EXPECT_VB_ERROR(kErrOverflow, DateDiff("d", Date{0}, Date{NAN}));
  // 23:59:59.6 shows as the next day, as VB rounds to the second.
  EXPECT_EQ(Day(Date{D(2026, 1, 5).serial + (86399.6 / 86400)}), 6);
}

TEST(VbDate, DateDiffCountsCalendarBoundaries) {
  EXPECT_EQ(DateDiff("d", D(2024, 2, 28), D(2024, 3, 1)), 2);
  EXPECT_EQ(DateDiff("d", D(2023, 2, 28), D(2023, 3, 1)), 1);
  EXPECT_EQ(DateDiff("d", D(2025, 12, 31), D(2026, 1, 1)), 1);
  EXPECT_EQ(DateDiff("d", D(2026, 1, 31), D(2026, 2, 1)), 1);
  EXPECT_EQ(DateDiff("d", D(2024, 1, 1), D(2025, 1, 1)), 366);
  EXPECT_EQ(DateDiff("d", D(2026, 3, 1), D(2026, 2, 1)), -28);
  // Days are calendar days: the time of day does not count.
  EXPECT_EQ(DateDiff("d", D(2026, 1, 1, 23, 59), D(2026, 1, 2, 0, 1)), 1);
  EXPECT_EQ(DateDiff("d", D(2026, 1, 2, 0, 1), D(2026, 1, 1, 23, 59)), -1);
  EXPECT_EQ(DateDiff("D", D(2026, 1, 1, 0, 0), D(2026, 1, 1, 23, 59)), 0);
  EXPECT_EQ(DateDiff("d", D(1899, 12, 29, 23, 0), D(1899, 12, 30, 1, 0)), 1);  // across day 0

  EXPECT_EQ(DateDiff("m", D(2026, 1, 31), D(2026, 2, 1)), 1);
  EXPECT_EQ(DateDiff("m", D(2026, 2, 1), D(2025, 11, 30)), -3);
  EXPECT_EQ(DateDiff("yyyy", D(2025, 12, 31), D(2026, 1, 1)), 1);
  EXPECT_EQ(DateDiff("q", D(2026, 3, 31), D(2026, 4, 1)), 1);
  EXPECT_EQ(DateDiff("h", D(2026, 1, 1, 10, 59), D(2026, 1, 1, 11, 1)), 1);
  EXPECT_EQ(DateDiff("h", D(1899, 12, 29, 23, 0), D(1899, 12, 30, 1, 0)), 2);
  EXPECT_EQ(DateDiff("n", D(2026, 1, 1, 10, 0, 59), D(2026, 1, 1, 10, 1, 0)), 1);
  EXPECT_EQ(DateDiff("s", D(2026, 1, 1, 23, 59, 59), D(2026, 1, 2)), 1);
  EXPECT_EQ(DateDiff("w", D(2026, 1, 5), D(2026, 1, 11)), 0);
  EXPECT_EQ(DateDiff("w", D(2026, 1, 5), D(2026, 1, 12)), 1);
  EXPECT_EQ(DateDiff("ww", D(2026, 1, 3), D(2026, 1, 4)), 1);  // Saturday to Sunday
  EXPECT_EQ(DateDiff("ww", D(2026, 1, 4), D(2026, 1, 10)), 0);
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, DateDiff("x", D(2026, 1, 1), D(2026, 1, 2)));
  EXPECT_VB_ERROR(kErrOverflow, DateDiff("s", D(1900, 1, 1), D(2026, 1, 1)));
}

TEST(VbDate, DateAddClampsToMonthEnds) {
  EXPECT_EQ(DateAdd("m", 1, D(2026, 1, 31)), D(2026, 2, 28));
  EXPECT_EQ(DateAdd("m", 1, D(2024, 1, 31)), D(2024, 2, 29));
  EXPECT_EQ(DateAdd("m", -1, D(2026, 3, 31)), D(2026, 2, 28));
  EXPECT_EQ(DateAdd("m", 13, D(2025, 12, 15)), D(2027, 1, 15));
  EXPECT_EQ(DateAdd("q", 1, D(2025, 11, 30)), D(2026, 2, 28));
  EXPECT_EQ(DateAdd("yyyy", 1, D(2024, 2, 29)), D(2025, 2, 28));
  EXPECT_EQ(DateAdd("yyyy", 4, D(2024, 2, 29)), D(2028, 2, 29));
  EXPECT_EQ(DateAdd("d", 1, D(2024, 2, 28)), D(2024, 2, 29));
  EXPECT_EQ(DateAdd("d", 1, D(2023, 2, 28)), D(2023, 3, 1));
  EXPECT_EQ(DateAdd("d", 365, D(2024, 1, 1)), D(2024, 12, 31));
  EXPECT_EQ(DateAdd("d", -60, D(2024, 3, 1)), D(2024, 1, 1));
  EXPECT_EQ(DateAdd("D", 1.9, D(2026, 1, 1)), D(2026, 1, 2));  // the count is truncated
  EXPECT_EQ(DateAdd("ww", 2, D(2026, 1, 1)), D(2026, 1, 15));
  EXPECT_EQ(DateAdd("h", 25, D(2026, 1, 1)), D(2026, 1, 2, 1, 0, 0));
  EXPECT_EQ(DateAdd("n", -1, D(2026, 1, 1)), D(2025, 12, 31, 23, 59, 0));
  EXPECT_EQ(DateAdd("s", 90, D(2026, 1, 1)), D(2026, 1, 1, 0, 1, 30));
  // The time of day survives day and month steps, also across day 0.
  EXPECT_EQ(DateAdd("m", 1, D(2026, 1, 31, 10, 30)), D(2026, 2, 28, 10, 30));
  EXPECT_EQ(DateAdd("d", 1, Date{-1.25}), D(1899, 12, 30, 6, 0, 0));
  EXPECT_EQ(DateAdd("d", -1, D(1899, 12, 30, 6, 0, 0)).serial, -1.25);
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, DateAdd("d", 1, D(9999, 12, 31)));
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, DateAdd("x", 1, D(2026, 1, 1)));
}

TEST(VbDate, ParseDateReadsTheSystemsDateTexts) {
  const Date day = D(2026, 1, 5);
  for (const char* text :
       {"2026-01-05", "2026-1-5", "2026/01/05", "2026.01.05", "2026年1月5日", " 2026-01-05 "})
    EXPECT_EQ(ParseDate(text), day) << text;
  EXPECT_EQ(ParseDate("2026-01-05 08:30"), D(2026, 1, 5, 8, 30, 0));
  EXPECT_EQ(ParseDate("2026-1-5 8:30:15"), D(2026, 1, 5, 8, 30, 15));
  EXPECT_EQ(ParseDate("10:30"), TimeSerial(10, 30, 0));
  EXPECT_EQ(ParseDate("2024-02-29"), D(2024, 2, 29));
  for (const char* text : {"", "abc", "2026-02-30", "2023-02-29", "2026-13-01", "2026-00-10",
                           "2026-01-05 24:00", "2026-01-05 10:60", "26-1-5", "2026-01",
                           "2026-01/05", "2026-01-05x", "20260105", "2026-01-05 10"})
    EXPECT_FALSE(ParseDate(text).has_value()) << text;

  EXPECT_TRUE(IsDate(day));
  EXPECT_TRUE(IsDate("2026-01-05"));
  EXPECT_FALSE(IsDate("2026-02-30"));
  EXPECT_FALSE(IsDate(46000));
  EXPECT_FALSE(IsDate(Variant()));
  EXPECT_FALSE(IsDate(Variant::Null()));

  EXPECT_EQ(DateValue("2026-01-05 10:30"), day);
  EXPECT_EQ(DateValue(D(2026, 1, 5, 23, 59, 59)), day);
  EXPECT_EQ(TimeValue("2026-01-05 10:30"), TimeSerial(10, 30, 0));
  EXPECT_VB_ERROR(kErrTypeMismatch, DateValue("x"));
  EXPECT_VB_ERROR(kErrInvalidUseOfNull, DateValue(Variant::Null()));
}

TEST(VbDate, NowAndToday) {
  const Date now = Now(), today = Today();
  EXPECT_EQ(today.serial, std::floor(today.serial));
  EXPECT_GE(now.serial, today.serial);
  EXPECT_LT(now.serial - today.serial, 1.0);
  EXPECT_GT(Year(today), 2000);
}

}  // namespace
}  // namespace zov::vb
