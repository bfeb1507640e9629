// Numbers as decimal digit strings: the form in which VB prints, parses and rounds them. VB turns
// a Double into text with 15 significant digits before it formats or rounds it for display, so the
// digits here, not the binary value, decide every rounding of the text functions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "zov/vb/variant.h"

namespace zov::vb::detail {

// value = (negative ? -1 : 1) * 0.<digits> * 10^point. `digits` has no leading or trailing zeros;
// empty digits mean zero (the sign is kept so that a negative that rounds to zero stays negative).
struct Decimal {
  bool negative = false;
  std::string digits;
  int point = 0;

  bool IsZero() const { return digits.empty(); }
};

// Drops leading zeros (moving the point) and trailing zeros; zero keeps its sign.
void Normalize(Decimal& d);

// A finite Double rounded to `significant` digits, as VB's conversion to text does.
Decimal DecimalOfDouble(double value, int significant = 15);
Decimal DecimalOfInteger(std::int64_t value);
Decimal DecimalOfCurrency(Currency value);

// Rounds to `places` digits after the decimal point, half away from zero.
Decimal RoundHalfAway(Decimal d, int places);

// The nearest Double; +-infinity when the value is beyond the Double range.
double ToDouble(const Decimal& d);
// Rounded to four places half to even, as CCur does; nullopt outside the Currency range.
std::optional<Currency> ToCurrency(const Decimal& d);

// VB's general number text: fixed notation for decimal exponents -4 to 14, otherwise "1.5E+20".
std::string GeneralText(const Decimal& d);
// Plain fixed notation with no exponent ("-0.0001", "1234").
std::string FixedText(const Decimal& d);

// Text as VB's conversions to a number accept it (VarNumFromParseNum with the standard flags):
// surrounding white space, a leading or trailing sign or parentheses, thousands separators in the
// integer part, one decimal point, an exponent (E or D), or a "&H" / "&O" integer.
// nullopt when the text is not a number.
std::optional<Decimal> ParseNumber(std::string_view text);

// A "&H" / "&O" value the way VB types the literal: up to 16 bits wraps as Integer, up to 32 bits
// as Long. nullopt past 32 bits.
std::optional<std::int32_t> WrapRadixValue(std::uint64_t value);

}  // namespace zov::vb::detail
