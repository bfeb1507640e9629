#include "inventory/serials.h"

#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/profile.h"
#include "zov/vb/strings.h"

namespace zov::plugins::inventory {

namespace {

void ClearCell(host::IBillInterface& bill, std::string_view key, long row) {
  Resume([&] {
    bill.SetFieldValue(key, "", row);
    MarkCell(bill, key, row, true);
  });
}

}  // namespace

void ClearSerials(PluginContext& ctx, host::IBillInterface& bill, long row) {
  if (services::AppType(ctx) == 1 && services::IndustryType(ctx) == 1) return;
  const long billType = ResumeOr<long>(0, [&] { return bill.FID(); });
  if (billType != 1040005 && billType != 1040006) return;
  if (row > 0) {
    ClearCell(bill, "FSerialNo", row);
    return;
  }
  const long rows = ResumeOr<long>(0, [&] { return bill.BillEntrys(1)->GridMaxDataRowNum(); });
  for (long r = 1; r <= rows; ++r) ClearCell(bill, "FSerialNo", r);
  const long rows2 = ResumeOr<long>(0, [&] { return bill.BillEntrys(2)->GridMaxDataRowNum(); });
  for (long r = 1; r <= rows2; ++r) ClearCell(bill, "FSerialNo1", r);
}

bool RowHasUsedSerials(host::IBillInterface& bill, long row) {
  const std::string serials =
      ResumeOr<std::string>({}, [&] { return FieldText(bill, "FSerialNo", row); });
  if (serials.empty()) return false;
  for (const std::string& entry : vb::Split(serials, "|")) {
    const auto parts = vb::Split(entry, ",");
    if (parts.size() >= 3 && vb::Trim(parts[2]) == "1") return true;
  }
  return false;
}

}  // namespace zov::plugins::inventory
