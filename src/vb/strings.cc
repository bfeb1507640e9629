#include "zov/vb/strings.h"

#include <algorithm>

#include "zov/vb/error.h"
#include "zov/vb/text_compare.h"

namespace zov::vb {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsScalar(std::int64_t code) {
  return code >= 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
}

// Latin Extended-A pairs whose upper case sits on the even code point.
bool EvenUpperPair(char32_t c) {
  return (c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
}
// ... and those whose upper case sits on the odd one.
bool OddUpperPair(char32_t c) { return (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E); }

char32_t ToLower(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c == 0x178) return 0xFF;
  if (EvenUpperPair(c)) return c % 2 == 0 ? c + 1 : c;
  if (OddUpperPair(c)) return c % 2 == 1 ? c + 1 : c;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 0x25;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 0x3F;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;
  return c;
}

char32_t ToUpper(char32_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 0x20 : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  if (EvenUpperPair(c)) return c % 2 == 1 ? c - 1 : c;
  if (OddUpperPair(c)) return c % 2 == 0 ? c - 1 : c;
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;
  if (c == 0x3C2) return 0x3A3;
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 0x20;
  return c;
}

// Text compare sees "Ａ", "A" and "a" alike: full-width forms fold to ASCII, then case folds.
char32_t FoldForText(char32_t c) {
  if (c >= 0xFF01 && c <= 0xFF5E)
    c -= 0xFEE0;
  else if (c == 0x3000)
    c = 0x20;
  return ToLower(c);
}

// A text split into characters: codes[i] starts at byte offsets[i]; offsets has one more entry,
// the end of the text.
struct Chars {
  std::vector<char32_t> codes;
  std::vector<std::size_t> offsets;

  std::size_t size() const { return codes.size(); }
};

Chars Decompose(std::string_view s, CompareMethod compare) {
  Chars out;
  for (Utf8Char ch : Utf8Chars(s)) {
    out.codes.push_back(compare == CompareMethod::Text ? FoldForText(ch.code) : ch.code);
    out.offsets.push_back(static_cast<std::size_t>(ch.bytes.data() - s.data()));
  }
  out.offsets.push_back(s.size());
  return out;
}

bool MatchesAt(const Chars& s, const Chars& find, std::size_t at) {
  return std::equal(find.codes.begin(), find.codes.end(), s.codes.begin() + at);
}

// Index of the first match at or after `from`, or s.size() when none.
std::size_t FindFrom(const Chars& s, const Chars& find, std::size_t from) {
  if (find.size() > s.size()) return s.size();
  for (std::size_t i = from; i + find.size() <= s.size(); ++i)
    if (MatchesAt(s, find, i)) return i;
  return s.size();
}

// Byte offset of character `index` (the end when past it).
std::size_t ByteOffset(std::string_view s, std::size_t index) {
  Utf8Iterator it(s, 0), end(s, s.size());
  for (; index > 0 && it != end; --index) ++it;
  return it.offset();
}

std::string MapCase(std::string_view s, char32_t (*map)(char32_t)) {
  std::string out;
  out.reserve(s.size());
  for (Utf8Char ch : Utf8Chars(s)) {
    const char32_t mapped = map(ch.code);
    if (mapped == ch.code)
      out += ch.bytes;  // keeps malformed bytes as they are
    else
      out += EncodeUtf8(mapped);
  }
  return out;
}

void RequireNonNegative(std::int32_t n) {
  if (n < 0) Raise(kErrInvalidProcedureCall);
}

}  // namespace

Utf8Iterator::Utf8Iterator(std::string_view text, std::size_t offset)
    : text_(text), offset_(offset) {
  Decode();
}

Utf8Iterator& Utf8Iterator::operator++() {
  offset_ += length_;
  Decode();
  return *this;
}

