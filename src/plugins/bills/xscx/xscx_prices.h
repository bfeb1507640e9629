// The arithmetic of a special-price row: regular price (原价), special price (特价), their
// difference (差价, regular minus special) and the discount rate (the special price as a
// percentage of the regular one). Nothing is rounded.
#pragma once

namespace zov::plugins::xscx {

// The rate of a difference: (1 - difference / regular) x 100; `regular` must not be 0.
inline double CalcDiscountRate(double regular, double difference) {
  return (1 - difference / regular) * 100;
}
// The difference of a rate: (1 - rate / 100) x regular.
inline double CalcDifferenceOfRate(double regular, double rate) {
  return (1 - rate / 100) * regular;
}
// The special price of a rate: rate / 100 x regular.
inline double CalcSpecialOfRate(double regular, double rate) { return rate / 100 * regular; }

}  // namespace zov::plugins::xscx
