// A table or view in FROM, with its optional alias.
#pragma once

#include <string>

#include "data/tsql/ast/object_name.h"
#include "data/tsql/ast/table_ref.h"

namespace zov::data::tsql {

class BaseTableRef : public TableRef {
 public:
  BaseTableRef(std::uint32_t offset, ObjectName name, std::string alias)
      : TableRef(TableRefKind::Base, offset), name(std::move(name)), alias(std::move(alias)) {}

  const ObjectName name;
  const std::string alias;  // empty when none
};

}  // namespace zov::data::tsql
