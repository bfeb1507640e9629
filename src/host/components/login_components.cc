// The login cache "ZOVMtsCacheService.CacheFacade" and the shared properties
// "ZOVPropsMgr.ShareProps": what the session knows about its login, keyed by the process ID the
// session answers for. A normal login (not an outer one) is all this host makes.
#include <fmt/format.h>
#include <unistd.h>

#include <array>

#include "components/component_support.h"
#include "components/host_components.h"
#include "zov/host/components.h"
#include "zov/vb/strings.h"

namespace zov::sim::components {

namespace {

constexpr std::array<std::string_view, 14> kLoginKeys = {
    "UserName", "UserID", "PropsString", "LogStatus",   "AcctName", "AcctType", "Setuptype",
    "AcctID",   "SubID",  "AcctClosed",  "MachineName", "IP",       "UUID",     "ZOVLogin"};

bool Is(std::string_view a, std::string_view b) {
  return vb::StrComp(a, b, vb::CompareMethod::Text) == 0;
}

bool IsLoginKey(std::string_view key) {
  for (auto k : kLoginKeys)
    if (Is(k, key)) return true;
  return false;
}

std::string MachineName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0 || name[0] == 0) return "localhost";
  return name;
}

// A login value of the session: the user and the properties string from the session itself, the
// account-set values from the properties string, and the state of a normal, open login.
Variant LoginValue(SessionContext& ctx, std::string_view key) {
  if (Is(key, "UserName")) return ctx.UserName();
  if (Is(key, "UserID")) return ctx.UserId();
  if (Is(key, "PropsString")) return ctx.PropsString();
  const std::string props = ctx.PropsString();
  const std::string given = PropsValue(props, key);
  if (!given.empty()) return given;
  if (Is(key, "LogStatus")) return 1;
  if (Is(key, "AcctClosed")) return false;
  if (Is(key, "ZOVLogin")) return 1;
  if (Is(key, "MachineName")) return MachineName();
  if (Is(key, "IP")) return "127.0.0.1";
  if (Is(key, "UUID")) return fmt::format("{{7A0C0000-0000-4000-8000-{:012X}}}", ctx.ProcessId());
  return std::string();
}

bool ForThisProcess(SessionContext& ctx, long processId) {
  return processId == static_cast<long>(ctx.ProcessId());
}

class CacheFacade final : public vb::Implements<host::ICacheFacade> {
 public:
  explicit CacheFacade(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "CacheFacade"; }

  Variant GetItem(long processId, std::string_view key) override {
    if (!ForThisProcess(ctx_, processId)) return {};
    if (Is(key, "IsOuterLogin")) return 0;
    if (IsLoginKey(key)) return LoginValue(ctx_, key);
    return {};
  }

 private:
  SessionContext& ctx_;
};

class ShareProps final : public vb::Implements<host::IShareProps> {
 public:
  explicit ShareProps(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "ShareProps"; }

  // The login values first, then the pairs of the properties string ("ConnectString"), then
  // the items the host published in the process-wide bag.
  Variant GetProperty(long processId, std::string_view key) override {
    if (!ForThisProcess(ctx_, processId)) return {};
    if (IsLoginKey(key)) return LoginValue(ctx_, key);
    const std::string given = PropsValue(ctx_.PropsString(), key);
    if (!given.empty()) return given;
    if (auto bag = ctx_.Bag()) {
      const Variant k{key};
      if (bag->Lookup(k)) return bag->Item(k);
    }
    return {};
  }

 private:
  SessionContext& ctx_;
};

}  // namespace

Ref<vb::IObject> NewCacheFacade(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, CacheFacade>(ctx);
}
Ref<vb::IObject> NewShareProps(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, ShareProps>(ctx);
}

}  // namespace zov::sim::components
