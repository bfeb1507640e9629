// The special-price bill's checks: each decides, shows its message, puts the cursor on the
// offending cell and answers false; none writes a cell but ChkPriceValidate, which clears what
// a row without item or unit cannot keep.
#include <set>
#include <utility>

#include "bills/xscx/bill_event_xscx.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/database.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/vb/convert.h"

namespace zov::plugins {

namespace {
constexpr const char* kRegularPriceZero =
    "原价不允许为零。原价根据“价格管理-售价带出方案”中设置的规则带出。";
}  // namespace

bool BillEvent_XSCX::Refuse(std::string_view message, std::string_view key, long row) {
  services::ShowMessage(context(), message);
  if (!key.empty()) Resume([&] { m_BillInterface->SetActiveCell(key, row); });
  return false;
}

bool BillEvent_XSCX::CheckBillDate() {
  const Variant date = m_BillInterface->GetFieldValue("FDate");
  const double day = ResumeOr<double>(0, [&] {
    return date.IsEmpty() || date.IsNull() || (date.IsString() && date.AsString().empty())
               ? 0.0
               : vb::CDate(date).serial;
  });
  if (day != 0 && day < services::StartPeriodStartDate(context()).serial)
    return Refuse("单据日期不能小于账套启用期间的第一天。", "FDate", -1);
  return true;
}

bool BillEvent_XSCX::CheckRows() {
  auto& bill = *m_BillInterface;
  // An item and unit that came before (a set, so that many rows stay quick).
  std::set<std::pair<long, long>> seen;
  long duplicate = 0;
  for (long row = 1; row <= RowCount(); ++row) {
    const long item = FieldId(bill, "FItemID", row);
    if (item <= 0) continue;
    if (FieldNumber(bill, "FOldPrice", row) == 0)
      return Refuse(kRegularPriceZero, "FNewPrice", row);
    if (FieldNumber(bill, "FNewPrice", row) <= 0)
      return Refuse("特价必须大于零！", "FNewPrice", row);
    if (!seen.emplace(item, FieldId(bill, "FShowUnitID", row)).second && duplicate == 0)
      duplicate = row;
  }
  if (duplicate != 0)
    return Refuse("单据表体中存在多个商品和单位完全相同的记录，请重新录入！", "FItemID", duplicate);
  return true;
}

void BillEvent_XSCX::ChkPriceValidate(const Ref<host::IBillInterface>& bill, long row,
                                      long priceType, Variant& result) {
  result = false;
  if (!bill) return;
  const long item = FieldId(*bill, "FItemID", row);
  const long unit = FieldId(*bill, "FShowUnitID", row);
  if (unit <= 0) {
    Resume([&] { bill->SetFieldValue("FShowUnitID", "", row); });
    Resume([&] { bill->SetFieldValue("FOldPrice", "", row); });
    Resume([&] { MarkCell(*bill, "FItemID", row, true); });
    return;
  }
  if (item <= 0) {
    for (const char* key : {"FItemID", "FShowUnitID", "FOldPrice"})
      Resume([&] { bill->SetFieldValue(key, "", row); });
    return;
  }
  const double standard = vb::Val(services::FirstValue(
      context(), "select FXSPrice from t_ItemPrice where FItemID =" + std::to_string(item) +
                     " and FUnitID=" + std::to_string(unit)));
  if (standard == 0) {
    services::ShowMessage(context(), kRegularPriceZero);
    return;
  }
  // Only app type 4 with price type 3 lets a row change its unit.
  result = services::AppType(context()) == 4 && priceType == 3;
}

}  // namespace zov::plugins
