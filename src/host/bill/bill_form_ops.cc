// What a person does with a bill form, and what the host does in turn: new, load, rows, tools,
// save, audit, copy, delete and source selection, each raising the plug-in's events in order.
#include <cmath>

#include "bill/bill_form.h"
#include "bill/bill_form_events.h"
#include "bill/edit_lock.h"
#include "bill/follow_up.h"
#include "bill/form_parts.h"
#include "zov/vb/convert.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::sim {

namespace {

constexpr const char* kInfoTitle = "信息提示";
constexpr const char* kSaveFailed = "保存失败，单据没有保存。";
constexpr const char* kAuditFailed = "审核失败，单据没有改变。";
constexpr const char* kUnAuditFailed = "反审核失败，单据没有改变。";
constexpr const char* kDeleteFailed = "删除失败，单据没有删除。";

double StatusOf(const Variant& v) {
  if (v.IsEmpty() || v.IsNull()) return 0;
  return v.IsString() ? vb::Val(v.AsString()) : vb::CDbl(v);
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

}  // namespace

// --- the bill interface: parts ------------------------------------------------------------------

Ref<host::IBillCtl> BillForm::BillCtl() {
  return vb::MakeRef<host::IBillCtl, sim::BillCtl>(Ref<BillForm>(this));
}

Ref<host::IBillGrid> BillForm::BillEntrys(long index) {
  if (index < 1 || index > static_cast<long>(tmpl_->grids.size()))
    throw vb::Error(9, "Subscript out of range", "BillEvent");
  return vb::MakeRef<host::IBillGrid, BillGrid>(Ref<BillForm>(this), static_cast<int>(index));
}

Ref<host::IBillGrid> BillForm::BillHeads() {
  return vb::MakeRef<host::IBillGrid, BillGrid>(Ref<BillForm>(this), 0);
}

Ref<host::IControls> BillForm::Controls() {
  return vb::MakeRef<host::IControls, FormControls>(Ref<BillForm>(this), controls_);
}

Ref<host::IQ7Lib> BillForm::Q7Lib() { return vb::MakeRef<host::IQ7Lib, sim::Q7Lib>(services_); }

void BillForm::SaveBill() { Save(); }

void BillForm::CloseBill(bool, std::string_view) {
  ReleaseEditLock();
  closed_ = true;
}

// --- menus
// ----------------------------------------------------------------------------------------

void BillForm::InitializeMenus() {
  if (menusBuilt_) return;
  menusBuilt_ = true;
  for (const char* band :
       {"mnuFile", "mnuEdit", "mnuView", "mnuRelate", "mnuOption", "BandToolBar"})
    bar_->EnsureBand(band);
  for (const ToolDef& def : tmpl_->tools) {
    auto tool = bar_->EnsureTool(def.key);
    if (tool->Caption().empty()) {
      tool->SetCaption(def.caption);
      tool->SetToolTipText(def.caption);
      tool->SetDescription(def.caption);
    }
    tool->SetStyle(def.style);
    if (!def.picture.empty()) tool->SetPicture(def.picture, 0xC0C0C0);
    bar_->EnsureBand(def.band)->Append(tool);
    if (def.toolbar) bar_->EnsureBand("BandToolBar")->Append(tool);
  }
  Ref<host::IActiveBar> menuBar(bar_);
  Raise(host::BillEvent::MenuBarInitialize,
        [&](host::IBillEventSink& s) { s.MenuBarInitialize(menuBar); });
}

// --- new and load
// ---------------------------------------------------------------------------------

void BillForm::NewBill() {
  lastCancelled_ = false;
  ReleaseEditLock();
  lockRefused_ = false;
  heldBy_.clear();
  ResetData();
  billId_ = 0;
  formState_ = host::kBillNew;
  ApplyDefaults(0, -1);
  for (std::size_t g = 0; g < tmpl_->grids.size(); ++g) {
    const long row = Page(static_cast<int>(g + 1)).Append();
    ApplyDefaults(static_cast<int>(g + 1), row);
  }
  Raise(host::BillEvent::AfterNewBill, [](host::IBillEventSink& s) { s.AfterNewBill(); });
  // The plug-in's set-up of a new bill is not a change the clerk made: leaving asks nothing.
  dirty_ = false;
}

bool BillForm::LoadBill(long billId, long state) {
  lastCancelled_ = false;
  ReleaseEditLock();
  lockRefused_ = false;
  heldBy_.clear();
  Raise(host::BillEvent::BeforLoadBillFillData,
        [](host::IBillEventSink& s) { s.BeforLoadBillFillData(); });
  // Opened for editing, the bill is read under its edit lock, so nobody writes it in between.
  EditLock lock(services_, tmpl_->classTypeId, billId);
  EditLock::State locked;
  bool lockFailed = false;
  try {
    locked = state == host::kBillEdit ? lock.Acquire() : lock.Read();
  } catch (const std::exception&) {
    lockFailed = true;  // journaled; the bill is only shown
  }
  if (!ReadFromDatabase(billId)) {
    if (locked.ours) lock.Release();
    return Refuse();
  }
  storedVersion_ = locked.version;
  holdsEditLock_ = state == host::kBillEdit && locked.ours;
  lockTouched_ = std::chrono::steady_clock::now();
  formState_ = holdsEditLock_ ? host::kBillEdit : host::kBillView;
  dirty_ = false;
  Raise(host::BillEvent::AfterLoadBill, [](host::IBillEventSink& s) { s.AfterLoadBill(); });
  if (state == host::kBillEdit && !holdsEditLock_) {
    lockRefused_ = true;
    heldBy_ = locked.holder;
    services_.Ui().MsgBox(lockFailed ? std::string("单据现在不能修改，只能查看。")
                                     : "单据正在被用户“" + heldBy_ + "”修改，现在只能查看。",
                          host::vbInformation, kInfoTitle);
  }
  return true;
}

bool BillForm::LoadBillByNumber(std::string_view billNo, long state) {
  const std::string sql = "SELECT FID FROM " + tmpl_->headTable + " WHERE FBillNo='" +
                          vb::Replace(billNo, "'", "''") + "' AND " + tmpl_->classColumn + "=" +
                          std::to_string(tmpl_->classTypeId);
  const auto sets = services_.Run(sql);
  if (sets.empty() || sets[0].rows.empty()) return false;
  return LoadBill(vb::CLng(sets[0].rows[0][0]), state);
}

// --- rows
// ------------------------------------------------------------------------------------------

long BillForm::AddRow(int grid) {
  lastCancelled_ = false;
  if (ReadOnly() || static_cast<std::size_t>(grid) > tmpl_->grids.size()) {
    lastCancelled_ = true;
    return 0;
  }
  if (!BeginEditIfViewing()) {
    lastCancelled_ = true;
    return 0;
  }
  const long row = Page(grid).Append();
  ApplyDefaults(grid, row);
  dirty_ = true;
  Raise(host::BillEvent::AddNewRow,
        [&](host::IBillEventSink& s) { s.AddNewRow(Variant(grid), row); });
  return row;
}

bool BillForm::DeleteRow(long row, int grid) {
  lastCancelled_ = false;
  if (ReadOnly() || !Page(grid).Row(row)) return Refuse();
  bool cancel = false;
  const bool ok = Raise(host::BillEvent::BeforeDeleteRow, [&](host::IBillEventSink& s) {
    s.BeforeDeleteRow(Variant(grid), row, cancel);
  });
  if (cancel || !ok || !BeginEditIfViewing()) return Refuse();
  Page(grid).Erase(row);
  dirty_ = true;
  Raise(host::BillEvent::AfterDeleteRow,
        [&](host::IBillEventSink& s) { s.AfterDeleteRow(Variant(grid), Variant(row)); });
  return true;
}

void BillForm::EnterRow(long row, int grid) {
  // The cursor stays in its column when it moves within its grid, and goes to the grid's first
  // column when it comes from elsewhere.
  const FieldDef* at = activeKey_.empty() ? nullptr : tmpl_->FindAt(activeKey_, row);
  std::string key = activeKey_;
  if ((!at || at->grid != grid) && grid >= 1 &&
      static_cast<std::size_t>(grid) <= tmpl_->grids.size() &&
      !tmpl_->grids[static_cast<std::size_t>(grid - 1)].empty())
    key = tmpl_->grids[static_cast<std::size_t>(grid - 1)].front().key;
  MoveCursor(key, row);
  Raise(host::BillEvent::EntryGridRow, [&](host::IBillEventSink& s) {
    s.EntryGridRow(Variant(grid), row, Variant{}, Variant{}, Variant{}, Variant{}, Variant{},
                   Variant{});
  });
}

long BillForm::FillRow(const std::vector<std::pair<std::string, Variant>>& values, int grid) {
  const long row = AddRow(grid);
  if (row == 0) return 0;
  for (const auto& [key, value] : values) {
    const FieldDef* f = tmpl_->FindAt(key, row);
    if (f && f->grid == grid) WriteTyped(*f, row, value, true);
  }
  Raise(host::BillEvent::AfterFillRow,
        [&](host::IBillEventSink& s) { s.AfterFillRow(row, Variant{}, Variant{}, Variant(grid)); });
  return row;
}

// --- tools
// -----------------------------------------------------------------------------------------

bool BillForm::ClickTool(std::string_view key) {
  OperationScope scope(*this);
  lastCancelled_ = false;
  auto tool = bar_->FindTool(key);
  if (tool && !tool->Enabled()) return Refuse();
  Ref<host::ITool> clicked =
      tool ? Ref<host::ITool>(tool) : Ref<host::ITool>(bar_->EnsureTool(key));
  bool cancel = false;
  const bool ok = Raise(host::BillEvent::MenuBarClick,
                        [&](host::IBillEventSink& s) { s.MenuBarClick(clicked, cancel); });
  if (cancel || !ok) return Refuse();
  bool handled = false;
  RunHostTool(key, handled);
  return !lastCancelled_;
}

void BillForm::RunHostTool(std::string_view key, bool& handled) {
  handled = true;
  if (key == "mnuEditFileSave")
    Save();
  else if (key == "mnuEditCheck")
    Audit();
  else if (key == "mnuEditUnCheck")
    UnAudit();
  else if (key == "mnuEditCopy")
    CopyBill();
  else if (key == "mnuEditFileDelete")
    DeleteBill();
  else if (key == "mnuFileNew" || key == "mnuEditFileNew")  // the form's new tool, by either key
    NewBill();
  else if (key == "mnuEditAddRow")
    AddRow(1);
  else if (key == "mnuFileExit")
    Exit();
  else if (key == "mnuDataPre2" || key == "mnuDataNext2")
    GoToBill(key == "mnuDataNext2");
  else if (key == "mnuFilePrint" || key == "mnuFilePreview")
    Print(key == "mnuFilePreview");
  else if (key == "mnuOptionAmountCalcPrice") {
    amountCalcPrice_ = !amountCalcPrice_;
    if (auto tool = bar_->FindTool(key)) tool->SetChecked(amountCalcPrice_);
  } else if (StartsWith(key, "mnuRelate_")) {
    // The host's source-selection window lists the stored source bills the selection admits.
    const long sourceClass = std::atol(std::string(key.substr(10)).c_str());
    const BillTemplate* source = services_.TemplateOf(sourceClass);
    if (!source) return;
    std::string filter;
    Raise(host::BillEvent::BeforeSelBills, [&](host::IBillEventSink& s) {
      s.BeforeSelBills(Variant(sourceClass), Variant{}, Variant{}, filter, Variant{});
    });
    // The selection runs in the context of the bill being made: t_BaseBillTypeData2 is its kind,
    // which the plug-in's filter may name.
    const FieldDef* kindField = tmpl_->Find("FBillTypeID");
    const long kind = kindField ? static_cast<long>(StatusOf(Value("FBillTypeID"))) : 0;
    const std::string sql =
        "SELECT h.FID AS FItemID, h.FBillNo AS FNumber, h.FBillNo AS FName FROM " +
        source->headTable +
        " h LEFT JOIN t_BaseBillTypeData t_BaseBillTypeData2 ON t_BaseBillTypeData2.FID = " +
        std::to_string(kind) + " WHERE h." + source->classColumn + "=" +
        std::to_string(sourceClass) + " AND h.FStatus = 1 " + filter + " ORDER BY h.FBillNo";
    auto sets = services_.Run(sql);
    auto candidates = Recordset::New(sets.empty() ? RecordData{} : std::move(sets.front()));
    const auto chosen = services_.Ui().SelectItems(candidates, {}, "选单", false);
    std::vector<SourceRow> rows;
    for (long id : chosen.checkedIds) rows.push_back({id, 0});
    if (!rows.empty()) SelectSource(key, rows);
  } else {
    handled = false;
  }
}

// --- save and audit ----------------------------------------------------------------------------

bool BillForm::Save() {
  OperationScope scope(*this);
  lastCancelled_ = false;
  if (lockRefused_) {
    services_.Ui().MsgBox("单据正在被用户“" + heldBy_ + "”修改，不能保存。", host::vbInformation,
                          kInfoTitle);
    return Refuse();
  }
  if (ReadOnly()) {
    services_.Ui().MsgBox("单据已经审核，不能修改。", host::vbInformation, kInfoTitle);
    return Refuse();
  }
  bool cancel = false;
  const bool ok =
      Raise(host::BillEvent::BeforeSave, [&](host::IBillEventSink& s) { s.BeforeSave(cancel); });
  if (cancel || !ok) return Refuse();
  // The host's own check: required fields of the header.
  for (const auto& f : tmpl_->head) {
    if (!f.required) continue;
    const Variant v = Value(f.key);
    const bool empty = v.IsEmpty() || v.IsNull() ||
                       (v.IsString() && vb::Trim(v.AsString()).empty()) ||
                       (f.type == FieldType::Base && v.IsNumber() && vb::CDbl(v) == 0);
    if (empty) {
      services_.Ui().MsgBox(f.caption + "不能为空。", host::vbInformation, kInfoTitle);
      SetActiveCell(f.key, -1);
      return Refuse();
    }
  }
  // A failed save leaves the form as it was: its internal ID, its number and its rows' IDs.
  const long previousId = billId_;
  const Variant previousNo = tmpl_->Find("FBillNo") ? Value("FBillNo") : Variant{};
  std::vector<std::vector<long>> previousEntries;
  for (const auto& page : grids_) {
    previousEntries.emplace_back();
    for (const auto& row : page->rows()) previousEntries.back().push_back(row.entryId);
  }
  std::string refusal;
  try {
    services_.Begin();
    // A stored bill is written under its edit lock, and only over the version the form read.
    if (billId_ != 0) {
      const auto lock = EditLock(services_, tmpl_->classTypeId, billId_).Acquire();
      if (lock.heldElsewhere)
        refusal = "单据正在被用户“" + lock.holder + "”修改，不能保存。";
      else if (lock.version != storedVersion_)
        refusal = "单据已被其他用户修改，不能保存。请重新打开单据后再修改。";
    }
    if (refusal.empty()) {
      WriteToDatabase();
      CompleteSave(previousId == 0);
      CountWrite();
      services_.Commit();
    } else {
      services_.Rollback();
    }
  } catch (const std::exception& e) {
    services_.Rollback();
    billId_ = previousId;
    if (const FieldDef* no = tmpl_->Find("FBillNo")) WriteTyped(*no, -1, previousNo, false);
    for (std::size_t g = 0; g < grids_.size(); ++g)
      for (std::size_t r = 0; r < grids_[g]->rows().size() && r < previousEntries[g].size(); ++r)
        grids_[g]->rows()[r].entryId = previousEntries[g][r];
    // A failed statement is in the journal; the person learns that the bill was not saved.
    const auto* refused = dynamic_cast<const SaveRefused*>(&e);
    services_.Ui().MsgBox(refused ? e.what() : kSaveFailed, host::vbInformation, kInfoTitle);
    if (refused) SetActiveCell(refused->key, -1);
    return Refuse();
  }
  if (!refusal.empty()) {
    services_.Ui().MsgBox(refusal, host::vbInformation, kInfoTitle);
    return Refuse();
  }
  MarkStored();
  dirty_ = false;
  formState_ = host::kBillView;
  const Variant id(billId_);
  Raise(host::BillEvent::AfterSave, [&](host::IBillEventSink& s) { s.AfterSave(id); });
  Raise(host::BillEvent::SaveBillSuccess, [&](host::IBillEventSink& s) { s.SaveBillSuccess(id); });
  return true;
}

bool BillForm::Audit() {
  OperationScope scope(*this);
  lastCancelled_ = false;
  if (StatusOf(Value("FStatus")) > 0) {
    services_.Ui().MsgBox("单据已经审核，不能重复审核。", host::vbInformation, kInfoTitle);
    return Refuse();
  }
  if ((billId_ == 0 || dirty_) && !Save()) return false;
  if (!CheckNotHeldOrStale("审核")) return Refuse();
  bool cancel = false;
  const bool ok = Raise(host::BillEvent::BusinessCheck,
                        [&](host::IBillEventSink& s) { s.BusinessCheck(cancel); });
  if (cancel || !ok) return Refuse();
  if (tmpl_->auditByComponent) {
    // The plug-in's server component audited the bill, or refused to: the form shows what it
    // stored.
    ReloadBusinessState();
    formState_ = host::kBillView;
    dirty_ = false;
    return StatusOf(Value("FStatus")) > 0 ? true : Refuse();
  }
  try {
    services_.Begin();
    services_.Run("UPDATE " + tmpl_->headTable + " SET FStatus=1, FCheckerID=" +
                  std::to_string(services_.UserId()) + " WHERE FID=" + std::to_string(billId_));
    for (const std::string& sql : FollowUpStatements(services_, tmpl_->classTypeId, billId_, 1))
      services_.Run(sql);
    CountWrite();
    services_.Commit();
  } catch (const std::exception&) {
    services_.Rollback();
    services_.Ui().MsgBox(kAuditFailed, host::vbInformation, kInfoTitle);
    return Refuse();
  }
  if (tmpl_->Find("FStatus")) WriteTyped(*tmpl_->Find("FStatus"), -1, 1, false);
  if (tmpl_->Find("FCheckerID"))
    WriteTyped(*tmpl_->Find("FCheckerID"), -1, services_.UserId(), false);
  formState_ = host::kBillView;
  dirty_ = false;
  return true;
}

bool BillForm::UnAudit() {
  OperationScope scope(*this);
  lastCancelled_ = false;
  if (StatusOf(Value("FStatus")) != 1) {
    services_.Ui().MsgBox("单据尚未审核，不能反审核。", host::vbInformation, kInfoTitle);
    return Refuse();
  }
  if (!CheckNotHeldOrStale("反审核")) return Refuse();
  bool cancel = false;
  const bool ok = Raise(host::BillEvent::UnBusinessCheck,
                        [&](host::IBillEventSink& s) { s.UnBusinessCheck(cancel); });
  if (cancel || !ok) return Refuse();
  if (tmpl_->auditByComponent) {
    ReloadBusinessState();
    formState_ = host::kBillView;
    return StatusOf(Value("FStatus")) == 0 ? true : Refuse();
  }
  try {
    services_.Begin();
    services_.Run("UPDATE " + tmpl_->headTable +
                  " SET FStatus=0, FCheckerID=0 WHERE FID=" + std::to_string(billId_));
    for (const std::string& sql : FollowUpStatements(services_, tmpl_->classTypeId, billId_, -1))
      services_.Run(sql);
    CountWrite();
    services_.Commit();
  } catch (const std::exception&) {
    services_.Rollback();
    services_.Ui().MsgBox(kUnAuditFailed, host::vbInformation, kInfoTitle);
    return Refuse();
  }
  if (tmpl_->Find("FStatus")) WriteTyped(*tmpl_->Find("FStatus"), -1, 0, false);
  if (tmpl_->Find("FCheckerID")) WriteTyped(*tmpl_->Find("FCheckerID"), -1, 0, false);
  formState_ = host::kBillView;
  return true;
}

void BillForm::Refresh() {
  if (billId_ != 0) refreshPending_ = true;
}

void BillForm::RunRefresh() noexcept {
  refreshPending_ = false;
  if (billId_ == 0 || closed_) return;
  try {
    // What a server component stored (a close, a re-open) shows first, and counts as a write.
    ReloadBusinessState();
    // Unsaved work stays as the person left it.
    if (dirty_) return;
    const long state = formState_;
    const long id = billId_;
    Raise(host::BillEvent::BeforLoadBillFillData,
          [](host::IBillEventSink& s) { s.BeforLoadBillFillData(); });
    if (!ReadFromDatabase(id)) return;
    storedVersion_ = EditLock(services_, tmpl_->classTypeId, id).Read().version;
    formState_ = state;
    dirty_ = false;
    ++refreshes_;
    Raise(host::BillEvent::AfterLoadBill, [](host::IBillEventSink& s) { s.AfterLoadBill(); });
  } catch (const std::exception&) {
    // The failed statement is journaled by the session; the form shows what it showed.
  }
}

void BillForm::ReloadBusinessState() {
  if (billId_ == 0) return;
  std::vector<const FieldDef*> fields;
  std::string columns;
  for (const char* key : {"FStatus", "FCheckerID", "FCheckDate"})
    if (const FieldDef* f = tmpl_->Find(key); f && f->grid == 0 && !f->column.empty()) {
      fields.push_back(f);
      columns += (columns.empty() ? "" : ",") + f->column;
    }
  if (fields.empty()) return;
  try {
    const auto sets = services_.Run("SELECT " + columns + " FROM " + tmpl_->headTable +
                                    " WHERE FID=" + std::to_string(billId_));
    if (sets.empty() || sets[0].rows.empty()) return;
    bool changed = false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const Variant stored = sets[0].rows[0][i];
      changed = changed || StatusOf(stored) != StatusOf(Value(fields[i]->key));
      WriteTyped(*fields[i], -1, stored, false);
    }
    if (!changed) return;
    // The component wrote the bill: forms that read it before read it again, and the edit
    // lock this form held goes back.
    services_.Begin();
    try {
      CountWrite();
      services_.Commit();
    } catch (const std::exception&) {
      services_.Rollback();
    }
  } catch (const std::exception&) {
    // Journaled by the session; the form keeps what it showed.
  }
}

