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

// The host's parameters of each bill event, as the sink member and the class's handler take them.
#define ZOV_BILL_PARAMS_AddNewRow (const Variant& v1, long row)
#define ZOV_BILL_PARAMS_AfterCopyBill ()
#define ZOV_BILL_PARAMS_AfterDeleteRow (const Variant& v1, const Variant& v2)
#define ZOV_BILL_PARAMS_AfterDoAction2                                       \
  (const Variant& fieldInfo, const Variant& actionData, const Variant& cell, \
   const std::string& kind, const std::string& name, const std::string& parameter, long row)
#define ZOV_BILL_PARAMS_AfterFillRow \
  (long row, const Variant& sourceRow, const Variant& sourceData, const Variant& v4)
#define ZOV_BILL_PARAMS_AfterLoadBill ()
#define ZOV_BILL_PARAMS_AfterNewBill ()
#define ZOV_BILL_PARAMS_AfterSave (const Variant& v1)
#define ZOV_BILL_PARAMS_AfterSelBill (const Variant& v1)
#define ZOV_BILL_PARAMS_AfterSelBillBeforeFillData (const Variant& selection, const Variant& data)
#define ZOV_BILL_PARAMS_BeforeDeleteRow (const Variant& v1, long row, bool& cancel)
#define ZOV_BILL_PARAMS_BeforeDoAction                                       \
  (const Variant& fieldInfo, const Variant& actionData, const Variant& cell, \
   const std::string& kind, const std::string& name, const std::string& parameter, bool& cancel)
#define ZOV_BILL_PARAMS_BeforeDoAction2                                                          \
  (const Variant& fieldInfo, const Variant& actionData, const Variant& cell,                     \
   const std::string& kind, const std::string& name, const std::string& parameter, bool& cancel, \
   const Variant& v8)
#define ZOV_BILL_PARAMS_BeforeSave (bool& cancel)
#define ZOV_BILL_PARAMS_BeforeSelBills \
  (const Variant& v1, const Variant& v2, const Variant& v3, std::string& filter, const Variant& v5)
#define ZOV_BILL_PARAMS_BeforLoadBillFillData ()
#define ZOV_BILL_PARAMS_BeginEdit (const Variant& v1, const Variant& v2, const Variant& v3)
#define ZOV_BILL_PARAMS_BusinessCheck (bool& cancel)
#define ZOV_BILL_PARAMS_Change \
  (const Ref<IDictionary>& field, const Ref<IDictionary>& change, long col, long row, bool& cancel)
#define ZOV_BILL_PARAMS_EntryGridRow                                                     \
  (const Variant& v1, long row, const Variant& v3, const Variant& v4, const Variant& v5, \
   const Variant& v6, const Variant& v7, const Variant& v8)
#define ZOV_BILL_PARAMS_LostFocus \
  (const std::string& v1, const Variant& v2, const Variant& v3, const Variant& v4)
#define ZOV_BILL_PARAMS_MenuBarClick (const Ref<ITool>& tool, bool& cancel)
#define ZOV_BILL_PARAMS_MenuBarInitialize (const Ref<IActiveBar>& menuBar)
#define ZOV_BILL_PARAMS_SaveBillSuccess (const Variant& v1)
#define ZOV_BILL_PARAMS_UnBusinessCheck (bool& cancel)

