// The Variant of VB: the one value type that crosses between the host and the plug-ins.
//
// A Variant is Empty, Null, Boolean, Long (32-bit), Double, Currency (64-bit integer scaled by
// 10,000), Date (days since 1899-12-30 with the time as fraction), String (UTF-8) or Object (a
// reference to an IObject). Conversions between kinds follow VB and live in convert.h.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "zov/vb/object.h"

namespace zov::vb {

// VB's VarType codes for the kinds a Variant can hold.
enum class VarType : int {
  Empty = 0,
  Null = 1,
  Long = 3,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Object = 9,
  Boolean = 11,
};

// A fixed-point amount with four decimal places, exact for every value it can hold.
struct Currency {
  static constexpr std::int64_t kScale = 10000;
  std::int64_t scaled = 0;  // the value times 10,000

  static constexpr Currency FromScaled(std::int64_t s) { return Currency{s}; }
  // Rounds to four decimal places half to even, as VB's CCur does; raises Error 6 (overflow)
  // outside the Currency range.
  static Currency FromDouble(double value);
  double ToDouble() const { return static_cast<double>(scaled) / kScale; }

  friend constexpr auto operator<=>(const Currency&, const Currency&) = default;
};

// A VB date: whole days since 1899-12-30, the time of day as the fraction (OLE Automation date).
struct Date {
  double serial = 0;

  friend constexpr auto operator<=>(const Date&, const Date&) = default;
};

struct NullValue {
  friend constexpr bool operator==(NullValue, NullValue) { return true; }
};

class Variant {
 public:
  Variant() = default;  // Empty
  Variant(NullValue) : v_(NullValue{}) {}
  Variant(bool b) : v_(b) {}
  // Integers become Long; values outside the Long range become Double, as VB widens them.
  template <class I, std::enable_if_t<std::is_integral_v<I> && !std::is_same_v<I, bool> &&
                                          !std::is_same_v<I, char>,
                                      int> = 0>
  Variant(I i) {
    if (static_cast<long double>(i) >= -2147483648.0L &&
        static_cast<long double>(i) <= 2147483647.0L)
      v_ = static_cast<std::int32_t>(i);
    else
      v_ = static_cast<double>(i);
  }
  Variant(double d) : v_(d) {}
  Variant(Currency c) : v_(c) {}
  Variant(Date d) : v_(d) {}
  Variant(std::string s) : v_(std::move(s)) {}
  Variant(std::string_view s) : v_(std::string(s)) {}
  Variant(const char* s) : v_(std::string(s ? s : "")) {}
  Variant(Ref<IObject> o) : v_(std::move(o)) {}
  template <class T,
            std::enable_if_t<std::is_base_of_v<IObject, T> && !std::is_same_v<T, IObject>, int> = 0>
  Variant(const Ref<T>& o) : v_(Ref<IObject>(o)) {}

  static Variant Null() { return Variant(NullValue{}); }

  VarType Type() const;
  bool IsEmpty() const { return v_.index() == 0; }
  bool IsNull() const { return v_.index() == 1; }
  bool IsObject() const { return v_.index() == 8; }
  bool IsString() const { return v_.index() == 7; }
  // Boolean, Long, Double, Currency (not Date, not String).
  bool IsNumber() const;
  // Nothing: an Object kind holding no reference.
  bool IsNothing() const { return IsObject() && !std::get<8>(v_); }

  // Raw access to the stored value; raise Error 13 (type mismatch) when the kind differs. Use the
  // conversions of convert.h to read a value of another kind as VB would.
  bool AsBool() const;
  std::int32_t AsLong() const;
  double AsDouble() const;
  Currency AsCurrency() const;
  Date AsDate() const;
  const std::string& AsString() const;
  const Ref<IObject>& AsObject() const;

  // The held object's interface T; empty when the Variant holds no object or the object lacks T.
  template <class T>
  Ref<T> ObjectAs() const {
    if (!IsObject()) return {};
    return std::get<8>(v_).template As<T>();
  }

  // Identity of kind and value (strings compared exactly, objects by reference). VB's own
  // comparison with its conversions is Compare() in convert.h.
  friend bool operator==(const Variant& a, const Variant& b) { return a.v_ == b.v_; }

 private:
  std::variant<std::monostate, NullValue, bool, std::int32_t, double, Currency, Date, std::string,
               Ref<IObject>>
      v_;
};

}  // namespace zov::vb
