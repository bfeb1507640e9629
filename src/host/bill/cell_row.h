// The cells of the header or of one row: to a plug-in a dictionary from internal key to cell; to
// the host an array in the order of the template's fields, so that reaching a field's cell is an
// index rather than a key search. The row holds its cells in one block (see BillCell). Keys come
// in field order; keys that are no field of the template (a plug-in's own) follow, in the order
// they were added. A value a plug-in stores under a field's key that is not one of the row's own
// cells is kept as it is, and taken over into the row's cell when the host next reaches it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "bill/bill_cell.h"
#include "bill/bill_template.h"
#include "bill/form_changes.h"

namespace zov::sim {

class CellRow final : public vb::Implements<host::IDictionary> {
 public:
  static Ref<CellRow> New(std::shared_ptr<const CellLayout> layout) {
    return Ref<CellRow>::Adopt(new CellRow(std::move(layout)));
  }

  std::string TypeName() const override { return "Dictionary"; }
  Variant Item(const Variant& key) const override;
  void SetItem(const Variant& key, const Variant& value) override;
  bool Lookup(const Variant& key) const override;
  void Add(const Variant& key, const Variant& value) override;
  void Remove(const Variant& key) override;
  void RemoveAll() override;
  long Count() const override;
  std::vector<Variant> Keys() const override;

  // The slot of an internal key, or -1.
  int SlotOf(std::string_view key) const;
  // The row's own cell in `slot`, or nullptr when the slot is empty or holds a plug-in's value.
  BillCell* CellAt(int slot) {
    return state_[static_cast<std::size_t>(slot)] == kOwn ? &cells_[static_cast<std::size_t>(slot)]
                                                          : nullptr;
  }
  // The plug-in's value in `slot`, or nullptr.
  const Variant* ForeignAt(int slot) const;
  // Puts a fresh cell in `slot` (value `empty`, blank texts, unmodified) and returns it.
  BillCell& MakeCell(int slot, const Variant& empty);
  // Whether the value in `slot` changed since ClearWritten (a cell written, replaced or removed).
  bool Written(int slot) const { return cells_[static_cast<std::size_t>(slot)].written(); }
  bool AnyWritten() const;
  void ClearWritten();

  // --- what a view of the form has not shown yet (see FormChanges) ---
  // Joins the change log of a form as its header (grid 0) or a row of grid 1 or 2.
  void Attach(std::shared_ptr<FormChanges> log, int grid);
  // The row left its grid: it reports nothing more and has no number.
  void Detach();
  // The row's number in its grid (1-based); 0 for the header and a row that left its grid.
  long number() const { return number_; }
  void SetNumber(long number) { number_ = number; }
  // What the cell in `slot` shows changed (its lock, say): it counts as unseen.
  void NoteCell(int slot) { NoteCell(cells_[static_cast<std::size_t>(slot)]); }
  void NoteCell(BillCell& cell) {
    cell.unseen_ = true;
    Report();
  }
  // The row is new to the view: all of it is to be shown.
  void NoteWhole() {
    whole_ = true;
    Report();
  }
  bool WholeUnseen() const { return whole_; }
  bool Unseen(int slot) const { return cells_[static_cast<std::size_t>(slot)].unseen_; }
  // The view showed the row: nothing of it is unseen any more.
  void MarkSeen();

 private:
  explicit CellRow(std::shared_ptr<const CellLayout> layout);
  enum State : std::uint8_t { kAbsent, kOwn, kForeign };
  void SetState(std::size_t at, State state);

  std::shared_ptr<const CellLayout> layout_;
  std::unique_ptr<BillCell[]> cells_;  // per slot
  std::vector<State> state_;           // per slot
  std::map<int, Variant> foreign_;     // the slots holding a plug-in's value
  long count_ = 0;                     // slots not absent
  Ref<Dictionary> extra_;              // keys outside the layout

  // Tells the log of the first change since it was last taken.
  void Report() {
    if (log_ && reported_ != log_->generation()) {
      reported_ = log_->generation();
      log_->RowChanged(*this, grid_);
    }
  }
  std::shared_ptr<FormChanges> log_;
  std::uint64_t reported_ = 0;  // the log's generation this row last reported in
  int grid_ = 0;
  long number_ = 0;
  bool whole_ = false;
};

}  // namespace zov::sim