// One line per event: the sink member, its parameters, the arguments, and the handler suffix.
#define ZOV_BILL_EVENTS(X)                                                                     \
  X(AddNewRow, ZOV_BILL_PARAMS_AddNewRow, (v1, row))                                           \
  X(AfterCopyBill, ZOV_BILL_PARAMS_AfterCopyBill, ())                                          \
  X(AfterDeleteRow, ZOV_BILL_PARAMS_AfterDeleteRow, (v1, v2))                                  \
  X(AfterDoAction2, ZOV_BILL_PARAMS_AfterDoAction2,                                            \
    (fieldInfo, actionData, cell, kind, name, parameter, row))                                 \
  X(AfterFillRow, ZOV_BILL_PARAMS_AfterFillRow, (row, sourceRow, sourceData, v4))              \
  X(AfterLoadBill, ZOV_BILL_PARAMS_AfterLoadBill, ())                                          \
  X(AfterNewBill, ZOV_BILL_PARAMS_AfterNewBill, ())                                            \
  X(AfterSave, ZOV_BILL_PARAMS_AfterSave, (v1))                                                \
  X(AfterSelBill, ZOV_BILL_PARAMS_AfterSelBill, (v1))                                          \
  X(AfterSelBillBeforeFillData, ZOV_BILL_PARAMS_AfterSelBillBeforeFillData, (selection, data)) \
  X(BeforeDeleteRow, ZOV_BILL_PARAMS_BeforeDeleteRow, (v1, row, cancel))                       \
  X(BeforeDoAction, ZOV_BILL_PARAMS_BeforeDoAction,                                            \
    (fieldInfo, actionData, cell, kind, name, parameter, cancel))                              \
  X(BeforeDoAction2, ZOV_BILL_PARAMS_BeforeDoAction2,                                          \
    (fieldInfo, actionData, cell, kind, name, parameter, cancel, v8))                          \
  X(BeforeSave, ZOV_BILL_PARAMS_BeforeSave, (cancel))                                          \
  X(BeforeSelBills, ZOV_BILL_PARAMS_BeforeSelBills, (v1, v2, v3, filter, v5))                  \
  X(BeforLoadBillFillData, ZOV_BILL_PARAMS_BeforLoadBillFillData, ())                          \
  X(BeginEdit, ZOV_BILL_PARAMS_BeginEdit, (v1, v2, v3))                                        \
  X(BusinessCheck, ZOV_BILL_PARAMS_BusinessCheck, (cancel))                                    \
  X(Change, ZOV_BILL_PARAMS_Change, (field, change, col, row, cancel))                         \
  X(EntryGridRow, ZOV_BILL_PARAMS_EntryGridRow, (v1, row, v3, v4, v5, v6, v7, v8))             \
  X(LostFocus, ZOV_BILL_PARAMS_LostFocus, (v1, v2, v3, v4))                                    \
  X(MenuBarClick, ZOV_BILL_PARAMS_MenuBarClick, (tool, cancel))                                \
  X(MenuBarInitialize, ZOV_BILL_PARAMS_MenuBarInitialize, (menuBar))                           \
  X(SaveBillSuccess, ZOV_BILL_PARAMS_SaveBillSuccess, (v1))                                    \
  X(UnBusinessCheck, ZOV_BILL_PARAMS_UnBusinessCheck, (cancel))

// The list events' handler names (AfterMergeCopyBill is spelled m_ListInterFace_... as the host
// spells it) and parameters.
#define ZOV_LIST_HANDLER_AfterCopyBillCreateData m_ListInterface_AfterCopyBillCreateData
#define ZOV_LIST_HANDLER_AfterMergeCopyBill m_ListInterFace_AfterMergeCopyBill
#define ZOV_LIST_HANDLER_BusinessCheck m_ListInterface_BusinessCheck
#define ZOV_LIST_HANDLER_MenuBarClick m_ListInterface_MenuBarClick
#define ZOV_LIST_HANDLER_MenuBarInitialize m_ListInterface_MenuBarInitialize
#define ZOV_LIST_HANDLER_UnBusinessCheck m_ListInterface_UnBusinessCheck
#define ZOV_LIST_PARAMS_AfterCopyBillCreateData (const Variant& v1, const Variant& data)
#define ZOV_LIST_PARAMS_AfterMergeCopyBill (const Variant& data)
#define ZOV_LIST_PARAMS_BusinessCheck (bool& cancel)
#define ZOV_LIST_PARAMS_MenuBarClick (const Ref<ITool>& tool, bool& cancel)
#define ZOV_LIST_PARAMS_MenuBarInitialize (const Ref<IActiveBar>& menuBar)
#define ZOV_LIST_PARAMS_UnBusinessCheck (bool& cancel)

