// The four in-process server entry points and the class factory.
#include <dlfcn.h>

#include <atomic>
#include <string>

#include "frame/class_table.h"
#include "zov/host/plugin.h"

namespace zov::plugins {

namespace {

using vb::Ref;

// The library's live objects and factory locks: what DllCanUnloadNow answers from. These two
// counters are the only process-wide state of the library; they carry no business state.
std::atomic<long> g_liveObjects{0};
std::atomic<long> g_serverLocks{0};

class ClassFactory final : public vb::Implements<host::IClassFactory> {
 public:
  explicit ClassFactory(const PluginClassInfo& info) : info_(info) { ++g_liveObjects; }
  ~ClassFactory() override { --g_liveObjects; }
  std::string TypeName() const override { return "ClassFactory"; }

  Ref<vb::IObject> CreateInstance(const Ref<host::IHost>& host) override {
    return info_.create(host);
  }
  void LockServer(bool lock) override { lock ? ++g_serverLocks : --g_serverLocks; }

 private:
  const PluginClassInfo& info_;
};

const PluginClassInfo* FindClass(const vb::Guid& clsid) {
  for (const auto& info : PluginClasses())
    if (info.clsid == clsid) return &info;
  return nullptr;
}

// The path of this library, as the registry records it.
std::string LibraryPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&FindClass), &info) && info.dli_fname) return info.dli_fname;
  return "libZOV_XS_PlugIns.so";
}

}  // namespace

void ObjectCreated() { ++g_liveObjects; }
void ObjectDestroyed() { --g_liveObjects; }

}  // namespace zov::plugins

using namespace zov;

extern "C" std::int32_t DllGetClassObject(const vb::Guid* clsid, const vb::Guid* iid, void** out) {
  if (!clsid || !iid || !out) return host::kE_POINTER;
  *out = nullptr;
  const auto* info = plugins::FindClass(*clsid);
  if (!info) return host::kCLASS_E_CLASSNOTAVAILABLE;
  auto factory = vb::Ref<host::IClassFactory>::Adopt(new plugins::ClassFactory(*info));
  *out = factory->QueryInterface(*iid);
  return *out ? host::kS_OK : host::kE_NOINTERFACE;
}

extern "C" std::int32_t DllCanUnloadNow() {
  return plugins::g_liveObjects == 0 && plugins::g_serverLocks == 0 ? host::kS_OK : host::kS_FALSE;
}

extern "C" std::int32_t DllRegisterServer(host::IComponentRegistry* registry) {
  if (!registry) return host::kE_POINTER;
  try {
    const std::string path = plugins::LibraryPath();
    for (const auto& info : plugins::PluginClasses())
      registry->RegisterClass(info.clsid, info.progId, path, info.description);
    return host::kS_OK;
  } catch (...) {
    return host::kSELFREG_E_CLASS;
  }
}

extern "C" std::int32_t DllUnregisterServer(host::IComponentRegistry* registry) {
  if (!registry) return host::kE_POINTER;
  try {
    for (const auto& info : plugins::PluginClasses())
      registry->UnregisterClass(info.clsid, info.progId);
    return host::kS_OK;
  } catch (...) {
    return host::kSELFREG_E_CLASS;
  }
}
