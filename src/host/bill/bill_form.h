// A bill form of the substitute host: the bill interface a plug-in is bound to, the bill's data
// and the operations a person (or the host itself) performs on it. Every operation runs on the
// form's one thread and raises the plug-in's events in the order the host's own forms do.
#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "bill/bill_cell.h"
#include "bill/bill_template.h"
#include "bill/entry_page.h"
#include "bill/form_changes.h"
#include "bill/host_services.h"
#include "bill/tool_bar.h"
#include "zov/host/bill.h"

namespace zov::sim {

class FormControl;

// A source row chosen in the source-selection window.
struct SourceRow {
  long billId = 0;   // FID of the source bill
  long entryId = 0;  // FEntryID of the source row; 0 takes every open row of the bill
};

// A save the host refuses after the plug-in allowed it; the text is the message the person sees
// and `key` the field the cursor goes to.
struct SaveRefused : std::runtime_error {
  SaveRefused(const std::string& message, std::string field)
      : std::runtime_error(message), key(std::move(field)) {}
  std::string key;
};

class BillForm final : public vb::Implements<host::IBillInterface> {
 public:
  // The deepest a chain of field actions and change events may nest; deeper is a failed event.
  static constexpr int kMaxChainDepth = 48;

  static Ref<BillForm> New(std::shared_ptr<const BillTemplate> tmpl, HostServices& services);
  ~BillForm() override;

  std::string TypeName() const override { return "BillEvent"; }

  // --- the bill interface -------------------------------------------------------------------
  Variant GetFieldValue(std::string_view key, long row, int kind) override;
  void SetFieldValue(std::string_view key, const Variant& value, long row) override;
  Ref<host::IDictionary> GetFieldInfoByKey(std::string_view key, std::string_view table,
                                           long flag) override;
  Ref<host::IDictionary> GetDataFld(const Ref<host::IDictionary>& fieldInfo, long row) override;
  Ref<host::IDictionary> GetDataFldbyKey(std::string_view key, long row) override;
  double Sum(const Ref<host::IDictionary>& fieldInfo) override;
  Ref<host::IBillCtl> BillCtl() override;
  Ref<host::IBillGrid> BillEntrys(long index) override;
  Ref<host::IBillGrid> BillHeads() override;
  Ref<host::IDictionary> Data() override;
  Ref<host::IDictionary> TableInfo() override;
  Ref<host::IControls> Controls() override;
  Ref<host::IQ7Lib> Q7Lib() override;
  Ref<host::IActiveBar> ToolBar() override { return bar_; }
  long FID() override { return tmpl_->classTypeId; }
  long CurBillID() override { return billId_; }
  long BillStatus() override { return formState_; }
  void SetBillStatus(long status) override;
  bool AmountCalcPrice() override { return amountCalcPrice_; }
  long BillViewMode() override { return 0; }
  void SaveBill() override;
  void CloseBill(bool ask, std::string_view text) override;
  void LockBill(bool lock) override { billLocked_ = lock; }
  std::string BillTitle() override { return title_; }
  void SetBillTitle(std::string_view title) override { title_ = title; }
  std::string FormCaption() override { return caption_; }
  void SetFormCaption(std::string_view caption) override { caption_ = caption; }
  // Shows the stored bill anew once the person's operation that asked for it (a click, an edit,
  // a save, an audit) is over: a form without unsaved changes reads the bill again
  // (AfterLoadBill), one with changes takes the stored business state only. Nothing for a bill
  // not stored yet.
  void Refresh() override;
  void SetBarStatus(std::string_view toolKey, std::string_view property, bool value) override;
  void SetToolProperty(std::string_view toolKey, std::string_view property,
                       const Variant& value) override;
  void SetEntryCtlProperty(std::string_view property, const Variant& value) override;
  void SetActiveCell(std::string_view key, long row) override;
  void SetStatusText(long panel, std::string_view text) override;
  long Advise(const Ref<host::IBillEventSink>& sink) override;
  void Unadvise(long cookie) override;

