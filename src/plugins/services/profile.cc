#include "services/profile.h"

#include "frame/resume.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"

namespace zov::plugins::services {

Variant BagValue(PluginContext& ctx, std::string_view key, const Variant& defaultValue) {
  return ResumeOr<Variant>(defaultValue, [&]() -> Variant {
    auto bag = ctx.host().PropertyBag();
    if (!bag) return defaultValue;
    const Variant k{key};
    return bag->Lookup(k) ? bag->Item(k) : defaultValue;
  });
}

void SetBagValue(PluginContext& ctx, std::string_view key, const Variant& value) {
  Resume([&] {
    if (auto bag = ctx.host().PropertyBag()) bag->SetItem(Variant{key}, value);
  });
}

long AppType(PluginContext& ctx) {
  return ResumeOr<long>(2, [&] { return vb::CLng(BagValue(ctx, "AppType", 2)); });
}

long IndustryType(PluginContext& ctx) {
  return ResumeOr<long>(0, [&] { return vb::CLng(BagValue(ctx, "IndustryType", 0)); });
}

bool InitClosed(PluginContext& ctx) {
  return ResumeOr<bool>(true, [&] { return vb::CBool(BagValue(ctx, "InitClosed", true)); });
}

bool AccessCheck(PluginContext& ctx, std::string_view props, long group, long object, long right,
                 std::string_view caller) {
  return ResumeOr<bool>(false, [&] {
    auto security = ctx.host().CreateObject(host::progid::kSecurityInfo).As<host::ISecurityInfo>();
    return security && security->AccessCheck(props, group, object, right, true, caller);
  });
}

}  // namespace zov::plugins::services
