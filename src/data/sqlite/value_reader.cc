#include "data/sqlite/value_reader.h"

#include <fmt/format.h>
#include <sqlite3.h>

#include <cmath>

#include "data/engine/values.h"
#include "data/sql_error.h"
#include "data/tsql/conversion.h"
#include "zov/vb/datetime.h"

namespace zov::data::sqlite {

namespace {

using tsql::SqlType;
using tsql::SqlValue;
using tsql::TypeId;

std::string Text(sqlite3_stmt* stmt, int i) {
  const unsigned char* t = sqlite3_column_text(stmt, i);
  return std::string(reinterpret_cast<const char*>(t),
                     static_cast<std::size_t>(sqlite3_column_bytes(stmt, i)));
}

SqlValue Raw(sqlite3_stmt* stmt, int i) {
  switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_NULL:
      return SqlValue::Null();
    case SQLITE_INTEGER:
      return SqlValue::Integer(sqlite3_column_int64(stmt, i));
    case SQLITE_FLOAT:
      return SqlValue::Real(sqlite3_column_double(stmt, i));
    default:
      return SqlValue::Text(Text(stmt, i));
  }
}

}  // namespace

SqlValue ReadValue(sqlite3_stmt* stmt, int i, const SqlType& t) {
  SqlValue v = Raw(stmt, i);
  if (v.IsNull()) return v;
  if (t.IsExactScaled() && v.kind != SqlValue::Kind::Text)
    return SqlValue::Real(tsql::RoundDecimal(v.AsDouble(), t.Scale()));
  return tsql::NormaliseStored(v, t);
}

vb::Variant ReadVariant(sqlite3_stmt* stmt, int i, const SqlType& t) {
  const int storage = sqlite3_column_type(stmt, i);
  if (storage == SQLITE_NULL) return vb::Variant::Null();
  switch (t.id) {
    case TypeId::Bit:
    case TypeId::Boolean:
      if (storage == SQLITE_TEXT)
        return vb::Variant(
            tsql::ConvertValue(Raw(stmt, i), SqlType::VarChar(-1), SqlType::Of(TypeId::Bit))
                .integer != 0);
      return vb::Variant(sqlite3_column_double(stmt, i) != 0);
    case TypeId::Null:
    case TypeId::TinyInt:
    case TypeId::SmallInt:
    case TypeId::Int:
    case TypeId::BigInt: {
      std::int64_t v = 0;
      if (storage == SQLITE_INTEGER)
        v = sqlite3_column_int64(stmt, i);
      else
        v = tsql::ConvertValue(
                Raw(stmt, i),
                storage == SQLITE_TEXT ? SqlType::VarChar(-1) : SqlType::Of(TypeId::Float),
                SqlType::Of(TypeId::BigInt))
                .integer;
      if (t.id != TypeId::BigInt && t.id != TypeId::Null && (v < -2147483648LL || v > 2147483647LL))
        throw SqlError(fmt::format(
            "Arithmetic overflow error converting expression to data type {}.", t.ToString()));
      return vb::Variant(v);
    }
    case TypeId::Decimal:
      if (storage == SQLITE_TEXT)
        return vb::Variant(tsql::ConvertValue(Raw(stmt, i), SqlType::VarChar(-1), t).real);
      return vb::Variant(tsql::RoundDecimal(sqlite3_column_double(stmt, i), t.scale));
    case TypeId::Real:
    case TypeId::Float:
      if (storage == SQLITE_TEXT)
        return vb::Variant(tsql::ConvertValue(Raw(stmt, i), SqlType::VarChar(-1), t).real);
      return vb::Variant(sqlite3_column_double(stmt, i));
    case TypeId::Money:
    case TypeId::SmallMoney: {
      double d = storage == SQLITE_TEXT
                     ? tsql::ConvertValue(Raw(stmt, i), SqlType::VarChar(-1), t).real
                     : sqlite3_column_double(stmt, i);
      return vb::Variant(vb::Currency::FromDouble(tsql::RoundDecimal(d, 4)));
    }
    case TypeId::DateTime:
    case TypeId::SmallDateTime:
    case TypeId::Date: {
      if (storage == SQLITE_TEXT) {
        const std::string text = Text(stmt, i);
        if (auto p = tsql::ParseCanonical(text)) return vb::Variant(engine::DateOf(*p));
        if (auto p = tsql::ParseDateTime(text, -1)) return vb::Variant(engine::DateOf(*p));
        throw SqlError("Conversion failed when converting date and/or time from character string.");
      }
      const double days = sqlite3_column_double(stmt, i);
      return vb::Variant(engine::DateOf(
          tsql::FromMilliseconds(static_cast<std::int64_t>(std::llround(days * 86400000.0)))));
    }
    default:
      if (storage == SQLITE_TEXT) return vb::Variant(Text(stmt, i));
      return vb::Variant(tsql::NumberToText(Raw(stmt, i), storage == SQLITE_INTEGER
                                                              ? SqlType::Of(TypeId::BigInt)
                                                              : SqlType::Of(TypeId::Float)));
  }
}

}  // namespace zov::data::sqlite
