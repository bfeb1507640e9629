// The account set's settings: "ZOVEBSBase.SystemProfile" reads one value at a time,
// "ZOVEBCGL.SystemProfile" holds a copy of the whole profile that Refresh re-reads (the library
// keeps one for its lifetime and refreshes it before the values that must be current), and
// "ZOVEBCGLView.GLData" hands out such a profile and the user's authorised item classes.
#include <map>

#include "components/component_support.h"
#include "components/host_components.h"
#include "zov/host/components.h"
#include "zov/vb/strings.h"

namespace zov::sim::components {

namespace {

class SystemProfile final : public vb::Implements<host::IProfileService> {
 public:
  explicit SystemProfile(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "SystemProfile"; }

  Variant GetProfile(std::string_view, std::string_view category, std::string_view key) override {
    return SystemProfileValue(ctx_, host::progid::kSystemProfile, category, key);
  }

 private:
  SessionContext& ctx_;
};

class GLSystemProfile final : public vb::Implements<host::IGLSystemProfile> {
 public:
  explicit GLSystemProfile(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "SystemProfile"; }

  void Refresh() override {
    const Rows rows = Query(ctx_, host::progid::kGLSystemProfile,
                            "SELECT FCategory, FKey, FValue FROM t_SystemProfile");
    values_.clear();
    for (std::size_t i = 0; i < rows.size(); ++i)
      values_[KeyOf(rows.Text(i, "FCategory"), rows.Text(i, "FKey"))] = rows.Text(i, "FValue");
    loaded_ = true;
  }

  Variant GetSystemProfile(std::string_view category, std::string_view key,
                           const Variant& defaultValue) override {
    if (!loaded_) Refresh();
    auto it = values_.find(KeyOf(category, key));
    return it == values_.end() ? defaultValue : Variant(it->second);
  }

 private:
  // Categories and keys compare ignoring case, as the database compares them.
  static std::string KeyOf(std::string_view category, std::string_view key) {
    return vb::UCase(category) + '\n' + vb::UCase(key);
  }

  SessionContext& ctx_;
  std::map<std::string, std::string> values_;
  bool loaded_ = false;
};

class GLData final : public vb::Implements<host::IGLData> {
 public:
  explicit GLData(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "GLData"; }

  Ref<host::IGLSystemProfile> SystemProfile() override {
    if (!profile_) profile_ = NewGLSystemProfile(ctx_).As<host::IGLSystemProfile>();
    return profile_;
  }

  std::string GetAuthItemClassList() override {
    const Rows rows =
        Query(ctx_, host::progid::kGLData,
              "SELECT FAuthItemClassList FROM t_User WHERE FUserID=" + SqlNumber(ctx_.UserId()));
    return rows.empty() ? std::string() : rows.Text(0, "FAuthItemClassList");
  }

 private:
  SessionContext& ctx_;
  Ref<host::IGLSystemProfile> profile_;
};

}  // namespace

Ref<vb::IObject> NewSystemProfile(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, SystemProfile>(ctx);
}
Ref<vb::IObject> NewGLSystemProfile(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, GLSystemProfile>(ctx);
}
Ref<vb::IObject> NewGLData(SessionContext& ctx) { return vb::MakeRef<vb::IObject, GLData>(ctx); }

}  // namespace zov::sim::components
