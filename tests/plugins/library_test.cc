// The plug-in library as the host sees it: loaded with dlopen, reached through its entry points,
// its classes created by CLSID and bound with Show.
#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "fake_host.h"

namespace zov::testing {
namespace {

using host::BillEvent;
using host::ListEvent;

struct ExpectedClass {
  const char* name;
  const char* clsid;
  const char* billEvents;  // the events the class handles on a bill form
  const char* listEvents;  // and on a list
};

// Which class handles which host event, as the host's plug-in registration lists them.
const ExpectedClass kExpected[] = {
    {"BillEvent_Sale", "{68F003F6-5FF5-45D1-A419-539071E56F8D}",
     "AddNewRow AfterCopyBill AfterDeleteRow AfterDoAction2 AfterFillRow AfterLoadBill "
     "AfterNewBill AfterSave AfterSelBill AfterSelBillBeforeFillData BeforeDeleteRow "
     "BeforeDoAction BeforeSave BeforeSelBills BeginEdit BusinessCheck Change EntryGridRow "
     "LostFocus MenuBarClick MenuBarInitialize UnBusinessCheck",
     "AfterMergeCopyBill BusinessCheck MenuBarClick MenuBarInitialize UnBusinessCheck"},
    {"BillEvent_SaleChange", "{65D5A219-6CCE-41BC-A37B-E478729F6292}",
     "AddNewRow AfterCopyBill AfterDeleteRow AfterDoAction2 AfterFillRow AfterLoadBill "
     "AfterNewBill AfterSave AfterSelBill AfterSelBillBeforeFillData BeforeDeleteRow "
     "BeforeDoAction BeforeSave BeforeSelBills BeginEdit BusinessCheck Change EntryGridRow "
     "LostFocus MenuBarClick MenuBarInitialize UnBusinessCheck",
     "AfterMergeCopyBill BusinessCheck MenuBarClick MenuBarInitialize UnBusinessCheck"},
    {"BillEvent_Order", "{662A77AB-8510-4BD3-9AE2-D5BCECCB0A66}",
     "AfterCopyBill AfterDoAction2 AfterFillRow AfterLoadBill AfterNewBill AfterSave "
     "BeforeDoAction BeforeSave BusinessCheck Change EntryGridRow MenuBarClick "
     "MenuBarInitialize UnBusinessCheck",
     "AfterCopyBillCreateData BusinessCheck MenuBarClick MenuBarInitialize UnBusinessCheck"},
    {"BillEvent_Consign", "{E567DB16-F15D-45D2-B65C-B672AEAD759E}",
     "AddNewRow AfterCopyBill AfterDeleteRow AfterDoAction2 AfterFillRow AfterLoadBill "
     "AfterNewBill AfterSave AfterSelBill AfterSelBillBeforeFillData BeforeDeleteRow "
     "BeforeDoAction BeforeDoAction2 BeforeSave BeginEdit BusinessCheck Change EntryGridRow "
     "MenuBarClick MenuBarInitialize UnBusinessCheck",
     "AfterMergeCopyBill BusinessCheck MenuBarClick MenuBarInitialize UnBusinessCheck"},
    {"BillEvent_TempConsign", "{430E93A1-FA5F-4A6C-9CF4-2FE54E7BE506}",
     "AddNewRow AfterCopyBill AfterDeleteRow AfterDoAction2 AfterFillRow AfterLoadBill "
     "AfterNewBill AfterSave BeforeDoAction BeforeSave BusinessCheck Change MenuBarClick "
     "MenuBarInitialize UnBusinessCheck",
     "BusinessCheck MenuBarClick MenuBarInitialize UnBusinessCheck"},
    {"BillEvent_TempGJ", "{F425C804-853E-4D12-8A59-9A8E6420E7D1}",
     "AddNewRow AfterCopyBill AfterDeleteRow AfterDoAction2 AfterFillRow AfterLoadBill "
     "AfterNewBill BeforeDoAction BeforeSave BeforLoadBillFillData BusinessCheck Change "
     "MenuBarClick MenuBarInitialize UnBusinessCheck",
     "BusinessCheck MenuBarClick MenuBarInitialize UnBusinessCheck"},
    {"BillEvent_XSCX", "{D04B2A54-4322-4E7E-B156-D10263EE6955}",
     "AfterCopyBill AfterLoadBill AfterNewBill BeforeSave BusinessCheck Change MenuBarClick "
     "MenuBarInitialize SaveBillSuccess",
     "BusinessCheck MenuBarInitialize"},
};

std::set<std::string> Words(const char* text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

std::set<std::string> Names(const host::BillEventSet& set) {
  std::set<std::string> names;
  for (int e = 0; e < static_cast<int>(BillEvent::kCount); ++e)
    if (set.test(e)) names.insert(host::BillEventName(static_cast<BillEvent>(e)));
  return names;
}

std::set<std::string> Names(const host::ListEventSet& set) {
  std::set<std::string> names;
  for (int e = 0; e < static_cast<int>(ListEvent::kCount); ++e)
    if (set.test(e)) names.insert(host::ListEventName(static_cast<ListEvent>(e)));
  return names;
}

class Registry final : public vb::Implements<host::IComponentRegistry> {
 public:
  std::string TypeName() const override { return "Registry"; }
  void RegisterClass(const vb::Guid& clsid, std::string_view progId, std::string_view path,
                     std::string_view) override {
    entries[std::string(progId)] = clsid.ToString();
    paths.insert(std::string(path));
  }
  void UnregisterClass(const vb::Guid&, std::string_view progId) override {
    entries.erase(std::string(progId));
  }
  std::map<std::string, std::string> entries;
  std::set<std::string> paths;
};

// The library, loaded once per test as the host loads it.
class PluginLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    handle_ = dlopen(ZOV_PLUGIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle_, nullptr) << dlerror();
    getClassObject_ =
        reinterpret_cast<host::DllGetClassObjectFn>(dlsym(handle_, "DllGetClassObject"));
    canUnload_ = reinterpret_cast<host::DllCanUnloadNowFn>(dlsym(handle_, "DllCanUnloadNow"));
    register_ = reinterpret_cast<host::DllRegisterServerFn>(dlsym(handle_, "DllRegisterServer"));
    unregister_ =
        reinterpret_cast<host::DllUnregisterServerFn>(dlsym(handle_, "DllUnregisterServer"));
    ASSERT_TRUE(getClassObject_ && canUnload_ && register_ && unregister_);
  }
  void TearDown() override {
    if (handle_) dlclose(handle_);
  }

