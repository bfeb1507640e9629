#include "bill/bill_cell.h"

#include "bill/cell_row.h"
#include "zov/vb/error.h"

namespace zov::sim {

namespace {
constexpr const char* kPartKeys[] = {"FFLD", "FFND", "FDSP", "FModify"};
}

std::uint32_t BillCell::AddRef() { return owner_->AddRef(); }
std::uint32_t BillCell::Release() { return owner_->Release(); }

void BillCell::Changed(Part part) {
  if (part == kModify) return;  // the modified flag is not shown
  written_ |= part == kValue;
  owner_->NoteCell(*this);
}

void BillCell::Set(Part part, Variant value) {
  parts_[part] = std::move(value);
  present_ |= static_cast<std::uint8_t>(1u << part);
  Changed(part);
}

void BillCell::Reset(const Variant& empty) {
  parts_ = {empty, Variant(""), Variant(""), Variant(0)};
  present_ = (1u << kParts) - 1;
  extra_ = {};
  Changed(kValue);
}

BillCell::Part BillCell::PartOf(const Variant& key) {
  if (key.IsString()) {
    const std::string& text = key.AsString();
    for (std::uint8_t p = 0; p < kParts; ++p)
      if (text == kPartKeys[p]) return static_cast<Part>(p);
  }
  return kParts;
}

Variant BillCell::Item(const Variant& key) const {
  const Part part = PartOf(key);
  if (part != kParts) return (present_ >> part) & 1u ? parts_[part] : Variant{};
  return extra_ ? extra_->Item(key) : Variant{};
}

void BillCell::SetItem(const Variant& key, const Variant& value) {
  const Part part = PartOf(key);
  if (part != kParts) return Set(part, value);
  if (!extra_) extra_ = Dictionary::New();
  extra_->SetItem(key, value);
}

bool BillCell::Lookup(const Variant& key) const {
  const Part part = PartOf(key);
  if (part != kParts) return (present_ >> part) & 1u;
  return extra_ && extra_->Lookup(key);
}

void BillCell::Add(const Variant& key, const Variant& value) { AddNew(*this, key, value); }

void BillCell::Remove(const Variant& key) {
  const Part part = PartOf(key);
  if (part == kParts) {
    if (extra_) extra_->Remove(key);
    return;
  }
  parts_[part] = Variant{};
  present_ &= static_cast<std::uint8_t>(~(1u << part));
  Changed(part);
}

void BillCell::RemoveAll() {
  parts_ = {};
  present_ = 0;
  extra_ = {};
  Changed(kValue);
}

long BillCell::Count() const {
  long n = extra_ ? extra_->Count() : 0;
  for (std::uint8_t p = 0; p < kParts; ++p) n += (present_ >> p) & 1u;
  return n;
}

std::vector<Variant> BillCell::Keys() const {
  std::vector<Variant> keys;
  for (std::uint8_t p = 0; p < kParts; ++p)
    if ((present_ >> p) & 1u) keys.emplace_back(kPartKeys[p]);
  if (extra_)
    for (auto& k : extra_->Keys()) keys.push_back(std::move(k));
  return keys;
}

}  // namespace zov::sim
