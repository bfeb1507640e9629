#include "services/database.h"

#include "frame/resume.h"
#include "services/login.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/error.h"
#include "zov/vb/strings.h"

namespace zov::plugins::services {

namespace {

template <class I>
Ref<I> Create(PluginContext& ctx, const char* progId) {
  auto obj = ctx.host().CreateObject(progId).As<I>();
  if (!obj) throw vb::Error(vb::kErrObjectRequired, "Object required", progId);
  return obj;
}

}  // namespace

Ref<host::IRecordset> OpenRecordset(PluginContext& ctx, std::string_view sql) {
  return Create<host::IClassInfo>(ctx, host::progid::kClassInfo)->Getdata(PropsString(ctx), sql);
}

Ref<host::IRecordset> OpenRecordsetTolerant(PluginContext& ctx, std::string_view sql) {
  return ResumeOr<Ref<host::IRecordset>>({}, [&] { return OpenRecordset(ctx, sql); });
}

Ref<host::IRecordset> OpenRecordsetWithProps(PluginContext& ctx, std::string_view sql,
                                             std::string_view props) {
  if (vb::Trim(sql).empty()) return {};
  return ResumeOr<Ref<host::IRecordset>>({}, [&] {
    const std::string p = props.empty() ? SharedPropsString(ctx) : std::string(props);
    return Create<host::IClassInfo>(ctx, host::progid::kClassInfo)->Getdata(p, sql);
  });
}

std::string FirstValue(PluginContext& ctx, std::string_view sql, long position) {
  return ResumeOr<std::string>({}, [&]() -> std::string {
    auto rs =
        Create<host::IClassInfo>(ctx, host::progid::kClassInfo)->Getdata(PropsString(ctx), sql);
    if (!rs || rs->Eof()) return {};
    const Variant v = rs->Value(position);
    return v.IsNull() ? std::string{} : vb::CStr(v);
  });
}

bool FirstFlag(PluginContext& ctx, std::string_view sql) {
  return ResumeOr<bool>(false, [&] {
    auto rs =
        Create<host::IClassInfo>(ctx, host::progid::kClassInfo)->Getdata(PropsString(ctx), sql);
    if (!rs || rs->Eof()) return false;
    const Variant v = rs->Value(0L);
    if (v.IsNull() || v.IsEmpty()) return false;
    if (v.IsString())
      return vb::UCase(vb::Trim(v.AsString())) == "TRUE" || vb::Val(v.AsString()) != 0;
    return vb::CBool(v);
  });
}

void ExecuteUpdate(PluginContext& ctx, std::string_view sql) {
  Create<host::IClassUpdate>(ctx, host::progid::kClassUpdate)->UpdateBatch(PropsString(ctx), sql);
}

Ref<host::IRecordset> LookupBaseData(PluginContext& ctx, std::string_view sql) {
  auto connection = Create<host::IAppConnection>(ctx, host::progid::kAppConnection);
  return connection->Execute(ConnectionString(ctx), sql);
}

std::string SqlLiteral(std::string_view value, bool quote, bool nullIfEmpty, bool trim) {
  std::string v = trim ? vb::Trim(value) : std::string(value);
  if (v.empty() && nullIfEmpty) return "Null";
  v = vb::Replace(v, "'", "''");
  return quote ? "'" + v + "'" : v;
}

}  // namespace zov::plugins::services
