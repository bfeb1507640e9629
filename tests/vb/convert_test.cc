#include "zov/vb/convert.h"

#include <gtest/gtest.h>

#include "vb_error.h"
#include "zov/vb/datetime.h"

namespace zov::vb {
namespace {

const Variant kEmpty;
const Variant kNull = Variant::Null();

Currency Cy(std::int64_t scaled) { return Currency::FromScaled(scaled); }

TEST(VbConvert, CLngAndCIntRoundHalfToEvenAndCheckRange) {
  EXPECT_EQ(CLng(2.5), 2);
  EXPECT_EQ(CLng(3.5), 4);
  EXPECT_EQ(CLng(-2.5), -2);
  EXPECT_EQ(CLng(-3.5), -4);
  EXPECT_EQ(CLng(2.5000001), 3);
  EXPECT_EQ(CLng(Cy(25000)), 2);
  EXPECT_EQ(CLng(true), -1);
  EXPECT_EQ(CLng(kEmpty), 0);
  EXPECT_EQ(CLng(2147483647.4), 2147483647);
  EXPECT_EQ(CLng(-2147483648.5), -2147483647 - 1);
  EXPECT_VB_ERROR(kErrOverflow, CLng(2147483647.5));
  EXPECT_EQ(CInt(32767), 32767);
  EXPECT_VB_ERROR(kErrOverflow, CInt(32768));
  EXPECT_EQ(CInt(-32768.5), -32768);
  EXPECT_VB_ERROR(kErrOverflow, CInt(-32768.6));
  EXPECT_EQ(CInt(1.5), 2);

  // Text goes through VB's number parser: separators, signs at either end, parentheses, hex.
  EXPECT_EQ(CLng("2.5"), 2);
  EXPECT_EQ(CLng(" 1,234 "), 1234);
  EXPECT_EQ(CLng("1e3"), 1000);
  EXPECT_EQ(CLng("12-"), -12);
  EXPECT_EQ(CLng("(5)"), -5);
  EXPECT_EQ(CLng("&HFFFF"), -1);
  EXPECT_EQ(CLng("&H10000"), 65536);
  EXPECT_VB_ERROR(kErrTypeMismatch, CLng(""));
  EXPECT_VB_ERROR(kErrTypeMismatch, CLng("abc"));
  EXPECT_VB_ERROR(kErrTypeMismatch, CLng("12abc"));
  EXPECT_VB_ERROR(kErrTypeMismatch, CLng("1.2.3"));
  EXPECT_VB_ERROR(kErrTypeMismatch, CInt("True"));
  EXPECT_VB_ERROR(kErrInvalidUseOfNull, CLng(kNull));
  EXPECT_VB_ERROR(kErrInvalidUseOfNull, CInt(kNull));
}

TEST(VbConvert, CBoolCDblCCurCDate) {
  EXPECT_TRUE(CBool("true"));
  EXPECT_FALSE(CBool("FALSE"));
  EXPECT_FALSE(CBool("0"));
  EXPECT_TRUE(CBool("0.1"));
  EXPECT_TRUE(CBool(-2));
  EXPECT_FALSE(CBool(kEmpty));
  EXPECT_VB_ERROR(kErrTypeMismatch, CBool("yes"));
  EXPECT_VB_ERROR(kErrInvalidUseOfNull, CBool(kNull));

  EXPECT_EQ(CDbl("1.5E+3"), 1500);
  EXPECT_EQ(CDbl(" -0.25 "), -0.25);
  EXPECT_EQ(CDbl("0.1"), 0.1);
  EXPECT_EQ(CDbl(DateSerial(1900, 1, 1)), 2);
  EXPECT_VB_ERROR(kErrOverflow, CDbl("1e999"));
  EXPECT_VB_ERROR(kErrTypeMismatch, CDbl("2026-01-05"));

  // Text becomes Currency exactly, half to even on the fifth decimal.
  EXPECT_EQ(CCur("1.23455"), Cy(12346));
  EXPECT_EQ(CCur("1.23445"), Cy(12344));
  EXPECT_EQ(CCur("1,234.5"), Cy(12345000));
  EXPECT_EQ(CCur("922337203685477.5807"), Cy(INT64_MAX));
  EXPECT_VB_ERROR(kErrOverflow, CCur("922337203685477.5808"));
  EXPECT_EQ(CCur(0.1 + 0.2), Cy(3000));
  EXPECT_EQ(CCur(7), Cy(70000));

  EXPECT_EQ(CDate("2026-01-05"), DateSerial(2026, 1, 5));
  EXPECT_EQ(CDate(2.5).serial, 2.5);
  EXPECT_VB_ERROR(kErrTypeMismatch, CDate("2026-02-30"));
  EXPECT_VB_ERROR(kErrOverflow, CDate(1e7));
}

TEST(VbConvert, CStrWritesValuesAsVbPrintsThem) {
  EXPECT_EQ(CStr(0.1 + 0.2), "0.3");
  EXPECT_EQ(CStr(100.0), "100");
  EXPECT_EQ(CStr(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(CStr(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(CStr(123456789012345.0), "123456789012345");
  EXPECT_EQ(CStr(1e15), "1E+15");
  EXPECT_EQ(CStr(1e16), "1E+16");
  EXPECT_EQ(CStr(1234567890123456.0), "1.23456789012346E+15");
  EXPECT_EQ(CStr(0.0001), "0.0001");
  EXPECT_EQ(CStr(0.00001), "1E-05");
  EXPECT_EQ(CStr(-1.5e-7), "-1.5E-07");
  EXPECT_EQ(CStr(1e100), "1E+100");
  EXPECT_EQ(CStr(-0.0), "0");
  EXPECT_EQ(CStr(-5), "-5");
  EXPECT_EQ(CStr(Cy(15000)), "1.5");
  EXPECT_EQ(CStr(Cy(-1)), "-0.0001");
  EXPECT_EQ(CStr(true), "True");
  EXPECT_EQ(CStr(false), "False");
  EXPECT_EQ(CStr(kEmpty), "");
  EXPECT_VB_ERROR(kErrInvalidUseOfNull, CStr(kNull));

  EXPECT_EQ(CStr(DateSerial(2026, 1, 5)), "2026-01-05");
  EXPECT_EQ(CStr(DateFromParts({2026, 1, 5, 8, 30, 0})), "2026-01-05 08:30:00");
  EXPECT_EQ(CStr(TimeSerial(10, 30, 0)), "10:30:00");
  EXPECT_EQ(CStr(Date{0}), "00:00:00");
  EXPECT_EQ(CStr(DateFromParts({1899, 12, 29, 6, 0, 0})), "1899-12-29 06:00:00");
}

TEST(VbConvert, ValReadsTheLeadingNumber) {
  EXPECT_EQ(Val("12abc"), 12);
  EXPECT_EQ(Val(""), 0);
  EXPECT_EQ(Val(" 1 2 3"), 123);
  EXPECT_EQ(Val("1.2.3"), 1.2);
  EXPECT_EQ(Val("\t\n7"), 7);
  EXPECT_EQ(Val("  -12.5e2xyz"), -1250);
  EXPECT_EQ(Val("- 3"), -3);
  EXPECT_EQ(Val("1 . 5"), 1.5);
  EXPECT_EQ(Val(".5"), 0.5);
  EXPECT_EQ(Val("1,234"), 1);
  EXPECT_EQ(Val("1e"), 1);
  EXPECT_EQ(Val("1d2"), 100);
  EXPECT_EQ(Val("abc"), 0);
  EXPECT_EQ(Val("--1"), 0);
  EXPECT_EQ(Val("0.1"), 0.1);
  // Hex and octal take the type VB gives the literal: 16 bits wrap as Integer.
  EXPECT_EQ(Val("&H1F"), 31);
  EXPECT_EQ(Val("&HFFFF"), -1);
  EXPECT_EQ(Val("&H10000"), 65536);
  EXPECT_EQ(Val("&HFFFFFFFF"), -1);
  EXPECT_EQ(Val("&O17"), 15);
  EXPECT_EQ(Val("&H1Fzz"), 31);
  EXPECT_VB_ERROR(kErrOverflow, Val("1e999"));
  EXPECT_VB_ERROR(kErrOverflow, Val("&H100000000"));
}

TEST(VbConvert, IsNumeric) {
  for (const char* yes : {"12", " 12 ", "-1.5", "1e5", "1,2,3", "12-", "(3)", "&H10", ".5", "5."})
    EXPECT_TRUE(IsNumeric(yes)) << yes;
  for (const char* no : {"", " ", ".", "abc", "1.2.3", "12abc", "1e", "$5", "1e999", "--1"})
    EXPECT_FALSE(IsNumeric(no)) << no;
  EXPECT_TRUE(IsNumeric(kEmpty));
  EXPECT_TRUE(IsNumeric(true));
  EXPECT_TRUE(IsNumeric(Cy(1)));
  EXPECT_FALSE(IsNumeric(kNull));
  EXPECT_FALSE(IsNumeric(DateSerial(2026, 1, 5)));
}

TEST(VbConvert, CompareFollowsTheVariantRules) {
  EXPECT_EQ(Compare(1, 2), Comparison::Less);
  EXPECT_EQ(Compare(2.0, 2), Comparison::Equal);
  EXPECT_EQ(Compare(Cy(25000), 2.5), Comparison::Equal);
  EXPECT_EQ(Compare(Cy(25001), Cy(25000)), Comparison::Greater);
  EXPECT_EQ(Compare(true, -1), Comparison::Equal);
  EXPECT_EQ(Compare(DateSerial(1900, 1, 1), 2), Comparison::Equal);
  EXPECT_EQ(Compare("a", "B"), Comparison::Greater);
  EXPECT_EQ(Compare("a", "B", CompareMethod::Text), Comparison::Less);
  EXPECT_EQ(Compare("abc", "ABC", CompareMethod::Text), Comparison::Equal);
  EXPECT_EQ(Compare("10", "9"), Comparison::Less);  // text against text stays text
  EXPECT_EQ(Compare(5, "4"), Comparison::Less);     // a number is less than any text
  EXPECT_EQ(Compare("4", 5), Comparison::Greater);
  EXPECT_EQ(Compare(kEmpty, 0), Comparison::Equal);
  EXPECT_EQ(Compare(kEmpty, -1), Comparison::Greater);
  EXPECT_EQ(Compare(kEmpty, ""), Comparison::Equal);
  EXPECT_EQ(Compare(kEmpty, "a"), Comparison::Less);
  EXPECT_EQ(Compare(kEmpty, kEmpty), Comparison::Equal);
  EXPECT_EQ(Compare(kNull, 1), Comparison::Null);
  EXPECT_EQ(Compare(kNull, kNull), Comparison::Null);

  // Against a typed number, numeric text is converted and other text is a type mismatch.
  EXPECT_EQ(CompareToNumber("10", 9), Comparison::Greater);
  EXPECT_EQ(CompareToNumber(" 5 ", 5), Comparison::Equal);
  EXPECT_EQ(CompareToNumber(kEmpty, 0), Comparison::Equal);
  EXPECT_EQ(CompareToNumber(kNull, 0), Comparison::Null);
  EXPECT_VB_ERROR(kErrTypeMismatch, CompareToNumber("", 0));
  EXPECT_VB_ERROR(kErrTypeMismatch, CompareToNumber("abc", 0));
  // Against a typed String, the number is compared as text.
  EXPECT_EQ(CompareToString(10, "9"), Comparison::Less);
  EXPECT_EQ(CompareToString(1.5, "1.5"), Comparison::Equal);
  EXPECT_EQ(CompareToString(true, "true", CompareMethod::Text), Comparison::Equal);
  EXPECT_EQ(CompareToString(kEmpty, ""), Comparison::Equal);
}

TEST(VbConvert, ArithmeticOperators) {
  EXPECT_EQ(Add(1, 2), Variant(3));
  EXPECT_EQ(Add(2147483647, 1), Variant(2147483648.0));  // a Long sum widens to Double
  EXPECT_EQ(Add("1", "2"), Variant("12"));               // two texts concatenate
  EXPECT_EQ(Add("1", 2), Variant(3.0));
  EXPECT_EQ(Add(kEmpty, kEmpty), Variant(0));
  EXPECT_EQ(Add(kEmpty, "a"), Variant("a"));
  EXPECT_TRUE(Add(kNull, 1).IsNull());
  EXPECT_VB_ERROR(kErrTypeMismatch, Add("a", 1));
  EXPECT_EQ(Add(Cy(1000), 0.2), Variant(Cy(3000)));
  EXPECT_EQ(Add(DateSerial(2026, 1, 31), 1), Variant(DateSerial(2026, 2, 1)));
  EXPECT_EQ(Subtract(DateSerial(2026, 3, 1), DateSerial(2026, 2, 1)), Variant(28.0));
  EXPECT_EQ(Subtract(-2147483647 - 1, 1), Variant(-2147483649.0));
  EXPECT_EQ(Multiply(Cy(15000), Cy(15000)), Variant(Cy(22500)));
  EXPECT_EQ(Multiply(Cy(1), Cy(5000)), Variant(Cy(0)));  // 0.00005 to even
  EXPECT_EQ(Multiply(Cy(3), Cy(5000)), Variant(Cy(2)));  // 0.00015 to even
  EXPECT_EQ(Multiply(65536, 65536), Variant(4294967296.0));
  EXPECT_EQ(Multiply("1.5", 2), Variant(3.0));
  EXPECT_EQ(Divide(1, 4), Variant(0.25));
  EXPECT_EQ(Divide(kEmpty, 2), Variant(0.0));
  EXPECT_EQ(Divide(Cy(10000), 8), Variant(0.125));
  EXPECT_TRUE(Divide(kNull, 0).IsNull());
  EXPECT_VB_ERROR(kErrDivisionByZero, Divide(1, 0));
  EXPECT_VB_ERROR(kErrDivisionByZero, Divide(1, kEmpty));
  EXPECT_VB_ERROR(kErrOverflow, Divide(0, 0));
  EXPECT_VB_ERROR(kErrOverflow, Multiply(1e200, 1e200));
  EXPECT_EQ(Concat(kNull, "a"), Variant("a"));
  EXPECT_EQ(Concat(1.5, "x"), Variant("1.5x"));
  EXPECT_EQ(Concat("往来余额", Val("1234.50")), Variant("往来余额1234.5"));
  EXPECT_TRUE(Concat(kNull, kNull).IsNull());
}

}  // namespace
}  // namespace zov::vb
