#include "data/tsql/text_rules.h"

#include <cctype>

namespace zov::data::tsql {

namespace {

std::string_view TrimTrailingSpaces(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Reads one code point at `i`, advancing it; a malformed byte stands for itself.
std::uint32_t Next(std::string_view s, std::size_t& i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  const int extra = c < 0x80 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
  if (extra == 0 || i + static_cast<std::size_t>(extra) >= s.size()) {
    ++i;
    return c;
  }
  std::uint32_t cp = c & (0x3Fu >> extra);
  for (int k = 1; k <= extra; ++k) {
    const unsigned char cc = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
    if ((cc & 0xC0) != 0x80) {
      ++i;
      return c;
    }
    cp = (cp << 6) | (cc & 0x3Fu);
  }
  i += static_cast<std::size_t>(extra) + 1;
  return cp;
}

}  // namespace

std::uint32_t UpperCase(std::uint32_t cp) {
  if (cp < 0x80) return (cp >= 'a' && cp <= 'z') ? cp - 32 : cp;
  if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 0x20;
  if (cp == 0xFF) return 0x178;
  if (cp >= 0x100 && cp <= 0x17F) {
    if ((cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E))
      return (cp % 2 == 0) ? cp - 1 : cp;
    if (cp == 0x131 || cp == 0x138 || cp == 0x149 || cp == 0x17F) return cp;
    return (cp % 2 == 1) ? cp - 1 : cp;
  }
  if (cp >= 0x3B1 && cp <= 0x3C9) return cp == 0x3C2 ? 0x3A3 : cp - 0x20;
  if (cp >= 0x430 && cp <= 0x44F) return cp - 0x20;
  if (cp >= 0x450 && cp <= 0x45F) return cp - 0x50;
  if (cp >= 0xFF41 && cp <= 0xFF5A) return cp - 0x20;
  return cp;
}

std::uint32_t LowerCase(std::uint32_t cp) {
  if (cp < 0x80) return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
  if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 0x20;
  if (cp == 0x178) return 0xFF;
  if (cp >= 0x100 && cp <= 0x17F) {
    if ((cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E))
      return (cp % 2 == 1) ? cp + 1 : cp;
    if (cp == 0x130 || cp == 0x131 || cp == 0x138 || cp == 0x149 || cp == 0x17F) return cp;
    return (cp % 2 == 0) ? cp + 1 : cp;
  }
  if (cp >= 0x391 && cp <= 0x3A9 && cp != 0x3A2) return cp + 0x20;
  if (cp >= 0x410 && cp <= 0x42F) return cp + 0x20;
  if (cp >= 0x400 && cp <= 0x40F) return cp + 0x50;
  if (cp >= 0xFF21 && cp <= 0xFF3A) return cp + 0x20;
  return cp;
}

std::vector<std::uint32_t> CodePoints(std::string_view text) {
  std::vector<std::uint32_t> out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) out.push_back(Next(text, i));
  return out;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

int CompareIgnoringCase(std::string_view a, std::string_view b) {
  a = TrimTrailingSpaces(a);
  b = TrimTrailingSpaces(b);
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const unsigned char ca = static_cast<unsigned char>(a[i]);
    const unsigned char cb = static_cast<unsigned char>(b[j]);
    if (ca < 0x80 && cb < 0x80) {
      const int x = (ca >= 'a' && ca <= 'z') ? ca - 32 : ca;
      const int y = (cb >= 'a' && cb <= 'z') ? cb - 32 : cb;
      if (x != y) return x < y ? -1 : 1;
      ++i;
      ++j;
      continue;
    }
    const std::uint32_t x = UpperCase(Next(a, i));
    const std::uint32_t y = UpperCase(Next(b, j));
    if (x != y) return x < y ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string ToUpper(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) AppendUtf8(out, UpperCase(Next(text, i)));
  return out;
}

std::string ToLower(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) AppendUtf8(out, LowerCase(Next(text, i)));
  return out;
}

long long FindIgnoringCase(std::string_view needle, std::string_view haystack, long long start) {
  if (needle.empty()) return 0;
  std::vector<std::uint32_t> n = CodePoints(needle);
  std::vector<std::uint32_t> h = CodePoints(haystack);
  for (auto& c : n) c = UpperCase(c);
  for (auto& c : h) c = UpperCase(c);
  if (start < 1) start = 1;
  for (std::size_t i = static_cast<std::size_t>(start - 1); i + n.size() <= h.size(); ++i) {
    bool all = true;
    for (std::size_t k = 0; k < n.size(); ++k)
      if (h[i + k] != n[k]) {
        all = false;
        break;
      }
    if (all) return static_cast<long long>(i) + 1;
  }
  return 0;
}

std::string ReplaceIgnoringCase(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::vector<std::uint32_t> t = CodePoints(text);
  std::vector<std::uint32_t> f = CodePoints(from);
  for (auto& c : f) c = UpperCase(c);
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < t.size()) {
    bool match = i + f.size() <= t.size();
    for (std::size_t k = 0; match && k < f.size(); ++k)
      if (UpperCase(t[i + k]) != f[k]) match = false;
    if (match) {
      out.append(to);
      i += f.size();
    } else {
      AppendUtf8(out, t[i]);
      ++i;
    }
  }
  return out;
}

