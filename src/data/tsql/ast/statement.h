// The base of every statement of a batch.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace zov::data::tsql {

enum class StatementKind : std::uint8_t {
  Select,
  Insert,
  Update,
  Delete,
  CreateTable,
  CreateIndex,
  CreateView,
  Drop,
  AlterTable,
  Truncate,
  Declare,
  SetVariable,
  SetOption,
  If,
  While,
  Block,
  Control,
  Transaction,
  Print,
};

class Statement {
 public:
  explicit Statement(StatementKind kind) : kind(kind) {}
  virtual ~Statement() = default;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // The node as its concrete class; the caller has checked `kind`.
  template <class T>
  const T& As() const {
    return static_cast<const T&>(*this);
  }

  const StatementKind kind;
  std::uint32_t begin = 0;  // text span in the batch, for error messages
  std::uint32_t end = 0;
};

using StatementPtr = std::unique_ptr<Statement>;
using StatementList = std::vector<StatementPtr>;

}  // namespace zov::data::tsql
