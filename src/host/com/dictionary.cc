#include "com/dictionary.h"

#include "zov/vb/convert.h"
#include "zov/vb/error.h"

namespace zov::sim {

namespace {

bool IsNumericKey(const Variant& key) { return key.IsNumber() || key.Type() == vb::VarType::Date; }

double NumberOf(const Variant& key) {
  return key.Type() == vb::VarType::Date ? key.AsDate().serial : vb::CDbl(key);
}

std::string_view TextOf(const Variant& key) {
  return key.IsString() ? std::string_view(key.AsString()) : std::string_view();
}

// Whether two keys name the same item: texts exactly (Empty as ""), numbers and dates by value.
bool SameKey(const Variant& a, const Variant& b) {
  const bool an = IsNumericKey(a), bn = IsNumericKey(b);
  if (an || bn) return an && bn && NumberOf(a) == NumberOf(b);
  return TextOf(a) == TextOf(b);
}

}  // namespace

void Dictionary::CheckKey(const Variant& key) {
  if (!key.IsString() && !key.IsEmpty() && !IsNumericKey(key))
    throw vb::Error(vb::kErrTypeMismatch, "Type mismatch", "QBX.Dictionary");
}

std::size_t Dictionary::HashOf(const Variant& key) {
  if (IsNumericKey(key)) {
    const double n = NumberOf(key);
    return std::hash<double>()(n == 0 ? 0.0 : n);  // -0 and 0 are one key
  }
  return HashOf(TextOf(key));
}

template <class Key, class Same>
long Dictionary::Find(const Key& key, Same same) const {
  if (index_.empty()) {
    for (std::size_t i = 0; i < slots_.size(); ++i)
      if (slots_[i].live && same(slots_[i].key, key)) return static_cast<long>(i);
    return -1;
  }
  const std::size_t mask = index_.size() - 1;
  for (std::size_t at = HashOf(key) & mask;; at = (at + 1) & mask) {
    const std::uint32_t slot = index_[at];
    if (slot == kNoSlot) return -1;
    // A removed item keeps its place in the index until the next compaction; it matches nothing.
    if (slots_[slot].live && same(slots_[slot].key, key)) return static_cast<long>(slot);
  }
}

long Dictionary::Find(const Variant& key) const {
  CheckKey(key);
  return Find(key, SameKey);
}

void Dictionary::Index(std::size_t slot) {
  const std::size_t mask = index_.size() - 1;
  std::size_t at = HashOf(slots_[slot].key) & mask;
  while (index_[at] != kNoSlot) at = (at + 1) & mask;
  index_[at] = static_cast<std::uint32_t>(slot);
}

void Dictionary::BuildIndex() {
  std::size_t size = 32;
  while (size < slots_.size() * 2) size *= 2;
  index_.assign(size, kNoSlot);
  for (std::size_t i = 0; i < slots_.size(); ++i) Index(i);
}

Variant Dictionary::Item(const Variant& key) const {
  const long at = Find(key);
  return at < 0 ? Variant{} : slots_[static_cast<std::size_t>(at)].value;
}

void Dictionary::SetItem(const Variant& key, const Variant& value) {
  const long at = Find(key);
  if (at >= 0) {
    slots_[static_cast<std::size_t>(at)].value = value;
    return;
  }
  slots_.push_back({key, value, true});
  ++live_;
  if (index_.empty() ? slots_.size() >= kIndexFrom : slots_.size() * 2 > index_.size())
    BuildIndex();
  else if (!index_.empty())
    Index(slots_.size() - 1);
}

bool Dictionary::Lookup(const Variant& key) const { return Find(key) >= 0; }

void AddNew(IDictionary& dict, const Variant& key, const Variant& value) {
  if (dict.Lookup(key))
    throw vb::Error(vb::kErrKeyAlreadyExists,
                    "This key is already associated with an element of this collection",
                    "QBX.Dictionary");
  dict.SetItem(key, value);
}

void Dictionary::Add(const Variant& key, const Variant& value) { AddNew(*this, key, value); }

void Dictionary::Remove(const Variant& key) {
  const long at = Find(key);
  if (at < 0) return;
  slots_[static_cast<std::size_t>(at)].live = false;
  slots_[static_cast<std::size_t>(at)].value = Variant{};
  --live_;
  if (slots_.size() > 32 && live_ * 2 < slots_.size()) Compact();
}

void Dictionary::RemoveAll() {
  slots_.clear();
  index_.clear();
  live_ = 0;
}

void Dictionary::Compact() {
  std::vector<Slot> kept;
  kept.reserve(live_);
  for (auto& slot : slots_)
    if (slot.live) kept.push_back(std::move(slot));
  slots_ = std::move(kept);
  index_.clear();
  if (slots_.size() >= kIndexFrom) BuildIndex();
}

std::vector<Variant> Dictionary::Keys() const {
  std::vector<Variant> keys;
  keys.reserve(live_);
  for (const auto& slot : slots_)
    if (slot.live) keys.push_back(slot.key);
  return keys;
}

std::vector<Variant> Dictionary::Items() const {
  std::vector<Variant> items;
  items.reserve(live_);
  for (const auto& slot : slots_)
    if (slot.live) items.push_back(slot.value);
  return items;
}

}  // namespace zov::sim
