#include "bill/bill_form.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "bill/form_parts.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/error.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::sim {

namespace {

constexpr int kErrInvalidArgument = 5;

[[noreturn]] void UnknownField(std::string_view key) {
  throw vb::Error(kErrInvalidArgument,
                  "Invalid procedure call or argument: no field " + std::string(key), "BillEvent");
}

}  // namespace

Ref<BillForm> BillForm::New(std::shared_ptr<const BillTemplate> tmpl, HostServices& services) {
  return Ref<BillForm>::Adopt(new BillForm(std::move(tmpl), services));
}

namespace {

// The records of the bill class's fields in the class table (ICClassTableInfo), by key and page:
// the internal ID plug-ins read a field's settings by.
std::map<std::pair<std::string, long>, long> ClassTableIds(HostServices& services,
                                                           long classTypeId) {
  std::map<std::pair<std::string, long>, long> ids;
  try {
    const auto sets =
        services.Run("SELECT FID, FKey, FPage FROM ICClassTableInfo WHERE FClassTypeID=" +
                     std::to_string(classTypeId));
    if (!sets.empty())
      for (const auto& r : sets[0].rows)
        if (!r[0].IsNull() && !r[1].IsNull())
          ids[{vb::UCase(vb::CStr(r[1])), r[2].IsNull() ? 1L : vb::CLng(r[2])}] = vb::CLng(r[0]);
  } catch (const std::exception&) {
    // Journaled by the session; the descriptors then carry no record.
  }
  return ids;
}

}  // namespace

BillForm::BillForm(std::shared_ptr<const BillTemplate> tmpl, HostServices& services)
    : tmpl_(std::move(tmpl)), services_(services), bar_(ActiveBar::New()) {
  amountCalcPrice_ = tmpl_->amountCalcPrice;
  title_ = tmpl_->title;
  caption_ = tmpl_->title;
  const auto classTable = ClassTableIds(services_, tmpl_->classTypeId);
  for (const FieldDef* f : tmpl_->AllFields()) {
    auto info = Dictionary::New();
    info->SetItem("FKey", f->key);
    info->SetItem("FFieldName", f->internalKey());
    info->SetItem("FCaption", f->caption);
    info->SetItem("FPage", f->page);
    info->SetItem("FVisible", f->visible);
    info->SetItem("FCtlType", f->grid == 0 ? f->control : std::string("TextBox"));
    info->SetItem("FSourceType", f->type == FieldType::Base ? 1 : 0);
    info->SetItem("FSRCTableName", f->base.table);
    info->SetItem("FSRCFieldName", f->type == FieldType::Base ? f->base.id : std::string());
    // The field's record in the class table (0 when it has none).
    const auto record = classTable.find({vb::UCase(f->key), static_cast<long>(f->page)});
    info->SetItem("FID", record == classTable.end() ? 0L : record->second);
    fieldInfos_.emplace(f, info);
    columns_[f->key] = ColumnState{true, f->locked, f->caption};
  }
  ResetData();
  BuildControls();
}

// The change log holds the rows it lists, and the rows hold the log: the form's end lets go. A
// plug-in may keep a control beyond the form: it no longer answers for the form.
BillForm::~BillForm() {
  for (auto& control : controls_) control->SetOwner(nullptr);
  changes_->Clear();
}

// --- data ---------------------------------------------------------------------------------------

void BillForm::ResetData() {
  auto layout = [&](std::size_t i) {
    return i < tmpl_->layouts.size() ? tmpl_->layouts[i] : std::make_shared<const CellLayout>();
  };
  if (page1_) page1_->Detach();
  page1_ = CellRow::New(layout(0));
  page1_->Attach(changes_, 0);
  for (int g = 0; g < 2; ++g) {
    if (grids_[static_cast<std::size_t>(g)]) grids_[static_cast<std::size_t>(g)]->Detach();
    grids_[static_cast<std::size_t>(g)] =
        EntryPage::New(layout(static_cast<std::size_t>(g + 1)), changes_, g + 1);
    changes_->AllRows(g + 1);
  }
  changes_->Head();
  headerLocked_.clear();
  headerOpened_.clear();
  CreateHeaderCells();
  ForgetChosenRecords();
}

void BillForm::CreateHeaderCells() {
  for (const auto& f : tmpl_->head) Cell(f, -1, true);
}

