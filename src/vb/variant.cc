#include "zov/vb/variant.h"

#include <cmath>

#include "zov/vb/error.h"

namespace zov::vb {

namespace {
[[noreturn]] void Mismatch() { throw Error(kErrTypeMismatch, "Type mismatch"); }
}  // namespace

Currency Currency::FromDouble(double value) {
  const double scaled = value * kScale;
  // The Currency range is +-922,337,203,685,477.5807.
  if (!std::isfinite(scaled) || scaled >= 9.2233720368547758e18 || scaled < -9.2233720368547758e18)
    throw Error(kErrOverflow, "Overflow");
  return Currency{static_cast<std::int64_t>(std::nearbyint(scaled))};  // default mode: half to even
}

VarType Variant::Type() const {
  static constexpr VarType kinds[] = {VarType::Empty, VarType::Null,   VarType::Boolean,
                                      VarType::Long,  VarType::Double, VarType::Currency,
                                      VarType::Date,  VarType::String, VarType::Object};
  return kinds[v_.index()];
}

bool Variant::IsNumber() const {
  switch (v_.index()) {
    case 2:
    case 3:
    case 4:
    case 5:
      return true;
    default:
      return false;
  }
}

bool Variant::AsBool() const {
  if (auto p = std::get_if<bool>(&v_)) return *p;
  Mismatch();
}
std::int32_t Variant::AsLong() const {
  if (auto p = std::get_if<std::int32_t>(&v_)) return *p;
  Mismatch();
}
double Variant::AsDouble() const {
  if (auto p = std::get_if<double>(&v_)) return *p;
  Mismatch();
}
Currency Variant::AsCurrency() const {
  if (auto p = std::get_if<Currency>(&v_)) return *p;
  Mismatch();
}
Date Variant::AsDate() const {
  if (auto p = std::get_if<Date>(&v_)) return *p;
  Mismatch();
}
const std::string& Variant::AsString() const {
  if (auto p = std::get_if<std::string>(&v_)) return *p;
  Mismatch();
}
const Ref<IObject>& Variant::AsObject() const {
  if (auto p = std::get_if<Ref<IObject>>(&v_)) return *p;
  Mismatch();
}

}  // namespace zov::vb
