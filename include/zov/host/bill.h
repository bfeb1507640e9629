// The bill interface: the host object (type name "BillEvent") behind one bill form, through
// which a plug-in reads and writes fields, locks cells, runs field actions, moves the cursor and
// changes tools.
//
// Fields are addressed by key ("FCustID", "FShowQty"); header fields with row -1, entry fields
// of the first grid with rows 1 .. n. Bill data: Data() holds "Page1" (the header: internal key
// to cell), "Page2" and "Page3" (the entry grids: row number to a dictionary of internal key to
// cell). A cell is a dictionary with "FFLD" (stored value or internal ID), "FFND" (number),
// "FDSP" (display text) and "FModify" (1 changed by the user, 0 not).
#pragma once

#include <string>

#include "zov/host/controls.h"
#include "zov/host/dictionary.h"
#include "zov/host/events.h"
#include "zov/host/recordset.h"
#include "zov/host/toolbar.h"

namespace zov::host {

// What GetFieldValue returns of a base-data reference field.
enum FieldValueKind : int {
  kFieldStored = 1,   // the stored value or internal ID
  kFieldNumber = 2,   // the base-data number
  kFieldDisplay = 3,  // the display name
};

// Form states of BillStatus.
enum BillFormState : long { kBillView = 0, kBillNew = 1, kBillEdit = 2 };

class IBillCtl : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D40}");
  // Locks (true) or opens one cell of the field described by `fieldInfo`.
  virtual void LockCell(const Ref<IDictionary>& fieldInfo, long row, bool lock) = 0;
  // Runs the field's own actions for `cell` of `row` (its "Calculate" formulas and locks) with
  // the whole edit chain: BeforeDoAction, the action, Change of every written field,
  // AfterDoAction2. Returns when the chain has finished.
  virtual void DoAction(const Ref<IDictionary>& fieldInfo, const Ref<IDictionary>& cell,
                        long row) = 0;
  // True when the cell is locked now (by the template, a lock action or LockCell).
  virtual bool IsFieldLockRunTime(const Ref<IDictionary>& fieldInfo, long row) = 0;

 protected:
  ~IBillCtl() = default;
};

// A column of a grid or a header field, as the grid control shows it.
class IQORField : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D41}");
  // Locked for editing in every row.
  virtual bool FieldLock() const = 0;
  virtual void SetFieldLock(bool lock) = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  // The caption shown for the field (a header label or a column title).
  virtual std::string Caption() const = 0;
  virtual void SetCaption(std::string_view caption) = 0;

 protected:
  ~IQORField() = default;
};

// An entry grid (BillEntrys(1) or (2)) or the header (BillHeads).
class IBillGrid : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D42}");
  // The number of data rows (the last row holding data); 0 for an empty grid and the header.
  virtual long GridMaxDataRowNum() const = 0;
  // The field with key `key`; raises Error 5 when the grid has no such field.
  virtual Ref<IQORField> QORFields(std::string_view key) = 0;

 protected:
  ~IBillGrid() = default;
};

// The host library object of the form (property Q7Lib).
class IQ7Lib : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D43}");
  // Runs a query on the account set's database; raises the database's error.
  virtual Ref<IRecordset> Getdata(std::string_view sql) = 0;

 protected:
  ~IQ7Lib() = default;
};

