// VB's Format function, its rounding of amounts to a number of places, and VB's Round.
//
// Format rounds half away from zero on the decimal digits VB writes for the value (a Double gives
// its 15 significant digits first), so Format(2.675, "0.00") is "2.68" and Format(1.005, "0.00")
// is "1.01" even though neither Double is exactly that decimal. Round works on the Double instead
// and goes half to even, so Round(1.005, 2) is 1 and Round(2.665, 2) is 2.66. The locale the system
// runs with fixes "." as the decimal point, "," as the thousands separator, "/" and ":" as the date
// and time separators, English day and month names, "yyyy-MM-dd" as the short date and
// "yyyy年M月d日" as the long date.
#pragma once

#include <string>
#include <string_view>

#include "zov/vb/variant.h"

namespace zov::vb {

// The value as text by a VB format pattern.
//
// Number patterns: digit placeholders 0 (digit or zero) and # (digit or nothing), one decimal
// point (shown even when no digit follows: Format(5, "0.") is "5."), "," between placeholders for
// thousands groups and "," before the decimal point to divide by 1,000, "%" (times 100),
// "E+"/"E-" exponents, literal text quoted or after "\", and up to four ";" sections (positive;
// negative; zero; Null). With one section a negative value gets a leading "-", also when it rounds
// to zero (Format(-0.001, "0.00") is "-0.00", as VB).
// Date patterns (any case): d dd ddd dddd ddddd dddddd, w ww, m mm mmm mmmm (minutes when right
// after an hour: "hh:mm"), q, y yy yyyy, h hh (24-hour unless AM/PM, am/pm, A/P, a/p appears),
// n nn, s ss, c, ttttt, ":" and "/".
// Named formats: General Number, Currency, Fixed, Standard, Percent, Scientific, Yes/No,
// True/False, On/Off, General Date, Long Date, Short Date, Long Time, Medium Time, Short Time.
// An empty pattern gives CStr of the value. A number pattern on text that is not a number, or a
// date pattern on text that is neither a date nor a number, returns the text unchanged. Null gives
// "" (or the fourth section). Error 13 for an object.
std::string Format(const Variant& value, std::string_view pattern = {});

// The value formatted with "#,##0." followed by `places` zeros and read back as Currency: the
// value rounded half away from zero to `places` decimals (FormatToPlaces(2.675, 2) = 2.68).
// Error 94 for Null, Error 13 for text that is not a number, Error 5 when places < 0.
Currency FormatToPlaces(const Variant& value, int places);

// VB's Round: the value times 10^places, computed as a Double, rounded half to even and divided
// back (Round(2.5) = 2, Round(3.5) = 4; 1.005 * 100 is 100.49999999999999, so Round(1.005, 2) = 1;
// 2.675 * 100 is exactly 267.5, so Round(2.675, 2) = 2.68). Error 5 when places < 0.
double Round(double value, int places = 0);
// Round of an amount: exact, half to even.
Currency Round(Currency value, int places = 0);
// Round of a Variant keeping its kind: Null stays Null, text becomes a Double, Empty and Boolean a
// Long.
Variant Round(const Variant& value, int places = 0);

}  // namespace zov::vb
