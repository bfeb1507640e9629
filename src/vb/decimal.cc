#include "decimal.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace zov::vb::detail {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsWhite(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

void Normalize(Decimal& d) {
  std::size_t lead = 0;
  while (lead < d.digits.size() && d.digits[lead] == '0') ++lead;
  d.digits.erase(0, lead);
  d.point -= static_cast<int>(lead);
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) d.point = 0;
}

namespace {

Decimal FromUnsigned(bool negative, std::uint64_t magnitude, int scale) {
  Decimal d;
  d.negative = negative;
  d.digits = std::to_string(magnitude);
  d.point = static_cast<int>(d.digits.size()) - scale;
  Normalize(d);
  return d;
}

std::uint64_t Magnitude(std::int64_t v) {
  return v < 0 ? ~static_cast<std::uint64_t>(v) + 1 : static_cast<std::uint64_t>(v);
}

std::optional<Decimal> ParseRadix(std::string_view t) {
  if (t.size() < 3) return std::nullopt;
  const char kind = t[1];
  const int radix = (kind == 'H' || kind == 'h') ? 16 : (kind == 'O' || kind == 'o') ? 8 : 0;
  if (radix == 0) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : t.substr(2)) {
    int v = IsDigit(c)               ? c - '0'
            : (c >= 'a' && c <= 'f') ? c - 'a' + 10
            : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                     : 99;
    if (v >= radix) return std::nullopt;
    value = value * radix + static_cast<std::uint64_t>(v);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  const auto wrapped = WrapRadixValue(value);
  if (!wrapped) return std::nullopt;
  return DecimalOfInteger(*wrapped);
}

}  // namespace

Decimal DecimalOfDouble(double value, int significant) {
  Decimal d;
  if (value == 0 || !std::isfinite(value)) return d;
  // The digits printf's "%.*e" writes (to_chars writes the same, without the locale and the
  // format string to read: every number a form shows passes here).
  char buf[64];
  const auto written = std::to_chars(buf, buf + sizeof buf - 1, value,
                                     std::chars_format::scientific, significant - 1);
  *written.ptr = '\0';
  const char* p = buf;
  if (*p == '-') {
    d.negative = true;
    ++p;
  }
  for (; *p && *p != 'e'; ++p)
    if (IsDigit(*p)) d.digits.push_back(*p);
  const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
  d.point = exponent + 1;
  Normalize(d);
  return d;
}

Decimal DecimalOfInteger(std::int64_t value) {
  return FromUnsigned(value < 0, Magnitude(value), 0);
}

Decimal DecimalOfCurrency(Currency value) {
  return FromUnsigned(value.scaled < 0, Magnitude(value.scaled), 4);
}

Decimal RoundHalfAway(Decimal d, int places) {
  const long keep = static_cast<long>(d.point) + places;
  if (keep >= static_cast<long>(d.digits.size())) return d;
  if (keep < 0) {
    d.digits.clear();
    d.point = 0;
    return d;
  }
  const bool up = d.digits[keep] >= '5';
  d.digits.resize(keep);
  if (up) {
    long i = keep - 1;
    while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
    if (i >= 0) {
      ++d.digits[i];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.point;
    }
  }
  Normalize(d);
  return d;
}

double ToDouble(const Decimal& d) {
  if (d.IsZero()) return 0.0;
  if (d.point > 400) return d.negative ? -HUGE_VAL : HUGE_VAL;
  if (d.point < -400) return 0.0;
  const std::string text = "0." + d.digits + "e" + std::to_string(d.point);
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc::result_out_of_range) value = d.point > 0 ? HUGE_VAL : 0.0;
  return d.negative ? -value : value;
}

