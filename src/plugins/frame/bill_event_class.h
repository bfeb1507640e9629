// The frame every plug-in class stands on: the two event-bound host references, the binding rule
// of Show, and Class_Terminate. A class derives from BillEventClass<Itself, its public
// interfaces...> and defines the handlers it serves under the host's names; the frame connects
// exactly those.
#pragma once

#include <string>

#include "frame/event_sinks.h"
#include "frame/plugin_context.h"
#include "services/user_profile.h"
#include "zov/host/plugin.h"
#include "zov/vb/error.h"

namespace zov::plugins {

using host::IBillInterface;
using host::IListInterface;

// Counts the library's live objects for DllCanUnloadNow.
void ObjectCreated();
void ObjectDestroyed();

// The names a plug-in class is created and registered by: its class name, and its ProgID
// "ZOV_XS_PlugIns." followed by the class name.
#define ZOV_PLUGIN_NAMES(name)                     \
  static constexpr const char* kClassName = #name; \
  static constexpr const char* kProgId = "ZOV_XS_PlugIns." #name

template <class Derived, class... Interfaces>
class BillEventClass : public vb::Implements<host::IBillPlugin, Interfaces...> {
 public:
  // Show(obj): a "BillEvent" object (any letter case) is bound as the bill interface, any other
  // object as the list interface; the binding connects the class's handlers. A value that is not
  // an object, or an object without the interface, raises Error 13 to the caller.
  void Show(const Variant& obj) override {
    if (!obj.IsObject() || obj.IsNothing())
      throw vb::Error(vb::kErrTypeMismatch, "Type mismatch", Derived::kProgId);
    if (UpperAscii(obj.AsObject()->TypeName()) == "BILLEVENT") {
      auto bill = obj.ObjectAs<IBillInterface>();
      if (!bill) throw vb::Error(vb::kErrTypeMismatch, "Type mismatch", Derived::kProgId);
      BindBill(bill);
    } else {
      auto list = obj.ObjectAs<IListInterface>();
      if (!list) throw vb::Error(vb::kErrTypeMismatch, "Type mismatch", Derived::kProgId);
      BindList(list);
    }
  }

  std::string TypeName() const override { return Derived::kClassName; }

  // The events the class connects on a bill and on a list.
  static BillEventSet ConnectedBillEvents() { return BillSink<Derived>::Handled(); }
  static ListEventSet ConnectedListEvents() { return ListSink<Derived>::Handled(); }

 protected:
  explicit BillEventClass(const Ref<host::IHost>& host)
      : host_(host), context_(PluginContext::For(host)) {
    ObjectCreated();
  }

  // Class_Terminate: drop the bill and then the list reference, which disconnects both.
  ~BillEventClass() override {
    BindBill({});
    BindList({});
    ObjectDestroyed();
  }

  PluginContext& context() const { return *context_; }
  host::IHost& hostSession() const { return *host_; }

  Ref<IBillInterface> m_BillInterface;
  Ref<IListInterface> m_ListInterface;

 private:
  static std::string UpperAscii(std::string s) {
    for (char& c : s)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
  }

  // Assigning the event-bound reference disconnects the previous object and connects the new.
  void BindBill(const Ref<IBillInterface>& bill) {
    if (m_BillInterface && billSink_) {
      billSink_->Detach();
      m_BillInterface->Unadvise(billCookie_);
    }
    billSink_.reset();
    m_BillInterface = bill;
    if (m_BillInterface) {
      billSink_ = Ref<BillSink<Derived>>::Adopt(new BillSink<Derived>(static_cast<Derived*>(this)));
      billCookie_ = m_BillInterface->Advise(billSink_);
    }
  }

  void BindList(const Ref<IListInterface>& list) {
    if (m_ListInterface && listSink_) {
      listSink_->Detach();
      m_ListInterface->Unadvise(listCookie_);
    }
    listSink_.reset();
    m_ListInterface = list;
    if (m_ListInterface) {
      listSink_ = Ref<ListSink<Derived>>::Adopt(new ListSink<Derived>(static_cast<Derived*>(this)));
      listCookie_ = m_ListInterface->Advise(listSink_);
    }
  }

  Ref<host::IHost> host_;
  Ref<PluginContext> context_;
  Ref<BillSink<Derived>> billSink_;
  Ref<ListSink<Derived>> listSink_;
  long billCookie_ = 0;
  long listCookie_ = 0;
};

// A class that also publishes the user-profile accessors of its user (IUserProfileAccess).
template <class Derived, class... Interfaces>
class ProfileBillEventClass
    : public BillEventClass<Derived, host::IUserProfileAccess, Interfaces...> {
 public:
  std::string GetUserProfile(std::string_view section, std::string_view key) override {
    return services::GetUserProfile(this->context(), section, key);
  }
  void SaveUserProfileItem(std::string_view section, std::string_view key,
                           const Variant& value) override {
    services::SaveUserProfileItem(this->context(), section, key, value);
  }

 protected:
  using BillEventClass<Derived, host::IUserProfileAccess, Interfaces...>::BillEventClass;
};

}  // namespace zov::plugins
