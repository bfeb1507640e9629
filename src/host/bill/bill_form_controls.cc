// The controls of a bill form: the entry grid, an edit control per header field that has one,
// and what a plug-in adds (command buttons, picture boxes); the events a person's clicks and key
// presses raise on them, and the painting of picture boxes.
#include "bill/bill_form.h"
#include "bill/form_parts.h"
#include "zov/vb/convert.h"
#include "zov/vb/error.h"
#include "zov/vb/strings.h"

namespace zov::sim {

namespace {

bool Is(std::string_view a, std::string_view b) {
  return vb::StrComp(a, b, vb::CompareMethod::Text) == 0;
}

bool Flag(const FormControl& control, std::string_view property, bool otherwise) {
  try {
    const Variant v = control.Property(property);
    return v.IsEmpty() || v.IsNull() ? otherwise : vb::CBool(v);
  } catch (const vb::Error&) {
    return otherwise;
  }
}

}  // namespace

void BillForm::BuildControls() {
  // The entry grid, and an edit control per header field that has one (base-data fields and the
  // fields the template gives one); its tag is the field's page and key, as the host's forms tag
  // them.
  auto grid = Ref<FormControl>::Adopt(new FormControl("fpSpread", "grid", 0));
  grid->SetOwner(this);
  grid->SetProperty("Left", 120);
  grid->SetProperty("Top", 2400);
  grid->SetProperty("Width", 20000);
  grid->SetProperty("Height", 5200);
  grid->SetProperty("Visible", true);
  grid->SetProperty("MaxCols",
                    static_cast<long>(tmpl_->grids.empty() ? 0 : tmpl_->grids[0].size()));
  grid->SetProperty("ActiveRow", 1);
  grid->SetProperty("ActiveCol", 0);
  grid->SetProperty("Tag", "");
  controls_.push_back(grid);
  for (const auto& f : tmpl_->head) {
    if (f.control != "EditPlus") continue;
    auto edit = Ref<FormControl>::Adopt(
        f.controlName.empty()
            ? new FormControl("EditPlus", "EditPlus", static_cast<long>(controls_.size()))
            : new FormControl("EditPlus", f.controlName, 0));
    edit->SetProperty("Tag", "Page1." + f.key);
    edit->SetProperty("Postfix", "");
    edit->SetProperty("Visible", true);
    edit->SetProperty("Text", "");
    controls_.push_back(edit);
  }
  ForgetChosenRecords();
}

void BillForm::ForgetChosenRecords() {
  for (const auto& f : tmpl_->head) {
    if (f.records.empty()) continue;
    if (auto edit = EditControl(f.key)) {
      edit->SetProperty("RecordID", 0L);
      edit->SetProperty("RecordKind", "");
    }
  }
}

const FieldDef* BillForm::FieldOfControl(const FormControl& control) const {
  if (control.TypeName() != "EditPlus") return nullptr;
  const std::string tag = vb::CStr(control.Property("Tag"));
  if (tag.rfind("Page1.", 0) != 0) return nullptr;
  const FieldDef* f = tmpl_->Find(tag.substr(6));
  return f && f->grid == 0 ? f : nullptr;
}

std::vector<BillForm::ControlRecord> BillForm::ControlRecords(std::string_view name) {
  std::vector<ControlRecord> records;
  auto control = FindControl(name);
  const FieldDef* f = control ? FieldOfControl(*control) : nullptr;
  if (!f || f->records != "receiveAddress" || !tmpl_->Find("FCustID")) return records;
  const Variant customer = Value("FCustID");
  const long id = customer.IsNumber()   ? vb::CLng(customer)
                  : customer.IsString() ? static_cast<long>(vb::Val(customer.AsString()))
                                        : 0;
  if (id <= 0) return records;
  const std::string owner = std::to_string(id);
  auto collect = [&](const char* kind, const std::string& sql) {
    const auto sets = services_.Run(sql);
    if (sets.empty()) return;
    for (const auto& r : sets[0].rows)
      records.push_back({kind, r[0].IsNull() ? 0 : vb::CLng(r[0]),
                         r[1].IsNull() ? std::string() : vb::CStr(r[1]),
                         r[2].IsNull() ? std::string() : vb::CStr(r[2])});
  };
  collect("Contact", "SELECT FID, FContact, FAddress FROM t_Contact WHERE FItemID=" + owner +
                         " ORDER BY FIsFirst DESC, FID");
  collect("DeliveryAddress",
          "SELECT FID, FNumber, FName FROM t_SubMessage WHERE FTypeID=66 AND "
          "FItemID=" +
              owner + " ORDER BY FNumber, FID");
  return records;
}

bool BillForm::ChooseRecord(std::string_view name, std::string_view kind, long id) {
  lastCancelled_ = false;
  auto control = FindControl(name);
  const FieldDef* f = control ? FieldOfControl(*control) : nullptr;
  if (!f) return Refuse();
  for (const ControlRecord& r : ControlRecords(name)) {
    if (r.kind != kind || r.id != id) continue;
    // The record's text goes in as the person would type it; the control remembers the record
    // only when the field took it.
    if (!Edit(f->key, -1, Variant(r.text))) return false;
    control->SetProperty("RecordID", r.id);
    control->SetProperty("RecordKind", r.kind);
    return true;
  }
  return Refuse();
}

long BillForm::ColumnWidth(const FieldDef& field) {
  // Twips (15 to the pixel), as wide as the browser host draws the column.
  switch (field.type) {
    case FieldType::Base:
      return 1950;
    case FieldType::Number:
      return 1440;
    case FieldType::Date:
      return 1500;
    case FieldType::Time:
      return 1350;
    case FieldType::Check:
      return 840;
    case FieldType::Text:
      break;
  }
  return 1800;
}

const FieldDef* BillForm::GridField(long col) const {
  if (tmpl_->grids.empty() || col < 1 || col > static_cast<long>(tmpl_->grids[0].size()))
    return nullptr;
  return &tmpl_->grids[0][static_cast<std::size_t>(col - 1)];
}

void BillForm::MoveCursor(std::string_view key, long row) {
  activeKey_ = key;
  activeRow_ = row;
  // The entry grid's active cell follows a cursor in its rows.
  if (controls_.empty()) return;
  FormControl& grid = *controls_.front();
  long col = 0;
  if (const FieldDef* f = tmpl_->FindAt(key, row); f && f->grid == 1)
    for (std::size_t i = 0; i < tmpl_->grids[0].size(); ++i)
      if (&tmpl_->grids[0][i] == f) col = static_cast<long>(i + 1);
  grid.SetProperty("ActiveCol", col);
  if (row >= 1) grid.SetProperty("ActiveRow", row);
}

Ref<FormControl> BillForm::FindControl(std::string_view name) const {
  for (const auto& c : controls_)
    if (Is(c->Name(), name)) return c;
  return EditControl(name);
}

Ref<FormControl> BillForm::EditControl(std::string_view key) const {
  const FieldDef* f = tmpl_->Find(key);
  if (!f || f->grid != 0) return {};
  const std::string tag = "Page1." + f->key;
  for (const auto& c : controls_)
    if (c->TypeName() == "EditPlus" && vb::CStr(c->Property("Tag")) == tag) return c;
  return {};
}

Ref<FormControl> BillForm::PostfixButton(std::string_view key) const {
  auto edit = EditControl(key);
  if (!edit) return {};
  const std::string name = vb::CStr(edit->Property("Postfix"));
  if (vb::Trim(name).empty()) return {};
  for (const auto& c : controls_)
    if (c->TypeName() == "CommandButton" && Is(c->Name(), name)) return c;
  return {};
}

bool BillForm::RaiseControl(FormControl& control, std::string_view event,
                            std::vector<Variant>& params) {
  const std::string where = "Control." + control.Name() + "." + std::string(event);
  try {
    params = control.Fire(event, std::move(params));
    return true;
  } catch (const vb::Error& e) {
    services_.JournalException(where,
                               "error " + std::to_string(e.number()) + ": " + e.description() +
                                   (e.source().empty() ? std::string() : " (" + e.source() + ")"));
  } catch (const std::exception& e) {
    services_.JournalException(where, e.what());
  }
  return false;
}

bool BillForm::FireControlEvent(std::string_view name, std::string_view event,
                                std::vector<Variant>& params) {
  auto control = FindControl(name);
  if (!control) return false;
  if (Is(event, "Paint")) control->BeginPaint();
  return RaiseControl(*control, event, params);
}

bool BillForm::ClickControl(std::string_view name) {
  lastCancelled_ = false;
  auto control = FindControl(name);
  if (!control || control->TypeName() != "CommandButton" || !Flag(*control, "Visible", false) ||
      !Flag(*control, "Enabled", true))
    return Refuse();
  for (const auto& f : tmpl_->head) {
    if (f.control != "EditPlus" || PostfixButton(f.key) != control) continue;
    if (ReadOnly() || IsCellLocked(f, -1) || !BeginEditIfViewing()) return Refuse();
    MoveCursor(f.key, -1);
    break;
  }
  std::vector<Variant> none;
  if (!RaiseControl(*control, "Click", none)) return Refuse();
  return !lastCancelled_;
}

void BillForm::PaintControls() {
  // A copy: a paint handler may add controls.
  const auto controls = controls_;
  for (const auto& c : controls) {
    if (c->TypeName() != "PictureBox" || !c->needsPaint() || !Flag(*c, "Visible", false)) continue;
    c->BeginPaint();
    std::vector<Variant> none;
    RaiseControl(*c, "Paint", none);
  }
}

bool BillForm::PressKeys(const FieldDef& field, std::string& typed) {
  auto edit = EditControl(field.key);
  if (!edit || !edit->HasSinks()) return true;
  std::string kept;
  for (const vb::Utf8Char& ch : vb::Utf8Chars(typed)) {
    std::vector<Variant> params{Variant(static_cast<long>(ch.code))};
    if (!RaiseControl(*edit, "KeyPress", params)) return false;
    const long key = params.empty() ? 0 : vb::CLng(params[0]);
    if (key == static_cast<long>(ch.code))
      kept += ch.bytes;
    else if (key > 0 && key <= 0x10FFFF)
      kept += vb::EncodeUtf8(static_cast<char32_t>(key));
  }
  typed = std::move(kept);
  return true;
}

}  // namespace zov::sim
