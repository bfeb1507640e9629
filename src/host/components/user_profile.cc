// The user profile, "ZOVMProfile.ClassUserProfileInfo" and "ZOVMProfile.ClassUserProfileUpdate",
// over t_UserProfile: a user's own value of (section, key), else the value user 0 keeps for
// everyone.
#include "components/component_support.h"
#include "components/host_components.h"
#include "zov/host/components.h"

namespace zov::sim::components {

namespace {

class UserProfileInfo final : public vb::Implements<host::IUserProfileInfo> {
 public:
  explicit UserProfileInfo(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "ClassUserProfileInfo"; }

  std::string GetUserProfile(std::string_view props, std::string_view section,
                             std::string_view key) override {
    const long user = UserOf(ctx_, props);
    const Rows rows =
        Query(ctx_, host::progid::kUserProfileInfo,
              "SELECT FUserID, FValue FROM t_UserProfile WHERE FSection=" + SqlText(section) +
                  " AND FKey=" + SqlText(key) + " AND (FUserID=" + SqlNumber(user) +
                  " OR FUserID=0) ORDER BY FUserID DESC");
    return rows.empty() ? std::string() : rows.Text(0, "FValue");
  }

 private:
  SessionContext& ctx_;
};

class UserProfileUpdate final : public vb::Implements<host::IUserProfileUpdate> {
 public:
  explicit UserProfileUpdate(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "ClassUserProfileUpdate"; }

  void SaveUserProfile(std::string_view props, std::string_view section, std::string_view key,
                       const Variant& value) override {
    constexpr const char* kSource = host::progid::kUserProfileUpdate;
    const long user = UserOf(ctx_, props);
    // User 0 holds the values of every user; a user's own setting never overwrites them.
    if (user <= 0)
      Fail(ctx_, kSource, "SaveUserProfile", "SaveUserProfile: the properties name no user");
    if (section.empty() || key.empty())
      Fail(ctx_, kSource, "SaveUserProfile",
           "SaveUserProfile: the section and the key must not be empty");
    if (value.IsObject())
      Fail(ctx_, kSource, "SaveUserProfile", "SaveUserProfile: an object is not a value", 13);
    const std::string where = " WHERE FUserID=" + SqlNumber(user) +
                              " AND FSection=" + SqlText(section) + " AND FKey=" + SqlText(key);
    InTransaction(ctx_, [&] {
      Execute(ctx_, kSource, "DELETE FROM t_UserProfile" + where);
      Execute(ctx_, kSource,
              "INSERT INTO t_UserProfile (FUserID, FSection, FKey, FValue) VALUES (" +
                  SqlNumber(user) + "," + SqlText(section) + "," + SqlText(key) + "," +
                  SqlText(ToText(value)) + ")");
    });
  }

 private:
  SessionContext& ctx_;
};

}  // namespace

Ref<vb::IObject> NewUserProfileInfo(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, UserProfileInfo>(ctx);
}
Ref<vb::IObject> NewUserProfileUpdate(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, UserProfileUpdate>(ctx);
}

}  // namespace zov::sim::components
