// The library's state for one host session. What the library keeps "library-wide" (the parsed
// login properties, the cached profile objects, the flags asked once) lives here, in the slot the
// host session keeps for the library, so that two sessions of one host never share it.
#pragma once

#include <map>
#include <string>

#include "zov/host/host.h"
#include "zov/vb/object.h"

namespace zov::plugins {

using host::IHost;
using vb::Ref;
using vb::Variant;

// The library's name, under which the host keeps its session state.
inline constexpr const char* kLibraryName = "ZOV_XS_PlugIns";

class IPluginState : public vb::IObject {
 public:
  static constexpr vb::Guid IID = vb::Guid::Parse("{26A4D889-3D18-452C-A36E-FF6888DCAA71}");

 protected:
  ~IPluginState() = default;
};

class PluginContext final : public vb::Implements<IPluginState> {
 public:
  // The context of `host`'s session, created on first use.
  static Ref<PluginContext> For(const Ref<IHost>& host);

  std::string TypeName() const override { return "PluginContext"; }

  // The session's host. Valid while any plug-in object of the session lives: each of them holds
  // the host, and the host holds this context.
  IHost& host() const { return *host_; }

  // --- library-wide state of the login, profile and rights services ---
  // The collection of the last parsed login properties string, and that string.
  std::map<std::string, std::string> parsedProperties;
  std::string lastParsedProperties;
  // Profile objects created on first use and kept for the session.
  Ref<vb::IObject> glData;
  Ref<vb::IObject> profileObject;
  // Whether the security component was asked once about data authorisation.
  bool needAuthorisationAsked = false;

 private:
  // The context refers to its host weakly: the host owns the context through its slot.
  explicit PluginContext(IHost* host) : host_(host) {}

  IHost* host_;
};

}  // namespace zov::plugins
