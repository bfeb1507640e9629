// (SELECT ...) AS alias [(column aliases)] in FROM.
#pragma once

#include <string>
#include <vector>

#include "data/tsql/ast/query.h"
#include "data/tsql/ast/table_ref.h"

namespace zov::data::tsql {

class DerivedTableRef : public TableRef {
 public:
  DerivedTableRef(std::uint32_t offset, QueryPtr query, std::string alias,
                  std::vector<std::string> columns)
      : TableRef(TableRefKind::Derived, offset),
        query(std::move(query)),
        alias(std::move(alias)),
        columns(std::move(columns)) {}

  const QueryPtr query;
  const std::string alias;
  const std::vector<std::string> columns;  // optional column aliases
};

}  // namespace zov::data::tsql
