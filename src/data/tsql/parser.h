// Recursive-descent parser from T-SQL tokens to the syntax tree of a batch.
//
// The grammar is SQL Server's for the statements the front end runs; every other statement or
// clause stops the parse with an error that names it. Literals stay in the tree as parameter
// slots so that one tree serves every batch of the same shape; literals whose value decides the
// shape of the statement (TOP n, ORDER BY positions, CONVERT styles, type lengths, aliases
// written as strings) are pinned: a reuse of the tree requires the same text for them.
#pragma once

#include <memory>
#include <string_view>

#include "data/tsql/ast/batch.h"
#include "data/tsql/lexer.h"

namespace zov::data::tsql {

class Parser {
 public:
  // Parses the batch `text` read into `lexed`; throws SqlError ("Incorrect syntax near ...",
  // "Unsupported ...") at the first error, before anything runs.
  static std::unique_ptr<Batch> Parse(std::string_view text, const LexedBatch& lexed);
};

}  // namespace zov::data::tsql
