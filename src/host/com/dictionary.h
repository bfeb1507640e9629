// The host's dictionary component ("QBX.Dictionary"): keys in insertion order, looked up by
// hash. Text keys compare exactly; numeric keys compare by value whatever their kind, so a row
// number stored as Long is found with a Double.
#pragma once

#include <functional>
#include <unordered_map>
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
  // The lookup form of a key: numbers as doubles, text as text.
  struct KeyForm {
    bool numeric = false;
    double number = 0;
    std::string text;
    bool operator==(const KeyForm& o) const {
      return numeric == o.numeric && (numeric ? number == o.number : text == o.text);
    }
  };
  struct KeyHash {
    std::size_t operator()(const KeyForm& k) const {
      return k.numeric ? std::hash<double>()(k.number) : std::hash<std::string>()(k.text);
    }
  };
  static KeyForm FormOf(const Variant& key);
  void Compact();

  struct Slot {
    Variant key;
    Variant value;
    bool live = true;
  };
  std::vector<Slot> slots_;
  std::unordered_map<KeyForm, std::size_t, KeyHash> index_;
  std::size_t live_ = 0;
};

}  // namespace zov::sim
