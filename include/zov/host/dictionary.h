// The host's dictionary component ("QBX.Dictionary"): the container of field descriptors, data
// cells, bill data pages, bill-information records and the process-wide property bag.
#pragma once

#include <vector>

#include "zov/vb/variant.h"

namespace zov::host {

using vb::Guid;
using vb::Ref;
using vb::Variant;

class IDictionary : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D01}");

  // The item under `key`, or Empty when there is none (reading never adds a key). Text keys
  // compare exactly; a number key matches the same number of any numeric kind.
  virtual Variant Item(const Variant& key) const = 0;
  // Stores `value` under `key`, replacing an existing item or appending a new key at the end.
  virtual void SetItem(const Variant& key, const Variant& value) = 0;
  // True when `key` is present.
  virtual bool Lookup(const Variant& key) const = 0;
  // Adds a new key; raises Error 457 when the key is already present.
  virtual void Add(const Variant& key, const Variant& value) = 0;
  // Removes `key`; nothing happens when it is absent. An entry page of the bill data renumbers
  // the rows after the removed one.
  virtual void Remove(const Variant& key) = 0;
  // Removes every item.
  virtual void RemoveAll() = 0;
  // The number of items.
  virtual long Count() const = 0;
  // The keys in insertion order.
  virtual std::vector<Variant> Keys() const = 0;

 protected:
  ~IDictionary() = default;
};

}  // namespace zov::host
