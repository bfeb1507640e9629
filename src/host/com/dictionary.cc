#include "com/dictionary.h"

#include "zov/vb/convert.h"
#include "zov/vb/error.h"

namespace zov::sim {

Dictionary::KeyForm Dictionary::FormOf(const Variant& key) {
  KeyForm form;
  if (key.IsNumber() || key.Type() == vb::VarType::Date) {
    form.numeric = true;
    form.number = key.Type() == vb::VarType::Date ? key.AsDate().serial : vb::CDbl(key);
  } else if (key.IsString()) {
    form.text = key.AsString();
  } else if (key.IsEmpty()) {
    form.text = {};
  } else {
    throw vb::Error(vb::kErrTypeMismatch, "Type mismatch", "QBX.Dictionary");
  }
  return form;
}

Variant Dictionary::Item(const Variant& key) const {
  auto it = index_.find(FormOf(key));
  return it == index_.end() ? Variant{} : slots_[it->second].value;
}

void Dictionary::SetItem(const Variant& key, const Variant& value) {
  auto form = FormOf(key);
  auto it = index_.find(form);
  if (it != index_.end()) {
    slots_[it->second].value = value;
    return;
  }
  index_.emplace(std::move(form), slots_.size());
  slots_.push_back({key, value, true});
  ++live_;
}

bool Dictionary::Lookup(const Variant& key) const { return index_.count(FormOf(key)) > 0; }

void Dictionary::Add(const Variant& key, const Variant& value) {
  if (Lookup(key))
    throw vb::Error(vb::kErrKeyAlreadyExists, "This key is already associated with an element of this collection",
                    "QBX.Dictionary");
  SetItem(key, value);
}

void Dictionary::Remove(const Variant& key) {
  auto it = index_.find(FormOf(key));
  if (it == index_.end()) return;
  slots_[it->second].live = false;
  slots_[it->second].value = Variant{};
  index_.erase(it);
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
  index_.clear();
  for (auto& slot : slots_) {
    if (!slot.live) continue;
    index_.emplace(FormOf(slot.key), kept.size());
    kept.push_back(std::move(slot));
  }
  slots_ = std::move(kept);
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
