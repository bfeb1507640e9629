// The events the host raises on a bill form and on a bill list, with their argument lists in
// the host's order. A plug-in connects a sink with Advise and says which events it handles; the
// host raises only those. Cancel is passed by reference: setting it to true makes the host
// abandon the operation.
#pragma once

#include <bitset>
#include <iterator>
#include <string>

#include "zov/host/dictionary.h"
#include "zov/host/toolbar.h"

namespace zov::host {

enum class BillEvent : int {
  AddNewRow,
  AfterCopyBill,
  AfterDeleteRow,
  AfterDoAction2,
  AfterFillRow,
  AfterLoadBill,
  AfterNewBill,
  AfterSave,
  AfterSelBill,
  AfterSelBillBeforeFillData,
  BeforeDeleteRow,
  BeforeDoAction,
  BeforeDoAction2,
  BeforeSave,
  BeforeSelBills,
  BeforLoadBillFillData,  // the host's spelling
  BeginEdit,
  BusinessCheck,
  Change,
  EntryGridRow,
  LostFocus,
  MenuBarClick,
  MenuBarInitialize,
  SaveBillSuccess,
  UnBusinessCheck,
  kCount
};

enum class ListEvent : int {
  AfterCopyBillCreateData,
  AfterMergeCopyBill,
  BusinessCheck,
  MenuBarClick,
  MenuBarInitialize,
  UnBusinessCheck,
  kCount
};

using BillEventSet = std::bitset<static_cast<std::size_t>(BillEvent::kCount)>;
using ListEventSet = std::bitset<static_cast<std::size_t>(ListEvent::kCount)>;

// The host's name of an event ("AfterNewBill").
inline const char* BillEventName(BillEvent e) {
  static constexpr const char* kNames[] = {"AddNewRow",
                                           "AfterCopyBill",
                                           "AfterDeleteRow",
                                           "AfterDoAction2",
                                           "AfterFillRow",
                                           "AfterLoadBill",
                                           "AfterNewBill",
                                           "AfterSave",
                                           "AfterSelBill",
                                           "AfterSelBillBeforeFillData",
                                           "BeforeDeleteRow",
                                           "BeforeDoAction",
                                           "BeforeDoAction2",
                                           "BeforeSave",
                                           "BeforeSelBills",
                                           "BeforLoadBillFillData",
                                           "BeginEdit",
                                           "BusinessCheck",
                                           "Change",
                                           "EntryGridRow",
                                           "LostFocus",
                                           "MenuBarClick",
                                           "MenuBarInitialize",
                                           "SaveBillSuccess",
                                           "UnBusinessCheck"};
  static_assert(std::size(kNames) == static_cast<std::size_t>(BillEvent::kCount));
  return kNames[static_cast<int>(e)];
}
inline const char* ListEventName(ListEvent e) {
  static constexpr const char* kNames[] = {"AfterCopyBillCreateData", "AfterMergeCopyBill",
                                           "BusinessCheck",           "MenuBarClick",
                                           "MenuBarInitialize",       "UnBusinessCheck"};
  static_assert(std::size(kNames) == static_cast<std::size_t>(ListEvent::kCount));
  return kNames[static_cast<int>(e)];
}

// Receives the events of one bill form. The host calls only the members whose events are in
// ConnectedEvents(); every member has an empty default so a sink overrides what it handles.
// Arguments named vN are passed through by the host and carry nothing the library reads.
class IBillEventSink : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D20}");

  // The events this sink handles; fixed for the life of the connection.
  virtual BillEventSet ConnectedEvents() const = 0;

  // A row added to grid `grid` (1 or 2): the grid and the new row.
  virtual void AddNewRow(const Variant& /*grid*/, long /*row*/) {}
  virtual void AfterCopyBill() {}
  // A row deleted: the grid and the row it was.
  virtual void AfterDeleteRow(const Variant& /*grid*/, const Variant& /*row*/) {}
  // After a field action ran: the field descriptor, the action data, the cell, the action kind
  // ("FAction", "FLoadAction"; a second grid's "FAction01"), the action name ("Calculate",
  // "LockField"), its parameter text (the formula or the lock condition), and the row.
  virtual void AfterDoAction2(const Variant& /*fieldInfo*/, const Variant& /*actionData*/,
                              const Variant& /*cell*/, const std::string& /*kind*/,
                              const std::string& /*name*/, const std::string& /*parameter*/,
                              long /*row*/) {}
  // A row filled by import or bar-code entry: the row, the source data and the grid (1 or 2).
  virtual void AfterFillRow(long /*row*/, const Variant& /*sourceRow*/,
                            const Variant& /*sourceData*/, const Variant& /*grid*/) {}
  virtual void AfterLoadBill() {}
  virtual void AfterNewBill() {}
  virtual void AfterSave(const Variant& /*v1*/) {}
  virtual void AfterSelBill(const Variant& /*v1*/) {}
  // Before selected source rows are filled in: the selection (item "FSourClassTypeID") and the
  // selected data.
  virtual void AfterSelBillBeforeFillData(const Variant& /*selection*/, const Variant& /*data*/) {}
  // Before `row` of grid `grid` is deleted.
  virtual void BeforeDeleteRow(const Variant& /*grid*/, long /*row*/, bool& /*cancel*/) {}
  // Before a field action runs; arguments as AfterDoAction2 without the row.
  virtual void BeforeDoAction(const Variant& /*fieldInfo*/, const Variant& /*actionData*/,
                              const Variant& /*cell*/, const std::string& /*kind*/,
                              const std::string& /*name*/, const std::string& /*parameter*/,
                              bool& /*cancel*/) {}
  virtual void BeforeDoAction2(const Variant& /*fieldInfo*/, const Variant& /*actionData*/,
                               const Variant& /*cell*/, const std::string& /*kind*/,
                               const std::string& /*name*/, const std::string& /*parameter*/,
                               bool& /*cancel*/, const Variant& /*v8*/) {}
  virtual void BeforeSave(bool& /*cancel*/) {}
  // Before the source-bill selection window opens; `filter` is the selection's condition text,
  // which the handler may extend.
  virtual void BeforeSelBills(const Variant& /*v1*/, const Variant& /*v2*/, const Variant& /*v3*/,
                              std::string& /*filter*/, const Variant& /*v5*/) {}
  virtual void BeforLoadBillFillData() {}
  virtual void BeginEdit(const Variant& /*v1*/, const Variant& /*v2*/, const Variant& /*v3*/) {}
  // Audit of the bill.
  virtual void BusinessCheck(bool& /*cancel*/) {}
  // A field changed: its descriptor (item "FKey"), the change record (item "FFLD" holds the
  // previous value), the column, the row (-1 for a header field) and Cancel.
  virtual void Change(const Ref<IDictionary>& /*field*/, const Ref<IDictionary>& /*change*/,
                      long /*col*/, long /*row*/, bool& /*cancel*/) {}
  // The cursor entered `row` of entry grid `grid` (1 or 2).
  virtual void EntryGridRow(const Variant& /*grid*/, long /*row*/, const Variant& /*v3*/,
                            const Variant& /*v4*/, const Variant& /*v5*/, const Variant& /*v6*/,
                            const Variant& /*v7*/, const Variant& /*v8*/) {}
  virtual void LostFocus(const std::string& /*v1*/, const Variant& /*v2*/, const Variant& /*v3*/,
                         const Variant& /*v4*/) {}
  virtual void MenuBarClick(const Ref<ITool>& /*tool*/, bool& /*cancel*/) {}
  virtual void MenuBarInitialize(const Ref<IActiveBar>& /*menuBar*/) {}
  virtual void SaveBillSuccess(const Variant& /*v1*/) {}
  // Un-audit of the bill.
  virtual void UnBusinessCheck(bool& /*cancel*/) {}

 protected:
  ~IBillEventSink() = default;
};

// Receives the events of one bill list.
class IListEventSink : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D21}");

  virtual ListEventSet ConnectedEvents() const = 0;

  virtual void AfterCopyBillCreateData(const Variant& /*v1*/, const Variant& /*data*/) {}
  virtual void AfterMergeCopyBill(const Variant& /*data*/) {}
  // Audit of the selected bills. The one by-reference argument is read as Cancel by the
  // special-price list; the other lists do not cancel.
  virtual void BusinessCheck(bool& /*cancel*/) {}
  virtual void MenuBarClick(const Ref<ITool>& /*tool*/, bool& /*cancel*/) {}
  virtual void MenuBarInitialize(const Ref<IActiveBar>& /*menuBar*/) {}
  virtual void UnBusinessCheck(bool& /*cancel*/) {}

 protected:
  ~IListEventSink() = default;
};

}  // namespace zov::host