EntryPage& BillForm::Page(int grid) const { return *grids_[grid == 2 ? 1 : 0]; }

long BillForm::RowCount(int grid) const {
  if (grid == 2 && tmpl_->grids.size() < 2) return 0;
  return Page(grid).Count();
}

Ref<Dictionary> BillForm::FieldInfo(std::string_view key) const {
  const FieldDef* f = tmpl_->Find(key);
  if (!f) return {};
  return fieldInfos_.at(f);
}

const FieldDef* BillForm::FieldOf(const Ref<host::IDictionary>& info, long row) const {
  if (!info) return nullptr;
  return tmpl_->FindAt(vb::CStr(info->Item("FKey")), row);
}

const BillForm::ColumnState& BillForm::Column(const FieldDef& field) { return columns_[field.key]; }

void BillForm::SetColumnLock(const FieldDef& field, bool locked) {
  auto& column = columns_[field.key];
  if (column.locked == locked) return;
  column.locked = locked;
  changes_->Columns();
}

void BillForm::SetColumnVisible(const FieldDef& field, bool visible) {
  auto& column = columns_[field.key];
  if (column.visible == visible) return;
  column.visible = visible;
  changes_->Columns();
}

void BillForm::SetColumnCaption(const FieldDef& field, std::string_view caption) {
  auto& column = columns_[field.key];
  if (column.caption == caption) return;
  column.caption = caption;
  changes_->Columns();
}

Ref<BillCell> BillForm::Cell(const FieldDef& field, long row, bool create) {
  CellRow* cells = nullptr;
  if (field.grid == 0) {
    cells = page1_.get();
  } else {
    EntryRow* r = Page(field.grid).Row(row);
    if (!r) return {};
    cells = r->cells.get();
  }
  if (BillCell* own = cells->CellAt(field.slot)) return Ref<BillCell>(own);
  if (const Variant* other = cells->ForeignAt(field.slot)) {
    if (auto dict = other->ObjectAs<host::IDictionary>()) {
      // A plug-in put a dictionary of its own in the cell's place: the cell takes over its items.
      const auto keys = dict->Keys();
      std::vector<Variant> items;
      for (const auto& k : keys) items.push_back(dict->Item(k));
      BillCell& cell = cells->MakeCell(field.slot, Variant{});
      cell.RemoveAll();
      for (std::size_t i = 0; i < keys.size(); ++i) cell.SetItem(keys[i], items[i]);
      return Ref<BillCell>(&cell);
    }
  }
  if (!create) return {};
  return Ref<BillCell>(
      &cells->MakeCell(field.slot, field.type == FieldType::Check ? Variant(0) : Variant("")));
}

void BillForm::ApplyDefaults(int grid, long row) {
  const auto& fields = grid == 0 ? tmpl_->head : tmpl_->grids[static_cast<std::size_t>(grid - 1)];
  for (const auto& f : fields) {
    if (f.defaultValue.IsEmpty()) continue;
    Variant value = f.defaultValue;
    if (value.IsString() && (value.AsString() == "today" || value.AsString() == "now")) {
      const vb::Date now = services_.Now();
      value = value.AsString() == "today" ? vb::Date{std::floor(now.serial)} : now;
    }
    WriteTyped(f, row, value, false);
  }
}

// --- typed writes -------------------------------------------------------------------------------

