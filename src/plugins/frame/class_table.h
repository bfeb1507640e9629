// The library's identity: its seven classes with their CLSIDs and ProgIDs, as the host registers
// and looks them up.
#pragma once

#include <span>

#include "zov/host/events.h"
#include "zov/host/host.h"

namespace zov::plugins {

// Type-library GUID of ZOV_XS_PlugIns.
inline constexpr vb::Guid kTypeLibraryId =
    vb::Guid::Parse("{26A4D889-3D18-452C-A36E-FF6888DCAA70}");

struct PluginClassInfo {
  const char* name;  // "BillEvent_Sale"
  vb::Guid clsid;
  const char* progId;       // "ZOV_XS_PlugIns.BillEvent_Sale"
  const char* description;  // the type-library description, "" for none
  vb::Ref<vb::IObject> (*create)(const vb::Ref<host::IHost>& host);
  host::BillEventSet (*billEvents)();
  host::ListEventSet (*listEvents)();
};

// The seven classes, in the order of the type library.
std::span<const PluginClassInfo> PluginClasses();

}  // namespace zov::plugins
