#include "bill/form_parts.h"

#include "zov/vb/convert.h"
#include "zov/vb/error.h"
#include "zov/vb/strings.h"

namespace zov::sim {

namespace {

constexpr int kErrNoSuchProperty = 438;

[[noreturn]] void NoField(std::string_view key) {
  throw vb::Error(5, "Invalid procedure call or argument: no field " + std::string(key),
                  "BillEvent");
}

const FieldDef& FieldOrRaise(BillForm& form, const Ref<host::IDictionary>& info, long row) {
  const FieldDef* f = form.FieldOf(info, row);
  if (!f) NoField(info ? vb::CStr(info->Item("FKey")) : std::string("(nothing)"));
  return *f;
}

bool Is(std::string_view a, std::string_view b) {
  return vb::StrComp(a, b, vb::CompareMethod::Text) == 0;
}

}  // namespace

// --- bill control --------------------------------------------------------------------------------

void BillCtl::LockCell(const Ref<host::IDictionary>& fieldInfo, long row, bool lock) {
  form_->LockCell(FieldOrRaise(*form_, fieldInfo, row), row, lock);
}

void BillCtl::DoAction(const Ref<host::IDictionary>& fieldInfo, const Ref<host::IDictionary>& cell,
                       long row) {
  const FieldDef& field = FieldOrRaise(*form_, fieldInfo, row);
  // The caller stored the value into the cell already; the chain runs on what it holds.
  (void)cell;
  form_->RunChain(field, row, Variant{});
}

bool BillCtl::IsFieldLockRunTime(const Ref<host::IDictionary>& fieldInfo, long row) {
  return form_->IsCellLocked(FieldOrRaise(*form_, fieldInfo, row), row);
}

// --- grids
// ----------------------------------------------------------------------------------------

Ref<host::IQORField> BillGrid::QORFields(std::string_view key) {
  const FieldDef* f = form_->tmpl().FindAt(key, grid_ == 0 ? -1 : 1);
  if (f && f->grid != grid_) f = nullptr;
  if (!f) NoField(key);
  return vb::MakeRef<host::IQORField, GridColumn>(form_, *f);
}

Ref<host::IRecordset> Q7Lib::Getdata(std::string_view sql) {
  auto sets = services_.Run(sql);
  return Recordset::New(sets.empty() ? RecordData{} : std::move(sets.front()));
}

// --- controls
// -------------------------------------------------------------------------------------

Variant FormControl::Property(std::string_view name) const {
  if (Is(name, "Name")) return name_;
  if (Is(name, "Index")) return index_;
  for (const auto& [k, v] : props_)
    if (Is(k, name)) return v;
  throw vb::Error(kErrNoSuchProperty, "Object doesn't support this property or method", typeName_);
}

void FormControl::SetProperty(std::string_view name, const Variant& value) {
  // What changes where or whether the control shows makes it paint again.
  for (const char* geometry : {"Visible", "Left", "Top", "Width", "Height"})
    if (Is(name, geometry)) needsPaint_ = true;
  for (auto& [k, v] : props_)
    if (Is(k, name)) {
      v = value;
      return;
    }
  props_.emplace(std::string(name), value);
}

Variant FormControl::Invoke(std::string_view method, std::vector<Variant>& args) {
  // The grid's column methods take the 1-based column.
  auto column = [&]() -> const FieldDef* {
    const long col = args.empty() ? 0 : vb::CLng(args[0]);
    return owner_ ? owner_->GridField(col) : nullptr;
  };
  if (Is(method, "ColWidth")) {
    auto it = colWidths.find(args.empty() ? 0 : vb::CLng(args[0]));
    if (it != colWidths.end()) return it->second;
    const FieldDef* f = column();
    return f ? BillForm::ColumnWidth(*f) : 1200L;
  }
  if (Is(method, "ColHidden")) {
    const FieldDef* f = column();
    return !f || !owner_->IsVisible(f->key);
  }
  if (Is(method, "ColID")) {
    const FieldDef* f = column();
    return f ? f->key : std::string();
  }
  if (Is(method, "Print")) {
    printed_.push_back(args.empty() ? std::string() : vb::CStr(args[0]));
    return {};
  }
  if (Is(method, "Cls")) {
    printed_.clear();
    return {};
  }
  if (Is(method, "Refresh")) {
    needsPaint_ = true;
    calls.emplace_back(method);
    return {};
  }
  if (Is(method, "SetFocus") || Is(method, "ZOrder") || Is(method, "SetImportDataFlag")) {
    calls.emplace_back(method);
    return {};
  }
  throw vb::Error(kErrNoSuchProperty,
                  "Object doesn't support this property or method: " + std::string(method),
                  typeName_);
}

long FormControl::Advise(const Ref<host::IControlEvents>& sink) {
  sinks_.emplace_back(nextCookie_, sink);
  return nextCookie_++;
}

void FormControl::Unadvise(long cookie) {
  std::erase_if(sinks_, [cookie](const auto& s) { return s.first == cookie; });
}

std::vector<Variant> FormControl::Fire(std::string_view event, std::vector<Variant> params) {
  auto sinks = sinks_;  // a handler may disconnect itself
  for (auto& [cookie, sink] : sinks) sink->OnEvent(Ref<host::IControl>(this), event, params);
  return params;
}

Ref<host::IControl> FormControls::Item(long index) const {
  if (index < 0 || index >= Count()) throw vb::Error(9, "Subscript out of range", "Controls");
  return controls_[static_cast<std::size_t>(index)];
}

Ref<host::IControl> FormControls::Find(std::string_view name) const {
  for (const auto& c : controls_)
    if (Is(c->Name(), name)) return c;
  return {};
}

Ref<host::IControl> FormControls::Add(std::string_view progId, std::string_view name) {
  if (Find(name))
    throw vb::Error(727, "There is already a control with the name '" + std::string(name) + "'",
                    "Controls");
  std::string type(progId);
  if (auto dot = type.rfind('.'); dot != std::string::npos) type = type.substr(dot + 1);
  auto control = Ref<FormControl>::Adopt(new FormControl(type, std::string(name)));
  control->SetProperty("Visible", false);
  control->SetProperty("Left", 0);
  control->SetProperty("Top", 0);
  control->SetProperty("Width", 1200);
  control->SetProperty("Height", 360);
  control->SetProperty("Caption", "");
  control->SetProperty("Tag", "");
  control->SetProperty("Enabled", true);
  controls_.push_back(control);
  return control;
}

}  // namespace zov::sim
