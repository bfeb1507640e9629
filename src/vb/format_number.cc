#include <map>
#include <string>
#include <vector>

#include "format_pattern.h"

namespace zov::vb::detail {

namespace {

// Length of the UTF-8 character starting at `at`, so that literals are copied whole.
std::size_t CharLength(std::string_view s, std::size_t at) {
  const auto b = static_cast<unsigned char>(s[at]);
  const std::size_t n = b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
  return std::min(n, s.size() - at);
}

struct Item {
  enum Kind { kLiteral, kInteger, kFraction, kPoint, kExponent } kind;
  std::string text;  // the literal, or "E+" / "e-" for an exponent
};

// One section of a number pattern, read once into placeholders and literals.
struct NumberSection {
  std::vector<Item> items;
  int integerSlots = 0;
  int minInteger = 0;  // placeholders from the first integer "0" on
  int fractionSlots = 0;
  int minFraction = 0;  // placeholders up to the last fraction "0"
  int exponentDigits = 0;
  bool grouping = false;
  bool scientific = false;
  int scale = 0;  // power of ten: +2 per "%", -3 per "," before the decimal point
};

bool IsExponentAt(std::string_view p, std::size_t i) {
  return (p[i] == 'E' || p[i] == 'e') && i + 2 < p.size() && (p[i + 1] == '+' || p[i + 1] == '-') &&
         (p[i + 2] == '0' || p[i + 2] == '#');
}

NumberSection ParseSection(std::string_view p) {
  NumberSection s;
  bool afterPoint = false, inExponent = false;
  int firstIntegerZero = -1, lastFractionZero = -1;
  std::vector<int> commas;  // integer placeholders before each ","
  const auto literal = [&](std::string_view text) {
    if (!s.items.empty() && s.items.back().kind == Item::kLiteral)
      s.items.back().text += text;
    else
      s.items.push_back({Item::kLiteral, std::string(text)});
  };
  for (std::size_t i = 0; i < p.size();) {
    const char c = p[i];
    if (c == '"') {
      const std::size_t close = p.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? p.size() : close;
      literal(p.substr(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    if (c == '\\' && i + 1 < p.size()) {
      const std::size_t n = CharLength(p, i + 1);
      literal(p.substr(i + 1, n));
      i += 1 + n;
      continue;
    }
    if (c == '0' || c == '#') {
      if (inExponent) {
        if (c == '0') ++s.exponentDigits;
      } else if (afterPoint) {
        if (c == '0') lastFractionZero = s.fractionSlots;
        s.items.push_back({Item::kFraction, {}});
        ++s.fractionSlots;
      } else {
        if (c == '0' && firstIntegerZero < 0) firstIntegerZero = s.integerSlots;
        s.items.push_back({Item::kInteger, {}});
        ++s.integerSlots;
      }
    } else if (c == '.' && !afterPoint && !inExponent) {
      afterPoint = true;
      s.items.push_back({Item::kPoint, {}});
    } else if (c == ',' && !afterPoint && !inExponent) {
      commas.push_back(s.integerSlots);
    } else if (c == '%') {
      s.scale += 2;
      literal("%");
    } else if (!inExponent && IsExponentAt(p, i)) {
      s.scientific = inExponent = true;
      s.items.push_back({Item::kExponent, std::string(p.substr(i, 2))});
      i += 2;
      continue;
    } else {
      const std::size_t n = CharLength(p, i);
      literal(p.substr(i, n));
      i += n;
      continue;
    }
    ++i;
  }
  for (int before : commas) {
    if (before > 0 && before < s.integerSlots)
      s.grouping = true;
    else if (before > 0 && before == s.integerSlots)
      s.scale -= 3;
  }
  s.minInteger = firstIntegerZero < 0 ? 0 : s.integerSlots - firstIntegerZero;
  s.minFraction = lastFractionZero + 1;
  return s;
}

// The magnitude `v` laid out by the section.
std::string Layout(const NumberSection& s, Decimal v) {
  if (!v.IsZero()) v.point += s.scale;
  int exponent = 0;
  if (s.scientific && !v.IsZero()) {
    exponent = v.point - s.integerSlots;
    v.point = s.integerSlots;
    v = RoundHalfAway(v, s.fractionSlots);
    if (v.point > s.integerSlots) {  // 9.99 rounded up to 10.0
      --v.point;
      ++exponent;
    }
  } else {
    v = RoundHalfAway(v, s.fractionSlots);
  }
  const int size = static_cast<int>(v.digits.size());
  std::string integer;
  for (int i = 0; i < v.point; ++i) integer += i < size ? v.digits[i] : '0';
  if (static_cast<int>(integer.size()) < s.minInteger)
    integer.insert(0, static_cast<std::size_t>(s.minInteger) - integer.size(), '0');
  std::string fraction;
  for (int i = 0; i < s.fractionSlots; ++i) {
    const int at = v.point + i;
    fraction += (at >= 0 && at < size) ? v.digits[at] : '0';
  }
  while (static_cast<int>(fraction.size()) > s.minFraction && fraction.back() == '0')
    fraction.pop_back();

  std::string out;
  const int length = static_cast<int>(integer.size());
  const auto emitDigits = [&](int from, int to) {
    for (int k = from; k < to; ++k) {
      out += integer[k];
      const int fromRight = length - 1 - k;
      if (s.grouping && fromRight > 0 && fromRight % 3 == 0) out += ',';
    }
  };
  int slot = 0, fractionSlot = 0;
  for (const Item& item : s.items) {
    switch (item.kind) {
      case Item::kLiteral:
        out += item.text;
        break;
      case Item::kInteger: {
        // The leftmost placeholder takes every digit the pattern has no room for.
        const int at = length - (s.integerSlots - slot);
        if (slot == 0)
          emitDigits(0, std::max(at + 1, 0));
        else if (at >= 0)
          emitDigits(at, at + 1);
        ++slot;
        break;
      }
      case Item::kPoint:
        if (s.integerSlots == 0) emitDigits(0, length);
        out += '.';
        break;
      case Item::kFraction:
        if (fractionSlot < static_cast<int>(fraction.size())) out += fraction[fractionSlot];
        ++fractionSlot;
        break;
      case Item::kExponent: {
        out += item.text[0];
        if (exponent < 0)
          out += '-';
        else if (item.text[1] == '+')
          out += '+';
        std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
        if (static_cast<int>(digits.size()) < s.exponentDigits)
          digits.insert(0, static_cast<std::size_t>(s.exponentDigits) - digits.size(), '0');
        out += digits;
        break;
      }
    }
  }
  return out;
}

}  // namespace

std::vector<std::string_view> SplitSections(std::string_view pattern) {
  std::vector<std::string_view> sections;
  std::size_t start = 0;
  bool quoted = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '"')
      quoted = !quoted;
    else if (c == '\\' && !quoted)
      ++i;
    else if (c == ';' && !quoted) {
      sections.push_back(pattern.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(pattern.substr(start));
  return sections;
}

namespace {

struct ParsedSection {
  NumberSection section;
  bool empty = false;
};

// A pattern's sections parsed, kept per thread: a form formats the same few patterns for every
// cell it shows.
const std::vector<ParsedSection>& ParsedSections(std::string_view pattern) {
  thread_local std::map<std::string, std::vector<ParsedSection>, std::less<>> parsed;
  if (auto it = parsed.find(pattern); it != parsed.end()) return it->second;
  if (parsed.size() >= 256) parsed.clear();  // patterns built from data stay few
  std::vector<ParsedSection> sections;
  for (std::string_view section : SplitSections(pattern))
    sections.push_back({ParseSection(section), section.empty()});
  return parsed.emplace(std::string(pattern), std::move(sections)).first->second;
}

}  // namespace

std::string FormatNumber(const Decimal& value, std::string_view pattern) {
  const auto& sections = ParsedSections(pattern);
  const bool negative = value.negative && !value.IsZero();
  Decimal magnitude = value;
  magnitude.negative = false;
  // An empty section falls back to the first one, sign included.
  if (negative && sections.size() >= 2 && !sections[1].empty)
    return Layout(sections[1].section, magnitude);
  if (value.IsZero() && sections.size() >= 3 && !sections[2].empty)
    return Layout(sections[2].section, magnitude);
  // The sign is the value's, not the rounded text's: VB writes -0.001 as "-0.00".
  return (negative ? "-" : "") + Layout(sections[0].section, magnitude);
}

std::string FormatNullNumber(std::string_view pattern) {
  const std::vector<std::string_view> sections = SplitSections(pattern);
  return sections.size() >= 4 ? Layout(ParseSection(sections[3]), Decimal{}) : std::string();
}

}  // namespace zov::vb::detail
