// The sinks a plug-in class connects to its bill and list objects. A sink forwards each event to
// the class's handler of the host's name (m_BillInterface_Change, m_ListInterface_MenuBarClick)
// and connects exactly the events for which the class has a handler: the connected set is read
// off the class at compile time, so it cannot drift from the handlers.
//
// The sink refers to its class weakly (the class owns the connection and detaches the sink when
// it ends) and keeps the class alive for the duration of each event.
#pragma once

#include "zov/host/bill.h"
#include "zov/host/list.h"

namespace zov::plugins {

using host::BillEvent;
using host::BillEventSet;
using host::IActiveBar;
using host::IDictionary;
using host::ITool;
using host::ListEvent;
using host::ListEventSet;
using vb::Ref;
using vb::Variant;

// One line per event: the sink member, its parameters, the arguments, and the handler suffix.
#define ZOV_BILL_EVENTS(X)                                                                         \
  X(AddNewRow, (const Variant& v1, long row), (v1, row))                                           \
  X(AfterCopyBill, (), ())                                                                         \
  X(AfterDeleteRow, (const Variant& v1, const Variant& v2), (v1, v2))                              \
  X(AfterDoAction2,                                                                                \
    (const Variant& fieldInfo, const Variant& actionData, const Variant& cell,                     \
     const std::string& kind, const std::string& name, const std::string& parameter, long row),    \
    (fieldInfo, actionData, cell, kind, name, parameter, row))                                     \
  X(AfterFillRow,                                                                                  \
    (long row, const Variant& sourceRow, const Variant& sourceData, const Variant& v4),            \
    (row, sourceRow, sourceData, v4))                                                              \
  X(AfterLoadBill, (), ())                                                                         \
  X(AfterNewBill, (), ())                                                                          \
  X(AfterSave, (const Variant& v1), (v1))                                                          \
  X(AfterSelBill, (const Variant& v1), (v1))                                                       \
  X(AfterSelBillBeforeFillData, (const Variant& selection, const Variant& data),                   \
    (selection, data))                                                                             \
  X(BeforeDeleteRow, (const Variant& v1, long row, bool& cancel), (v1, row, cancel))               \
  X(BeforeDoAction,                                                                                \
    (const Variant& fieldInfo, const Variant& actionData, const Variant& cell,                     \
     const std::string& kind, const std::string& name, const std::string& parameter,               \
     bool& cancel),                                                                                \
    (fieldInfo, actionData, cell, kind, name, parameter, cancel))                                  \
  X(BeforeDoAction2,                                                                               \
    (const Variant& fieldInfo, const Variant& actionData, const Variant& cell,                     \
     const std::string& kind, const std::string& name, const std::string& parameter, bool& cancel, \
     const Variant& v8),                                                                           \
    (fieldInfo, actionData, cell, kind, name, parameter, cancel, v8))                              \
  X(BeforeSave, (bool& cancel), (cancel))                                                          \
  X(BeforeSelBills,                                                                                \
    (const Variant& v1, const Variant& v2, const Variant& v3, std::string& filter,                 \
     const Variant& v5),                                                                           \
    (v1, v2, v3, filter, v5))                                                                      \
  X(BeforLoadBillFillData, (), ())                                                                 \
  X(BeginEdit, (const Variant& v1, const Variant& v2, const Variant& v3), (v1, v2, v3))            \
  X(BusinessCheck, (bool& cancel), (cancel))                                                       \
  X(Change,                                                                                        \
    (const Ref<IDictionary>& field, const Ref<IDictionary>& change, long col, long row,            \
     bool& cancel),                                                                                \
    (field, change, col, row, cancel))                                                             \
  X(EntryGridRow,                                                                                  \
    (const Variant& v1, long row, const Variant& v3, const Variant& v4, const Variant& v5,         \
     const Variant& v6, const Variant& v7, const Variant& v8),                                     \
    (v1, row, v3, v4, v5, v6, v7, v8))                                                             \
  X(LostFocus, (const std::string& v1, const Variant& v2, const Variant& v3, const Variant& v4),   \
    (v1, v2, v3, v4))                                                                              \
  X(MenuBarClick, (const Ref<ITool>& tool, bool& cancel), (tool, cancel))                          \
  X(MenuBarInitialize, (const Ref<IActiveBar>& menuBar), (menuBar))                                \
  X(SaveBillSuccess, (const Variant& v1), (v1))                                                    \
  X(UnBusinessCheck, (bool& cancel), (cancel))

// The list events; the class's handler of AfterMergeCopyBill is spelled m_ListInterFace_... as
// the host spells it.
#define ZOV_LIST_EVENTS(X)                                                                  \
  X(AfterCopyBillCreateData, m_ListInterface_AfterCopyBillCreateData,                       \
    (const Variant& v1, const Variant& data), (v1, data))                                   \
  X(AfterMergeCopyBill, m_ListInterFace_AfterMergeCopyBill, (const Variant& data), (data))  \
  X(BusinessCheck, m_ListInterface_BusinessCheck, (bool& cancel), (cancel))                 \
  X(MenuBarClick, m_ListInterface_MenuBarClick, (const Ref<ITool>& tool, bool& cancel),     \
    (tool, cancel))                                                                         \
  X(MenuBarInitialize, m_ListInterface_MenuBarInitialize, (const Ref<IActiveBar>& menuBar), \
    (menuBar))                                                                              \
  X(UnBusinessCheck, m_ListInterface_UnBusinessCheck, (bool& cancel), (cancel))

// A class without a handler for an event receives its arguments and ignores them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"

template <class Owner>
class BillSink final : public vb::Implements<host::IBillEventSink> {
 public:
  explicit BillSink(Owner* owner) : owner_(owner) {}
  std::string TypeName() const override { return "BillEventSink"; }
  // Stops forwarding; the owner calls it when it ends.
  void Detach() { owner_ = nullptr; }