  // --- operations of the person and the host --------------------------------------------------
  // Builds the tool bar from the template and raises MenuBarInitialize; once, after binding.
  void InitializeMenus();
  // A new, empty bill (form state 1), then AfterNewBill.
  void NewBill();
  // Loads the stored bill `billId` in form state `state` (0 viewing; 2 editing, as a list's
  // modify command opens it), then AfterLoadBill; false when none.
  bool LoadBill(long billId, long state = host::kBillView);
  // The stored bill numbered `billNo` in form state `state`; false when none.
  bool LoadBillByNumber(std::string_view billNo, long state = host::kBillView);
  // The person types `typed` into field `key` of `row` (-1 header). Base-data fields take a
  // number ("C001"), or an internal ID as a number. False when refused (read-only bill, locked
  // cell, unknown number, or the plug-in cancelled the change).
  bool Edit(std::string_view key, long row, const Variant& typed);
  // A new row at the end of grid `grid`; AddNewRow. Returns the row.
  long AddRow(int grid = 1);
  // Deletes `row` of grid `grid` unless BeforeDeleteRow refuses; AfterDeleteRow.
  bool DeleteRow(long row, int grid = 1);
  // The cursor enters `row` of grid `grid` (EntryGridRow, whose first value is the grid).
  void EnterRow(long row, int grid = 1);
  // A click on tool `key`: MenuBarClick, then, unless cancelled, the host's own action.
  bool ClickTool(std::string_view key);
  // The host's own actions (each raises its events).
  bool Save();
  bool Audit();
  bool UnAudit();
  bool CopyBill();
  // A new bill made of copied bill data (a list's copy or merge copy: "Page1", "Page2",
  // "Page3"), then AfterCopyBill.
  void NewFromCopy(const Ref<host::IDictionary>& data);
  bool DeleteBill();
  // Gives back the edit lock of the stored bill the form edits (the form closes).
  void ReleaseEditLock();
  // The user whose session holds the stored bill for editing when this form could not take it
  // (the form shows the bill read-only); empty otherwise.
  const std::string& heldBy() const { return heldBy_; }
  // Pages to the stored bill of the class made before this one (`next`: after it); false at
  // either end, after a message.
  bool GoToBill(bool next);
  // Previous and next keep to the bills of kind `billType` (FBillTypeID; 0 any), as the list the
  // form was opened from holds them.
  void KeepToKind(long billType) { pagingKind_ = billType; }
  // Closes the form (exit).
  bool Exit();
  // Whether the form may be left: a changed bill is saved when the person wants (Yes), left as
  // it is (No) or kept (Cancel).
  bool MayLeave();
  // Print and print preview: a bill the account set wants saved before it is printed
  // ("SaveBeforePrint" of "IC") is saved first; then the form asks its window to print.
  bool Print(bool preview);
  enum PrintRequest { kNoPrint, kPrintNow, kPrintPreview };
  // What the last operation asked to print, once.
  PrintRequest TakePrintRequest();
  // The column total of a row field, and whether a printout of the bill totals the column
  // (quantities, amounts, weights and charges).
  double Total(const FieldDef& field) const;
  static bool Totalled(const FieldDef& field);
  // Long work (reading, saving, filling rows) tells `progress` what it does and how far it got.
  using Progress = std::function<void(std::string_view what, long done, long total)>;
  void SetProgress(Progress progress) { progress_ = std::move(progress); }
  // Reports progress (every so many rows, and at the end).
  void ReportProgress(std::string_view what, long done, long total) const {
    if (progress_ && (done % 128 == 0 || done == total)) progress_(what, done, total);
  }
  // Fills rows from stored source bills through the source tool `tool` ("mnuRelate_1030001").
  bool SelectSource(std::string_view tool, const std::vector<SourceRow>& rows);
  // A row of grid `grid` filled by import: the row's item and quantity written, then AfterFillRow
  // (whose fourth value is the grid).
  long FillRow(const std::vector<std::pair<std::string, Variant>>& values, int grid = 1);