BillForm::BaseRecord BillForm::ResolveBase(const FieldDef& field, const Variant& value,
                                           bool byNumber) {
  BaseRecord record;
  if (value.IsEmpty() || value.IsNull()) return record;
  std::string condition;
  std::string cacheKey;
  if (byNumber) {
    const std::string number = vb::Trim(vb::CStr(value));
    if (number.empty()) return record;
    condition = field.base.number + "='" + vb::Replace(number, "'", "''") + "'";
    cacheKey = field.key + "#N" + vb::UCase(number);
  } else {
    const double id = value.IsString() ? vb::Val(value.AsString()) : vb::CDbl(value);
    if (id == 0 || id != std::floor(id)) return record;
    condition = field.base.id + "=" + std::to_string(static_cast<long long>(id));
    cacheKey = field.key + "#I" + std::to_string(static_cast<long long>(id));
  }
  if (auto it = baseCache_.find(cacheKey); it != baseCache_.end()) return it->second.first;

  std::string sql = "SELECT " + field.base.id + "," + field.base.number + "," + field.base.name;
  for (const auto& p : field.base.props) sql += "," + p;
  for (const auto& fill : field.base.fill) sql += "," + fill.second;
  sql += " FROM " + field.base.table + " WHERE " + condition;
  if (!field.base.where.empty()) sql += " AND (" + field.base.where + ")";
  const auto sets = services_.Run(sql);
  if (!sets.empty() && !sets[0].rows.empty()) {
    const auto& data = sets[0];
    const auto& r = data.rows[0];
    record.found = true;
    record.id = r[0].IsNull() ? 0 : vb::CLng(r[0]);
    record.number = r[1].IsNull() ? std::string() : vb::CStr(r[1]);
    record.name = r[2].IsNull() ? std::string() : vb::CStr(r[2]);
    record.props = Dictionary::New();
    for (std::size_t i = 3; i < r.size(); ++i) record.props->SetItem(data.columns[i].name, r[i]);
  }
  baseCache_[cacheKey] = {record, true};
  return record;
}

namespace {

// "0", "0.0", "0.00", ...: the display pattern of a number field with that many decimals.
const std::string& DecimalsPattern(int decimals) {
  static const auto patterns = [] {
    std::vector<std::string> p{"0"};
    for (int d = 1; d <= 16; ++d) p.push_back("0." + std::string(static_cast<std::size_t>(d), '0'));
    return p;
  }();
  return patterns[static_cast<std::size_t>(std::clamp(decimals, 0, 16))];
}

}  // namespace

void BillForm::WriteTyped(const FieldDef& field, long row, const Variant& value,
                          bool markModified) {
  auto cell = Cell(field, row, true);
  if (!cell) return;
  switch (field.type) {
    case FieldType::Base: {
      const bool blank = value.IsEmpty() || value.IsNull() ||
                         (value.IsString() && vb::Trim(value.AsString()).empty()) ||
                         (value.IsNumber() && vb::CDbl(value) == 0);
      if (blank) {
        cell->Set(BillCell::kValue, "");
        cell->Set(BillCell::kNumber, "");
        cell->Set(BillCell::kDisplay, "");
        break;
      }
      // A number is an internal ID; a text is a base-data number, or an ID written as text.
      BaseRecord r;
      if (value.IsString() && !vb::IsNumeric(value))
        r = ResolveBase(field, value, true);
      else
        r = ResolveBase(field, value, false);
      if (!r.found && value.IsString()) r = ResolveBase(field, value, true);
      if (r.found) {
        cell->Set(BillCell::kValue, r.id);
        cell->Set(BillCell::kNumber, r.number);
        cell->Set(BillCell::kDisplay, r.name);
      } else {
        cell->Set(BillCell::kValue, value);
        cell->Set(BillCell::kNumber, vb::CStr(value));
        cell->Set(BillCell::kDisplay, vb::CStr(value));
      }
      break;
    }
    case FieldType::Number: {
      double number = 0;
      if (value.IsString())
        number = vb::Val(value.AsString());
      else if (!value.IsEmpty() && !value.IsNull())
        number = vb::CDbl(value);
      const bool empty = value.IsEmpty() || value.IsNull() ||
                         (value.IsString() && vb::Trim(value.AsString()).empty());
      cell->Set(BillCell::kValue, empty ? Variant("") : Variant(number));
      cell->Set(BillCell::kDisplay, empty ? std::string()
                                    : field.decimals >= 0
                                        ? vb::Format(number, DecimalsPattern(field.decimals))
                                        : vb::CStr(number));
      break;
    }
    case FieldType::Date: {
      std::optional<vb::Date> d;
      if (value.Type() == vb::VarType::Date)
        d = value.AsDate();
      else if (value.IsString() && !vb::Trim(value.AsString()).empty())
        d = vb::ParseDate(value.AsString());
      else if (value.IsNumber() && vb::CDbl(value) != 0)
        d = vb::Date{vb::CDbl(value)};
      // A serial past the calendar (9999-12-31) is no date: the cell stays empty.
      if (d && !vb::IsDateSerialInRange(d->serial)) d.reset();
      cell->Set(BillCell::kValue, d ? Variant(*d) : Variant(""));
      cell->Set(BillCell::kDisplay, d ? vb::Format(*d, "yyyy-MM-dd") : std::string());
      break;
    }
    case FieldType::Check: {
      const bool on = !value.IsEmpty() && !value.IsNull() &&
                      (value.IsString() ? vb::Val(value.AsString()) != 0 : vb::CBool(value));
      cell->Set(BillCell::kValue, on ? 1 : 0);
      cell->Set(BillCell::kDisplay, on ? "1" : "0");
      break;
    }
    case FieldType::Time:
    case FieldType::Text: {
      const std::string text = value.IsEmpty() || value.IsNull() ? std::string() : vb::CStr(value);
      cell->Set(BillCell::kValue, text);
      cell->Set(BillCell::kDisplay, text);
      break;
    }
  }
  if (markModified) cell->Set(BillCell::kModify, 1);
}

