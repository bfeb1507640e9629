#include "zov/vb/format.h"

#include <gtest/gtest.h>

#include "vb_error.h"
#include "zov/vb/datetime.h"

namespace zov::vb {
namespace {

Currency Cy(std::int64_t scaled) { return Currency::FromScaled(scaled); }

TEST(VbFormat, NumberPatterns) {
  EXPECT_EQ(Format(1234.5, "#,##0.00"), "1,234.50");
  EXPECT_EQ(Format(-1234.5, "#,##0.00"), "-1,234.50");
  EXPECT_EQ(Format(0, "#,##0.00"), "0.00");
  EXPECT_EQ(Format(0.5, "#,##0.00"), "0.50");
  EXPECT_EQ(Format(-0.5, "#,##0.00"), "-0.50");
  EXPECT_EQ(Format(1234567.891, "#,##0.00"), "1,234,567.89");
  EXPECT_EQ(Format(-1234567, "#,##0"), "-1,234,567");
  EXPECT_EQ(Format(123, "#,##0"), "123");
  EXPECT_EQ(Format(1e20, "#,##0"), "100,000,000,000,000,000,000");
  // A negative that rounds to zero keeps its sign, as VB writes it.
  EXPECT_EQ(Format(-0.001, "#,##0.00"), "-0.00");
  // The decimal point stays even with no digit after it.
  EXPECT_EQ(Format(1234.5, "#,##0."), "1,235.");
  EXPECT_EQ(Format(5, "0."), "5.");
  EXPECT_EQ(Format(5, "#.##"), "5.");
  EXPECT_EQ(Format(0.5, "#.##"), ".5");
  EXPECT_EQ(Format(0, "#"), "");
  EXPECT_EQ(Format(3.14159, "0.0000"), "3.1416");
  EXPECT_EQ(Format(1.5, "0.0#"), "1.5");
  EXPECT_EQ(Format(1.555, "0.0#"), "1.56");
  EXPECT_EQ(Format(5, "0000"), "0005");
  EXPECT_EQ(Format(123456, "0"), "123456");
  EXPECT_EQ(Format(2.5, "0"), "3");
  EXPECT_EQ(Format(-2.5, "0"), "-3");
  EXPECT_EQ(Format(0.256, "0%"), "26%");
  EXPECT_EQ(Format(0.5, "0.00%"), "50.00%");
  EXPECT_EQ(Format(1234567, "#,##0,"), "1,235");  // "," before the point divides by 1,000
  EXPECT_EQ(Format(12345.678, "0.00E+00"), "1.23E+04");
  EXPECT_EQ(Format(0.000123, "0.0E-00"), "1.2E-04");
  EXPECT_EQ(Format(9.999, "0.00E+00"), "1.00E+01");
  EXPECT_EQ(Format(1234, "\"¥\"#,##0.00"), "¥1,234.00");
  EXPECT_EQ(Format(12, "0元"), "12元");
  EXPECT_EQ(Format(1234, "00-00"), "12-34");
  EXPECT_EQ(Format(1234, "0.00;(0.00);zero"), "1234.00");
  EXPECT_EQ(Format(-1234, "0.00;(0.00);zero"), "(1234.00)");
  EXPECT_EQ(Format(0, "0.00;(0.00);zero"), "zero");
  EXPECT_EQ(Format(-5, "0;;zero"), "-5");  // an empty section falls back to the first
  EXPECT_EQ(Format(Variant::Null(), "0;0;0;\"none\""), "none");
  EXPECT_EQ(Format(Variant::Null(), "0.00"), "");
  // Kinds other than Double.
  EXPECT_EQ(Format(Cy(10050), "0.00"), "1.01");
  EXPECT_EQ(Format(Cy(-12345678), "#,##0.00"), "-1,234.57");
  EXPECT_EQ(Format("1234.5", "#,##0.00"), "1,234.50");
  EXPECT_EQ(Format("abc", "0.00"), "abc");
  EXPECT_EQ(Format(true, "0"), "-1");
  EXPECT_EQ(Format(Variant(), "0.00"), "0.00");
  // Without a pattern, the value's own text; named formats.
  EXPECT_EQ(Format(1.5), "1.5");
  EXPECT_EQ(Format(0.1 + 0.2, ""), "0.3");
  EXPECT_EQ(Format(1234.5, "Standard"), "1,234.50");
  EXPECT_EQ(Format(1234.5, "fixed"), "1234.50");
  EXPECT_EQ(Format(0.125, "Percent"), "12.50%");
  EXPECT_EQ(Format(0, "Yes/No"), "No");
  EXPECT_EQ(Format(2, "On/Off"), "On");
}

// VB's Format rounds the decimal text of the value (15 significant digits) half away from zero,
// so a Double just below a half still rounds up: 2.675 is stored as 2.67499999999999982...
TEST(VbFormat, RoundsTheDecimalDigitsHalfAwayFromZero) {
  EXPECT_EQ(Format(1.005, "0.00"), "1.01");
  EXPECT_EQ(Format(2.675, "0.00"), "2.68");
  EXPECT_EQ(Format(0.125, "0.00"), "0.13");
  EXPECT_EQ(Format(-0.125, "0.00"), "-0.13");
  EXPECT_EQ(Format(9.995, "0.00"), "10.00");
  EXPECT_EQ(Format(0.1 + 0.2, "0.0000000000000000"), "0.3000000000000000");
  EXPECT_EQ(Format(1.0 / 3, "0.000000000000000000"), "0.333333333333333000");
}

// FormatToPlaces rounds the decimal digits half away from zero; Round rounds value * 10^places as
// a Double half to even. They agree on 2.675 (2.675 * 100 is exactly 267.5 in a Double, and 267 is
// odd) and part on 1.005 (100.49999999999999), 2.665 (266.5, to even) and 0.125 (12.5, to even).
TEST(VbFormat, FormatToPlacesRoundsAwayFromZeroWhereRoundGoesToEven) {
  EXPECT_EQ(FormatToPlaces(2.675, 2), Cy(26800));
  EXPECT_EQ(Round(2.675, 2), 2.68);
  EXPECT_EQ(FormatToPlaces(1.005, 2), Cy(10100));
  EXPECT_EQ(Round(1.005, 2), 1.0);
  EXPECT_EQ(FormatToPlaces(2.665, 2), Cy(26700));
  EXPECT_EQ(FormatToPlaces(0.125, 2), Cy(1300));
  EXPECT_EQ(Round(0.125, 2), 0.12);
  EXPECT_EQ(FormatToPlaces(2.5, 0), Cy(30000));
  EXPECT_EQ(Round(2.5), 2.0);
  EXPECT_EQ(Round(3.5), 4.0);
  EXPECT_EQ(FormatToPlaces(-2.5, 0), Cy(-30000));
  EXPECT_EQ(Round(-2.5), -2.0);
  EXPECT_EQ(Round(2.665, 2), 2.66);
  EXPECT_EQ(Round(2.345, 2), 2.35);  // 234.50000000000003: above the half, not a tie
  EXPECT_EQ(Round(1.23456, 3), 1.235);
  EXPECT_EQ(FormatToPlaces(1234567.125, 2), Cy(12345671300));
  EXPECT_EQ(FormatToPlaces(-0.001, 2), Cy(0));
  EXPECT_EQ(FormatToPlaces(12345.6789, 4), Cy(123456789));
  EXPECT_EQ(FormatToPlaces(12345.67891, 4), Cy(123456789));
  EXPECT_EQ(FormatToPlaces("12.345", 2), Cy(123500));
  EXPECT_EQ(FormatToPlaces(Cy(12345), 3), Cy(12350));
  EXPECT_VB_ERROR(kErrInvalidUseOfNull, FormatToPlaces(Variant::Null(), 2));
  EXPECT_VB_ERROR(kErrTypeMismatch, FormatToPlaces("x", 2));
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, Round(1.5, -1));