std::optional<Currency> ToCurrency(const Decimal& d) {
  const long whole = static_cast<long>(d.point) + 4;  // digits left of the point after scaling
  if (d.IsZero() || whole < 0) return Currency{};
  if (whole > 19) return std::nullopt;
  const long size = static_cast<long>(d.digits.size());
  std::uint64_t scaled = 0;
  for (long i = 0; i < whole; ++i)
    scaled = scaled * 10 + static_cast<std::uint64_t>(i < size ? d.digits[i] - '0' : 0);
  if (whole < size) {
    const char first = d.digits[whole];
    const bool more = whole + 1 < size;  // no trailing zeros: anything after is non-zero
    if (first > '5' || (first == '5' && (more || scaled % 2 == 1))) ++scaled;
  }
  const std::uint64_t limit =
      static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (d.negative ? 1 : 0);
  if (scaled > limit) return std::nullopt;
  return Currency{d.negative ? static_cast<std::int64_t>(~scaled + 1)
                             : static_cast<std::int64_t>(scaled)};
}

std::string FixedText(const Decimal& d) {
  if (d.IsZero()) return "0";
  std::string out = d.negative ? "-" : "";
  const int size = static_cast<int>(d.digits.size());
  if (d.point <= 0) {
    out += "0." + std::string(-d.point, '0') + d.digits;
  } else if (d.point >= size) {
    out += d.digits + std::string(d.point - size, '0');
  } else {
    out += d.digits.substr(0, d.point) + "." + d.digits.substr(d.point);
  }
  return out;
}

std::string GeneralText(const Decimal& d) {
  const int exponent = d.point - 1;
  if (d.IsZero() || (exponent >= -4 && exponent < 15)) return FixedText(d);
  std::string out = d.negative ? "-" : "";
  out += d.digits[0];
  if (d.digits.size() > 1) out += "." + d.digits.substr(1);
  char buf[16];
  std::snprintf(buf, sizeof buf, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  return out + buf;
}

std::optional<std::int32_t> WrapRadixValue(std::uint64_t value) {
  if (value <= 0xFFFF) return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
  if (value <= 0xFFFFFFFF) return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  return std::nullopt;
}

std::optional<Decimal> ParseNumber(std::string_view t) {
  while (!t.empty() && IsWhite(t.front())) t.remove_prefix(1);
  while (!t.empty() && IsWhite(t.back())) t.remove_suffix(1);
  if (t.empty()) return std::nullopt;
  if (t[0] == '&') return ParseRadix(t);

  const std::size_t n = t.size();
  std::size_t i = 0;
  bool negative = false, signed_ = false, parens = false;
  if (t[i] == '(') {
    parens = true;
    ++i;
  }
  if (i < n && (t[i] == '+' || t[i] == '-')) {
    negative = t[i] == '-';
    signed_ = true;
    ++i;
  }
  Decimal d;
  int whole = 0;
  for (; i < n; ++i) {
    if (IsDigit(t[i])) {
      d.digits.push_back(t[i]);
      ++whole;
    } else if (t[i] != ',' || whole == 0) {
      break;  // a thousands separator only counts after a digit
    }
  }
  if (i < n && t[i] == '.') {
    for (++i; i < n && IsDigit(t[i]); ++i) d.digits.push_back(t[i]);
  }
  if (d.digits.empty()) return std::nullopt;
  long exponent = 0;
  if (i < n && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
    std::size_t j = i + 1;
    bool minus = false;
    if (j < n && (t[j] == '+' || t[j] == '-')) minus = t[j++] == '-';
    if (j >= n || !IsDigit(t[j])) return std::nullopt;
    for (; j < n && IsDigit(t[j]); ++j) exponent = std::min(exponent * 10 + (t[j] - '0'), 100000L);
    if (minus) exponent = -exponent;
    i = j;
  }
  if (i < n && !signed_ && (t[i] == '+' || t[i] == '-')) {
    negative = t[i] == '-';
    signed_ = true;
    ++i;
  }
  if (parens) {
    if (i >= n || t[i] != ')' || negative) return std::nullopt;
    negative = true;
    ++i;
  }
  if (i != n) return std::nullopt;
  d.negative = negative;
  d.point = whole + static_cast<int>(exponent);
  Normalize(d);
  return d;
}

}  // namespace zov::vb::detail
