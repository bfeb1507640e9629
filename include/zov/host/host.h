// The host session: what the library's code calls the host process. Every plug-in object is
// created for one session and reaches the operating-system services, the component factory, the
// process-wide property bag and the user interface through it. Nothing the library keeps
// library-wide may live outside the session: two sessions never see each other's state.
#pragma once

#include <cstdint>
#include <string>

#include "zov/host/dictionary.h"
#include "zov/host/ui.h"

namespace zov::host {

class IHost : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D60}");

  // The process ID of the host (the key of the host's login cache).
  virtual std::uint32_t ProcessId() = 0;
  // The terminal-services session ID of the host process; 0 when it cannot be told.
  virtual std::uint32_t TerminalSessionId() = 0;
  // The system directory (where the library's log file lives).
  virtual std::string SystemDirectory() = 0;
  // Creates a component by ProgID ("ZOVMClass.ClassInfo") as CreateObject does; raises Error
  // 429 ("ActiveX component can't create object") for an unknown ProgID.
  virtual Ref<vb::IObject> CreateObject(std::string_view progId) = 0;
  // The process-wide property bag the host published, or empty when it published none.
  virtual Ref<IDictionary> PropertyBag() = 0;
  // The user interface of this session.
  virtual Ref<IHostUi> Ui() = 0;
  // The current date and time of the session's clock.
  virtual vb::Date Now() = 0;
  // A slot for the state a library keeps for the whole session (its parsed login properties,
  // its cached profile objects), keyed by the library's name; empty until set.
  virtual Ref<vb::IObject> LibraryState(std::string_view library) = 0;
  virtual void SetLibraryState(std::string_view library, const Ref<vb::IObject>& state) = 0;

 protected:
  ~IHost() = default;
};

}  // namespace zov::host
