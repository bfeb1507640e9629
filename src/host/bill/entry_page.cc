#include "bill/entry_page.h"

#include <algorithm>
#include <cmath>

#include "zov/vb/convert.h"
#include "zov/vb/error.h"

namespace zov::sim {

long EntryPage::RowNumber(const Variant& key) const {
  if (!key.IsNumber() && !key.IsString()) return 0;
  const double n = key.IsString() ? vb::Val(key.AsString()) : vb::CDbl(key);
  if (n != std::floor(n)) return 0;
  return static_cast<long>(n);
}

EntryRow* EntryPage::Row(long row) {
  return row >= 1 && row <= Count() ? &rows_[static_cast<std::size_t>(row - 1)] : nullptr;
}
const EntryRow* EntryPage::Row(long row) const {
  return row >= 1 && row <= Count() ? &rows_[static_cast<std::size_t>(row - 1)] : nullptr;
}

Variant EntryPage::Item(const Variant& key) const {
  const EntryRow* row = Row(RowNumber(key));
  return row ? Variant(Ref<host::IDictionary>(row->cells)) : Variant{};
}

void EntryPage::SetItem(const Variant& key, const Variant& value) {
  const long n = RowNumber(key);
  auto dict = value.ObjectAs<host::IDictionary>();
  if (n < 1 || n > Count() + 1 || !dict)
    throw vb::Error(vb::kErrInvalidProcedureCall, "Invalid procedure call or argument",
                    "QBX.Dictionary");
  // A row's dictionary is the host's own; values of a foreign dictionary are copied in.
  if (n == Count() + 1) Append();
  auto& cells = rows_[static_cast<std::size_t>(n - 1)].cells;
  if (dict.get() == static_cast<host::IDictionary*>(cells.get())) return;
  cells->RemoveAll();
  for (const auto& k : dict->Keys()) cells->SetItem(k, dict->Item(k));
}

bool EntryPage::Lookup(const Variant& key) const { return Row(RowNumber(key)) != nullptr; }

void EntryPage::Add(const Variant& key, const Variant& value) { AddNew(*this, key, value); }

void EntryPage::Remove(const Variant& key) {
  const long n = RowNumber(key);
  if (Row(n)) Erase(n);
}

std::vector<Variant> EntryPage::Keys() const {
  std::vector<Variant> keys;
  for (long i = 1; i <= Count(); ++i) keys.emplace_back(i);
  return keys;
}

void EntryPage::Joined(std::size_t at) {
  CellRow& cells = *rows_[at].cells;
  if (log_) {
    cells.Attach(log_, grid_);
    log_->Inserted(grid_, static_cast<long>(at) + 1);
    cells.NoteWhole();
  }
  Renumber(at);
}

void EntryPage::Detach() {
  for (auto& row : rows_) row.cells->Detach();
  log_.reset();
}

void EntryPage::Renumber(std::size_t from) {
  for (std::size_t i = from; i < rows_.size(); ++i)
    rows_[i].cells->SetNumber(static_cast<long>(i) + 1);
}

long EntryPage::Append() {
  rows_.emplace_back(layout_);
  Joined(rows_.size() - 1);
  return Count();
}

void EntryPage::InsertAt(long row) {
  row = std::clamp<long>(row, 1, Count() + 1);
  rows_.insert(rows_.begin() + (row - 1), EntryRow(layout_));
  Joined(static_cast<std::size_t>(row - 1));
}

void EntryPage::Erase(long row) {
  rows_[static_cast<std::size_t>(row - 1)].cells->Detach();
  rows_.erase(rows_.begin() + (row - 1));
  if (log_) log_->Erased(grid_, row);
  Renumber(static_cast<std::size_t>(row - 1));
}

void EntryPage::RemoveAll() {
  for (auto& row : rows_) row.cells->Detach();
  rows_.clear();
  if (log_) log_->AllRows(grid_);
}

}  // namespace zov::sim
