// VB's string functions on UTF-8 text.
//
// Positions and lengths count characters (Unicode code points), never bytes, so Chinese text
// behaves as it does in VB. VB counts UTF-16 units; the two differ only for characters outside the
// Basic Multilingual Plane, which count as one character here. A malformed byte counts as one
// character and is kept as it is. Arguments VB rejects raise Error 5 (invalid procedure call).
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace zov::vb {

// VB's vbBinaryCompare (code point order) and vbTextCompare (ignores case and character width).
// Text compare orders by the folded code points, not by a locale's collation: equality and
// searching are as VB's, the order of unlike letters may differ.
enum class CompareMethod : int { Binary = 0, Text = 1 };

inline constexpr std::string_view vbCr = "\r";
inline constexpr std::string_view vbLf = "\n";
inline constexpr std::string_view vbCrLf = "\r\n";
inline constexpr std::string_view vbTab = "\t";

// One character of a UTF-8 text: its code point and the bytes that encode it.
struct Utf8Char {
  char32_t code = 0;  // U+FFFD for a byte that does not start a well-formed sequence
  std::string_view bytes;
};

// Walks a UTF-8 text one character at a time.
class Utf8Iterator {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = Utf8Char;
  using difference_type = std::ptrdiff_t;
  using pointer = void;
  using reference = Utf8Char;

  Utf8Iterator() = default;
  // Positioned at byte `offset` of `text`, which must start a character (or be the end).
  Utf8Iterator(std::string_view text, std::size_t offset);

  Utf8Char operator*() const { return {code_, text_.substr(offset_, length_)}; }
  Utf8Iterator& operator++();
  Utf8Iterator operator++(int) {
    Utf8Iterator old = *this;
    ++*this;
    return old;
  }
  // The byte offset of the current character.
  std::size_t offset() const { return offset_; }
  // Equal when at the same byte offset (of the same text).
  friend bool operator==(const Utf8Iterator& a, const Utf8Iterator& b) {
    return a.offset_ == b.offset_;
  }

 private:
  void Decode();

  std::string_view text_;
  std::size_t offset_ = 0;
  std::size_t length_ = 0;
  char32_t code_ = 0;
};

// The characters of a UTF-8 text, for range-for loops.
class Utf8Chars {
 public:
  explicit Utf8Chars(std::string_view text) : text_(text) {}
  Utf8Iterator begin() const { return {text_, 0}; }
  Utf8Iterator end() const { return {text_, text_.size()}; }

 private:
  std::string_view text_;
};

// The UTF-8 bytes of a code point; U+FFFD for a value that is not a Unicode scalar value.
std::string EncodeUtf8(char32_t code);

// Number of characters.
std::int32_t Len(std::string_view s);
// The first `length` characters (all of them when shorter); Error 5 for a negative length.
std::string Left(std::string_view s, std::int32_t length);
// The last `length` characters; Error 5 for a negative length.
std::string Right(std::string_view s, std::int32_t length);
// The characters from `start` (1-based) to the end; "" past the end; Error 5 when start < 1.
std::string Mid(std::string_view s, std::int32_t start);
// At most `length` characters from `start`; Error 5 when start < 1 or length < 0.
std::string Mid(std::string_view s, std::int32_t start, std::int32_t length);

// Position (1-based) of the first `find` in `s`, 0 when absent; InStr(s, "") is 1.
std::int32_t InStr(std::string_view s, std::string_view find);
// Position of the first `find` at or after `start`; 0 when absent, when `s` is empty or when
// start > Len(s) + 1; `start` itself for an empty `find`. Error 5 when start < 1.
std::int32_t InStr(std::int32_t start, std::string_view s, std::string_view find,
                   CompareMethod compare = CompareMethod::Binary);
// Position of the last `find` that ends at or before `start` (-1: the end of `s`); 0 when absent
// or when start > Len(s); `start` for an empty `find`. Error 5 when start is 0 or below -1.
std::int32_t InStrRev(std::string_view s, std::string_view find, std::int32_t start = -1,
                      CompareMethod compare = CompareMethod::Binary);

// Upper case of Latin (ASCII, Latin-1, Latin Extended-A, full-width), Greek and Cyrillic letters;
// other characters unchanged.
std::string UCase(std::string_view s);
// Lower case of the same letters.
std::string LCase(std::string_view s);
// Without leading and trailing spaces (U+0020 only, as VB; tabs and line breaks stay).
std::string Trim(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);

// The pieces between delimiters; at most `limit` pieces when limit > 0 (the last holds the rest).
// An empty `s` gives no pieces; an empty delimiter gives `s` whole; limit 0 gives no pieces.
// Error 5 when limit < -1.
std::vector<std::string> Split(std::string_view s, std::string_view delimiter = " ",
                               std::int32_t limit = -1,
                               CompareMethod compare = CompareMethod::Binary);
// The pieces joined with `delimiter` between them.
std::string Join(const std::vector<std::string>& pieces, std::string_view delimiter = " ");
// `expression` from `start` on, with `find` replaced by `replacement` at most `count` times
// (-1: all). As VB, the characters before `start` are not part of the result; "" when start is
// past the end. Error 5 when start < 1 or count < -1.
std::string Replace(std::string_view expression, std::string_view find,
                    std::string_view replacement, std::int32_t start = 1, std::int32_t count = -1,
                    CompareMethod compare = CompareMethod::Binary);
// -1, 0 or 1 as `a` sorts before, equal to or after `b`.
int StrComp(std::string_view a, std::string_view b, CompareMethod compare = CompareMethod::Binary);

// `n` spaces; Error 5 when n < 0.
std::string Space(std::int32_t n);
// `n` copies of the character `code`; Error 5 when n < 0 or the code is not a character.
std::string String(std::int32_t n, char32_t code);
// `n` copies of the first character of `character`; Error 5 when it is empty or n < 0.
std::string String(std::int32_t n, std::string_view character);
// The character with code point `code` (Chr(10) is a line feed, Chr(13) a carriage return; codes
// above 255 act as ChrW). Error 5 when the code is not a Unicode scalar value.
std::string Chr(std::int32_t code);
// The code point of the first character; Error 5 for an empty text.
std::int32_t Asc(std::string_view s);

}  // namespace zov::vb
