// The recordset the host data components return for a query: ADO's shape, read forward.
#pragma once

#include <string>

#include "zov/vb/variant.h"

namespace zov::host {

using vb::Guid;
using vb::Ref;
using vb::Variant;

class IField : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D02}");
  // The column name as the query produced it.
  virtual std::string Name() const = 0;
  // The value in the current record; Null for SQL NULL. Raises Error 3021 at EOF or BOF.
  virtual Variant Value() const = 0;
  // The declared kind of the column (Long, Double, Currency, String, Date, Boolean).
  virtual vb::VarType Type() const = 0;

 protected:
  ~IField() = default;
};

class IFields : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D03}");
  // The number of columns.
  virtual long Count() const = 0;
  // The column at 0-based `index`; raises Error 3265 when out of range.
  virtual Ref<IField> Item(long index) const = 0;
  // The first column named `name` (case-insensitive); raises Error 3265 when there is none.
  virtual Ref<IField> Item(std::string_view name) const = 0;

 protected:
  ~IFields() = default;
};

class IRecordset : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D04}");
  // True when the cursor is past the last record (ADO's EOF); an empty recordset starts there.
  virtual bool Eof() const = 0;
  // True when the cursor is before the first record (ADO's BOF).
  virtual bool Bof() const = 0;
  // Moves to the next visible record; raises Error 3021 when already at EOF.
  virtual void MoveNext() = 0;
  // Moves to the first visible record (EOF when there is none).
  virtual void MoveFirst() = 0;
  // The number of records visible under the current filter.
  virtual long RecordCount() const = 0;
  // The columns of the current record.
  virtual Ref<IFields> Fields() const = 0;
  // Shorthand for Fields().Item(name).Value().
  virtual Variant Value(std::string_view name) const = 0;
  // Shorthand for Fields().Item(index).Value().
  virtual Variant Value(long index) const = 0;
  // The current filter text; "" when none.
  virtual std::string Filter() const = 0;
  // ADO's Filter: "" or 0 clears; otherwise conditions "Field op value" (=, <>, <, >, <=, >=,
  // LIKE) joined with AND / OR. Moves to the first visible record. Raises Error 3001 for a
  // filter it cannot read.
  virtual void SetFilter(const Variant& filter) = 0;
  // Releases the records; later reads raise Error 3704.
  virtual void Close() = 0;

 protected:
  ~IRecordset() = default;
};

}  // namespace zov::host
