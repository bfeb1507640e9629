#include "inventory/shelf_life.h"

#include <optional>

#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/inventory_support.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/strings.h"

namespace zov::plugins::inventory {

namespace {

long DaysIn(host::IBillInterface& bill, std::string_view key, long row) {
  return ResumeOr<long>(0,
                        [&] { return static_cast<long>(vb::CLng(FieldNumber(bill, key, row))); });
}

void Write(host::IBillInterface& bill, std::string_view key, long row, const Variant& value) {
  Resume([&] { bill.SetFieldValue(key, value, row); });
}

bool Is(std::string_view changed, std::string_view key) {
  return vb::StrComp(changed, key, vb::CompareMethod::Text) == 0;
}

}  // namespace

void RecalcShelfLife(host::IBillInterface& bill, const Ref<host::IDictionary>& changedField,
                     long row, const ShelfLifeKeys& keys) {
  const std::string key = ResumeOr<std::string>(
      {}, [&] { return changedField ? vb::CStr(changedField->Item("FKey")) : std::string(); });
  RecalcShelfLife(bill, key, row, keys);
}

void RecalcShelfLife(host::IBillInterface& bill, std::string_view changedKey, long row,
                     const ShelfLifeKeys& keys) {
  if (row < 1) return;
  const auto production = CellDate(bill, keys.production, row);
  const auto expiry = CellDate(bill, keys.expiry, row);
  const long days = DaysIn(bill, keys.shelfLife, row);
  if (Is(changedKey, keys.expiry)) {
    if (days <= 0 && production && expiry) {
      Write(bill, keys.shelfLife, row,
            ResumeOr<long>(0, [&] { return vb::DateDiff("d", *production, *expiry); }));
    } else if (days > 0 && expiry) {
      Resume([&] { Write(bill, keys.production, row, vb::DateAdd("d", -days, *expiry)); });
    }
  } else if (Is(changedKey, keys.production) || Is(changedKey, keys.shelfLife)) {
    if (production)
      Resume([&] { Write(bill, keys.expiry, row, vb::DateAdd("d", days, *production)); });
  }
}

bool CheckShelfLife(host::IBillInterface& bill, long row, std::string& message,
                    const ShelfLifeKeys& keys, bool blankAsFirstDay) {
  message.clear();
  // "组装件商品..." for the assembled item; "子件第3行商品..." or "第3行商品..." for a row.
  const std::string subject = keys.kind == ShelfLifeRow::Assembly ? std::string("组装件商品")
                              : keys.kind == ShelfLifeRow::Component
                                  ? "子件第" + std::to_string(row) + "行商品"
                                  : "第" + std::to_string(row) + "行商品";
  auto fail = [&](std::string_view key, std::string_view text) {
    Resume([&] { bill.SetActiveCell(key, row); });
    message = subject + std::string(text);
    return false;
  };
  auto dateOf = [&](std::string_view key) {
    auto date = CellDate(bill, key, row);
    if (!date && blankAsFirstDay) date = vb::DateSerial(1900, 1, 1);
    return date;
  };
  const auto production = dateOf(keys.production);
  if (!production) return fail(keys.production, "未输入生产日期！");
  const long days = DaysIn(bill, keys.shelfLife, row);
  if (days < 0) return fail(keys.shelfLife, "的保质期必须大于等于0！");
  const auto expiry = dateOf(keys.expiry);
  if (!expiry) return fail(keys.expiry, "未输入有效期至！");
  if (ResumeOr<long>(-1, [&] { return vb::DateDiff("d", *production, *expiry); }) != days)
    return fail(keys.expiry, "不符合生产日期加保质期等于有效期至！");
  return true;
}

}  // namespace zov::plugins::inventory