  // --- what the form shows --------------------------------------------------------------------
  const BillTemplate& tmpl() const { return *tmpl_; }
  const std::shared_ptr<const BillTemplate>& tmplPtr() const { return tmpl_; }
  long RowCount(int grid = 1) const;
  // The rows of grid `grid` (1 or 2).
  EntryPage& Page(int grid) const;
  // The stored value, number and display text of a cell.
  Variant Value(std::string_view key, long row = -1) const;
  std::string Display(std::string_view key, long row = -1) const;
  // What a person sees in the cell of `field` in `row` (-1 for a header field): the text
  // shown (a base-data record's name); a base-data record's number.
  std::string Display(const FieldDef& field, long row) const;
  std::string Number(const FieldDef& field, long row) const;
  // The lock the form put on the cell itself, over its column's: none, locked or opened.
  enum CellLock { kFollowsColumn = 0, kCellLocked = 1, kCellOpened = 2 };
  CellLock LockOf(const FieldDef& field, long row) const;
  // Whether the person may edit the cell now; whether the field is shown.
  bool IsEditable(std::string_view key, long row = -1) const;
  bool IsVisible(std::string_view key) const;
  bool IsVisible(const FieldDef& field) const;
  std::string Caption(std::string_view key) const;
  // Whether nothing of the bill may be edited (audited, closed, locked, or held elsewhere).
  bool readOnly() const { return ReadOnly(); }
  // What changed since a view last took the changes (see FormChanges).
  FormChanges& changes() { return *changes_; }
  const std::string& StatusText(long panel) const;
  const std::string& ActiveKey() const { return activeKey_; }
  long ActiveRow() const { return activeRow_; }
  const Ref<ActiveBar>& bar() const { return bar_; }
  // Whether the last operation was refused (cancelled by the plug-in or refused by the host).
  bool lastCancelled() const { return lastCancelled_; }
  bool dirty() const { return dirty_; }
  const Variant& entryCtlProperty(std::string_view property) const;
  // How often the form read its stored bill again for a plug-in's refresh.
  int refreshes() const { return refreshes_; }
  bool closed() const { return closed_; }
  // The form's controls (grid, edit controls, buttons the plug-in added).
  const std::vector<Ref<FormControl>>& controls() const { return controls_; }

  // --- the form's controls ----------------------------------------------------------------------
  // A click on the button `name`: refused when there is none, or it is hidden or disabled. A
  // button at the end of a header field's edit box belongs to that field: the click starts an
  // edit of it, refused on a read-only bill or a locked field.
  bool ClickControl(std::string_view name);
  // Raises `event` ("Click", "Paint", "KeyPress", ...) on the control `name` (or the edit
  // control of header field `name`) with `params`, which come back as the handlers left them;
  // false when there is no such control or a handler failed (journaled).
  bool FireControlEvent(std::string_view name, std::string_view event,
                        std::vector<Variant>& params);
  // Paints the visible picture boxes that need it: what they showed is cleared, then Paint.
  void PaintControls();
  // The control named `name`, else the edit control of header field `name`; empty when none.
  Ref<FormControl> FindControl(std::string_view name) const;
  // The edit control of header field `key`, and the command button it shows at its end (its
  // "Postfix"); empty when there is none.
  Ref<FormControl> EditControl(std::string_view key) const;
  Ref<FormControl> PostfixButton(std::string_view key) const;
  // A record a header control offers (its field's "records"): the receive-address box offers the
  // header customer's contacts ("Contact": the contact's name and address) and stored delivery
  // addresses ("DeliveryAddress": the address's number and text).
  struct ControlRecord {
    std::string kind;  // "Contact", "DeliveryAddress"
    long id = 0;       // t_Contact.FID, t_SubMessage.FID
    std::string name;  // the contact's name, the address's number
    std::string text;  // the address
  };
  // What the control `name` (or the edit control of header field `name`) offers now; empty when
  // it offers nothing.
  std::vector<ControlRecord> ControlRecords(std::string_view name);
  // The person chooses the record `kind`/`id` in the control `name`: its text goes into the
  // control's field as typed, then the control exposes the record. False when refused (no such
  // record on offer, a read-only bill, a locked field, the plug-in refused the change).
  bool ChooseRecord(std::string_view name, std::string_view kind, long id);
  // The field of 1-based column `col` of the first entry grid, or nullptr.
  const FieldDef* GridField(long col) const;
  // The width in twips of a grid column showing `field` (by its type).
  static long ColumnWidth(const FieldDef& field);

