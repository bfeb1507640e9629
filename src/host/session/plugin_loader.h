// Loading plug-in libraries the way the host does on its own platform: a ProgID is looked up in
// the component registry, the library is loaded once per process, and the class comes from the
// library's class-object entry point.
#pragma once

#include <string>

#include "zov/host/plugin.h"

namespace zov::sim {

// The class factory of `clsid` in the library at `path` (loaded on first use and kept); raises
// std::runtime_error naming the library when it cannot be loaded or lacks the class.
vb::Ref<host::IClassFactory> ClassFactoryOf(const std::string& path, const vb::Guid& clsid);

// Registers every class of the library at `path` into `registry` (its DllRegisterServer).
void RegisterLibrary(const std::string& path, host::IComponentRegistry& registry);

// The plug-in library built beside the running program ("libZOV_XS_PlugIns.so" next to it).
std::string DefaultPluginLibrary();

}  // namespace zov::sim
