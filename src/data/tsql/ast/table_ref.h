// The base of a FROM item: a table or view, a derived table, or a join of two items.
#pragma once

#include <cstdint>
#include <memory>

namespace zov::data::tsql {

enum class TableRefKind : std::uint8_t { Base, Derived, Join };

class TableRef {
 public:
  TableRef(TableRefKind kind, std::uint32_t offset) : kind(kind), offset(offset) {}
  virtual ~TableRef() = default;
  TableRef(const TableRef&) = delete;
  TableRef& operator=(const TableRef&) = delete;

  // The node as its concrete class; the caller has checked `kind`.
  template <class T>
  const T& As() const {
    return static_cast<const T&>(*this);
  }

  const TableRefKind kind;
  const std::uint32_t offset;
};

using TableRefPtr = std::unique_ptr<TableRef>;

}  // namespace zov::data::tsql
