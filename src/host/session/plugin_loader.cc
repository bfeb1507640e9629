#include "session/plugin_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <stdexcept>

namespace zov::sim {

namespace {

struct Library {
  void* handle = nullptr;
  host::DllGetClassObjectFn getClassObject = nullptr;
  host::DllRegisterServerFn registerServer = nullptr;
};

// The libraries this process loaded; a library stays loaded for the life of the process.
Library& Load(const std::string& path) {
  static std::mutex mutex;
  static std::map<std::string, Library> loaded;
  std::lock_guard lock(mutex);
  auto it = loaded.find(path);
  if (it != loaded.end()) return it->second;
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) throw std::runtime_error("cannot load " + path + ": " + dlerror());
  Library lib;
  lib.handle = handle;
  lib.getClassObject =
      reinterpret_cast<host::DllGetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
  lib.registerServer =
      reinterpret_cast<host::DllRegisterServerFn>(dlsym(handle, "DllRegisterServer"));
  if (!lib.getClassObject) throw std::runtime_error(path + " has no DllGetClassObject");
  return loaded.emplace(path, lib).first->second;
}

}  // namespace

vb::Ref<host::IClassFactory> ClassFactoryOf(const std::string& path, const vb::Guid& clsid) {
  Library& lib = Load(path);
  void* out = nullptr;
  const auto hr = lib.getClassObject(&clsid, &host::IClassFactory::IID, &out);
  if (hr != host::kS_OK || !out)
    throw std::runtime_error(path + " does not serve the class " + clsid.ToString());
  return vb::Ref<host::IClassFactory>::Adopt(static_cast<host::IClassFactory*>(out));
}

void RegisterLibrary(const std::string& path, host::IComponentRegistry& registry) {
  Library& lib = Load(path);
  if (!lib.registerServer) throw std::runtime_error(path + " has no DllRegisterServer");
  if (lib.registerServer(&registry) != host::kS_OK)
    throw std::runtime_error(path + ": registration failed");
}

std::string DefaultPluginLibrary() {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  const auto dir = ec ? std::filesystem::current_path() : self.parent_path();
  return (dir / "libZOV_XS_PlugIns.so").string();
}

}  // namespace zov::sim
