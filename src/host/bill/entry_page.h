// The data of one entry grid: its rows, each a dictionary of internal key to cell, with the cell
// locks the form placed at run time. As an IDictionary (bill data "Page2", "Page3") it maps row
// numbers 1 .. n to the rows' dictionaries; removing a row renumbers the rows after it.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "bill/cell_row.h"

namespace zov::sim {

struct EntryRow {
  explicit EntryRow(const std::shared_ptr<const CellLayout>& layout)
      : cells(CellRow::New(layout)) {}
  long entryId = 0;                           // FEntryID of the stored row; 0 for a row never saved
  long storedIndex = 0;                       // FIndex the stored row has in the database
  Ref<CellRow> cells;                         // internal key -> cell
  std::set<std::string, std::less<>> locked;  // internal keys locked at run time
  std::set<std::string, std::less<>> opened;  // internal keys opened against the column lock
};

class EntryPage final : public vb::Implements<host::IDictionary> {
 public:
  static Ref<EntryPage> New(std::shared_ptr<const CellLayout> layout) {
    return Ref<EntryPage>::Adopt(new EntryPage(std::move(layout)));
  }
  std::string TypeName() const override { return "Dictionary"; }

  Variant Item(const Variant& key) const override;
  void SetItem(const Variant& key, const Variant& value) override;
  bool Lookup(const Variant& key) const override;
  void Add(const Variant& key, const Variant& value) override;
  void Remove(const Variant& key) override;
  void RemoveAll() override { rows_.clear(); }
  long Count() const override { return static_cast<long>(rows_.size()); }
  std::vector<Variant> Keys() const override;

  // Row `row` (1-based), or nullptr.
  EntryRow* Row(long row);
  const EntryRow* Row(long row) const;
  // Appends an empty row; returns its number.
  long Append();
  // Inserts an empty row before `row`.
  void InsertAt(long row);
  void Erase(long row);
  std::vector<EntryRow>& rows() { return rows_; }

 private:
  explicit EntryPage(std::shared_ptr<const CellLayout> layout) : layout_(std::move(layout)) {}
  long RowNumber(const Variant& key) const;
  std::shared_ptr<const CellLayout> layout_;
  std::vector<EntryRow> rows_;
};

}  // namespace zov::sim
