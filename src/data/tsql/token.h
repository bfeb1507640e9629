// Tokens of T-SQL text. A token points into the batch text it was read from.
#pragma once

#include <cstdint>
#include <string_view>

namespace zov::data::tsql {

enum class TokenKind : std::uint8_t {
  End,
  Identifier,        // a word: keyword or name, also #temp names
  QuotedIdentifier,  // [name] or "name"; text is the name without delimiters, doubled ]] or "" kept
  Variable,          // @name or @@name, text includes the @ signs
  Integer,           // 123
  Decimal,           // 1.5, .5, 1.
  Float,             // 1e3, 1.5E-2
  Money,             // $12.50
  String,            // 'text'; text is the raw content between the quotes
  NString,           // N'text'
  Binary,            // 0x1F
  // Punctuation and operators.
  LParen,
  RParen,
  Comma,
  Dot,
  Semicolon,
  Plus,
  Minus,
  Star,
  Slash,
  Percent,
  Equal,
  NotEqual,  // <> or !=
  Less,
  LessEqual,
  Greater,
  GreaterEqual,
  NotLess,     // !<
  NotGreater,  // !>
  Ampersand,
  Pipe,
  Caret,
  Tilde,
  PlusEqual,   // +=
  MinusEqual,  // -=
  StarEqual,
  SlashEqual,
};

struct Token {
  TokenKind kind = TokenKind::End;
  std::string_view text;      // the token's text (see TokenKind for literals and quoted names)
  std::uint32_t offset = 0;   // byte offset in the batch
  std::uint32_t line = 0;     // 1-based line of the first character
  std::int32_t literal = -1;  // index among the batch's literals, -1 when not a literal
  bool lineStart = false;     // first token on its line
  bool lineEnd = false;       // last token on its line

  bool IsLiteral() const { return literal >= 0; }
};

}  // namespace zov::data::tsql
