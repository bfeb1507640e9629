// The T-SQL data types the front end knows: their names, precedence and the result types of
// arithmetic, as SQL Server derives them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zov::data::tsql {

// Declaration order is irrelevant; Precedence() gives SQL Server's order.
enum class TypeId {
  Null,  // the type of a bare NULL before it meets another type
  Bit,
  TinyInt,
  SmallInt,
  Int,
  BigInt,
  Decimal,  // also numeric
  SmallMoney,
  Money,
  Real,
  Float,
  SmallDateTime,
  DateTime,
  Date,
  Char,
  VarChar,
  Text,
  NChar,
  NVarChar,
  NText,
  Boolean,  // a search condition: only valid where SQL Server expects a predicate
};

// A type with its parameters: length for character types (-1 = max or unknown), precision and
// scale for decimal.
struct SqlType {
  TypeId id = TypeId::Null;
  int length = -1;
  int precision = 0;
  int scale = 0;

  static SqlType Of(TypeId id) { return SqlType{id, -1, 0, 0}; }
  static SqlType Decimal(int precision, int scale) {
    return SqlType{TypeId::Decimal, -1, precision, scale};
  }
  static SqlType VarChar(int length) { return SqlType{TypeId::VarChar, length, 0, 0}; }
  static SqlType NVarChar(int length) { return SqlType{TypeId::NVarChar, length, 0, 0}; }

  bool IsNull() const { return id == TypeId::Null; }
  // bit, tinyint, smallint, int, bigint.
  bool IsInteger() const;
  // Integers, decimal, money, float, real (not bit as a number: bit counts as integer).
  bool IsNumeric() const;
  // A number, or a bare NULL that takes any type.
  bool IsNumericOrNull() const { return IsNumeric() || IsNull(); }
  // Exact numbers with a scale: decimal and the money types.
  bool IsExactScaled() const;
  bool IsApproximate() const { return id == TypeId::Real || id == TypeId::Float; }
  bool IsString() const;
  bool IsUnicode() const {
    return id == TypeId::NChar || id == TypeId::NVarChar || id == TypeId::NText;
  }
  bool IsDateTime() const {
    return id == TypeId::DateTime || id == TypeId::SmallDateTime || id == TypeId::Date;
  }
  bool IsBoolean() const { return id == TypeId::Boolean; }
  // The scale of a decimal or money value; 0 for integers.
  int Scale() const;
  // Precision as a decimal: integers and money get their SQL Server equivalents.
  int DecimalPrecision() const;

  // The T-SQL spelling: "int", "decimal(18,2)", "varchar(50)", "nvarchar(max)".
  std::string ToString() const;
  // A number that stands for the type in generated SQL (cheaper to read back than the name).
  std::int64_t Code() const;
  static SqlType FromCode(std::int64_t code);

  friend bool operator==(const SqlType&, const SqlType&) = default;
};

// SQL Server's data type precedence: the operand of lower precedence converts to the other.
int Precedence(TypeId id);

// The type of two operands meeting in a CASE, UNION, COALESCE or comparison.
SqlType CommonType(const SqlType& a, const SqlType& b);

// Result type of + - * / % over numbers (decimal precision and scale follow SQL Server's rules,
// capped at 38 digits). `op` is one of '+', '-', '*', '/', '%'.
SqlType ArithmeticType(char op, const SqlType& a, const SqlType& b);

// Parses a type name with its arguments already split: ("decimal", 18, 2), ("varchar", 50),
// ("nvarchar", max = -1). Returns nullopt for a name the front end does not support.
std::optional<SqlType> TypeFromName(std::string_view name, std::optional<int> arg1,
                                    std::optional<int> arg2, bool argIsMax);

// The type of a column whose declared SQLite type text is `declared` (for tables created outside
// the front end): T-SQL names parse as themselves, SQLite affinities map to the nearest type.
SqlType TypeFromDeclaration(std::string_view declared);

}  // namespace zov::data::tsql
