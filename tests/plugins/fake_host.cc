#include "fake_host.h"

#include "zov/vb/convert.h"

namespace zov::testing {

// --- dictionary ---------------------------------------------------------------------------------

Variant FakeDictionary::Item(const Variant& key) const {
  for (const auto& [k, v] : items_)
    if (k == key) return v;
  return {};
}
void FakeDictionary::SetItem(const Variant& key, const Variant& value) {
  for (auto& [k, v] : items_)
    if (k == key) {
      v = value;
      return;
    }
  items_.emplace_back(key, value);
}
bool FakeDictionary::Lookup(const Variant& key) const {
  for (const auto& item : items_)
    if (item.first == key) return true;
  return false;
}
void FakeDictionary::Add(const Variant& key, const Variant& value) {
  if (Lookup(key)) throw vb::Error(vb::kErrKeyAlreadyExists, "This key is already associated");
  items_.emplace_back(key, value);
}
void FakeDictionary::Remove(const Variant& key) {
  std::erase_if(items_, [&](const auto& item) { return item.first == key; });
}
std::vector<Variant> FakeDictionary::Keys() const {
  std::vector<Variant> keys;
  for (const auto& item : items_) keys.push_back(item.first);
  return keys;
}
Ref<IDictionary> NewDictionary() { return vb::MakeRef<IDictionary, FakeDictionary>(); }

// --- ui and components
// ----------------------------------------------------------------------------

int FakeUi::MsgBox(std::string_view text, int, std::string_view) {
  messages.emplace_back(text);
  if (answers.empty()) return host::vbOK;
  const int answer = answers.front();
  answers.erase(answers.begin());
  return answer;
}

bool FakeSecurity::AccessCheck(std::string_view props, long group, long object, long right, bool,
                               std::string_view caller) {
  questions.push_back({std::string(props), group, object, right, std::string(caller)});
  return answer;
}

namespace {

// The login cache of a normal login: the shared properties answer every key.
class FakeCache final : public vb::Implements<host::ICacheFacade> {
 public:
  std::string TypeName() const override { return "CacheFacade"; }
  Variant GetItem(long, std::string_view key) override {
    return key == "IsOuterLogin" ? Variant(0) : Variant{};
  }
};

class FakeShareProps final : public vb::Implements<host::IShareProps> {
 public:
  std::string TypeName() const override { return "ShareProps"; }
  Variant GetProperty(long, std::string_view key) override {
    return key == "PropsString" ? Variant("UserID=16394;ConnectString={demo.db};") : Variant{};
  }
};

}  // namespace

FakeHost::FakeHost()
    : ui(Ref<FakeUi>::Adopt(new FakeUi)), security(Ref<FakeSecurity>::Adopt(new FakeSecurity)) {}

Ref<vb::IObject> FakeHost::CreateObject(std::string_view progId) {
  created.emplace_back(progId);
  if (auto it = components.find(progId); it != components.end()) return it->second();
  if (progId == host::progid::kSecurityInfo) return security;
  if (progId == host::progid::kCacheFacade) return vb::MakeRef<vb::IObject, FakeCache>();
  if (progId == host::progid::kShareProps) return vb::MakeRef<vb::IObject, FakeShareProps>();
  if (progId == host::progid::kDictionary) return NewDictionary();
  throw vb::Error(429, "ActiveX component can't create object", std::string(progId));
}

Ref<vb::IObject> FakeHost::LibraryState(std::string_view library) {
  auto it = states_.find(library);
  return it == states_.end() ? Ref<vb::IObject>{} : it->second;
}

void FakeHost::SetLibraryState(std::string_view library, const Ref<vb::IObject>& state) {
  states_[std::string(library)] = state;
}

// --- bill
// -----------------------------------------------------------------------------------------

namespace {

class FakeField final : public vb::Implements<host::IQORField> {
 public:
  FakeField(FakeBill* bill, std::string key) : bill_(bill), key_(std::move(key)) {}
  std::string TypeName() const override { return "QORField"; }
  bool FieldLock() const override { return false; }
  void SetFieldLock(bool) override {}
  bool Visible() const override { return true; }
  void SetVisible(bool visible) override {
    if (!visible) bill_->headerHidden.push_back(key_);
  }
  std::string Caption() const override { return key_; }
  void SetCaption(std::string_view) override {}

 private:
  FakeBill* bill_;
  std::string key_;
};

class FakeGrid final : public vb::Implements<host::IBillGrid> {
 public:
  FakeGrid(FakeBill* bill, long rows) : bill_(bill), rows_(rows) {}
  std::string TypeName() const override { return "BillGrid"; }
  long GridMaxDataRowNum() const override { return rows_; }
  Ref<host::IQORField> QORFields(std::string_view key) override {
    return vb::MakeRef<host::IQORField, FakeField>(bill_, std::string(key));
  }

 private:
  FakeBill* bill_;
  long rows_;
};

}  // namespace

std::string FakeBill::CellKey(std::string_view key, long row) {
  return std::string(key) + "@" + std::to_string(row < 1 ? -1 : row);
}

Variant FakeBill::Cell(std::string_view key, long row) const {
  auto it = cells.find(CellKey(key, row));
  return it == cells.end() ? Variant{} : it->second->Item("FFLD");
}

Variant FakeBill::GetFieldValue(std::string_view key, long row, int) { return Cell(key, row); }

void FakeBill::SetFieldValue(std::string_view key, const Variant& value, long row) {
  auto& cell = cells[CellKey(key, row)];
  if (!cell) cell = NewDictionary();
  cell->SetItem("FFLD", value);
}

Ref<IDictionary> FakeBill::GetFieldInfoByKey(std::string_view key, std::string_view, long) {
  auto info = NewDictionary();
  info->SetItem("FKey", key);
  return info;
}

Ref<IDictionary> FakeBill::GetDataFld(const Ref<IDictionary>& info, long row) {
  return GetDataFldbyKey(vb::CStr(info->Item("FKey")), row);
}

Ref<IDictionary> FakeBill::GetDataFldbyKey(std::string_view key, long row) {
  auto& cell = cells[CellKey(key, row)];
  if (!cell) cell = NewDictionary();
  return cell;
}

double FakeBill::Sum(const Ref<IDictionary>& info) {
  const std::string key = vb::CStr(info->Item("FKey"));
  double total = 0;
  for (long r = 1; r <= rows; ++r) {
    const Variant v = Cell(key, r);
    if (v.IsNumber()) total += vb::CDbl(v);
  }
  return total;
}

Ref<host::IBillGrid> FakeBill::BillEntrys(long) {
  return vb::MakeRef<host::IBillGrid, FakeGrid>(this, rows);
}
Ref<host::IBillGrid> FakeBill::BillHeads() {
  return vb::MakeRef<host::IBillGrid, FakeGrid>(this, 0);
}

void FakeBill::SetBarStatus(std::string_view key, std::string_view property, bool value) {
  bar[std::string(key) + "." + std::string(property)] = value;
}

long FakeBill::Advise(const Ref<host::IBillEventSink>& s) {
  sink = s;
  return 3;
}

void FakeBill::Unadvise(long) {
  sink.reset();
  ++unadvised;
}

}  // namespace zov::testing
