// VB's conversions between Variant kinds, Val, IsNumeric, the comparison operators and the
// arithmetic operators, with VB's rules and run-time errors:
//   Error 94 (Invalid use of Null) when Null is converted to a value,
//   Error 13 (Type mismatch) for text that is not a number (or a date, for CDate) and for objects,
//   Error 6 (Overflow) for a value outside the target's range.
//
// Text is read as VB reads it under the locale the system runs with: "." is the decimal point and
// "," the thousands separator. Dates are written as text "yyyy-MM-dd" when they have no time,
// "yyyy-MM-dd HH:mm:ss" when they have one and "HH:mm:ss" on day 0 (1899-12-30), the form VB uses
// for a time alone; VB's own form follows the regional settings, this one is fixed so that text
// written by the system reads back the same everywhere.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "zov/vb/strings.h"
#include "zov/vb/variant.h"

namespace zov::vb {

// Numbers are True when not 0; text "True"/"False" (any case) or a number; Empty is False.
bool CBool(const Variant& v);
// Rounded half to even to a 16-bit Integer (CInt(2.5) = 2); Error 6 outside -32768..32767.
std::int16_t CInt(const Variant& v);
// Rounded half to even to a 32-bit Long (CLng(2.5) = 2, CLng(3.5) = 4); Error 6 outside the range.
std::int32_t CLng(const Variant& v);
// The Double value; a Date gives its serial, True gives -1, Empty gives 0.
double CDbl(const Variant& v);
// The value rounded half to even to four decimal places; text is converted exactly, not through
// a Double.
Currency CCur(const Variant& v);
// A Date: numbers are serials, text is read by ParseDate (datetime.h); Error 6 outside the years
// 100 to 9999.
Date CDate(const Variant& v);
// The text VB shows for the value: Double with up to 15 significant digits ("0.3", "1E+16",
// "1E-05"), Currency with up to four decimals, Boolean "True"/"False", Empty "", dates as above.
std::string CStr(const Variant& v);

// The number at the start of a text, as VB's Val: spaces, tabs and line feeds are skipped
// anywhere, then a sign, digits with one decimal point and an E or D exponent, or a "&H" / "&O"
// integer; reading stops at the first other character. Val("12abc") = 12, Val("") = 0,
// Val(" 1 2 3") = 123, Val("1.2.3") = 1.2, Val("&HFFFF") = -1. Error 6 past the Double range.
double Val(std::string_view text);
// True for Empty, Boolean and numbers, and for text that converts to a number; False for Null,
// dates and objects.
bool IsNumeric(const Variant& v);

// The RGB value (&HBBGGRR) of colour `color` of the 16 QuickBasic colours (0 black, 12 light
// red, 15 bright white); Error 5 outside 0..15.
std::int32_t QBColor(std::int32_t color);

// The result of a VB comparison; Null when either side is Null (every comparison operator then
// yields Null, which an If treats as False).
enum class Comparison { Less = -1, Equal = 0, Greater = 1, Null = 2 };

// VB's comparison of two Variants: numbers (Boolean, Long, Double, Currency, Date) compare by
// value, text by `compare`, Empty counts as 0 against a number and "" against text, and a number
// is less than any text. Error 13 for an object.
Comparison Compare(const Variant& a, const Variant& b,
                   CompareMethod compare = CompareMethod::Binary);
// VB's comparison of a Variant with a typed number (a literal or a numeric variable): text is
// converted to a number (Error 13 when it is not one, "" included), Empty counts as 0.
Comparison CompareToNumber(const Variant& a, double b);
// VB's comparison of a Variant with a typed String: the Variant's text (Empty as "") by `compare`.
Comparison CompareToString(const Variant& a, std::string_view b,
                           CompareMethod compare = CompareMethod::Binary);

// VB's "+" on Variants: Null if either is Null; two texts (or text and Empty) concatenate;
// otherwise numeric text converts to Double (Error 13 when not a number) and the sum takes the
// wider kind of Long < Double < Currency, a Date plus a number is a Date; a Long sum beyond the
// Long range becomes a Double; Error 6 past the range of the result.
Variant Add(const Variant& a, const Variant& b);
// VB's "-": as Add, but never concatenates; a Date minus a Date is a Double (days).
Variant Subtract(const Variant& a, const Variant& b);
// VB's "*": as Subtract; a Date counts as a Double.
Variant Multiply(const Variant& a, const Variant& b);
// VB's "/": always a Double (or Null); Error 11 when dividing by 0, Error 6 for 0 / 0.
Variant Divide(const Variant& a, const Variant& b);
// VB's "&": the texts of both joined, Null counting as "" (Null & Null is Null).
Variant Concat(const Variant& a, const Variant& b);

}  // namespace zov::vb
