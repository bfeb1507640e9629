#include "bill/cell_row.h"

#include "zov/vb/error.h"

namespace zov::sim {

CellRow::CellRow(std::shared_ptr<const CellLayout> layout)
    : layout_(std::move(layout)),
      cells_(new BillCell[layout_->keys.size()]),
      state_(layout_->keys.size(), kAbsent) {
  for (std::size_t i = 0; i < layout_->keys.size(); ++i) cells_[i].owner_ = this;
}

int CellRow::SlotOf(std::string_view key) const {
  auto it = layout_->slotOf.find(key);
  return it == layout_->slotOf.end() ? -1 : it->second;
}

const Variant* CellRow::ForeignAt(int slot) const {
  if (state_[static_cast<std::size_t>(slot)] != kForeign) return nullptr;
  return &foreign_.at(slot);
}

void CellRow::SetState(std::size_t at, State state) {
  cells_[at].written_ = true;
  NoteCell(cells_[at]);
  if (state_[at] == kForeign && state != kForeign) foreign_.erase(static_cast<int>(at));
  count_ += (state != kAbsent) - (state_[at] != kAbsent);
  state_[at] = state;
}

BillCell& CellRow::MakeCell(int slot, const Variant& empty) {
  const auto at = static_cast<std::size_t>(slot);
  cells_[at].Reset(empty);
  SetState(at, kOwn);
  return cells_[at];
}

Variant CellRow::Item(const Variant& key) const {
  const int slot = key.IsString() ? SlotOf(key.AsString()) : -1;
  if (slot < 0) return extra_ ? extra_->Item(key) : Variant{};
  switch (state_[static_cast<std::size_t>(slot)]) {
    case kOwn:
      return Variant(Ref<host::IDictionary>(&cells_[static_cast<std::size_t>(slot)]));
    case kForeign:
      return foreign_.at(slot);
    case kAbsent:
      break;
  }
  return Variant{};
}

void CellRow::SetItem(const Variant& key, const Variant& value) {
  const int slot = key.IsString() ? SlotOf(key.AsString()) : -1;
  if (slot < 0) {
    if (!extra_) extra_ = Dictionary::New();
    extra_->SetItem(key, value);
    return;
  }
  const auto at = static_cast<std::size_t>(slot);
  // The row's own cell put back in its place stays what it is.
  if (auto cell = value.ObjectAs<BillCell>(); cell && cell.get() == &cells_[at])
    return SetState(at, kOwn);
  foreign_[slot] = value;
  SetState(at, kForeign);
}

bool CellRow::Lookup(const Variant& key) const {
  const int slot = key.IsString() ? SlotOf(key.AsString()) : -1;
  if (slot >= 0) return state_[static_cast<std::size_t>(slot)] != kAbsent;
  return extra_ && extra_->Lookup(key);
}

void CellRow::Add(const Variant& key, const Variant& value) { AddNew(*this, key, value); }

void CellRow::Remove(const Variant& key) {
  const int slot = key.IsString() ? SlotOf(key.AsString()) : -1;
  if (slot >= 0) return SetState(static_cast<std::size_t>(slot), kAbsent);
  if (extra_) extra_->Remove(key);
}

bool CellRow::AnyWritten() const {
  for (std::size_t i = 0; i < state_.size(); ++i)
    if (cells_[i].written_) return true;
  return false;
}

void CellRow::ClearWritten() {
  for (std::size_t i = 0; i < state_.size(); ++i) cells_[i].written_ = false;
}

void CellRow::RemoveAll() {
  for (std::size_t i = 0; i < state_.size(); ++i) cells_[i].written_ = cells_[i].unseen_ = true;
  Report();
  state_.assign(state_.size(), kAbsent);
  foreign_.clear();
  count_ = 0;
  extra_ = {};
}

void CellRow::Attach(std::shared_ptr<FormChanges> log, int grid) {
  log_ = std::move(log);
  grid_ = grid;
  reported_ = 0;
}

void CellRow::Detach() {
  log_.reset();
  number_ = 0;
}

void CellRow::MarkSeen() {
  whole_ = false;
  for (std::size_t i = 0; i < state_.size(); ++i) cells_[i].unseen_ = false;
}

long CellRow::Count() const { return count_ + (extra_ ? extra_->Count() : 0); }

std::vector<Variant> CellRow::Keys() const {
  std::vector<Variant> keys;
  keys.reserve(static_cast<std::size_t>(Count()));
  for (std::size_t i = 0; i < state_.size(); ++i)
    if (state_[i] != kAbsent) keys.emplace_back(layout_->keys[i]);
  if (extra_)
    for (auto& k : extra_->Keys()) keys.push_back(std::move(k));
  return keys;
}

}  // namespace zov::sim
