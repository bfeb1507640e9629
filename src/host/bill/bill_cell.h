// One cell of the bill data: the stored value ("FFLD"), the base-data number ("FFND"), the display
// text ("FDSP") and the modified flag ("FModify"), with room for whatever else a plug-in keeps
// there. To a plug-in it is a dictionary like any other, keys in insertion order. A bill of a
// thousand rows holds some sixty thousand cells, so the four items every cell has live inline, and
// the cells of one row live side by side in their row (CellRow), which they keep alive: reading a
// row's cells in field order walks one block of memory instead of sixty scattered ones.
#pragma once

#include <array>
#include <cstdint>

#include "com/dictionary.h"

namespace zov::sim {

class CellRow;

class BillCell final : public vb::Implements<host::IDictionary> {
 public:
  // Asked for by the host only, to tell its own cells from a dictionary a plug-in put in their
  // place.
  static constexpr vb::Guid IID = vb::Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D7C}");
  void* QueryInterface(const vb::Guid& iid) override {
    if (iid != IID) return Implements::QueryInterface(iid);
    AddRef();
    return this;
  }
  // A cell counts its references on its row.
  std::uint32_t AddRef() override;
  std::uint32_t Release() override;

  std::string TypeName() const override { return "Dictionary"; }
  Variant Item(const Variant& key) const override;
  void SetItem(const Variant& key, const Variant& value) override;
  bool Lookup(const Variant& key) const override;
  void Add(const Variant& key, const Variant& value) override;
  void Remove(const Variant& key) override;
  void RemoveAll() override;
  long Count() const override;
  std::vector<Variant> Keys() const override;

  // The host's own access to the standard items, without building a key.
  enum Part : std::uint8_t { kValue, kNumber, kDisplay, kModify, kParts };
  const Variant& Get(Part part) const { return parts_[part]; }
  // Sets a standard item; a change of what the cell shows is reported to its row.
  void Set(Part part, Variant value);
  // Whether the value changed since the host last read or stored the bill (a save writes only
  // what changed, and leaves columns others updated meanwhile as they are).
  bool written() const { return written_; }
  void ClearWritten() { written_ = false; }
  // Whether what the cell shows (its value, number, text or lock) changed since a view last
  // showed it; the view clears it through the row.
  bool unseen() const { return unseen_; }

 private:
  friend class CellRow;
  BillCell() = default;
  // The four standard items only: `empty` as the value, blank texts, unmodified.
  void Reset(const Variant& empty);
  // The standard item a key names, or kParts.
  static Part PartOf(const Variant& key);

  // The cell's value, number or text changed: marks it written (the value) and unseen.
  void Changed(Part part);

  CellRow* owner_ = nullptr;  // the row holding the cell
  std::array<Variant, kParts> parts_;
  std::uint8_t present_ = 0;  // one bit per standard item
  bool written_ = false;
  bool unseen_ = false;
  Ref<Dictionary> extra_;  // any other items, in their insertion order, after the standard ones
};

}  // namespace zov::sim
