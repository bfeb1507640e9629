#include "services/profile.h"

#include "frame/resume.h"
#include "services/database.h"
#include "services/login.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"

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

vb::Date StartPeriodStartDate(PluginContext& ctx) {
  vb::Date start = vb::DateFromParts({1900, 1, 1, 0, 0, 0});
  Resume([&] {
    auto rs = OpenRecordset(
        ctx,
        "SELECT CONVERT(DATETIME,a.FStartDate) AS FStartDate,CONVERT(DATETIME,a.FEndDate) AS "
        "FEndDate  "
        "FROM t_PeriodDate a, (select CONVERT(INT,FValue) as FYear FROM t_SystemProfile WHERE "
        "FCategory='IC' AND FKey='StartYear') AS b, (select CONVERT(INT,FValue)as FPeriod FROM "
        "t_SystemProfile WHERE FCategory='IC' AND FKey='StartPeriod') as c, (select "
        "CONVERT(INT,FValue) "
        "as FClosed FROM t_SystemProfile WHERE FCategory='GL' AND FKey='Closed') AS d, (select "
        "CONVERT(INT,FValue)as FInitClosed FROM t_SystemProfile WHERE FCategory='GL' AND "
        "FKey='InitClosed') as e WHERE a.FYear = b.FYear and a.FPeriod = c.FPeriod and d.FClosed = "
        "1 "
        "and e.FInitClosed = 0 ");
    if (rs && !rs->Eof()) start = vb::CDate(rs->Value("FStartDate"));
  });
  return start;
}

Variant SystemProfileValue(PluginContext& ctx, std::string_view key, std::string_view category,
                           const Variant& defaultValue) {
  return ResumeOr<Variant>(defaultValue, [&]() -> Variant {
    auto profile =
        ctx.host().CreateObject(host::progid::kSystemProfile).As<host::IProfileService>();
    if (!profile) return defaultValue;
    const Variant v = profile->GetProfile(PropsString(ctx), category, key);
    return v.IsNull() || v.IsEmpty() ? defaultValue : v;
  });
}

Ref<host::IGLSystemProfile> ProfileObject(PluginContext& ctx) {
  if (auto profile = ctx.profileObject.As<host::IGLSystemProfile>()) return profile;
  return ResumeOr<Ref<host::IGLSystemProfile>>({}, [&] {
    if (!ctx.glData) ctx.glData = ctx.host().CreateObject(host::progid::kGLData);
    auto gl = ctx.glData.As<host::IGLData>();
    auto profile = gl ? gl->SystemProfile() : Ref<host::IGLSystemProfile>{};
    ctx.profileObject = profile;
    return profile;
  });
}

std::string GLProfileValue(PluginContext& ctx, std::string_view category, std::string_view key,
                           std::string_view defaultValue) {
  return ResumeOr<std::string>(std::string(defaultValue), [&] {
    auto profile = ProfileObject(ctx);
    if (!profile) return std::string(defaultValue);
    const Variant v = profile->GetSystemProfile(category, key, defaultValue);
    return v.IsNull() || v.IsEmpty() ? std::string(defaultValue) : vb::CStr(v);
  });
}

long ControlPoint(PluginContext& ctx) {
  return ResumeOr<long>(0, [&]() -> long {
    auto profile =
        ctx.host().CreateObject(host::progid::kGLSystemProfile).As<host::IGLSystemProfile>();
    if (!profile) return 0;
    profile->Refresh();
    return static_cast<long>(
        vb::Val(vb::CStr(profile->GetSystemProfile("IC", "ControlPoint", "0"))));
  });
}

std::string AuthorisedItemClasses(PluginContext& ctx) {
  return ResumeOr<std::string>({}, [&]() -> std::string {
    Variant list = BagValue(ctx, "AuthrizeItemClassList");
    if (list.IsEmpty() || list.IsNull() || (list.IsString() && list.AsString().empty())) {
      auto gl = ctx.host().CreateObject(host::progid::kGLData).As<host::IGLData>();
      if (!gl) return {};
      list = gl->GetAuthItemClassList();
      SetBagValue(ctx, "AuthrizeItemClassList", list);
    }
    return vb::CStr(list);
  });
}

bool NeedAuthorisation(PluginContext& ctx) {
  auto ask = [&] {
    Resume([&] {
      auto security =
          ctx.host().CreateObject(host::progid::kSecurityInfo).As<host::ISecurityInfo>();
      if (security) SetBagValue(ctx, "NeedAuthrize", security->NeedAutorized(PropsString(ctx)));
    });
  };
  if (!ctx.needAuthorisationAsked) {
    ctx.needAuthorisationAsked = true;
    ask();
  }
  Variant v = BagValue(ctx, "NeedAuthrize");
  if (v.IsEmpty()) {
    ask();
    v = BagValue(ctx, "NeedAuthrize");
  }
  return ResumeOr<bool>(false, [&] { return !v.IsEmpty() && !v.IsNull() && vb::CBool(v); });
}

bool StockRightsApply(PluginContext& ctx) {
  return NeedAuthorisation(ctx) && AuthorisedItemClasses(ctx).find('5') != std::string::npos;
}

}  // namespace zov::plugins::services