bool BillForm::CopyBill() {
  lastCancelled_ = false;
  ReleaseEditLock();
  lockRefused_ = false;
  heldBy_.clear();
  billId_ = 0;
  for (auto& page : grids_)
    for (auto& row : page->rows()) {
      row.entryId = 0;
      // The cells whose own lock goes are shown afresh.
      for (const auto* keys : {&row.locked, &row.opened})
        for (const auto& key : *keys)
          if (const int slot = row.cells->SlotOf(key); slot >= 0) row.cells->NoteCell(slot);
      row.locked.clear();
      row.opened.clear();
    }
  headerLocked_.clear();
  headerOpened_.clear();
  changes_->Head();
  for (const char* key : {"FBillNo", "FCheckerID"})
    if (const FieldDef* f = tmpl_->Find(key)) WriteTyped(*f, -1, Variant(""), false);
  if (const FieldDef* f = tmpl_->Find("FStatus")) WriteTyped(*f, -1, 0, false);
  ClearNotCopied();
  ForgetChosenRecords();
  formState_ = host::kBillNew;
  dirty_ = true;
  Raise(host::BillEvent::AfterCopyBill, [](host::IBillEventSink& s) { s.AfterCopyBill(); });
  return true;
}

void BillForm::ClearNotCopied() {
  auto reset = [&](const FieldDef& f, long row) {
    WriteTyped(f, row, f.type == FieldType::Number ? Variant(0) : Variant(""), false);
  };
  for (const auto& f : tmpl_->head)
    if (!f.copied) reset(f, -1);
  for (std::size_t g = 0; g < tmpl_->grids.size(); ++g)
    for (const auto& f : tmpl_->grids[g])
      if (!f.copied)
        for (long row = 1, rows = Page(static_cast<int>(g + 1)).Count(); row <= rows; ++row)
          reset(f, row);
}

