#include "data/tsql/sql_type.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>

#include "data/tsql/text_rules.h"

namespace zov::data::tsql {

namespace {

constexpr int kMaxPrecision = 38;

// Decimal view of an exact number: integers and money as SQL Server widens them.
SqlType AsDecimal(const SqlType& t) {
  if (t.id == TypeId::Decimal) return t;
  return SqlType::Decimal(t.DecimalPrecision(), t.Scale());
}

SqlType CapMultiplicative(int p, int s) {
  if (p <= kMaxPrecision) return SqlType::Decimal(p, s);
  const int integral = p - s;
  if (integral < 32)
    s = std::min(s, kMaxPrecision - integral);
  else if (s > 6)
    s = 6;
  return SqlType::Decimal(kMaxPrecision, s);
}

SqlType CapAdditive(int p, int s, int integral) {
  if (p <= kMaxPrecision) return SqlType::Decimal(p, s);
  s = std::max(0, kMaxPrecision - integral);
  return SqlType::Decimal(kMaxPrecision, s);
}

}  // namespace

bool SqlType::IsInteger() const {
  switch (id) {
    case TypeId::Bit:
    case TypeId::TinyInt:
    case TypeId::SmallInt:
    case TypeId::Int:
    case TypeId::BigInt:
      return true;
    default:
      return false;
  }
}

bool SqlType::IsNumeric() const { return IsInteger() || IsExactScaled() || IsApproximate(); }

bool SqlType::IsExactScaled() const {
  return id == TypeId::Decimal || id == TypeId::Money || id == TypeId::SmallMoney;
}

bool SqlType::IsString() const {
  switch (id) {
    case TypeId::Char:
    case TypeId::VarChar:
    case TypeId::Text:
    case TypeId::NChar:
    case TypeId::NVarChar:
    case TypeId::NText:
      return true;
    default:
      return false;
  }
}

int SqlType::Scale() const {
  switch (id) {
    case TypeId::Decimal:
      return scale;
    case TypeId::Money:
    case TypeId::SmallMoney:
      return 4;
    default:
      return 0;
  }
}

int SqlType::DecimalPrecision() const {
  switch (id) {
    case TypeId::Bit:
      return 1;
    case TypeId::TinyInt:
      return 3;
    case TypeId::SmallInt:
      return 5;
    case TypeId::Int:
      return 10;
    case TypeId::BigInt:
      return 19;
    case TypeId::Decimal:
      return precision;
    case TypeId::Money:
      return 19;
    case TypeId::SmallMoney:
      return 10;
    default:
      return kMaxPrecision;
  }
}

std::string SqlType::ToString() const {
  auto len = [&](const char* name) {
    return length < 0 ? fmt::format("{}(max)", name) : fmt::format("{}({})", name, length);
  };
  switch (id) {
    case TypeId::Null:
      return "int";  // SQL Server types a bare NULL column as int
    case TypeId::Bit:
      return "bit";
    case TypeId::TinyInt:
      return "tinyint";
    case TypeId::SmallInt:
      return "smallint";
    case TypeId::Int:
      return "int";
    case TypeId::BigInt:
      return "bigint";
    case TypeId::Decimal:
      return fmt::format("decimal({},{})", precision, scale);
    case TypeId::SmallMoney:
      return "smallmoney";
    case TypeId::Money:
      return "money";
    case TypeId::Real:
      return "real";
    case TypeId::Float:
      return "float";
    case TypeId::SmallDateTime:
      return "smalldatetime";
    case TypeId::DateTime:
      return "datetime";
    case TypeId::Date:
      return "date";
    case TypeId::Char:
      return len("char");
    case TypeId::VarChar:
      return len("varchar");
    case TypeId::Text:
      return "text";
    case TypeId::NChar:
      return len("nchar");
    case TypeId::NVarChar:
      return len("nvarchar");
    case TypeId::NText:
      return "ntext";
    case TypeId::Boolean:
      return "boolean";
  }
  return "?";
}

std::int64_t SqlType::Code() const {
  return ((static_cast<std::int64_t>(id) * 10001 + (length + 1)) * 64 + precision) * 64 + scale;
}

SqlType SqlType::FromCode(std::int64_t code) {
  SqlType t;
  t.scale = static_cast<int>(code % 64);
  code /= 64;
  t.precision = static_cast<int>(code % 64);
  code /= 64;
  t.length = static_cast<int>(code % 10001) - 1;
  t.id = static_cast<TypeId>(code / 10001);
  return t;
}

int Precedence(TypeId id) {
  switch (id) {
    case TypeId::DateTime:
      return 30;
    case TypeId::SmallDateTime:
      return 29;
    case TypeId::Date:
      return 28;
    case TypeId::Float:
      return 27;
    case TypeId::Real:
      return 26;
    case TypeId::Decimal:
      return 25;
    case TypeId::Money:
      return 24;
    case TypeId::SmallMoney:
      return 23;
    case TypeId::BigInt:
      return 22;
    case TypeId::Int:
      return 21;
    case TypeId::SmallInt:
      return 20;
    case TypeId::TinyInt:
      return 19;
    case TypeId::Bit:
      return 18;
    case TypeId::NText:
      return 17;
    case TypeId::Text:
      return 16;
    case TypeId::NVarChar:
      return 15;
    case TypeId::NChar:
      return 14;
    case TypeId::VarChar:
      return 13;
    case TypeId::Char:
      return 12;
    case TypeId::Boolean:
      return 1;
    case TypeId::Null:
      return 0;
  }
  return 0;
}

SqlType CommonType(const SqlType& a, const SqlType& b) {
  if (a.IsNull()) return b;
  if (b.IsNull()) return a;
  if (a.IsString() && b.IsString()) {
    const bool unicode = a.IsUnicode() || b.IsUnicode();
    if (a.id == TypeId::Text || a.id == TypeId::NText || b.id == TypeId::Text ||
        b.id == TypeId::NText)
      return SqlType::Of(unicode ? TypeId::NText : TypeId::Text);
    const int length = (a.length < 0 || b.length < 0) ? -1 : std::max(a.length, b.length);
    return SqlType{unicode ? TypeId::NVarChar : TypeId::VarChar, length, 0, 0};
  }
  if (a.id == TypeId::Decimal && b.id == TypeId::Decimal) {
    const int s = std::max(a.scale, b.scale);
    const int integral = std::max(a.precision - a.scale, b.precision - b.scale);
    return SqlType::Decimal(std::min(kMaxPrecision, s + integral), s);
  }
  const SqlType& high = Precedence(a.id) >= Precedence(b.id) ? a : b;
  const SqlType& low = &high == &a ? b : a;
  if (high.id == TypeId::Decimal && (low.IsInteger() || low.IsExactScaled())) {
    return CommonType(high, AsDecimal(low));
  }
  return high;
}

SqlType ArithmeticType(char op, const SqlType& a, const SqlType& b) {
  if (a.IsNull() && b.IsNull()) return SqlType::Of(TypeId::Int);
  if (a.IsNull()) return ArithmeticType(op, b, b);
  if (b.IsNull()) return ArithmeticType(op, a, a);
  if (a.IsApproximate() || b.IsApproximate()) {
    return SqlType::Of(a.id == TypeId::Float || b.id == TypeId::Float ? TypeId::Float
                       : (a.IsApproximate() && b.IsApproximate())
                           ? TypeId::Real
                           : (Precedence(a.id) > Precedence(b.id) ? a.id : b.id));
  }
  if (a.IsInteger() && b.IsInteger()) {
    TypeId id = Precedence(a.id) >= Precedence(b.id) ? a.id : b.id;
    if (id == TypeId::Bit) id = TypeId::Int;  // bit arithmetic yields int
    return SqlType::Of(id);
  }
  const bool money = (a.id == TypeId::Money || a.id == TypeId::SmallMoney ||
                      b.id == TypeId::Money || b.id == TypeId::SmallMoney) &&
                     a.id != TypeId::Decimal && b.id != TypeId::Decimal;
  if (money) return SqlType::Of(TypeId::Money);
  const SqlType x = AsDecimal(a);
  const SqlType y = AsDecimal(b);
  const int p1 = x.precision, s1 = x.scale, p2 = y.precision, s2 = y.scale;
  switch (op) {
    case '+':
    case '-': {
      const int s = std::max(s1, s2);
      const int integral = std::max(p1 - s1, p2 - s2);
      return CapAdditive(s + integral + 1, s, integral);
    }
    case '*':
      return CapMultiplicative(p1 + p2 + 1, s1 + s2);
    case '/': {
      const int s = std::max(6, s1 + p2 + 1);
      return CapMultiplicative(p1 - s1 + s2 + s, s);
    }
    default: {  // '%'
      const int s = std::max(s1, s2);
      return SqlType::Decimal(std::min(kMaxPrecision, std::min(p1 - s1, p2 - s2) + s), s);
    }
  }
}

std::optional<SqlType> TypeFromName(std::string_view name, std::optional<int> arg1,
                                    std::optional<int> arg2, bool argIsMax) {
  struct Simple {
    const char* name;
    TypeId id;
  };
  static constexpr Simple kSimple[] = {
      {"bit", TypeId::Bit},
      {"tinyint", TypeId::TinyInt},
      {"smallint", TypeId::SmallInt},
      {"int", TypeId::Int},
      {"integer", TypeId::Int},
      {"bigint", TypeId::BigInt},
      {"money", TypeId::Money},
      {"smallmoney", TypeId::SmallMoney},
      {"real", TypeId::Real},
      {"datetime", TypeId::DateTime},
      {"smalldatetime", TypeId::SmallDateTime},
      {"date", TypeId::Date},
      {"text", TypeId::Text},
      {"ntext", TypeId::NText},
  };
  for (const Simple& s : kSimple) {
    if (EqualsNoCase(name, s.name)) {
      if (arg1 || argIsMax) return std::nullopt;
      return SqlType::Of(s.id);
    }
  }
  if (EqualsNoCase(name, "float")) {
    // float(n): 1..24 is real, 25..53 is float.
    if (arg2 || argIsMax) return std::nullopt;
    if (arg1 && (*arg1 < 1 || *arg1 > 53)) return std::nullopt;
    return SqlType::Of(arg1 && *arg1 <= 24 ? TypeId::Real : TypeId::Float);
  }
  if (EqualsNoCase(name, "decimal") || EqualsNoCase(name, "numeric") || EqualsNoCase(name, "dec")) {
    if (argIsMax) return std::nullopt;
    const int p = arg1.value_or(18);
    const int s = arg2.value_or(0);
    if (p < 1 || p > kMaxPrecision || s < 0 || s > p) return std::nullopt;
    return SqlType::Decimal(p, s);
  }
  struct Sized {
    const char* name;
    TypeId id;
    int limit;
  };
  static constexpr Sized kSized[] = {
      {"char", TypeId::Char, 8000},      {"varchar", TypeId::VarChar, 8000},
      {"nchar", TypeId::NChar, 4000},    {"nvarchar", TypeId::NVarChar, 4000},
      {"character", TypeId::Char, 8000},
  };
  for (const Sized& s : kSized) {
    if (EqualsNoCase(name, s.name)) {
      if (arg2) return std::nullopt;
      if (argIsMax) {
        if (s.id == TypeId::Char || s.id == TypeId::NChar) return std::nullopt;
        return SqlType{s.id, -1, 0, 0};
      }
      const int n = arg1.value_or(1);
      if (n < 1 || n > s.limit) return std::nullopt;
      return SqlType{s.id, n, 0, 0};
    }
  }
  return std::nullopt;
}

SqlType TypeFromDeclaration(std::string_view declared) {
  // Split "name(a,b)" leniently; anything unexpected falls back on SQLite's affinity rules.
  std::string name;
  std::size_t i = 0;
  while (i < declared.size() && declared[i] == ' ') ++i;
  while (i < declared.size() &&
         (std::isalnum(static_cast<unsigned char>(declared[i])) || declared[i] == '_'))
    name += declared[i++];
  std::optional<int> a1, a2;
  bool isMax = false;
  while (i < declared.size() && declared[i] == ' ') ++i;
  if (i < declared.size() && declared[i] == '(') {
    ++i;
    auto number = [&]() -> std::optional<int> {
      while (i < declared.size() && declared[i] == ' ') ++i;
      if (i + 3 <= declared.size() && EqualsNoCase(declared.substr(i, 3), "max")) {
        isMax = true;
        i += 3;
        return std::nullopt;
      }
      int v = 0;
      bool any = false;
      while (i < declared.size() && std::isdigit(static_cast<unsigned char>(declared[i]))) {
        v = v * 10 + (declared[i++] - '0');
        any = true;
      }
      while (i < declared.size() && declared[i] == ' ') ++i;
      return any ? std::optional<int>(v) : std::nullopt;
    };
    a1 = number();
    if (i < declared.size() && declared[i] == ',') {
      ++i;
      a2 = number();
    }
  }
  if (auto t = TypeFromName(name, a1, a2, isMax)) return *t;
  std::string upper;
  for (char c : declared) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (upper.find("INT") != std::string::npos) return SqlType::Of(TypeId::BigInt);
  if (upper.find("CHAR") != std::string::npos || upper.find("CLOB") != std::string::npos ||
      upper.find("TEXT") != std::string::npos)
    return SqlType::NVarChar(-1);
  if (upper.find("REAL") != std::string::npos || upper.find("FLOA") != std::string::npos ||
      upper.find("DOUB") != std::string::npos)
    return SqlType::Of(TypeId::Float);
  return SqlType::Of(TypeId::Float);
}

}  // namespace zov::data::tsql
