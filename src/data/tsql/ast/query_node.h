// The body of a query: a single SELECT (SelectNode) or a set operation (SetOperationNode).
#pragma once

#include <cstdint>
#include <memory>

#include "data/tsql/ast/query.h"

namespace zov::data::tsql {

enum class QueryNodeKind : std::uint8_t { Select, SetOperation };

class QueryNode {
 public:
  explicit QueryNode(QueryNodeKind kind) : kind(kind) {}
  virtual ~QueryNode() = default;
  QueryNode(const QueryNode&) = delete;
  QueryNode& operator=(const QueryNode&) = delete;

  // The node as its concrete class; the caller has checked `kind`.
  template <class T>
  const T& As() const {
    return static_cast<const T&>(*this);
  }

  const QueryNodeKind kind;
};

inline Query::Query(QueryNodePtr body, std::vector<OrderItem> orderBy)
    : body(std::move(body)), orderBy(std::move(orderBy)) {}
inline Query::~Query() = default;

}  // namespace zov::data::tsql
