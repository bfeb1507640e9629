// What a session's user may not see: the values guarded by a right the user does not hold. The
// rights are read through the host's security component, as the plug-ins read them, and a check
// that cannot be made withholds: a value leaves the server only when the right was confirmed.
#pragma once

#include <string_view>

#include "bill/bill_template.h"

namespace zov::sim {

class SessionContext;

class Withheld {
 public:
  // Everything guarded is withheld (nothing was confirmed yet).
  Withheld() = default;
  // The rights of the session's user, asked now.
  static Withheld Of(SessionContext& session);
  // Nothing is withheld (a user who holds every right).
  static Withheld Nothing() { return Withheld(false, false); }

  bool Hides(ValueRight right) const;
  bool Hides(const FieldDef& field) const { return Hides(field.right); }
  // A value outside the templates, by the name of its column or key, or by its caption.
  bool HidesName(std::string_view name) const { return Hides(RightOfName(name)); }
  bool HidesCaption(std::string_view caption) const { return Hides(RightOfCaption(caption)); }
  // Whether anything at all is withheld.
  bool Any() const { return price_ || cost_; }

 private:
  Withheld(bool price, bool cost) : price_(price), cost_(cost) {}
  bool price_ = true;
  bool cost_ = true;
};

// The rights behind the two kinds of guarded values, as (group, object, right) of the security
// component: the price right (15, 0, 32) and the cost right (15, 900, 32).
struct RightCheck {
  long group, object, right;
};
RightCheck RightCheckOf(ValueRight right);

}  // namespace zov::sim
