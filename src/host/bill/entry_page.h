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
  // The rows of grid `grid` (1 or 2) of a form, reporting their changes to `log`.
  static Ref<EntryPage> New(std::shared_ptr<const CellLayout> layout,
                            std::shared_ptr<FormChanges> log, int grid) {
    return Ref<EntryPage>::Adopt(new EntryPage(std::move(layout), std::move(log), grid));
  }
  std::string TypeName() const override { return "Dictionary"; }

  Variant Item(const Variant& key) const override;
  void SetItem(const Variant& key, const Variant& value) override;
  bool Lookup(const Variant& key) const override;
  void Add(const Variant& key, const Variant& value) override;
  void Remove(const Variant& key) override;
  void RemoveAll() override;
  long Count() const override { return static_cast<long>(rows_.size()); }
  std::vector<Variant> Keys() const override;

  // Row `row` (1-based), or nullptr.
  EntryRow* Row(long row);
  const EntryRow* Row(long row) const;
  // Appends an empty row; returns its number.
  long Append();
  // Makes room for `count` more rows (a source selection or a paste knows how many come).
  void Reserve(long count) { rows_.reserve(rows_.size() + static_cast<std::size_t>(count)); }
  // Inserts an empty row before `row`.
  void InsertAt(long row);
  void Erase(long row);
  // The page no longer stands for its form's grid (the form read another bill): its rows stay,
  // for whoever still holds them, and report nothing more.
  void Detach();
  // The rows; their cells may change, the list of rows changes through the members above.
  std::vector<EntryRow>& rows() { return rows_; }

 private:
  EntryPage(std::shared_ptr<const CellLayout> layout, std::shared_ptr<FormChanges> log, int grid)
      : layout_(std::move(layout)), log_(std::move(log)), grid_(grid) {}
  long RowNumber(const Variant& key) const;
  // A new row at `at` (0-based) joins the log; the rows from `at` on are renumbered.
  void Joined(std::size_t at);
  void Renumber(std::size_t from);
  std::shared_ptr<const CellLayout> layout_;
  std::shared_ptr<FormChanges> log_;
  int grid_;
  std::vector<EntryRow> rows_;
};

}  // namespace zov::sim
