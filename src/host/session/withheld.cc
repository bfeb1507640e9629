#include "session/withheld.h"

#include "session/session_context.h"
#include "zov/host/components.h"

namespace zov::sim {

namespace {

// The session's user holds `right`; false when the security component cannot tell.
bool Holds(SessionContext& session, ValueRight right) {
  const RightCheck check = RightCheckOf(right);
  try {
    auto security = session.CreateObject(host::progid::kSecurityInfo).As<host::ISecurityInfo>();
    return security && security->AccessCheck(session.PropsString(), check.group, check.object,
                                             check.right, true, "");
  } catch (const std::exception& e) {
    // A failed statement is journaled by the session already; anything else is journaled here.
    session.JournalException("Withheld", e.what());
    return false;
  }
}

}  // namespace

RightCheck RightCheckOf(ValueRight right) {
  return right == ValueRight::Cost ? RightCheck{15, 900, 32} : RightCheck{15, 0, 32};
}

Withheld Withheld::Of(SessionContext& session) {
  return Withheld(!Holds(session, ValueRight::Price), !Holds(session, ValueRight::Cost));
}

bool Withheld::Hides(ValueRight right) const {
  switch (right) {
    case ValueRight::Price:
      return price_;
    case ValueRight::Cost:
      return cost_;
    case ValueRight::None:
      break;
  }
  return false;
}

}  // namespace zov::sim
