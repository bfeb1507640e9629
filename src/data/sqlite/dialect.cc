#include "data/sqlite/dialect.h"

#include <fmt/format.h>

namespace zov::data::sqlite {

namespace {

// An IN list travels as a JSON array that json_each() reads back: numbers as numbers, texts
// (datetimes among them, in their stored form) as strings.
std::string JsonArray(const std::vector<tsql::SqlValue>& values, const tsql::SqlType&) {
  std::string out = "[";
  for (const tsql::SqlValue& v : values) {
    if (out.size() > 1) out += ',';
    switch (v.kind) {
      case tsql::SqlValue::Kind::Null:
        out += "null";
        break;
      case tsql::SqlValue::Kind::Integer:
        out += std::to_string(v.integer);
        break;
      case tsql::SqlValue::Kind::Real:
        out += fmt::format("{}", v.real);
        break;
      case tsql::SqlValue::Kind::Text:
        out += '"';
        for (char c : v.text) {
          if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
          } else if (static_cast<unsigned char>(c) < 0x20) {
            out += fmt::format("\\u{:04x}", static_cast<unsigned>(c));
          } else {
            out += c;
          }
        }
        out += '"';
        break;
    }
  }
  return out + "]";
}

const tsql::Dialect kDialect{
    .name = "SQLite",
    .inList = "{0} IN (SELECT value FROM json_each({1}))",
    .notInList = "{0} NOT IN (SELECT value FROM json_each({1}))",
    .listParameter = JsonArray,
};

}  // namespace

const tsql::Dialect& Dialect() { return kDialect; }

}  // namespace zov::data::sqlite