  // The field descriptor of `key` (created once per field), or empty.
  Ref<Dictionary> FieldInfo(std::string_view key) const;
  Ref<Dictionary> FieldInfo(const FieldDef& field) const { return fieldInfos_.at(&field); }
  // The field a descriptor stands for, as `row` addresses it (a key both in the header and the
  // rows gives the row field for rows 1 and up).
  const FieldDef* FieldOf(const Ref<host::IDictionary>& fieldInfo, long row = -1) const;

  // --- used by the form's parts ---------------------------------------------------------------
  struct ColumnState {
    bool visible = true;
    bool locked = false;
    std::string caption;
  };
  const ColumnState& Column(const FieldDef& field);
  // The plug-in's changes of a field's lock, visibility and caption (through the grids).
  void SetColumnLock(const FieldDef& field, bool locked);
  void SetColumnVisible(const FieldDef& field, bool visible);
  void SetColumnCaption(const FieldDef& field, std::string_view caption);
  // The cell of `field` in `row`, created when `create`; empty when the row does not exist.
  Ref<BillCell> Cell(const FieldDef& field, long row, bool create);
  void LockCell(const FieldDef& field, long row, bool lock);
  bool IsCellLocked(const FieldDef& field, long row) const;
  // Runs the field's actions and raises Change for it: the chain of an edit.
  void RunChain(const FieldDef& field, long row, const Variant& previous);
  HostServices& services() { return services_; }

 private:
  BillForm(std::shared_ptr<const BillTemplate> tmpl, HostServices& services);

  // Raises `event` on every sink that connected it; a handler's exception is journaled and
  // makes the event a failed one (the return value). `call` receives the sink.
  template <class Call>
  bool Raise(host::BillEvent event, Call&& call);

  void ResetData();
  // What a copy does not take over ("copy": false) starts at 0 or empty.
  void ClearNotCopied();
  void CreateHeaderCells();
  void ApplyDefaults(int grid, long row);
  void WriteTyped(const FieldDef& field, long row, const Variant& value, bool markModified);
  // Resolves a base-data value (an internal ID, or a number) to (id, number, name, props).
  struct BaseRecord {
    bool found = false;
    long id = 0;
    std::string number, name;
    Ref<Dictionary> props;
  };
  BaseRecord ResolveBase(const FieldDef& field, const Variant& value, bool byNumber);
  // The fields the record chosen in `field` fills in (the template's "fill").
  void FillLinked(const FieldDef& field, long row);
  void RunActions(const FieldDef& field, long row, const std::string& kind);
  void ApplyCalculate(const FieldDef& field, const FieldAction& action, long row);
  void ApplyLockRule(const FieldDef& field, const FieldAction& action, long row);
  void RaiseChange(const FieldDef& field, long row, const Variant& previous, bool& cancel);
  bool BeginEditIfViewing();
  // Edit locks. TakeEditLock takes the stored bill for this form, or tells the person who holds
  // it and leaves the form read-only; false when it could not.
  bool TakeEditLock();
  // Refuses an operation on the stored bill while another session edits it, and reads the bill
  // again when another session wrote it since it was read: false after the message.
  bool CheckNotHeldOrStale(const char* operation);
  // Counts a write of the bill by this form (inside the writing transaction).
  void CountWrite();
  // Reads the stored bill again after another session wrote it, and says so.
  void ReloadStored(const std::string& message);
  // Every cell as stored (after a read or a save).
  void MarkStored();
  bool ReadOnly() const;
  void RunHostTool(std::string_view key, bool& handled);
  // Moves the cursor (and the entry grid's active cell) to `key` of `row`.
  void MoveCursor(std::string_view key, long row);
  // The key presses of typing `typed` into the edit control of a header field: each character
  // raises KeyPress, whose handler may change or swallow (0) it. `typed` keeps what is left;
  // false when a handler failed.
  bool PressKeys(const FieldDef& field, std::string& typed);
  bool RaiseControl(FormControl& control, std::string_view event, std::vector<Variant>& params);
  // Reads the stored business state (FStatus, FCheckerID, FCheckDate) of the bill back into the
  // header, for bills a server component audits.
  void ReloadBusinessState();
  // A person's operation in which a plug-in may ask for a refresh; the refresh runs when the
  // outermost one ends.
  class OperationScope {
   public:
    explicit OperationScope(BillForm& form) : form_(form) { ++form_.operations_; }
    ~OperationScope() {
      if (--form_.operations_ == 0 && form_.refreshPending_) form_.RunRefresh();
    }
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

