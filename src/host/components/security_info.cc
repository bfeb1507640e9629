// "ZOVEBSBase.SecurityInfo": the rights of the user a properties string names. A right is a
// bit of the mask granted to the user for (group, object); a grant on object 0 covers every
// object of the group. Administrators hold every right; a forbidden user holds none.
#include "components/component_support.h"
#include "components/host_components.h"
#include "zov/host/components.h"

namespace zov::sim::components {

namespace {

constexpr const char* kSource = host::progid::kSecurityInfo;

class SecurityInfo final : public vb::Implements<host::ISecurityInfo> {
 public:
  explicit SecurityInfo(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "SecurityInfo"; }

  bool AccessCheck(std::string_view props, long group, long object, long right, bool,
                   std::string_view) override {
    if (right == 0) Fail(ctx_, kSource, "AccessCheck", "AccessCheck: the right to check is 0");
    const long user = UserOf(ctx_, props);
    if (user <= 0) return false;
    const Rows who = Query(
        ctx_, kSource, "SELECT FIsAdmin, FForbidden FROM t_User WHERE FUserID=" + SqlNumber(user));
    if (who.empty() || who.Flag(0, "FForbidden")) return false;
    if (who.Flag(0, "FIsAdmin")) return true;
    const Rows grants = Query(ctx_, kSource,
                              "SELECT FRights FROM t_AccessRight WHERE FUserID=" + SqlNumber(user) +
                                  " AND FGroupID=" + SqlNumber(group) +
                                  " AND (FObjectID=" + SqlNumber(object) + " OR FObjectID=0)");
    unsigned long granted = 0;
    for (std::size_t i = 0; i < grants.size(); ++i)
      granted |= static_cast<unsigned long>(grants.Long(i, "FRights"));
    const auto wanted = static_cast<unsigned long>(right);
    return (granted & wanted) == wanted;
  }

  Variant NeedAutorized(std::string_view props) override {
    const long user = UserOf(ctx_, props);
    const Rows who =
        Query(ctx_, kSource, "SELECT FNeedAuthorize FROM t_User WHERE FUserID=" + SqlNumber(user));
    return !who.empty() && who.Flag(0, "FNeedAuthorize");
  }

 private:
  SessionContext& ctx_;
};

}  // namespace

Ref<vb::IObject> NewSecurityInfo(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, SecurityInfo>(ctx);
}

}  // namespace zov::sim::components
