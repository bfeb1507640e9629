#include "services/user_profile.h"

#include "frame/resume.h"
#include "services/login.h"
#include "zov/host/components.h"

namespace zov::plugins::services {

std::string GetUserProfile(PluginContext& ctx, std::string_view section, std::string_view key) {
  return ResumeOr<std::string>({}, [&]() -> std::string {
    auto info =
        ctx.host().CreateObject(host::progid::kUserProfileInfo).As<host::IUserProfileInfo>();
    return info ? info->GetUserProfile(PropsString(ctx), section, key) : std::string{};
  });
}

void SaveUserProfileItem(PluginContext& ctx, std::string_view section, std::string_view key,
                         const Variant& value) {
  Resume([&] {
    auto update =
        ctx.host().CreateObject(host::progid::kUserProfileUpdate).As<host::IUserProfileUpdate>();
    if (update) update->SaveUserProfile(PropsString(ctx), section, key, value);
  });
}

}  // namespace zov::plugins::services
