// What the host's business components see of their session: the database and the journal (as a
// bill form does), the login, the process-wide bag, the user interface and the other components.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "bill/host_services.h"
#include "zov/host/dictionary.h"

namespace zov::sim {

class SessionContext : public HostServices {
 public:
  // The login properties string of this session ("UserID=...;ConnectString={...};...").
  virtual std::string PropsString() = 0;
  // The logged-in user's number (the name is the host services').
  virtual std::string UserNumber() = 0;
  // The process ID the session answers for (the key of the host's login cache).
  virtual std::uint32_t ProcessId() = 0;
  // The process-wide property bag; empty when the session publishes none.
  virtual Ref<host::IDictionary> Bag() = 0;
  // Creates a component (host or plug-in) by ProgID; raises vb::Error 429 for an unknown one.
  virtual Ref<vb::IObject> CreateObject(std::string_view progId) = 0;
};

// Creates one host component for a session.
using ComponentCreator = std::function<Ref<vb::IObject>(SessionContext&)>;

// The host's components by ProgID.
const std::map<std::string, ComponentCreator, std::less<>>& HostComponents();

// The user ID a login properties string names (its "UserID"), or 0.
long UserIdOf(std::string_view props);

}  // namespace zov::sim