void BillForm::NewFromCopy(const Ref<host::IDictionary>& data) {
  ReleaseEditLock();
  lockRefused_ = false;
  heldBy_.clear();
  ResetData();
  billId_ = 0;
  auto copyCells = [](const Ref<host::IDictionary>& from, CellRow& to) {
    for (const auto& key : from->Keys()) {
      auto cell = from->Item(key).ObjectAs<host::IDictionary>();
      if (!cell) continue;
      const int slot = key.IsString() ? to.SlotOf(key.AsString()) : -1;
      if (slot < 0) continue;  // no field of this bill
      BillCell& mine = to.MakeCell(slot, cell->Item("FFLD"));
      mine.Set(BillCell::kNumber, cell->Item("FFND"));
      mine.Set(BillCell::kDisplay, cell->Item("FDSP"));
      mine.Set(BillCell::kModify, 1);
    }
  };
  if (auto head = data->Item("Page1").ObjectAs<host::IDictionary>()) copyCells(head, *page1_);
  for (int grid = 1; grid <= static_cast<int>(tmpl_->grids.size()); ++grid) {
    auto rows = data->Item(grid == 1 ? "Page2" : "Page3").ObjectAs<host::IDictionary>();
    if (!rows) continue;
    for (const auto& key : rows->Keys()) {
      auto row = rows->Item(key).ObjectAs<host::IDictionary>();
      if (!row) continue;
      const long r = Page(grid).Append();
      copyCells(row, *Page(grid).Row(r)->cells);
    }
  }
  if (Page(1).Count() == 0 && !tmpl_->grids.empty()) Page(1).Append();
  CreateHeaderCells();
  for (const char* key : {"FBillNo", "FCheckerID"})
    if (const FieldDef* f = tmpl_->Find(key)) WriteTyped(*f, -1, Variant(""), false);
  if (const FieldDef* f = tmpl_->Find("FStatus")) WriteTyped(*f, -1, 0, false);
  ClearNotCopied();
  formState_ = host::kBillNew;
  dirty_ = true;
  Raise(host::BillEvent::AfterCopyBill, [](host::IBillEventSink& s) { s.AfterCopyBill(); });
}