LikePattern::LikePattern(std::string_view pattern, std::uint32_t escape) {
  std::vector<std::uint32_t> p = CodePoints(pattern);
  for (std::size_t i = 0; i < p.size(); ++i) {
    const std::uint32_t c = p[i];
    Element e;
    e.kind = Element::Kind::Char;
    if (escape != 0 && c == escape && i + 1 < p.size()) {
      e.ch = UpperCase(p[++i]);
    } else if (c == '%') {
      e.kind = Element::Kind::Many;
      if (!elements_.empty() && elements_.back().kind == Element::Kind::Many) continue;
    } else if (c == '_') {
      e.kind = Element::Kind::Any;
    } else if (c == '[') {
      // Find the closing bracket; without one the bracket is an ordinary character.
      std::size_t j = i + 1;
      bool negated = false;
      if (j < p.size() && p[j] == '^') {
        negated = true;
        ++j;
      }
      std::size_t k = j;
      if (k < p.size()) ++k;  // the first character of a set is always literal
      while (k < p.size() && p[k] != ']') ++k;
      if (k >= p.size()) {
        e.ch = '[';
      } else {
        e.kind = Element::Kind::Set;
        e.negated = negated;
        for (std::size_t m = j; m < k; ++m) {
          std::uint32_t lo = UpperCase(p[m]);
          std::uint32_t hi = lo;
          if (m + 2 < k && p[m + 1] == '-') {
            hi = UpperCase(p[m + 2]);
            m += 2;
          }
          e.ranges.emplace_back(lo, hi);
        }
        i = k;
      }
    } else {
      e.ch = UpperCase(c);
    }
    elements_.push_back(std::move(e));
  }
}

bool LikePattern::Match(const std::vector<std::uint32_t>& text, std::size_t t,
                        std::size_t p) const {
  while (p < elements_.size()) {
    const Element& e = elements_[p];
    if (e.kind == Element::Kind::Many) {
      if (p + 1 == elements_.size()) return true;
      for (std::size_t k = t; k <= text.size(); ++k)
        if (Match(text, k, p + 1)) return true;
      return false;
    }
    if (t >= text.size()) return false;
    const std::uint32_t c = UpperCase(text[t]);
    switch (e.kind) {
      case Element::Kind::Char:
        if (c != e.ch) return false;
        break;
      case Element::Kind::Any:
        break;
      case Element::Kind::Set: {
        bool in = false;
        for (const auto& r : e.ranges)
          if (c >= r.first && c <= r.second) in = true;
        if (in == e.negated) return false;
        break;
      }
      default:
        break;
    }
    ++t;
    ++p;
  }
  return t == text.size();
}

bool LikePattern::Matches(std::string_view text) const { return Match(CodePoints(text), 0, 0); }

long long LikePattern::Find(std::string_view text) const {
  const std::vector<std::uint32_t> t = CodePoints(text);
  // Without a leading % the pattern must match from the first character.
  if (elements_.empty() || elements_.front().kind != Element::Kind::Many)
    return Match(t, 0, 0) ? 1 : 0;
  for (std::size_t i = 0; i <= t.size(); ++i)
    if (Match(t, i, 1)) return static_cast<long long>(i) + 1;
  return 0;
}

}  // namespace zov::data::tsql