  // A new object of `clsid` for `session`, through the class factory.
  Ref<vb::IObject> Create(const char* clsid, const Ref<FakeHost>& session) {
    const vb::Guid id = vb::Guid::Parse(clsid);
    void* out = nullptr;
    EXPECT_EQ(getClassObject_(&id, &host::IClassFactory::IID, &out), host::kS_OK);
    auto factory = Ref<host::IClassFactory>::Adopt(static_cast<host::IClassFactory*>(out));
    return factory ? factory->CreateInstance(session) : Ref<vb::IObject>{};
  }

  void* handle_ = nullptr;
  host::DllGetClassObjectFn getClassObject_ = nullptr;
  host::DllCanUnloadNowFn canUnload_ = nullptr;
  host::DllRegisterServerFn register_ = nullptr;
  host::DllUnregisterServerFn unregister_ = nullptr;
};

TEST_F(PluginLibrary, RegistersEveryClassByProgIdAndClsid) {
  auto registry = Ref<Registry>::Adopt(new Registry);
  ASSERT_EQ(register_(registry.get()), host::kS_OK);
  ASSERT_EQ(registry->entries.size(), std::size(kExpected));
  for (const auto& c : kExpected)
    EXPECT_EQ(registry->entries[std::string("ZOV_XS_PlugIns.") + c.name], c.clsid) << c.name;
  ASSERT_EQ(registry->paths.size(), 1u);
  EXPECT_THAT(*registry->paths.begin(), ::testing::HasSubstr("libZOV_XS_PlugIns"));

  ASSERT_EQ(unregister_(registry.get()), host::kS_OK);
  EXPECT_TRUE(registry->entries.empty());
}

TEST_F(PluginLibrary, UnknownClassIsNotAvailable) {
  const vb::Guid unknown = vb::Guid::Parse("{00000000-1111-2222-3333-444444444444}");
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(getClassObject_(&unknown, &host::IClassFactory::IID, &out),
            host::kCLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
}

TEST_F(PluginLibrary, EachClassConnectsExactlyItsEvents) {
  auto session = Ref<FakeHost>::Adopt(new FakeHost);
  for (const auto& c : kExpected) {
    SCOPED_TRACE(c.name);
    auto object = Create(c.clsid, session);
    ASSERT_TRUE(object);
    EXPECT_EQ(object->TypeName(), c.name);
    auto plugin = object.As<host::IBillPlugin>();
    ASSERT_TRUE(plugin);

    auto bill = Ref<FakeBill>::Adopt(new FakeBill);
    plugin->Show(Variant(Ref<host::IBillInterface>(bill)));
    ASSERT_TRUE(bill->sink);
    EXPECT_EQ(Names(bill->sink->ConnectedEvents()), Words(c.billEvents));

    auto list = Ref<FakeList>::Adopt(new FakeList);
    auto listPlugin = Create(c.clsid, session).As<host::IBillPlugin>();
    listPlugin->Show(Variant(Ref<host::IListInterface>(list)));
    ASSERT_TRUE(list->sink);
    EXPECT_EQ(Names(list->sink->ConnectedEvents()), Words(c.listEvents));
  }
  session->EndSession();
}

TEST_F(PluginLibrary, ShowBindsByTypeNameAndReleaseDisconnects) {
  auto session = Ref<FakeHost>::Adopt(new FakeHost);
  {
    auto plugin = Create(kExpected[0].clsid, session).As<host::IBillPlugin>();
    EXPECT_EQ(canUnload_(), host::kS_FALSE);

    // Any letter case of "BillEvent" binds the bill interface.
    auto bill = Ref<FakeBill>::Adopt(new FakeBill("bILLeVENT"));
    plugin->Show(Variant(Ref<host::IBillInterface>(bill)));
    EXPECT_TRUE(bill->sink);

    // An object of another type name is taken as a list; one that is not a list fails the cast,
    // and the error reaches the caller of Show.
    auto notAList = Ref<FakeBill>::Adopt(new FakeBill("Grid"));
    try {
      plugin->Show(Variant(Ref<host::IBillInterface>(notAList)));
      ADD_FAILURE() << "Show accepted an object that is neither a bill nor a list";
    } catch (const vb::Error& e) {
      EXPECT_EQ(e.number(), vb::kErrTypeMismatch);
    }
    EXPECT_FALSE(notAList->sink);

    auto list = Ref<FakeList>::Adopt(new FakeList);
    plugin->Show(Variant(Ref<host::IListInterface>(list)));
    EXPECT_TRUE(list->sink);

    plugin.reset();  // the host releases the class: both bindings are dropped
    EXPECT_EQ(bill->unadvised, 1);
    EXPECT_EQ(list->unadvised, 1);
  }
  session->EndSession();
  EXPECT_EQ(canUnload_(), host::kS_OK);
}

}  // namespace
}  // namespace zov::testing
