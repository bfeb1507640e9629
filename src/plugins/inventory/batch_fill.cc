#include "inventory/batch_fill.h"

#include <optional>

#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/inventory_support.h"
#include "services/database.h"
#include "services/login.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins::inventory {

namespace {

// Writes a cell the bill has; a key the bill lacks is skipped.
void Write(host::IBillInterface& bill, std::string_view key, long row, const Variant& value) {
  if (!HasField(bill, key)) return;
  Resume([&] { bill.SetFieldValue(key, value, row); });
}

// The first inventory record's date column of the item, when it is a date.
std::optional<vb::Date> InventoryDate(PluginContext& ctx, std::string_view column, long itemId) {
  return ResumeOr<std::optional<vb::Date>>(std::nullopt, [&]() -> std::optional<vb::Date> {
    auto rs =
        services::OpenRecordset(ctx, "select top 1 " + std::string(column) +
                                         " from T_CC_Inventory where FItemID=" + SqlId(itemId));
    if (!rs || rs->Eof()) return std::nullopt;
    const Variant v = rs->Value(0L);
    if (v.Type() != vb::VarType::Date) return std::nullopt;
    return v.AsDate();
  });
}

void FillDates(PluginContext& ctx, host::IBillInterface& bill, long row, const PickedStock& picked,
               const PickKeys& keys) {
  if (picked.datesPicked) {
    Write(bill, keys.production, row, DateText(picked.kfDate));
    Write(bill, keys.expiry, row, DateText(picked.periodDate));
  } else {
    const long item = ResumeOr<long>(0, [&] { return FieldId(bill, keys.item, row); });
    if (auto d = InventoryDate(ctx, "FKFDate", item))
      Write(bill, keys.production, row, vb::Format(*d, "YYYY-MM-DD"));
    if (auto d = InventoryDate(ctx, "FPeriodDate", item))
      Write(bill, keys.expiry, row, vb::Format(*d, "YYYY-MM-DD"));
  }
  const auto production = CellDate(bill, keys.production, row);
  const auto expiry = CellDate(bill, keys.expiry, row);
  const long days = ResumeOr<long>(
      0, [&] { return static_cast<long>(vb::CLng(FieldNumber(bill, keys.shelfLife, row))); });
  if (production && expiry) {
    Resume([&] { Write(bill, keys.shelfLife, row, vb::DateDiff("d", *production, *expiry)); });
  } else if (production && days != 0) {
    Resume([&] { Write(bill, keys.expiry, row, vb::DateAdd("d", days, *production)); });
  }
}

void FillQuantities(PluginContext& ctx, host::IBillInterface& bill, long row,
                    const PickedStock& picked, std::string_view changedKey, const PickKeys& keys) {
  if (vb::StrComp(changedKey, keys.qty, vb::CompareMethod::Text) == 0) return;
  const std::string freeQty = ResumeOr<std::string>("0", [&] {
    return vb::Trim(vb::CStr(services::SystemProfileValue(ctx, "AllowWriteQty", "IC", "0")));
  });
  if (freeQty == "1") return;
  Resume([&] { calc::SetFieldWithAction(bill, keys.qty, picked.qty, row, false); });
  Write(bill, keys.secQty, row, picked.secQty);
  if (!IsCellLocked(bill, keys.secCoefficient, row))
    Write(bill, keys.secCoefficient, row, picked.secCoefficient);
  Write(bill, keys.costPrice, row, picked.costPrice);
  Resume([&] {
    Write(bill, keys.costAmount, row, services::FormatToPlaces(picked.costPrice * picked.qty, 2));
  });
}

}  // namespace

void FillFromBatchPick(PluginContext& ctx, host::IBillInterface& bill, long row,
                       const PickedStock& picked, std::string_view changedKey, bool writeBatch,
                       const PickKeys& keys) {
  if (row < 1) return;
  if (writeBatch) Write(bill, keys.batch, row, picked.batchNo);
  if (!picked.auxNumber.empty()) Write(bill, keys.aux, row, picked.auxNumber);
  if (!picked.stockNumber.empty()) Write(bill, keys.stock, row, picked.stockNumber);
  FillDates(ctx, bill, row, picked, keys);
  FillQuantities(ctx, bill, row, picked, changedKey, keys);
}

void FillFromStockPick(PluginContext& ctx, host::IBillInterface& bill, long row,
                       const PickedStock& picked, std::string_view changedKey,
                       const PickKeys& keys) {
  if (row < 1) return;
  if (!picked.stockNumber.empty()) Write(bill, keys.stock, row, picked.stockNumber);
  FillDates(ctx, bill, row, picked, keys);
  FillQuantities(ctx, bill, row, picked, changedKey, keys);
}

}  // namespace zov::plugins::inventory
