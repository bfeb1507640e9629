// Splits T-SQL text into tokens and derives the statement shape used as cache key: the token
// stream with every literal replaced by a marker of its literal class.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/tsql/sql_value.h"
#include "data/tsql/token.h"

namespace zov::data::tsql {

// The literal of a token as a value: strings with doubled quotes undone, numbers parsed.
SqlValue LiteralValue(const Token& token);

// The result of reading a batch.
struct LexedBatch {
  std::vector<Token> tokens;  // ends with one End token
  std::string shape;          // normalised token stream, literals as class markers
  int literalCount = 0;
};

class Lexer {
 public:
  // Reads all of `text`; throws SqlError for an unclosed string, quoted name or comment.
  static LexedBatch Read(std::string_view text);
  // The same into `out`, reusing its storage.
  static void Read(std::string_view text, LexedBatch& out);
};

}  // namespace zov::data::tsql