void Utf8Iterator::Decode() {
  if (offset_ >= text_.size()) {
    offset_ = text_.size();
    length_ = 0;
    code_ = 0;
    return;
  }
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text_[offset_ + i]); };
  const unsigned char b0 = byte(0);
  length_ = 1;
  code_ = kReplacement;
  if (b0 < 0x80) {
    code_ = b0;
    return;
  }
  std::size_t need = 0;
  char32_t code = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    need = 1;
    code = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    need = 2;
    code = b0 & 0x0F;
    if (b0 == 0xE0) low = 0xA0;   // overlong
    if (b0 == 0xED) high = 0x9F;  // surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    need = 3;
    code = b0 & 0x07;
    if (b0 == 0xF0) low = 0x90;
    if (b0 == 0xF4) high = 0x8F;
  } else {
    return;
  }
  if (offset_ + need >= text_.size()) return;  // truncated sequence
  for (std::size_t i = 1; i <= need; ++i) {
    const unsigned char b = byte(i);
    if (b < (i == 1 ? low : 0x80) || b > (i == 1 ? high : 0xBF)) return;
    code = (code << 6) | (b & 0x3F);
  }
  length_ = need + 1;
  code_ = code;
}

std::string EncodeUtf8(char32_t code) {
  if (!IsScalar(code)) code = kReplacement;
  std::string out;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

std::int32_t Len(std::string_view s) {
  std::int32_t n = 0;
  for (Utf8Iterator it(s, 0), end(s, s.size()); it != end; ++it) ++n;
  return n;
}

std::string Left(std::string_view s, std::int32_t length) {
  RequireNonNegative(length);
  return std::string(s.substr(0, ByteOffset(s, static_cast<std::size_t>(length))));
}

std::string Right(std::string_view s, std::int32_t length) {
  RequireNonNegative(length);
  const std::int32_t total = Len(s);
  if (length >= total) return std::string(s);
  return std::string(s.substr(ByteOffset(s, static_cast<std::size_t>(total - length))));
}

std::string Mid(std::string_view s, std::int32_t start) {
  if (start < 1) Raise(kErrInvalidProcedureCall);
  return std::string(s.substr(ByteOffset(s, static_cast<std::size_t>(start) - 1)));
}

std::string Mid(std::string_view s, std::int32_t start, std::int32_t length) {
  if (start < 1) Raise(kErrInvalidProcedureCall);
  RequireNonNegative(length);
  const std::string_view rest = s.substr(ByteOffset(s, static_cast<std::size_t>(start) - 1));
  return std::string(rest.substr(0, ByteOffset(rest, static_cast<std::size_t>(length))));
}

std::int32_t InStr(std::string_view s, std::string_view find) {
  return InStr(1, s, find, CompareMethod::Binary);
}

std::int32_t InStr(std::int32_t start, std::string_view s, std::string_view find,
                   CompareMethod compare) {
  if (start < 1) Raise(kErrInvalidProcedureCall);
  const Chars text = Decompose(s, compare);
  const std::size_t from = static_cast<std::size_t>(start) - 1;
  if (text.size() == 0 || from > text.size()) return 0;
  if (find.empty()) return start;
  const std::size_t at = FindFrom(text, Decompose(find, compare), from);
  return at == text.size() ? 0 : static_cast<std::int32_t>(at + 1);
}

std::int32_t InStrRev(std::string_view s, std::string_view find, std::int32_t start,
                      CompareMethod compare) {
  if (start == 0 || start < -1) Raise(kErrInvalidProcedureCall);
  const Chars text = Decompose(s, compare);
  const std::int64_t n = static_cast<std::int64_t>(text.size());
  if (start == -1) start = static_cast<std::int32_t>(n);
  if (n == 0 || start > n) return 0;
  if (find.empty()) return start;
  const Chars needle = Decompose(find, compare);
  for (std::int64_t i = start - static_cast<std::int64_t>(needle.size()); i >= 0; --i)
    if (MatchesAt(text, needle, static_cast<std::size_t>(i)))
      return static_cast<std::int32_t>(i + 1);
  return 0;
}

std::string UCase(std::string_view s) { return MapCase(s, ToUpper); }
std::string LCase(std::string_view s) { return MapCase(s, ToLower); }
std::string FoldText(std::string_view s) { return MapCase(s, FoldForText); }

std::string LTrim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(s.substr(first));
}

std::string RTrim(std::string_view s) {
  const std::size_t last = s.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string() : std::string(s.substr(0, last + 1));
}

