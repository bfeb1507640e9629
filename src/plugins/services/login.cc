#include "services/login.h"

#include <array>

#include "frame/resume.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/error.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins::services {

namespace {

// The only keys the host serves in outer-login mode.
constexpr std::array<std::string_view, 14> kLoginValueKeys = {
    "UserName", "UserID", "PropsString", "LogStatus",   "AcctName", "AcctType", "Setuptype",
    "AcctID",   "SubID",  "AcctClosed",  "MachineName", "IP",       "UUID",     "ZOVLogin"};

bool IsLoginValueKey(std::string_view key) {
  for (auto k : kLoginValueKeys)
    if (k == key) return true;
  return false;
}

Variant SharedProperty(PluginContext& ctx, std::string_view key) {
  auto share = ctx.host().CreateObject(host::progid::kShareProps).As<host::IShareProps>();
  if (!share) return {};
  return share->GetProperty(static_cast<long>(ctx.host().ProcessId()), key);
}

}  // namespace

Variant LoginValue(PluginContext& ctx, std::string_view key) {
  return ResumeOr<Variant>({}, [&]() -> Variant {
    const long pid = static_cast<long>(ctx.host().ProcessId());
    auto cache = ctx.host().CreateObject(host::progid::kCacheFacade).As<host::ICacheFacade>();
    if (!cache) return {};
    const std::int32_t mode = vb::CLng(cache->GetItem(pid, "IsOuterLogin"));
    if (mode == 1) return IsLoginValueKey(key) ? cache->GetItem(pid, key) : Variant{};
    if (mode == 0) return SharedProperty(ctx, key);
    return {};
  });
}

std::string PropsString(PluginContext& ctx) {
  return ResumeOr<std::string>({}, [&] { return vb::CStr(LoginValue(ctx, "PropsString")); });
}

std::string SharedPropsString(PluginContext& ctx) {
  return ResumeOr<std::string>({}, [&] { return vb::CStr(SharedProperty(ctx, "PropsString")); });
}

bool ParseProperties(PluginContext& ctx, std::string_view text) {
  ctx.parsedProperties.clear();
  ctx.lastParsedProperties = std::string(text);
  auto skipSpaces = [](std::string_view v) {
    while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
    return v;
  };
  std::string_view rest = text;
  for (;;) {
    std::string key;
    const auto eq = rest.find('=');
    if (eq == std::string_view::npos) {
      key = vb::Trim(rest);
      rest = {};
    } else {
      key = vb::Trim(rest.substr(0, eq));
      rest = rest.substr(eq + 1);
    }
    if (key.empty()) break;

    std::string_view value;
    rest = skipSpaces(rest);
    if (!rest.empty() && rest.front() == '{') {
      rest.remove_prefix(1);
      const auto close = rest.find('}');
      value = rest.substr(0, close);
      // Whatever follows the closing brace up to the next ";" is dropped.
      const auto semi = close == std::string_view::npos ? close : rest.find(';', close);
      rest = semi == std::string_view::npos ? std::string_view{} : rest.substr(semi + 1);
    } else {
      const auto semi = rest.find(';');
      value = rest.substr(0, semi);
      rest = semi == std::string_view::npos ? std::string_view{} : rest.substr(semi + 1);
    }
    if (!ctx.parsedProperties.emplace(key, vb::Trim(value)).second) break;  // duplicate key
  }
  return true;
}

std::string Property(PluginContext& ctx, std::string_view key) {
  auto it = ctx.parsedProperties.find(std::string(key));
  if (it == ctx.parsedProperties.end())
    throw vb::Error(vb::kErrInvalidProcedureCall, "Invalid procedure call or argument");
  return it->second;
}

std::string ConnectionString(PluginContext& ctx) {
  return ResumeOr<std::string>({}, [&] {
    ParseProperties(ctx, PropsString(ctx));
    return Property(ctx, "ConnectString");
  });
}

std::int16_t CurrentUserID(PluginContext& ctx) {
  return ResumeOr<std::int16_t>(0, [&] {
    ParseProperties(ctx, PropsString(ctx));
    return vb::CInt(Variant(Property(ctx, "UserID")));
  });
}

vb::Currency FormatToPlaces(const Variant& value, int places) {
  return vb::FormatToPlaces(value, places);
}

}  // namespace zov::plugins::services
