// A small in-memory host for the plug-in library's unit tests: a session, a dictionary, a bill
// form with a handful of fields and a list. It records what the library asks of it. The
// substitute host proper is tested on its own; this one only has to be easy to reason about.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "zov/host/bill.h"
#include "zov/host/components.h"
#include "zov/host/list.h"
#include "zov/host/plugin.h"
#include "zov/vb/error.h"

namespace zov::testing {

using host::IDictionary;
using vb::Ref;
using vb::Variant;

class FakeDictionary final : public vb::Implements<IDictionary> {
 public:
  std::string TypeName() const override { return "Dictionary"; }
  Variant Item(const Variant& key) const override;
  void SetItem(const Variant& key, const Variant& value) override;
  bool Lookup(const Variant& key) const override;
  void Add(const Variant& key, const Variant& value) override;
  void Remove(const Variant& key) override;
  void RemoveAll() override { items_.clear(); }
  long Count() const override { return static_cast<long>(items_.size()); }
  std::vector<Variant> Keys() const override;

 private:
  std::vector<std::pair<Variant, Variant>> items_;
};

Ref<IDictionary> NewDictionary();

// Message boxes answered from a queue (vbOK when empty), every text recorded.
class FakeUi final : public vb::Implements<host::IHostUi> {
 public:
  std::string TypeName() const override { return "HostUi"; }
  int MsgBox(std::string_view text, int buttons, std::string_view title) override;
  std::string InputBox(std::string_view, std::string_view, std::string_view) override { return {}; }
  void ShowRejectNote(const Ref<host::IRejectNoteForm>&) override {}
  void ShowPopTip(std::string_view, std::string_view) override {}
  void ShowList(const std::vector<std::string>&, const std::vector<long>&,
                const std::vector<std::vector<std::string>>&) override {}
  host::SelectionResult SelectItems(const Ref<host::IRecordset>&, const std::vector<long>&,
                                    std::string_view, bool) override {
    return {};
  }
  void ShowRelatedBills(std::string_view, std::string_view, const Ref<IDictionary>&,
                        const Ref<IDictionary>&, long) override {}
  void ShowData(std::string_view, const Variant&) override {}

  std::vector<std::string> messages;
  std::vector<int> answers;
};

// Security component whose answer is set by the test; records each question.
class FakeSecurity final : public vb::Implements<host::ISecurityInfo> {
 public:
  std::string TypeName() const override { return "SecurityInfo"; }
  bool AccessCheck(std::string_view props, long group, long object, long right, bool,
                   std::string_view caller) override;
  Variant NeedAutorized(std::string_view) override { return needAuthorization; }

  struct Question {
    std::string props;
    long group, object, right;
    std::string caller;
  };
  std::vector<Question> questions;
  bool answer = true;
  bool needAuthorization = false;
};

class FakeHost final : public vb::Implements<host::IHost> {
 public:
  FakeHost();
  std::string TypeName() const override { return "Host"; }
  std::uint32_t ProcessId() override { return processId; }
  std::uint32_t TerminalSessionId() override { return 1; }
  std::string SystemDirectory() override { return "/tmp"; }
  Ref<vb::IObject> CreateObject(std::string_view progId) override;
  Ref<IDictionary> PropertyBag() override { return bag; }
  Ref<host::IHostUi> Ui() override { return ui; }
  vb::Date Now() override { return vb::Date{46361.5}; }
  Ref<vb::IObject> LibraryState(std::string_view library) override;
  void SetLibraryState(std::string_view library, const Ref<vb::IObject>& state) override;
  // Drops the library slots, as a session does when it ends.
  void EndSession() { states_.clear(); }

  // Components the test provides, by ProgID; they take precedence over the built-in ones.
  std::map<std::string, std::function<Ref<vb::IObject>()>, std::less<>> components;
  std::uint32_t processId = 4242;

  Ref<IDictionary> bag;  // empty: the host published no bag
  Ref<FakeUi> ui;
  Ref<FakeSecurity> security;
  std::vector<std::string> created;  // ProgIDs asked for, in order