// --- the bill interface: fields -----------------------------------------------------------------

Variant BillForm::GetFieldValue(std::string_view key, long row, int kind) {
  const FieldDef* f = tmpl_->FindAt(key, row);
  if (!f) UnknownField(key);
  auto cell = Cell(*f, row, false);
  if (!cell) {
    if (f->grid != 0 && !Page(f->grid).Row(row)) return Variant("");
    return f->type == FieldType::Number ? Variant(0) : Variant("");
  }
  if (f->type == FieldType::Base) {
    if (kind == host::kFieldNumber) return cell->Get(BillCell::kNumber);
    if (kind == host::kFieldDisplay) return cell->Get(BillCell::kDisplay);
  }
  return cell->Get(BillCell::kValue);
}

void BillForm::FillLinked(const FieldDef& field, long row) {
  if (field.base.fill.empty()) return;
  auto cell = Cell(field, row, false);
  const Variant id = cell ? cell->Get(BillCell::kValue) : Variant{};
  const BaseRecord record = ResolveBase(field, id, false);
  for (const auto& [target, column] : field.base.fill) {
    const FieldDef* to = tmpl_->FindAt(target, row);
    if (!to || to->grid != field.grid) continue;
    Variant value = record.found && record.props ? record.props->Item(column) : Variant("");
    WriteTyped(*to, row, value.IsNull() ? Variant("") : value, false);
  }
}

void BillForm::SetFieldValue(std::string_view key, const Variant& value, long row) {
  const FieldDef* f = tmpl_->FindAt(key, row);
  if (!f) UnknownField(key);
  if (f->grid != 0 && !Page(f->grid).Row(row)) return;  // a row that does not exist takes nothing
  WriteTyped(*f, row, value, false);
  FillLinked(*f, row);
  // What a plug-in writes while a stored bill is only shown (its display set-up) changes nothing
  // that needs saving.
  if (formState_ != host::kBillView) dirty_ = true;
}

Ref<host::IDictionary> BillForm::GetFieldInfoByKey(std::string_view key, std::string_view, long) {
  return FieldInfo(key);
}

Ref<host::IDictionary> BillForm::GetDataFld(const Ref<host::IDictionary>& fieldInfo, long row) {
  const FieldDef* f = FieldOf(fieldInfo, row);
  if (!f) return {};
  return Cell(*f, row, true);
}

Ref<host::IDictionary> BillForm::GetDataFldbyKey(std::string_view key, long row) {
  const FieldDef* f = tmpl_->FindAt(key, row);
  if (!f) return {};
  return Cell(*f, row, true);
}

double BillForm::Sum(const Ref<host::IDictionary>& fieldInfo) {
  const FieldDef* f = FieldOf(fieldInfo, 1);
  if (!f || f->grid == 0) return 0;
  double total = 0;
  for (long r = 1; r <= Page(f->grid).Count(); ++r) {
    auto cell = Cell(*f, r, false);
    if (!cell) continue;
    const Variant v = cell->Item("FFLD");
    if (v.IsNumber())
      total += vb::CDbl(v);
    else if (v.IsString())
      total += vb::Val(v.AsString());
  }
  return total;
}

Ref<host::IDictionary> BillForm::Data() {
  auto data = Dictionary::New();
  data->SetItem("Page1", Ref<host::IDictionary>(page1_));
  data->SetItem("Page2", Ref<host::IDictionary>(grids_[0]));
  if (tmpl_->grids.size() > 1) data->SetItem("Page3", Ref<host::IDictionary>(grids_[1]));
  return data;
}

