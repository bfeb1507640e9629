// How T-SQL treats text under the server's case-insensitive collation: comparison that ignores
// case and trailing spaces, UPPER/LOWER, case-insensitive search, and LIKE patterns with SQL
// Server's wildcards (% _ [set] [^set] [a-z]).
//
// Case folding covers ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic and the full-width
// Latin letters; characters outside those (CJK among them) have no case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zov::data::tsql {

// Names and keywords (ASCII): equal without regard to case, and folded to upper case.
bool EqualsNoCase(std::string_view a, std::string_view b);
std::string UpperAscii(std::string_view s);

// Compares as the CI collation does: negative, zero or positive.
int CompareIgnoringCase(std::string_view a, std::string_view b);

// Decodes UTF-8 into code points (invalid bytes pass through as themselves).
std::vector<std::uint32_t> CodePoints(std::string_view text);
void AppendUtf8(std::string& out, std::uint32_t cp);

std::uint32_t UpperCase(std::uint32_t cp);
std::uint32_t LowerCase(std::uint32_t cp);
std::string ToUpper(std::string_view text);
std::string ToLower(std::string_view text);

// 1-based character position of `needle` in `haystack` from `start`, ignoring case; 0 when absent.
long long FindIgnoringCase(std::string_view needle, std::string_view haystack, long long start);
// Replaces every occurrence of `from` (ignoring case) by `to`.
std::string ReplaceIgnoringCase(std::string_view text, std::string_view from, std::string_view to);

// A LIKE pattern compiled once and matched many times.
class LikePattern {
 public:
  // `escape` is 0 when the pattern has no ESCAPE character.
  LikePattern(std::string_view pattern, std::uint32_t escape);
  bool Matches(std::string_view text) const;
  // 1-based position of the first match of the pattern (PATINDEX), 0 when none.
  long long Find(std::string_view text) const;

 private:
  struct Element {
    enum class Kind { Char, Any, Many, Set } kind = Kind::Char;
    std::uint32_t ch = 0;
    bool negated = false;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges;
  };
  bool Match(const std::vector<std::uint32_t>& text, std::size_t t, std::size_t p) const;
  std::vector<Element> elements_;
};

}  // namespace zov::data::tsql
