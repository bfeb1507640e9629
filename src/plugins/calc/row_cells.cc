#include "calc/row_cells.h"

#include <cmath>

#include "calc/units.h"
#include "frame/bill_access.h"
#include "zov/vb/error.h"

namespace zov::plugins::calc {

namespace {

void RequireKey(const std::string& key) {
  if (key.empty()) vb::Raise(vb::kErrInvalidProcedureCall);
}

double Finite(double value) {
  if (!std::isfinite(value)) vb::Raise(vb::kErrOverflow);
  return value;
}

}  // namespace

double RowCells::Number(const std::string& key) const {
  RequireKey(key);
  return FieldNumber(bill_, key, row_);
}

long RowCells::Id(const std::string& key) const {
  RequireKey(key);
  return FieldId(bill_, key, row_);
}

void RowCells::Set(const std::string& key, const vb::Variant& value) const {
  RequireKey(key);
  bill_.SetFieldValue(key, value, row_);
}

void RowCells::Act(const std::string& key) const {
  RequireKey(key);
  SetFieldWithAction(bill_, key, bill_.GetFieldValue(key, row_), row_, true);
}

void RowCells::ActUnmarked(const std::string& key) const {
  RequireKey(key);
  SetFieldWithAction(bill_, key, bill_.GetFieldValue(key, row_), row_, false);
}

void RowCells::Lock(const std::string& key, bool lock) const { LockField(bill_, key, lock, row_); }

double Quotient(double dividend, double divisor) {
  if (divisor == 0) vb::Raise(dividend == 0 ? vb::kErrOverflow : vb::kErrDivisionByZero);
  return Finite(dividend / divisor);
}

double Product(double a, double b) { return Finite(a * b); }

}  // namespace zov::plugins::calc