bool BillForm::DeleteBill() {
  lastCancelled_ = false;
  if (billId_ == 0) return Refuse();
  if (lockRefused_) {
    services_.Ui().MsgBox("单据正在被用户“" + heldBy_ + "”修改，不能删除。", host::vbInformation,
                          kInfoTitle);
    return Refuse();
  }
  if (ReadOnly() || !CheckNotHeldOrStale("删除")) return Refuse();
  if (services_.Ui().MsgBox("确定要删除这张单据吗？", host::vbYesNo | host::vbQuestion,
                            kInfoTitle) != host::vbYes)
    return Refuse();
  try {
    services_.Begin();
    std::string sql;
    if (!tmpl_->entryTable.empty())
      sql += "DELETE FROM " + tmpl_->entryTable + " WHERE FID=" + std::to_string(billId_) + "\n";
    if (!tmpl_->entry2Table.empty())
      sql += "DELETE FROM " + tmpl_->entry2Table + " WHERE FID=" + std::to_string(billId_) + "\n";
    sql += "DELETE FROM " + tmpl_->headTable + " WHERE FID=" + std::to_string(billId_);
    services_.Run(sql);
    EditLock(services_, tmpl_->classTypeId, billId_).Forget();
    services_.Commit();
  } catch (const std::exception&) {
    services_.Rollback();
    services_.Ui().MsgBox(kDeleteFailed, host::vbInformation, kInfoTitle);
    return Refuse();
  }
  holdsEditLock_ = false;
  NewBill();
  return true;
}

