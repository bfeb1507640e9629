// The SQL the translator emits for SQLite.
#pragma once

#include "data/tsql/dialect.h"

namespace zov::data::sqlite {

const tsql::Dialect& Dialect();

}  // namespace zov::data::sqlite
