#include "data/tsql/script.h"

#include "data/sql_error.h"
#include "data/tsql/lexer.h"

namespace zov::data::tsql {

std::vector<std::string_view> SplitBatches(std::string_view script) {
  const LexedBatch lexed = Lexer::Read(script);
  std::vector<std::string_view> batches;
  std::size_t start = 0;
  bool any = false;  // the current batch has a token
  for (std::size_t i = 0; i < lexed.tokens.size(); ++i) {
    const Token& t = lexed.tokens[i];
    if (t.kind == TokenKind::End) break;
    const bool go = t.kind == TokenKind::Identifier && t.lineStart && t.text.size() == 2 &&
                    (t.text[0] == 'G' || t.text[0] == 'g') &&
                    (t.text[1] == 'O' || t.text[1] == 'o');
    if (go && !t.lineEnd && lexed.tokens[i + 1].kind == TokenKind::Integer &&
        lexed.tokens[i + 1].lineEnd)
      throw SqlError("Unsupported T-SQL construct: GO with a repeat count.");
    if (go && t.lineEnd) {
      if (any) batches.push_back(script.substr(start, t.offset - start));
      start = t.offset + 2;
      any = false;
      continue;
    }
    any = true;
  }
  if (any) batches.push_back(script.substr(start));
  return batches;
}

}  // namespace zov::data::tsql
