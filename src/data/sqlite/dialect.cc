#include "data/sqlite/dialect.h"

#include <fmt/format.h>

namespace zov::data::sqlite {

namespace {

using tsql::SqlType;
using tsql::SqlValue;
using tsql::TypeId;

std::string Text(std::string_view s) {
  std::string out = "'";
  for (char c : s) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

std::string Literal(const SqlValue& v, const SqlType&) {
  switch (v.kind) {
    case SqlValue::Kind::Null:
      return "NULL";
    case SqlValue::Kind::Integer:
      return std::to_string(v.integer);
    case SqlValue::Kind::Real:
      return fmt::format("{:.17g}", v.real);
    case SqlValue::Kind::Text:
      return Text(v.text);
  }
  return "NULL";
}

// A type as tsql_cast() reads it: the number SqlType::Code gives, with the T-SQL name beside it
// for whoever reads the SQL.
std::string TypeText(const SqlType& t) {
  const SqlType shown = t.IsNull() ? SqlType::Of(TypeId::Int) : t;
  return fmt::format("{} /* {} */", shown.Code(), shown.ToString());
}

std::string Convert(const std::string& sql, const SqlType& from, const SqlType& to, int style,
                    bool assignment) {
  return fmt::format("tsql_cast({}, {}, {}, {}, {})", sql, TypeText(from), TypeText(to), style,
                     assignment ? 1 : 0);
}

// SQLite's type names take numbers only: (max) types declare as their text equivalents; the
// column record keeps the exact type.
std::string ColumnType(const SqlType& t) {
  if (t.IsString() && t.length < 0) return t.IsUnicode() ? "ntext" : "text";
  return t.ToString();
}

// The identity column is the rowid; AUTOINCREMENT keeps its values from coming back after a
// delete, as SQL Server's identity does.
std::string IdentityColumn(const std::string& name, const SqlType&) {
  return name + " INTEGER PRIMARY KEY AUTOINCREMENT";
}

// Datetimes are stored as canonical text, so YEAR, MONTH and DAY are plain substrings.
std::string DatePart(const std::string& sql, std::string_view part) {
  const char* range = part == "YEAR" ? "1, 4" : part == "MONTH" ? "6, 2" : "9, 2";
  return fmt::format("CAST(substr({}, {}) AS INTEGER)", sql, range);
}

std::string DefaultNow(const SqlType& t) {
  if (t.id == TypeId::SmallDateTime)
    return "(strftime('%Y-%m-%d %H:%M:00.000', 'now', 'localtime'))";
  if (t.id == TypeId::Date) return "(strftime('%Y-%m-%d 00:00:00.000', 'now', 'localtime'))";
  return "(strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'))";
}

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
    .tempSchema = "temp.",
    .rowId = "rowid",
    .collate = " COLLATE TSQL_CI",
    .parameter = nullptr,
    .literal = Literal,
    .listParameter = JsonArray,
    .inList = "{0} IN (SELECT value FROM json_each({1}))",
    .notInList = "{0} NOT IN (SELECT value FROM json_each({1}))",
    .convert = Convert,
    .toFloat = "CAST({0} AS REAL)",
    .truncate = "CAST({0} AS INTEGER)",
    .datePart = DatePart,
    .trimBoth = "trim",
    .ascending = "",
    .descending = " DESC",
    .orderDistinctSets = false,
    .columnType = ColumnType,
    .identityColumn = IdentityColumn,
    .defaultNow = DefaultNow,
    .createIndex = "CREATE {0}INDEX {1} ON {2} ({3})",
    .createTempIndex = "CREATE {0}INDEX temp.{1} ON {2} ({3})",
    .returningIdentity = "",
    .errorAbortsTransaction = false,
};

}  // namespace

const tsql::Dialect& Dialect() { return kDialect; }

}  // namespace zov::data::sqlite