Ref<host::IDictionary> BillForm::TableInfo() {
  if (!tableInfo_) {
    auto map = Dictionary::New();
    for (const FieldDef* f : tmpl_->AllFields()) {
      auto entry = Dictionary::New();
      entry->SetItem("FKey", f->key);
      entry->SetItem("FFieldName", f->internalKey());
      entry->SetItem("FVisible", f->visible);
      entry->SetItem("FDefValue", f->defaultValue);
      entry->SetItem("FCaption", f->caption);
      entry->SetItem("FPage", f->page);
      map->SetItem(f->key, Ref<host::IDictionary>(entry));
    }
    tableInfo_ = Dictionary::New();
    tableInfo_->SetItem("Map", Ref<host::IDictionary>(map));
  }
  return tableInfo_;
}

// --- the bill interface: form -------------------------------------------------------------------

void BillForm::SetBillStatus(long status) {
  if (status < 0 || status > 2)
    throw vb::Error(kErrInvalidArgument, "Invalid procedure call or argument", "BillEvent");
  formState_ = status;
  // A plug-in whose server component changed the stored bill (audit, invalidation) shows it
  // again: the form takes the stored business state.
  if (tmpl_->auditByComponent && status == host::kBillView && billId_ != 0) ReloadBusinessState();
}

void BillForm::SetBarStatus(std::string_view toolKey, std::string_view property, bool value) {
  if (auto tool = bar_->FindTool(toolKey)) tool->SetProperty(property, value);
}

void BillForm::SetToolProperty(std::string_view toolKey, std::string_view property,
                               const Variant& value) {
  if (auto tool = bar_->FindTool(toolKey)) tool->SetProperty(property, value);
}

void BillForm::SetEntryCtlProperty(std::string_view property, const Variant& value) {
  entryCtl_[std::string(property)] = value;
}

const Variant& BillForm::entryCtlProperty(std::string_view property) const {
  static const Variant kEmpty;
  auto it = entryCtl_.find(property);
  return it == entryCtl_.end() ? kEmpty : it->second;
}

void BillForm::SetActiveCell(std::string_view key, long row) { MoveCursor(key, row); }

void BillForm::SetStatusText(long panel, std::string_view text) {
  if (panel < 0 || panel >= static_cast<long>(status_.size()))
    throw vb::Error(kErrInvalidArgument, "Invalid procedure call or argument", "BillEvent");
  auto& shown = status_[static_cast<std::size_t>(panel)];
  if (shown == text) return;
  shown = text;
  changes_->Panels();
}

const std::string& BillForm::StatusText(long panel) const {
  static const std::string kNone;
  return panel >= 0 && panel < static_cast<long>(status_.size())
             ? status_[static_cast<std::size_t>(panel)]
             : kNone;
}

long BillForm::Advise(const Ref<host::IBillEventSink>& sink) {
  if (!sink)
    throw vb::Error(vb::kErrObjectVariableNotSet, "Object variable or With block variable not set",
                    "BillEvent");
  sinks_.emplace_back(nextCookie_, sink);
  return nextCookie_++;
}

void BillForm::Unadvise(long cookie) {
  std::erase_if(sinks_, [cookie](const auto& s) { return s.first == cookie; });
}

// --- what the form shows ------------------------------------------------------------------------

Variant BillForm::Value(std::string_view key, long row) const {
  return const_cast<BillForm*>(this)->GetFieldValue(key, row, host::kFieldStored);
}

std::string BillForm::Display(std::string_view key, long row) const {
  const FieldDef* f = tmpl_->FindAt(key, row);
  return f ? Display(*f, row) : std::string();
}

namespace {

// The number a cell holds, as its text shows it; nothing for an empty one.
std::optional<double> ShownNumber(const Variant& v) {
  if (v.IsNull() || (v.IsString() && v.AsString().empty())) return std::nullopt;
  return v.IsString() ? vb::Val(v.AsString()) : vb::CDbl(v);
}

}  // namespace