 private:
  std::map<std::string, Ref<vb::IObject>, std::less<>> states_;
};

// A bill form with fields of one entry grid; type name "BillEvent" unless told otherwise.
class FakeBill final : public vb::Implements<host::IBillInterface> {
 public:
  explicit FakeBill(std::string typeName = "BillEvent", long fid = 1030002)
      : typeName_(std::move(typeName)), fid_(fid) {}
  std::string TypeName() const override { return typeName_; }

  Variant GetFieldValue(std::string_view key, long row, int kind) override;
  void SetFieldValue(std::string_view key, const Variant& value, long row) override;
  Ref<IDictionary> GetFieldInfoByKey(std::string_view key, std::string_view, long) override;
  Ref<IDictionary> GetDataFld(const Ref<IDictionary>& info, long row) override;
  Ref<IDictionary> GetDataFldbyKey(std::string_view key, long row) override;
  double Sum(const Ref<IDictionary>& info) override;
  Ref<host::IBillCtl> BillCtl() override { throw Unsupported(); }
  Ref<host::IBillGrid> BillEntrys(long) override;
  Ref<host::IBillGrid> BillHeads() override;
  Ref<IDictionary> Data() override { throw Unsupported(); }
  Ref<IDictionary> TableInfo() override { throw Unsupported(); }
  Ref<host::IControls> Controls() override { throw Unsupported(); }
  Ref<host::IQ7Lib> Q7Lib() override { throw Unsupported(); }
  Ref<host::IActiveBar> ToolBar() override { throw Unsupported(); }
  long FID() override { return fid_; }
  long CurBillID() override { return 0; }
  long BillStatus() override { return 1; }
  void SetBillStatus(long) override {}
  bool AmountCalcPrice() override { return false; }
  long BillViewMode() override { return 0; }
  void SaveBill() override {}
  void CloseBill(bool, std::string_view) override {}
  void LockBill(bool) override {}
  std::string BillTitle() override { return {}; }
  void SetBillTitle(std::string_view) override {}
  std::string FormCaption() override { return {}; }
  void SetFormCaption(std::string_view) override {}
  void Refresh() override {}
  void SetBarStatus(std::string_view key, std::string_view property, bool value) override;
  void SetToolProperty(std::string_view, std::string_view, const Variant&) override {}
  void SetEntryCtlProperty(std::string_view, const Variant&) override {}
  void SetActiveCell(std::string_view, long) override {}
  void SetStatusText(long, std::string_view) override {}
  long Advise(const Ref<host::IBillEventSink>& sink) override;
  void Unadvise(long cookie) override;

  // The rows of the entry grid.
  long rows = 0;
  // Cells by "KEY@ROW" (header: row -1): dictionaries with "FFLD" and "FModify".
  std::map<std::string, Ref<IDictionary>> cells;
  // The stored value of a cell, Empty when never written.
  Variant Cell(std::string_view key, long row = -1) const;
  // Tool flags set with SetBarStatus: "key.Property" -> value.
  std::map<std::string, bool> bar;
  std::vector<std::string> headerHidden;  // header fields made invisible
  Ref<host::IBillEventSink> sink;         // the connected sink, if any
  int unadvised = 0;

 private:
  static vb::Error Unsupported() {
    return vb::Error(438, "Object doesn't support this property or method");
  }
  static std::string CellKey(std::string_view key, long row);
  std::string typeName_;
  long fid_;
};

class FakeList final : public vb::Implements<host::IListInterface> {
 public:
  std::string TypeName() const override { return "ListEvent"; }
  long FID() override { return 1030002; }
  long BillTypeID() override { return 0; }
  std::vector<long> SelectedBillIDs() override { return {}; }
  Ref<IDictionary> GetSelectedBillInfo() override { return NewDictionary(); }
  void SetToolProperty(std::string_view, std::string_view, const Variant&) override {}
  Ref<host::IActiveBar> ToolBar() override { return {}; }
  void Refresh() override {}
  long Advise(const Ref<host::IListEventSink>& s) override {
    sink = s;
    return 7;
  }
  void Unadvise(long) override {
    sink.reset();
    ++unadvised;
  }

  Ref<host::IListEventSink> sink;
  int unadvised = 0;
};

}  // namespace zov::testing
