// A value as the front end handles it between SQLite and T-SQL semantics: NULL, a 64-bit
// integer, a double or a UTF-8 text (datetimes travel as canonical text).
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace zov::data::tsql {

struct SqlValue {
  enum class Kind { Null, Integer, Real, Text };

  Kind kind = Kind::Null;
  std::int64_t integer = 0;
  double real = 0;
  std::string text;

  static SqlValue Null() { return SqlValue{}; }
  static SqlValue Integer(std::int64_t v) {
    SqlValue s;
    s.kind = Kind::Integer;
    s.integer = v;
    return s;
  }
  static SqlValue Real(double v) {
    SqlValue s;
    s.kind = Kind::Real;
    s.real = v;
    return s;
  }
  static SqlValue Text(std::string v) {
    SqlValue s;
    s.kind = Kind::Text;
    s.text = std::move(v);
    return s;
  }

  bool IsNull() const { return kind == Kind::Null; }
  // The number held by an Integer or Real value (0 for others).
  double AsDouble() const { return kind == Kind::Integer ? static_cast<double>(integer) : real; }

  friend bool operator==(const SqlValue&, const SqlValue&) = default;
};

}  // namespace zov::data::tsql