   private:
    BillForm& form_;
  };
  void RunRefresh() noexcept;
  // Persistence.
  bool ReadFromDatabase(long billId);
  void WriteToDatabase();
  std::string NextBillNo();
  // After the bill's rows are written, in the saving transaction: its number is its own (raises
  // SaveRefused naming FBillNo when another bill of the head table has it) and a new bill
  // records its maker (FBillerID).
  void CompleteSave(bool isNew);
  // Whether a bill of the head table other than this one has the number `billNo`.
  bool BillNoTaken(const std::string& billNo);
  void BuildControls();
  // The controls that offer records forget the record chosen (another bill, another customer).
  void ForgetChosenRecords();
  // The header field whose control is `control`; nullptr for another control.
  const FieldDef* FieldOfControl(const FormControl& control) const;

  std::shared_ptr<const BillTemplate> tmpl_;
  HostServices& services_;
  std::shared_ptr<FormChanges> changes_ = std::make_shared<FormChanges>();
  Ref<CellRow> page1_;
  std::array<Ref<EntryPage>, 2> grids_;
  std::set<std::string, std::less<>> headerLocked_, headerOpened_;
  std::map<std::string, ColumnState, std::less<>> columns_;
  std::unordered_map<const FieldDef*, Ref<Dictionary>> fieldInfos_;
  mutable Ref<Dictionary> tableInfo_;
  Ref<ActiveBar> bar_;
  std::vector<Ref<FormControl>> controls_;
  std::map<std::string, std::pair<BaseRecord, bool>, std::less<>> baseCache_;
  std::vector<std::pair<long, Ref<host::IBillEventSink>>> sinks_;
  long nextCookie_ = 1;

  long billId_ = 0;
  long pagingKind_ = 0;
  long formState_ = host::kBillNew;
  long storedVersion_ = 0;  // the host's writes of the stored bill when the form read it
  bool holdsEditLock_ = false;
  bool lockRefused_ = false;  // another session holds the bill: the form only shows it
  std::string heldBy_;        // see heldBy()
  std::chrono::steady_clock::time_point lockTouched_;
  bool amountCalcPrice_ = false;
  bool billLocked_ = false;
  bool dirty_ = false;
  bool lastCancelled_ = false;
  // Ends an operation the user or a plug-in refused: marks it cancelled and answers false.
  bool Refuse() {
    lastCancelled_ = true;
    return false;
  }
  bool closed_ = false;
  bool menusBuilt_ = false;
  int depth_ = 0;
  int operations_ = 0;
  bool refreshPending_ = false;
  int refreshes_ = 0;
  PrintRequest printRequest_ = kNoPrint;
  Progress progress_;
  std::string title_, caption_;
  std::array<std::string, 5> status_;
  std::string activeKey_;
  long activeRow_ = 0;
  std::map<std::string, Variant, std::less<>> entryCtl_;
};

}  // namespace zov::sim
