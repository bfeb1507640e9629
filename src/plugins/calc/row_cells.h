// The cells of one bill row as the engine's steps read and write them. Reads and writes raise
// for a field the bill lacks (an empty key included) and the arithmetic raises as VB's does, so
// that a step run through Resume is skipped and leaves its target as it was.
#pragma once

#include <string>

#include "zov/host/bill.h"

namespace zov::plugins::calc {

class RowCells {
 public:
  RowCells(host::IBillInterface& bill, long row) : bill_(bill), row_(row) {}

  host::IBillInterface& bill() const { return bill_; }
  long row() const { return row_; }

  // The cell as a number: Empty, Null and text that is no number read as 0.
  double Number(const std::string& key) const;
  // The stored internal ID of a base-data cell (0 when empty).
  long Id(const std::string& key) const;
  // A plain write (SetFieldValue).
  void Set(const std::string& key, const vb::Variant& value) const;
  // Writes the cell's own value again with the field's action, marked modified or not.
  void Act(const std::string& key) const;
  void ActUnmarked(const std::string& key) const;
  // Locks or opens the cell.
  void Lock(const std::string& key, bool lock) const;

 private:
  host::IBillInterface& bill_;
  long row_;
};

// VB's "/" on two numbers: Error 11 for a zero divisor, Error 6 for 0 / 0 and past the range.
double Quotient(double dividend, double divisor);
// VB's "*" on two numbers: Error 6 past the range.
double Product(double a, double b);

}  // namespace zov::plugins::calc
