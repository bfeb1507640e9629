#include "data/engine/values.h"

#include "zov/vb/datetime.h"

namespace zov::data::engine {

using tsql::SqlType;
using tsql::TypeId;

vb::VarType VarTypeOf(const SqlType& t) {
  switch (t.id) {
    case TypeId::Bit:
      return vb::VarType::Boolean;
    case TypeId::Null:
    case TypeId::TinyInt:
    case TypeId::SmallInt:
    case TypeId::Int:
    case TypeId::BigInt:
      return vb::VarType::Long;
    case TypeId::Decimal:
    case TypeId::Real:
    case TypeId::Float:
      return vb::VarType::Double;
    case TypeId::Money:
    case TypeId::SmallMoney:
      return vb::VarType::Currency;
    case TypeId::DateTime:
    case TypeId::SmallDateTime:
    case TypeId::Date:
      return vb::VarType::Date;
    case TypeId::Boolean:
      return vb::VarType::Boolean;
    default:
      return vb::VarType::String;
  }
}

vb::Date DateOf(const tsql::DateTimeParts& p) {
  vb::DateParts parts{p.year, p.month, p.day, p.hour, p.minute, p.second};
  vb::Date d = vb::DateFromParts(parts);
  const double ms = p.millisecond / 86400000.0;
  d.serial += d.serial >= 0 ? ms : -ms;
  return d;
}

}  // namespace zov::data::engine
