#include "data/tsql/lexer.h"

#include <fmt/format.h>

#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdlib>

#include "data/sql_error.h"

namespace zov::data::tsql {

namespace {

// Character classes, looked up once per character.
enum : std::uint8_t { kIdentStart = 1, kIdentPart = 2, kDigit = 4, kSpace = 8 };

constexpr std::array<std::uint8_t, 256> MakeClasses() {
  std::array<std::uint8_t, 256> c{};
  for (int i = 0; i < 256; ++i) {
    const bool letter =
        (i >= 'a' && i <= 'z') || (i >= 'A' && i <= 'Z') || i == '_' || i == '#' || i >= 0x80;
    const bool digit = i >= '0' && i <= '9';
    if (letter) c[static_cast<std::size_t>(i)] |= kIdentStart | kIdentPart;
    if (digit) c[static_cast<std::size_t>(i)] |= kDigit | kIdentPart;
    if (i == '$' || i == '@') c[static_cast<std::size_t>(i)] |= kIdentPart;
    if (i == ' ' || i == '\t' || i == '\r' || i == '\f' || i == '\v')
      c[static_cast<std::size_t>(i)] |= kSpace;
  }
  return c;
}
constexpr std::array<std::uint8_t, 256> kClasses = MakeClasses();

inline bool Is(char c, std::uint8_t cls) {
  return (kClasses[static_cast<unsigned char>(c)] & cls) != 0;
}
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void AppendNumber(std::string& out, int n) {
  char buf[16];
  const auto r = std::to_chars(buf, buf + sizeof buf, n);
  out.append(buf, r.ptr);
}

// Literal class marker for the shape: literals of one class share a translation.
void AppendLiteralClass(std::string& shape, const Token& t) {
  switch (t.kind) {
    case TokenKind::String:
      shape += "?s";
      break;
    case TokenKind::NString:
      shape += "?n";
      break;
    case TokenKind::Integer: {
      // int, or numeric(p,0) beyond the int range as SQL Server types such literals.
      std::string_view digits = t.text;
      while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
      if (digits.size() < 10 || (digits.size() == 10 && digits <= "2147483647")) {
        shape += "?i";
      } else {
        shape += "?d";
        AppendNumber(shape, static_cast<int>(digits.size()));
        shape += ".0";
      }
      break;
    }
    case TokenKind::Decimal: {
      // decimal(p,s) from the digits written.
      int before = 0, after = 0;
      bool point = false;
      for (char c : t.text) {
        if (c == '.')
          point = true;
        else if (point)
          ++after;
        else
          ++before;
      }
      std::string_view whole = t.text.substr(0, static_cast<std::size_t>(before));
      while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
      const int p = std::max<int>(1, static_cast<int>(whole.size()) + after);
      shape += "?d";
      AppendNumber(shape, std::max(p, after));
      shape += '.';
      AppendNumber(shape, after);
      break;
    }
    case TokenKind::Float:
      shape += "?f";
      break;
    case TokenKind::Money:
      shape += "?m";
      break;
    default:
      shape += "?b";
      break;
  }
}

}  // namespace

SqlValue LiteralValue(const Token& t) {
  switch (t.kind) {
    case TokenKind::String:
    case TokenKind::NString: {
      std::string out;
      out.reserve(t.text.size());
      for (std::size_t i = 0; i < t.text.size(); ++i) {
        out += t.text[i];
        if (t.text[i] == '\'' && i + 1 < t.text.size() && t.text[i + 1] == '\'') ++i;
      }
      return SqlValue::Text(std::move(out));
    }
    case TokenKind::Integer: {
      long long v = 0;
      const auto parsed = std::from_chars(t.text.data(), t.text.data() + t.text.size(), v);
      if (parsed.ec == std::errc()) return SqlValue::Integer(v);
      double d = 0;
      std::from_chars(t.text.data(), t.text.data() + t.text.size(), d);
      return SqlValue::Real(d);
    }
    case TokenKind::Decimal:
    case TokenKind::Float: {
      // from_chars wants a digit first: ".5" reads as "0.5".
      double d = 0;
      const char* first = t.text.data();
      const char* last = first + t.text.size();
      if (*first == '.') {
        const std::string padded = "0" + std::string(t.text);
        std::from_chars(padded.data(), padded.data() + padded.size(), d);
      } else {
        std::from_chars(first, last, d);
      }
      return SqlValue::Real(d);
    }
    case TokenKind::Money: {
      double d = 0;
      std::string_view digits = t.text.substr(1);
      if (!digits.empty() && digits.front() == '.') {
        const std::string padded = "0" + std::string(digits);
        std::from_chars(padded.data(), padded.data() + padded.size(), d);
      } else {
        std::from_chars(digits.data(), digits.data() + digits.size(), d);
      }
      return SqlValue::Real(d);
    }
    default:
      return SqlValue::Null();
  }
}

LexedBatch Lexer::Read(std::string_view s) {
  LexedBatch out;
  Read(s, out);
  return out;
}

void Lexer::Read(std::string_view s, LexedBatch& out) {
  out.tokens.clear();
  out.shape.clear();
  out.literalCount = 0;
  out.tokens.reserve(s.size() / 4 + 8);
  out.shape.reserve(s.size());
  std::size_t i = 0;
  std::uint32_t line = 1;
  std::uint32_t lastTokenLine = 0;
  // The shape is the text with comments and whitespace runs turned into one space (none between
  // adjacent tokens) and literals into class markers. Runs of plain tokens separated by single
  // spaces are already in that form and are copied in one piece.
  constexpr std::size_t kNoRun = static_cast<std::size_t>(-1);
  std::size_t runBegin = kNoRun, runEnd = 0, previousEnd = 0;
  auto flushRun = [&] {
    if (runBegin != kNoRun) {
      out.shape.append(s.data() + runBegin, runEnd - runBegin);
      runBegin = kNoRun;
    }
  };
  auto separate = [&](std::size_t start) {
    if (!out.shape.empty() && start > previousEnd) out.shape += ' ';
  };
  auto push = [&](TokenKind kind, std::size_t start, std::size_t end, std::string_view text) {
    Token t;
    t.kind = kind;
    t.text = text;
    t.offset = static_cast<std::uint32_t>(start);
    t.line = line;
    t.lineStart = line != lastTokenLine;
    if (t.lineStart && !out.tokens.empty()) out.tokens.back().lineEnd = true;
    lastTokenLine = line;
    switch (kind) {
      case TokenKind::String:
      case TokenKind::NString:
      case TokenKind::Integer:
      case TokenKind::Decimal:
      case TokenKind::Float:
      case TokenKind::Money:
      case TokenKind::Binary:
        flushRun();
        separate(start);
        t.literal = out.literalCount++;
        AppendLiteralClass(out.shape, t);
        break;
      case TokenKind::QuotedIdentifier:
        flushRun();
        separate(start);
        out.shape += '[';
        out.shape.append(text);
        out.shape += ']';
        break;
      default:
        if (runBegin != kNoRun && (start == runEnd || (start == runEnd + 1 && s[runEnd] == ' '))) {
          runEnd = end;
        } else {
          flushRun();
          separate(start);
          runBegin = start;
          runEnd = end;
        }
        break;
    }
    previousEnd = end;
    out.tokens.push_back(t);
  };
  while (i < s.size()) {
    const char c = s[i];
    if (c == '\n') {
      ++line;
      ++i;
      continue;
    }
    if (Is(c, kSpace)) {
      ++i;
      continue;
    }
    if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
      while (i < s.size() && s[i] != '\n') ++i;
      continue;
    }
    if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
      // Block comments nest in T-SQL.
      int depth = 0;
      const std::size_t start = i;
      do {
        if (i + 1 < s.size() && s[i] == '/' && s[i + 1] == '*') {
          ++depth;
          i += 2;
        } else if (i + 1 < s.size() && s[i] == '*' && s[i + 1] == '/') {
          --depth;
          i += 2;
        } else {
          if (s[i] == '\n') ++line;
          ++i;
        }
      } while (depth > 0 && i < s.size());
      if (depth > 0)
        throw SqlError(
            fmt::format("Missing end comment mark '*/'. (comment starting at offset {})", start));
      continue;
    }
    const std::size_t start = i;
    const std::uint32_t startLine = line;
    if (c == '\'' || ((c == 'N' || c == 'n') && i + 1 < s.size() && s[i + 1] == '\'')) {
      const bool national = c != '\'';
      i += national ? 2 : 1;
      const std::size_t content = i;
      for (;;) {
        if (i >= s.size()) {
          std::string_view rest = s.substr(content);
          throw SqlError(
              fmt::format("Unclosed quotation mark after the character string '{}'.", rest));
        }
        if (s[i] == '\'') {
          if (i + 1 < s.size() && s[i + 1] == '\'') {
            i += 2;
            continue;
          }
          break;
        }
        if (s[i] == '\n') ++line;
        ++i;
      }
      const std::uint32_t endLine = line;
      line = startLine;
      push(national ? TokenKind::NString : TokenKind::String, start, i + 1,
           s.substr(content, i - content));
      line = endLine;
      ++i;
      continue;
    }
    if (c == '[' || c == '"') {
      const char close = c == '[' ? ']' : '"';
      ++i;
      const std::size_t content = i;
      for (;;) {
        if (i >= s.size())
          throw SqlError(fmt::format("Unclosed quotation mark after the character string '{}'.",
                                     s.substr(content)));
        if (s[i] == close) {
          if (i + 1 < s.size() && s[i + 1] == close) {
            i += 2;
            continue;
          }
          break;
        }
        ++i;
      }
      push(TokenKind::QuotedIdentifier, start, i + 1, s.substr(content, i - content));
      ++i;
      continue;
    }
    if (c == '0' && i + 1 < s.size() && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
      i += 2;
      while (i < s.size() && std::isxdigit(static_cast<unsigned char>(s[i]))) ++i;
      push(TokenKind::Binary, start, i, s.substr(start, i - start));
      continue;
    }
    if (IsDigit(c) || (c == '.' && i + 1 < s.size() && IsDigit(s[i + 1])) ||
        (c == '$' && i + 1 < s.size() && (IsDigit(s[i + 1]) || s[i + 1] == '.'))) {
      TokenKind kind = TokenKind::Integer;
      if (c == '$') {
        kind = TokenKind::Money;
        ++i;
      }
      while (i < s.size() && IsDigit(s[i])) ++i;
      if (i < s.size() && s[i] == '.') {
        if (kind == TokenKind::Integer) kind = TokenKind::Decimal;
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i;
      }
      if (kind != TokenKind::Money && i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && IsDigit(s[j])) {
          i = j;
          while (i < s.size() && IsDigit(s[i])) ++i;
          kind = TokenKind::Float;
        }
      }
      push(kind, start, i, s.substr(start, i - start));
      continue;
    }
    if (c == '@') {
      ++i;
      if (i < s.size() && s[i] == '@') ++i;
      while (i < s.size() && Is(s[i], kIdentPart)) ++i;
      push(TokenKind::Variable, start, i, s.substr(start, i - start));
      continue;
    }
    if (Is(c, kIdentStart)) {
      while (i < s.size() && Is(s[i], kIdentPart)) ++i;
      push(TokenKind::Identifier, start, i, s.substr(start, i - start));
      continue;
    }
    auto op = [&](TokenKind kind, std::size_t len) {
      i += len;
      push(kind, start, i, s.substr(start, len));
    };
    const char n = i + 1 < s.size() ? s[i + 1] : '\0';
    switch (c) {
      case '(':
        op(TokenKind::LParen, 1);
        break;
      case ')':
        op(TokenKind::RParen, 1);
        break;
      case ',':
        op(TokenKind::Comma, 1);
        break;
      case '.':
        op(TokenKind::Dot, 1);
        break;
      case ';':
        op(TokenKind::Semicolon, 1);
        break;
      case '+':
        n == '=' ? op(TokenKind::PlusEqual, 2) : op(TokenKind::Plus, 1);
        break;
      case '-':
        n == '=' ? op(TokenKind::MinusEqual, 2) : op(TokenKind::Minus, 1);
        break;
      case '*':
        n == '=' ? op(TokenKind::StarEqual, 2) : op(TokenKind::Star, 1);
        break;
      case '/':
        n == '=' ? op(TokenKind::SlashEqual, 2) : op(TokenKind::Slash, 1);
        break;
      case '%':
        op(TokenKind::Percent, 1);
        break;
      case '&':
        op(TokenKind::Ampersand, 1);
        break;
      case '|':
        op(TokenKind::Pipe, 1);
        break;
      case '^':
        op(TokenKind::Caret, 1);
        break;
      case '~':
        op(TokenKind::Tilde, 1);
        break;
      case '=':
        op(TokenKind::Equal, 1);
        break;
      case '<':
        if (n == '>')
          op(TokenKind::NotEqual, 2);
        else if (n == '=')
          op(TokenKind::LessEqual, 2);
        else
          op(TokenKind::Less, 1);
        break;
      case '>':
        n == '=' ? op(TokenKind::GreaterEqual, 2) : op(TokenKind::Greater, 1);
        break;
      case '!':
        if (n == '=')
          op(TokenKind::NotEqual, 2);
        else if (n == '<')
          op(TokenKind::NotLess, 2);
        else if (n == '>')
          op(TokenKind::NotGreater, 2);
        else
          throw SqlError("Incorrect syntax near '!'.");
        break;
      default:
        throw SqlError(fmt::format("Incorrect syntax near '{}'.", s.substr(i, 1)));
    }
  }
  flushRun();
  if (!out.tokens.empty()) out.tokens.back().lineEnd = true;
  Token end;
  end.kind = TokenKind::End;
  end.offset = static_cast<std::uint32_t>(s.size());
  end.line = line;
  end.lineStart = true;
  out.tokens.push_back(end);
}

}  // namespace zov::data::tsql