class IBillInterface : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{2AED82F9-5F6C-4F05-805E-C3FF7F78A353}");

  // --- fields -----------------------------------------------------------------------------
  // The value of field `key` in `row` (-1: header). Base-data fields answer by `kind`; other
  // fields answer their stored value for every kind. An unknown key raises Error 5.
  virtual Variant GetFieldValue(std::string_view key, long row = -1, int kind = kFieldStored) = 0;
  // Writes the cell without running the field's actions and without raising Change. A
  // base-data field takes an internal ID or a number and fills number and name from it.
  virtual void SetFieldValue(std::string_view key, const Variant& value, long row = -1) = 0;
  // The descriptor of field `key` ("FKey", "FFieldName", "FPage", "FVisible", "FCtlType",
  // "FSourceType", "FSRCTableName", "FSRCFieldName", ...), or empty when there is none.
  virtual Ref<IDictionary> GetFieldInfoByKey(std::string_view key, std::string_view table = "",
                                             long flag = 0) = 0;
  // The data cell of the field in `row`; empty when the row does not exist.
  virtual Ref<IDictionary> GetDataFld(const Ref<IDictionary>& fieldInfo, long row) = 0;
  virtual Ref<IDictionary> GetDataFldbyKey(std::string_view key, long row) = 0;
  // The column total of the field over the rows of its grid.
  virtual double Sum(const Ref<IDictionary>& fieldInfo) = 0;

  // --- form parts ---------------------------------------------------------------------------
  virtual Ref<IBillCtl> BillCtl() = 0;
  // Entry grid 1 or 2; raises Error 9 for a grid the form does not have.
  virtual Ref<IBillGrid> BillEntrys(long index) = 0;
  virtual Ref<IBillGrid> BillHeads() = 0;
  // The bill data pages (see the file comment).
  virtual Ref<IDictionary> Data() = 0;
  // Template information; item "Map": field key to a dictionary with the internal key and
  // "FVisible" (bit mask: 16 view, 64 new, 128 edit).
  virtual Ref<IDictionary> TableInfo() = 0;
  virtual Ref<IControls> Controls() = 0;
  virtual Ref<IQ7Lib> Q7Lib() = 0;
  // The form's menu and tool bar.
  virtual Ref<IActiveBar> ToolBar() = 0;

  // --- bill --------------------------------------------------------------------------------
  // The bill class type ("1030002").
  virtual long FID() = 0;
  // The internal ID of the stored bill; 0 for a bill never saved.
  virtual long CurBillID() = 0;
  // The form state (kBillView, kBillNew, kBillEdit); writing switches it.
  virtual long BillStatus() = 0;
  virtual void SetBillStatus(long status) = 0;
  // True when edited amounts drive the prices (the template's amount-to-price formulas run).
  virtual bool AmountCalcPrice() = 0;
  // The form's view mode (0 the ordinary form).
  virtual long BillViewMode() = 0;
  // Saves the bill as the host's save tool does (BeforeSave may refuse).
  virtual void SaveBill() = 0;
  // Closes the form; `ask` false closes without the unsaved-changes question.
  virtual void CloseBill(bool ask = false, std::string_view text = "") = 0;
  // Locks (true) or opens the whole bill for editing.
  virtual void LockBill(bool lock) = 0;
  virtual std::string BillTitle() = 0;
  virtual void SetBillTitle(std::string_view title) = 0;
  virtual std::string FormCaption() = 0;
  virtual void SetFormCaption(std::string_view caption) = 0;
  // Redraws the form from the bill data.
  virtual void Refresh() = 0;

  // --- display and tools ---------------------------------------------------------------------
  // A tool flag: `property` "Visible" or "Enabled".
  virtual void SetBarStatus(std::string_view toolKey, std::string_view property, bool value) = 0;
  // A tool property ("Visible", "Enabled", "Caption", "ToolTipText", "Description"); an unknown
  // tool is ignored.
  virtual void SetToolProperty(std::string_view toolKey, std::string_view property,
                               const Variant& value) = 0;
  // A property of the entry grid control ("TextColor").
  virtual void SetEntryCtlProperty(std::string_view property, const Variant& value) = 0;
  // Moves the cursor to field `key` of `row`.
  virtual void SetActiveCell(std::string_view key, long row) = 0;
  // Text of status panel `panel` (2 row stock, 3 customer balance); "" clears it.
  virtual void SetStatusText(long panel, std::string_view text) = 0;

  // --- events --------------------------------------------------------------------------------
  // Connects a sink; the host raises the sink's connected events until Unadvise. Returns a
  // cookie.
  virtual long Advise(const Ref<IBillEventSink>& sink) = 0;
  virtual void Unadvise(long cookie) = 0;

 protected:
  ~IBillInterface() = default;
};

}  // namespace zov::host