#define ZOV_LIST_EVENTS(X)                                                                       \
  X(AfterCopyBillCreateData, ZOV_LIST_HANDLER_AfterCopyBillCreateData,                           \
    ZOV_LIST_PARAMS_AfterCopyBillCreateData, (v1, data))                                         \
  X(AfterMergeCopyBill, ZOV_LIST_HANDLER_AfterMergeCopyBill, ZOV_LIST_PARAMS_AfterMergeCopyBill, \
    (data))                                                                                      \
  X(BusinessCheck, ZOV_LIST_HANDLER_BusinessCheck, ZOV_LIST_PARAMS_BusinessCheck, (cancel))      \
  X(MenuBarClick, ZOV_LIST_HANDLER_MenuBarClick, ZOV_LIST_PARAMS_MenuBarClick, (tool, cancel))   \
  X(MenuBarInitialize, ZOV_LIST_HANDLER_MenuBarInitialize, ZOV_LIST_PARAMS_MenuBarInitialize,    \
    (menuBar))                                                                                   \
  X(UnBusinessCheck, ZOV_LIST_HANDLER_UnBusinessCheck, ZOV_LIST_PARAMS_UnBusinessCheck, (cancel))

// A class declares the events it handles by their names, in one line each for the bill and the
// list: ZOV_BILL_HANDLERS(AfterNewBill, Change, BeforeSave); declares m_BillInterface_AfterNewBill,
// m_BillInterface_Change and m_BillInterface_BeforeSave with the host's parameters. The sinks
// connect exactly the events declared.
#define ZOV_BILL_HANDLERS(...) \
  ZOV_PP_FOR_EACH(ZOV_DECLARE_BILL_HANDLER, __VA_ARGS__) static_assert(true)
#define ZOV_LIST_HANDLERS(...) \
  ZOV_PP_FOR_EACH(ZOV_DECLARE_LIST_HANDLER, __VA_ARGS__) static_assert(true)
#define ZOV_DECLARE_BILL_HANDLER(event) void m_BillInterface_##event ZOV_BILL_PARAMS_##event;
#define ZOV_DECLARE_LIST_HANDLER(event) void ZOV_LIST_HANDLER_##event ZOV_LIST_PARAMS_##event;

// ZOV_PP_FOR_EACH(m, a, b, c) expands to m(a) m(b) m(c), for as many arguments as a class has
// handlers.
#define ZOV_PP_PARENS ()
#define ZOV_PP_EXPAND(...) \
  ZOV_PP_EXPAND3(ZOV_PP_EXPAND3(ZOV_PP_EXPAND3(ZOV_PP_EXPAND3(__VA_ARGS__))))
#define ZOV_PP_EXPAND3(...) \
  ZOV_PP_EXPAND2(ZOV_PP_EXPAND2(ZOV_PP_EXPAND2(ZOV_PP_EXPAND2(__VA_ARGS__))))
#define ZOV_PP_EXPAND2(...) \
  ZOV_PP_EXPAND1(ZOV_PP_EXPAND1(ZOV_PP_EXPAND1(ZOV_PP_EXPAND1(__VA_ARGS__))))
#define ZOV_PP_EXPAND1(...) __VA_ARGS__
#define ZOV_PP_FOR_EACH(macro, ...) \
  __VA_OPT__(ZOV_PP_EXPAND(ZOV_PP_FOR_EACH_STEP(macro, __VA_ARGS__)))
#define ZOV_PP_FOR_EACH_STEP(macro, first, ...) \
  macro(first) __VA_OPT__(ZOV_PP_FOR_EACH_AGAIN ZOV_PP_PARENS(macro, __VA_ARGS__))
#define ZOV_PP_FOR_EACH_AGAIN() ZOV_PP_FOR_EACH_STEP

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