// --- source selection ----------------------------------------------------------------------------

bool BillForm::SelectSource(std::string_view tool, const std::vector<SourceRow>& rows) {
  lastCancelled_ = false;
  const SourceDef* def = nullptr;
  for (const auto& s : tmpl_->sources)
    if (s.tool == tool) def = &s;
  const BillTemplate* source = def ? services_.TemplateOf(def->classTypeId) : nullptr;
  if (!def || !source || ReadOnly() || !BeginEditIfViewing()) return Refuse();
  auto selection = Dictionary::New();
  selection->SetItem("FSourClassTypeID", def->classTypeId);
  auto data = Dictionary::New();
  Raise(host::BillEvent::AfterSelBillBeforeFillData, [&](host::IBillEventSink& s) {
    s.AfterSelBillBeforeFillData(Variant(Ref<host::IDictionary>(selection)),
                                 Variant(Ref<host::IDictionary>(data)));
  });

  // Drop the trailing empty row the new bill starts with.
  auto& page = Page(1);
  // A row counts as blank while its item is empty (defaults such as a coefficient of 1 do not
  // count).
  if (page.Count() == 1) {
    const FieldDef* item = tmpl_->FindAt("FItemID", 1);
    const Variant v = item ? Value(item->key, 1) : Variant{};
    if (v.IsEmpty() || (v.IsString() && vb::Trim(v.AsString()).empty()) ||
        (v.IsNumber() && vb::CDbl(v) == 0))
      page.Erase(1);
  }

  bool headFilled = false;
  for (const SourceRow& pick : rows) {
    std::string sql = "SELECT h.FBillNo AS FSourceBillNo, e.* FROM " + source->entryTable +
                      " e INNER JOIN " + source->headTable +
                      " h ON h.FID = e.FID WHERE e.FID=" + std::to_string(pick.billId);
    if (pick.entryId) sql += " AND e.FEntryID=" + std::to_string(pick.entryId);
    if (!def->openQty.empty()) sql += " AND e." + def->openQty + " > 0";
    sql += " ORDER BY e.FIndex";
    const auto sets = services_.Run(sql);
    if (sets.empty()) continue;
    const RecordData& found = sets[0];
    auto column = [&](std::string_view name) -> long {
      for (std::size_t i = 0; i < found.columns.size(); ++i)
        if (vb::StrComp(found.columns[i].name, name, vb::CompareMethod::Text) == 0)
          return static_cast<long>(i);
      return -1;
    };
    if (!headFilled && !def->headFields.empty()) {
      const auto head = services_.Run("SELECT * FROM " + source->headTable +
                                      " WHERE FID=" + std::to_string(pick.billId));
      if (!head.empty() && !head[0].rows.empty())
        for (const auto& key : def->headFields) {
          const FieldDef* mine = tmpl_->Find(key);
          const FieldDef* theirs = source->Find(key);
          if (!mine || !theirs) continue;
          for (std::size_t i = 0; i < head[0].columns.size(); ++i)
            if (vb::StrComp(head[0].columns[i].name, theirs->internalKey(),
                            vb::CompareMethod::Text) == 0)
              WriteTyped(*mine, -1, head[0].rows[0][i], true);
        }
      headFilled = true;
    }
    page.Reserve(static_cast<long>(found.rows.size()));
    long filled = 0;
    for (const auto& record : found.rows) {
      ReportProgress("选源单", filled++, static_cast<long>(found.rows.size()));
      const long row = page.Append();
      ApplyDefaults(1, row);
      auto copy = [&](const std::string& key, const std::string& from) {
        const FieldDef* mine = tmpl_->FindAt(key, 1);
        const FieldDef* theirs = source->FindAt(from, 1);
        if (!mine || !theirs || mine->grid != 1) return;
        const long c = column(theirs->internalKey());
        if (c >= 0) WriteTyped(*mine, row, record[static_cast<std::size_t>(c)], true);
      };
      for (const auto& key : def->entryFields) copy(key, key);
      for (const auto& [key, from] : def->entryFrom) copy(key, from);
      auto put = [&](const char* key, const Variant& value) {
        if (const FieldDef* f = tmpl_->FindAt(key, row); f && f->grid == 1)
          WriteTyped(*f, row, value, true);
      };
      put("FClassID_SRC", def->classTypeId);
      put("FID_SRC", pick.billId);
      if (long c = column("FEntryID"); c >= 0)
        put("FEntryID_SRC", record[static_cast<std::size_t>(c)]);
      if (long c = column("FSourceBillNo"); c >= 0)
        put("FBillNo_SRC", record[static_cast<std::size_t>(c)]);
      if (!def->openQty.empty())
        if (long c = column(def->openQty); c >= 0)
          put("FShowQty", record[static_cast<std::size_t>(c)]);
      // The quantity family follows the taken-over quantity through the template's formulas.
      if (const FieldDef* qty = tmpl_->FindAt("FShowQty", row); qty && qty->grid == 1)
        RunActions(*qty, row, "FAction");
    }
  }
  for (const char* key : {"FClassID_SRC", "FID_SRC"})
    if (const FieldDef* f = tmpl_->Find(key); f && f->grid == 0 && !rows.empty()) {
      WriteTyped(*f, -1,
                 std::string(key) == "FClassID_SRC" ? Variant(def->classTypeId)
                                                    : Variant(rows.front().billId),
                 true);
    }
  if (page.Count() == 0) page.Append();
  dirty_ = true;
  Raise(host::BillEvent::AfterSelBill, [](host::IBillEventSink& s) { s.AfterSelBill(Variant{}); });
  return true;
}

}  // namespace zov::sim