  EXPECT_EQ(Round(Cy(25000)), Cy(20000));
  EXPECT_EQ(Round(Cy(1250), 2), Cy(1200));
  EXPECT_EQ(Round(Cy(-1350), 2), Cy(-1400));
  EXPECT_TRUE(Round(Variant::Null()).IsNull());
  EXPECT_EQ(Round(Variant("2.5")), Variant(2.0));
  EXPECT_EQ(Round(Variant(7), 2), Variant(7));
}

TEST(VbFormat, DatePatterns) {
  const Date morning = DateFromParts({2026, 1, 5, 8, 7, 9});  // a Monday
  const Date evening = DateFromParts({2026, 12, 31, 20, 30, 0});
  EXPECT_EQ(Format(morning, "YYYY-MM-DD"), "2026-01-05");
  EXPECT_EQ(Format(morning, "yyyy-MM-dd"), "2026-01-05");
  EXPECT_EQ(Format(morning, "yyyy-MM-dd hh:mm:ss"), "2026-01-05 08:07:09");
  EXPECT_EQ(Format(morning, "HH:mm:ss"), "08:07:09");
  EXPECT_EQ(Format(morning, "yyyymmdd"), "20260105");
  EXPECT_EQ(Format(morning, "mm"), "01");  // no hour before it: the month
  EXPECT_EQ(Format(morning, "h:m"), "8:7");
  EXPECT_EQ(Format(morning, "hh:nn"), "08:07");
  EXPECT_EQ(Format(morning, "m/d/yy"), "1/5/26");
  EXPECT_EQ(Format(morning, "yyyy年m月d日"), "2026年1月5日");
  EXPECT_EQ(Format(morning, "dddd, mmmm d"), "Monday, January 5");
  EXPECT_EQ(Format(morning, "ddd mmm"), "Mon Jan");
  EXPECT_EQ(Format(morning, "w y ww q"), "2 5 2 1");
  EXPECT_EQ(Format(morning, "hh:nn AM/PM"), "08:07 AM");
  EXPECT_EQ(Format(evening, "h:nn am/pm"), "8:30 pm");
  EXPECT_EQ(Format(evening, "y ww q"), "365 53 4");
  EXPECT_EQ(Format(evening, "\"day\" d"), "day 31");
  EXPECT_EQ(Format(evening, "c"), "2026-12-31 20:30:00");
  EXPECT_EQ(Format(evening, "ttttt"), "20:30:00");
  EXPECT_EQ(Format(DateFromParts({2026, 1, 5, 12, 5, 0}), "h:nn AM/PM"), "12:05 PM");
  EXPECT_EQ(Format(DateFromParts({2026, 1, 5, 0, 5, 0}), "Medium Time"), "12:05 AM");
  EXPECT_EQ(Format(morning, "Short Date"), "2026-01-05");
  EXPECT_EQ(Format(morning, "Short Time"), "08:07");
  EXPECT_EQ(Format(evening, "Long Time"), "20:30:00");
  EXPECT_EQ(Format(morning, "Long Date"), "2026年1月5日");
  EXPECT_EQ(Format(morning, ""), "2026-01-05 08:07:09");
  // Text and numbers under a date pattern are read as dates.
  EXPECT_EQ(Format("2026-1-5", "yyyy-mm-dd"), "2026-01-05");
  EXPECT_EQ(Format(DateSerial(2026, 1, 5).serial, "yyyy-mm-dd"), "2026-01-05");
  EXPECT_EQ(Format("abc", "yyyy"), "abc");
  EXPECT_EQ(Format(Variant::Null(), "yyyy-mm-dd"), "");
}

}  // namespace
}  // namespace zov::vb