std::string BillForm::Display(const FieldDef& f, long row) const {
  auto cell = const_cast<BillForm*>(this)->Cell(f, f.grid == 0 ? -1 : row, false);
  if (!cell) return {};
  const Variant& v = cell->Get(BillCell::kValue);
  switch (f.type) {
    case FieldType::Number: {
      // A value written by a plug-in carries no display text of its own.
      const auto number = ShownNumber(v);
      if (!number) return {};
      return f.decimals >= 0 ? vb::Format(*number, DecimalsPattern(f.decimals)) : vb::CStr(*number);
    }
    case FieldType::Date:
      return v.Type() == vb::VarType::Date
                 ? vb::Format(v, "yyyy-MM-dd")
                 : (v.IsEmpty() || v.IsNull() ? std::string() : vb::CStr(v));
    case FieldType::Base: {
      const Variant& shown = cell->Get(BillCell::kDisplay);
      return shown.IsEmpty() || shown.IsNull() ? std::string() : vb::CStr(shown);
    }
    default:
      return v.IsEmpty() || v.IsNull() ? std::string() : vb::CStr(v);
  }
}

std::string BillForm::Number(const FieldDef& f, long row) const {
  auto cell = const_cast<BillForm*>(this)->Cell(f, f.grid == 0 ? -1 : row, false);
  if (!cell) return {};
  const Variant& v = cell->Get(f.type == FieldType::Base ? BillCell::kNumber : BillCell::kValue);
  return v.IsEmpty() || v.IsNull() ? std::string() : vb::CStr(v);
}

BillForm::CellLock BillForm::LockOf(const FieldDef& field, long row) const {
  const std::string& key = field.internalKey();
  if (field.grid == 0) {
    if (headerLocked_.count(key)) return kCellLocked;
    return headerOpened_.count(key) ? kCellOpened : kFollowsColumn;
  }
  const EntryRow* r = Page(field.grid).Row(row);
  if (!r) return kFollowsColumn;
  if (!r->locked.empty() && r->locked.count(key)) return kCellLocked;
  return !r->opened.empty() && r->opened.count(key) ? kCellOpened : kFollowsColumn;
}

bool BillForm::IsVisible(std::string_view key) const {
  const FieldDef* f = tmpl_->Find(key);
  return f && IsVisible(*f);
}

bool BillForm::IsVisible(const FieldDef& f) const {
  const int state = formState_ == host::kBillNew    ? kVisibleNew
                    : formState_ == host::kBillEdit ? kVisibleEdit
                                                    : kVisibleView;
  auto it = columns_.find(f.key);
  return (f.visible & state) != 0 && (it == columns_.end() || it->second.visible);
}

std::string BillForm::Caption(std::string_view key) const {
  const FieldDef* f = tmpl_->Find(key);
  if (!f) return {};
  auto it = columns_.find(f->key);
  return it == columns_.end() ? f->caption : it->second.caption;
}

bool BillForm::IsCellLocked(const FieldDef& field, long row) const {
  switch (LockOf(field, row)) {
    case kCellLocked:
      return true;
    case kCellOpened:
      return false;
    case kFollowsColumn:
      break;
  }
  auto col = columns_.find(field.key);
  return col != columns_.end() && col->second.locked;
}

void BillForm::LockCell(const FieldDef& field, long row, bool lock) {
  const std::string& key = field.internalKey();
  const CellLock before = LockOf(field, row);
  if (before == (lock ? kCellLocked : kCellOpened)) return;
  if (field.grid == 0) {
    (lock ? headerLocked_ : headerOpened_).insert(key);
    (lock ? headerOpened_ : headerLocked_).erase(key);
    changes_->Head();
    return;
  }
  EntryRow* r = Page(field.grid).Row(row);
  if (!r) return;
  (lock ? r->locked : r->opened).insert(key);
  (lock ? r->opened : r->locked).erase(key);
  r->cells->NoteCell(field.slot);
}

bool BillForm::ReadOnly() const {
  if (billLocked_ || closed_ || lockRefused_) return true;
  const Variant status =
      const_cast<BillForm*>(this)->tmpl_->Find("FStatus") ? Value("FStatus") : Variant(0);
  const double s =
      status.IsString() ? vb::Val(status.AsString()) : (status.IsEmpty() ? 0 : vb::CDbl(status));
  return s > 0;
}

bool BillForm::IsEditable(std::string_view key, long row) const {
  const FieldDef* f = tmpl_->FindAt(key, row);
  if (!f || ReadOnly()) return false;
  if (f->grid != 0 && !Page(f->grid).Row(row)) return false;
  return !IsCellLocked(*f, row) && IsVisible(key);
}

}  // namespace zov::sim