  // The events Owner has a handler for.
  static BillEventSet Handled() {
    BillEventSet set;
#define ZOV_HANDLED(event, params, args)                       \
  if constexpr (requires { &Owner::m_BillInterface_##event; }) \
    set.set(static_cast<std::size_t>(BillEvent::event));
    ZOV_BILL_EVENTS(ZOV_HANDLED)
#undef ZOV_HANDLED
    return set;
  }
  BillEventSet ConnectedEvents() const override { return Handled(); }

#define ZOV_FORWARD(event, params, args)                           \
  void event params override {                                     \
    if constexpr (requires { &Owner::m_BillInterface_##event; }) { \
      if (!owner_) return;                                         \
      Ref<Owner> keep(owner_);                                     \
      keep->m_BillInterface_##event args;                          \
    }                                                              \
  }
  ZOV_BILL_EVENTS(ZOV_FORWARD)
#undef ZOV_FORWARD

 private:
  Owner* owner_;
};

template <class Owner>
class ListSink final : public vb::Implements<host::IListEventSink> {
 public:
  explicit ListSink(Owner* owner) : owner_(owner) {}
  std::string TypeName() const override { return "ListEventSink"; }
  void Detach() { owner_ = nullptr; }

  static ListEventSet Handled() {
    ListEventSet set;
#define ZOV_HANDLED(event, handler, params, args) \
  if constexpr (requires { &Owner::handler; }) set.set(static_cast<std::size_t>(ListEvent::event));
    ZOV_LIST_EVENTS(ZOV_HANDLED)
#undef ZOV_HANDLED
    return set;
  }
  ListEventSet ConnectedEvents() const override { return Handled(); }

#define ZOV_FORWARD(event, handler, params, args)  \
  void event params override {                     \
    if constexpr (requires { &Owner::handler; }) { \
      if (!owner_) return;                         \
      Ref<Owner> keep(owner_);                     \
      keep->handler args;                          \
    }                                              \
  }
  ZOV_LIST_EVENTS(ZOV_FORWARD)
#undef ZOV_FORWARD

 private:
  Owner* owner_;
};

#pragma GCC diagnostic pop

}  // namespace zov::plugins
