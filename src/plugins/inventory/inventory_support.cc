#include "inventory/inventory_support.h"

#include "frame/resume.h"
#include "services/database.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins::inventory {

std::string SqlId(long id) { return std::to_string(id); }

long TrackMethod(PluginContext& ctx, long itemId) {
  return ResumeOr<long>(0, [&]() -> long {
    auto rs =
        services::OpenRecordset(ctx, "Select FTrack From t_ICItem Where FItemID=" + SqlId(itemId));
    if (!rs || rs->Eof()) return 0;
    const Variant v = rs->Value(0L);
    return v.IsNull() ? 0 : vb::CLng(v);
  });
}

bool IsShelfLifeManaged(PluginContext& ctx, long itemId) {
  return ResumeOr<bool>(false, [&] {
    auto rs = services::OpenRecordset(
        ctx, "Select FISKFPeriod From t_ICItem Where FItemID=" + SqlId(itemId));
    if (!rs || rs->Eof()) return false;
    const Variant v = rs->Value(0L);
    return !v.IsNull() && vb::UCase(vb::CStr(v)) == "TRUE";
  });
}

bool IsBlank(const Variant& value) {
  if (value.IsEmpty() || value.IsNull()) return true;
  return value.IsString() && vb::Trim(value.AsString()).empty();
}

std::string DateText(const Variant& value) {
  if (IsBlank(value) || !vb::IsDate(value)) return {};
  return ResumeOr<std::string>({}, [&] { return vb::Format(value, "YYYY-MM-DD"); });
}

std::optional<vb::Date> CellDate(host::IBillInterface& bill, std::string_view key, long row) {
  return ResumeOr<std::optional<vb::Date>>(std::nullopt, [&]() -> std::optional<vb::Date> {
    const Variant v = bill.GetFieldValue(key, row);
    if (IsBlank(v) || !vb::IsDate(v)) return std::nullopt;
    return vb::DateValue(v);
  });
}

bool HasField(host::IBillInterface& bill, std::string_view key) {
  return ResumeOr<bool>(false, [&] { return static_cast<bool>(bill.GetFieldInfoByKey(key)); });
}

}  // namespace zov::plugins::inventory