std::string Trim(std::string_view s) { return LTrim(RTrim(s)); }

std::vector<std::string> Split(std::string_view s, std::string_view delimiter, std::int32_t limit,
                               CompareMethod compare) {
  if (limit < -1) Raise(kErrInvalidProcedureCall);
  std::vector<std::string> pieces;
  if (s.empty() || limit == 0) return pieces;
  if (delimiter.empty()) return {std::string(s)};
  const Chars text = Decompose(s, compare);
  const Chars delim = Decompose(delimiter, compare);
  std::size_t from = 0;
  while (true) {
    const bool last = limit > 0 && pieces.size() + 1 == static_cast<std::size_t>(limit);
    const std::size_t at = last ? text.size() : FindFrom(text, delim, from);
    pieces.emplace_back(s.substr(text.offsets[from], text.offsets[at] - text.offsets[from]));
    if (at == text.size()) break;
    from = at + delim.size();
  }
  return pieces;
}

std::string Join(const std::vector<std::string>& pieces, std::string_view delimiter) {
  std::string out;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) out += delimiter;
    out += pieces[i];
  }
  return out;
}

std::string Replace(std::string_view expression, std::string_view find,
                    std::string_view replacement, std::int32_t start, std::int32_t count,
                    CompareMethod compare) {
  if (start < 1 || count < -1) Raise(kErrInvalidProcedureCall);
  const std::string_view rest =
      expression.substr(ByteOffset(expression, static_cast<std::size_t>(start) - 1));
  if (find.empty() || count == 0) return std::string(rest);
  const Chars text = Decompose(rest, compare);
  const Chars needle = Decompose(find, compare);
  std::string out;
  std::size_t from = 0;
  for (std::int32_t done = 0; count == -1 || done < count; ++done) {
    const std::size_t at = FindFrom(text, needle, from);
    if (at == text.size()) break;
    out += rest.substr(text.offsets[from], text.offsets[at] - text.offsets[from]);
    out += replacement;
    from = at + needle.size();
  }
  out += rest.substr(text.offsets[from]);
  return out;
}

int StrComp(std::string_view a, std::string_view b, CompareMethod compare) {
  if (compare == CompareMethod::Binary) {
    const int c = a.compare(b);  // UTF-8 byte order is code point order
    return c < 0 ? -1 : c > 0 ? 1 : 0;
  }
  Utf8Iterator i(a, 0), iend(a, a.size()), j(b, 0), jend(b, b.size());
  for (; i != iend && j != jend; ++i, ++j) {
    const char32_t x = FoldForText((*i).code), y = FoldForText((*j).code);
    if (x != y) return x < y ? -1 : 1;
  }
  if (i == iend && j == jend) return 0;
  return i == iend ? -1 : 1;
}

std::string Space(std::int32_t n) {
  RequireNonNegative(n);
  return std::string(static_cast<std::size_t>(n), ' ');
}

std::string String(std::int32_t n, char32_t code) {
  RequireNonNegative(n);
  if (!IsScalar(code)) Raise(kErrInvalidProcedureCall);
  const std::string one = EncodeUtf8(code);
  std::string out;
  out.reserve(one.size() * static_cast<std::size_t>(n));
  for (std::int32_t i = 0; i < n; ++i) out += one;
  return out;
}

std::string String(std::int32_t n, std::string_view character) {
  if (character.empty()) Raise(kErrInvalidProcedureCall);
  RequireNonNegative(n);
  const std::string_view one = (*Utf8Iterator(character, 0)).bytes;
  std::string out;
  for (std::int32_t i = 0; i < n; ++i) out += one;
  return out;
}

std::string Chr(std::int32_t code) {
  if (!IsScalar(code)) Raise(kErrInvalidProcedureCall);
  return EncodeUtf8(static_cast<char32_t>(code));
}

std::int32_t Asc(std::string_view s) {
  if (s.empty()) Raise(kErrInvalidProcedureCall);
  return static_cast<std::int32_t>((*Utf8Iterator(s, 0)).code);
}

}  // namespace zov::vb
