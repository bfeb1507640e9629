// The host's dictionary component ("QBX.Dictionary"): keys in insertion order, looked up in
// place while small and by hash once large. Text keys compare exactly; numeric keys compare by
// value whatever their kind, so a row number stored as Long is found with a Double.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "zov/host/dictionary.h"

namespace zov::sim {

using host::IDictionary;
using vb::Ref;
using vb::Variant;

class Dictionary : public vb::Implements<IDictionary> {
 public:
  static Ref<Dictionary> New() { return Ref<Dictionary>::Adopt(new Dictionary); }

  std::string TypeName() const override { return "Dictionary"; }
  Variant Item(const Variant& key) const override;
  void SetItem(const Variant& key, const Variant& value) override;
  bool Lookup(const Variant& key) const override;
  void Add(const Variant& key, const Variant& value) override;
  void Remove(const Variant& key) override;
  void RemoveAll() override;
  long Count() const override { return static_cast<long>(live_); }
  std::vector<Variant> Keys() const override;

  // The values in key order.
  std::vector<Variant> Items() const;

 protected:
  Dictionary() = default;

 private:
  // A key's place in the index: numbers (and dates) by value, text (and Empty, as "") by text.
  static std::size_t HashOf(const Variant& key);
  static std::size_t HashOf(std::string_view text) { return std::hash<std::string_view>()(text); }
  static void CheckKey(const Variant& key);
  void Compact();
  // The slot of `key`, or -1. Small dictionaries (cells have four or five items) are searched in
  // place; larger ones through an open-addressed index of slot numbers, built once they reach
  // kIndexFrom items, so that a row of many cells costs no allocation per key.
  template <class Key, class Same>
  long Find(const Key& key, Same same) const;
  long Find(const Variant& key) const;
  void Index(std::size_t slot);
  void BuildIndex();
  static constexpr std::size_t kIndexFrom = 12;
  static constexpr std::uint32_t kNoSlot = 0xFFFFFFFFu;

  struct Slot {
    Variant key;
    Variant value;
    bool live = true;
  };
  std::vector<Slot> slots_;
  std::vector<std::uint32_t> index_;  // empty, or a power of two at least twice slots_.size()
  std::size_t live_ = 0;
};

// Add as every dictionary of the host does it: `key` must be new, else Error 457.
void AddNew(IDictionary& dict, const Variant& key, const Variant& value);

}  // namespace zov::sim
