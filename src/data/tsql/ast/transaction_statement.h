// BEGIN TRAN[SACTION], COMMIT [TRAN], ROLLBACK [TRAN].
#pragma once

#include "data/tsql/ast/statement.h"

namespace zov::data::tsql {

enum class TransactionKind : std::uint8_t { Begin, Commit, Rollback };

class TransactionStatement : public Statement {
 public:
  explicit TransactionStatement(TransactionKind what)
      : Statement(StatementKind::Transaction), what(what) {}

  const TransactionKind what;
};

}  // namespace zov::data::tsql
