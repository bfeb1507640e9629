#include "calc/locks.h"

#include <string>

#include "calc/bill_types.h"
#include "calc/row_cells.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/database.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins::calc {

namespace {

constexpr long kFixedConversion = 1078;  // t_ICItem.FConverMethod of a fixed secondary conversion

// The discount fields of the bill's family: base, shown and secondary unit; empty keys on bills
// without discount fields.
struct DiscountKeys {
  std::string base, shown, sec;
};

DiscountKeys DiscountKeysOf(long billType, const RowKeys& keys) {
  if (BillTypeIn(billtype::kPriceDiscountBills, billType))
    return {keys.basePriceDiscount, keys.priceDiscount, keys.secPriceDiscount};
  if (BillTypeIn(billtype::kDiscountPriceBills, billType))
    return {keys.baseDiscountPrice, keys.discountPrice, keys.secDiscountPrice};
  return {};
}

long BillType(host::IBillInterface& bill) {
  return ResumeOr<long>(0, [&] { return bill.FID(); });
}

// The source bill type of the row, read from FClassID_SRC wherever the bill keeps it (header or
// row); false when the bill has no such field.
bool SourceType(host::IBillInterface& bill, long row, std::string& sourceType) {
  return ResumeOr<bool>(false, [&] {
    auto info = bill.GetFieldInfoByKey("FClassID_SRC");
    if (!info) return false;
    const bool header = vb::CLng(info->Item("FPage")) == 1;
    sourceType = vb::Trim(FieldText(bill, "FClassID_SRC", header ? -1 : row));
    return true;
  });
}

// The calculation type is fixed on rows taken over from these (source type, bill type) pairs.
bool CalTypeFixedBySource(const std::string& sourceType, long billType) {
  static constexpr struct {
    const char* source;
    long bill;
  } kFixed[] = {{"1030002", 1030002},
                {"1030003", 1030002},
                {"1030003", 1030003},
                {"1020003", 1020002},
                {"1020003", 1020003}};
  for (const auto& pair : kFixed)
    if (sourceType == pair.source && billType == pair.bill) return true;
  return false;
}

// The stock the price locks judge the row by; 0 on bills that name none.
long PriceStockOf(host::IBillInterface& bill, long billType, long row, const RowKeys& keys) {
  const std::string* key = BillTypeIn(billtype::kDestStockPriceBills, billType)     ? &keys.dcStock
                           : BillTypeIn(billtype::kSourceStockPriceBills, billType) ? &keys.scStock
                                                                                    : nullptr;
  if (!key) return 0;
  return ResumeOr<long>(0, [&] { return RowCells(bill, row).Id(*key); });
}

}  // namespace

void LockColumns(host::IBillInterface& bill, std::string_view keys) {
  for (const std::string& key : vb::Split(keys, ",")) {
    const std::string k = vb::Trim(key);
    if (!k.empty()) Resume([&] { bill.BillEntrys(1)->QORFields(k)->SetFieldLock(true); });
  }
}

void ApplyUnitLocks(PluginContext& ctx, host::IBillInterface& bill, long row, long itemId,
                    const RowKeys& keys) {
  const RowCells cells(bill, row);
  const long billType = BillType(bill);
  const bool calTypeKept = BillTypeIn(billtype::kNoCalTypeBills, billType);

  if (IsGCItem(ctx, itemId)) {
    const long unit = GetBarcodeUnit(ctx, itemId, 2);
    if (unit != 0) {
      Resume([&] { cells.Set(keys.showUnit, unit); });
      Resume([&] { cells.ActUnmarked(keys.showUnit); });
    }
    cells.Lock(keys.secCoefficient, true);
    if (!calTypeKept) cells.Lock(keys.calType, false);
  } else {
    if (!calTypeKept) cells.Lock(keys.calType, true);
    if (!BillTypeIn(billtype::kOpenBasePriceBills, billType)) cells.Lock(keys.basePrice, true);
    cells.Lock(keys.qty, true);
    cells.Lock(keys.showUnit, false);
    cells.Lock(keys.showQty, false);
    cells.Lock(keys.price, false);
  }

  // The secondary unit: told by the item's base property on the bills that keep it there.
  const bool byProperty = BillTypeIn(billtype::kPropertySecUnitBills, billType);
  if (byProperty) cells.Lock(keys.displayPrice, true);
  const double secondary = ResumeOr<double>(
      0, [&] { return byProperty ? cells.Number(keys.baseProperty4) : cells.Id(keys.secUnit); });
  if (secondary > 0) {
    cells.Lock(keys.secQty, false);
    cells.Lock(keys.secCoefficient, false);
    cells.Lock(keys.secPrice, true);
    if (!calTypeKept) cells.Lock(keys.displayWeight, false);
  } else {
    cells.Lock(keys.secQty, true);
    cells.Lock(keys.secPrice, true);
    cells.Lock(keys.secCoefficient, true);
    if (!calTypeKept) {
      cells.Lock(keys.displayWeight, true);
      Resume([&] { cells.Set(keys.displayWeight, ""); });
    }
  }
  if (BillTypeIn(billtype::kUnitLockedDisplayPriceBills, billType))
    cells.Lock(keys.displayPrice, true);
}

void ApplyCalTypeLocks(PluginContext& ctx, host::IBillInterface& bill, long row, long calType,
                       const RowKeys& keys) {
  const RowCells cells(bill, row);
  const long billType = BillType(bill);

  // A row taken over from a bill that fixed its calculation type keeps it.
  std::string sourceType;
  if (!BillTypeIn(billtype::kNoCalTypeBills, billType) && SourceType(bill, row, sourceType))
    cells.Lock(keys.calType, CalTypeFixedBySource(sourceType, billType));

  const DiscountKeys discount = DiscountKeysOf(billType, keys);
  const bool fixedPrice = BillTypeIn(billtype::kFixedPriceBills, billType);
  auto displayFrom = [&](const std::string& weightKey) {
    Resume([&] { cells.Set(keys.displayQty, cells.Number(keys.showQty)); });
    Resume([&] { cells.Set(keys.displayWeight, cells.Number(weightKey)); });
  };

  switch (calType) {
    case 1:  // weight and quantity in base terms
      for (const auto* k : {&keys.qty, &keys.displayWeight, &keys.displayQty})
        cells.Lock(*k, false);
      for (const auto* k : {&keys.showUnit, &keys.showQty, &keys.price, &keys.secQty,
                            &keys.qtySecCoefficient, &keys.secPrice, &keys.secTaxPrice})
        cells.Lock(*k, true);
      cells.Lock(discount.base, false);
      cells.Lock(keys.baseTaxPrice, false);
      cells.Lock(discount.shown, true);
      cells.Lock(keys.taxPrice, true);
      cells.Lock(keys.basePrice, fixedPrice);
      displayFrom(keys.qty);
      break;
    case 2:  // as type 1, priced per shown unit
      for (const auto* k : {&keys.showQty, &keys.displayQty}) cells.Lock(*k, false);
      for (const auto* k : {&keys.qty, &keys.showUnit, &keys.secQty, &keys.qtySecCoefficient,
                            &keys.secPrice, &keys.displayWeight})
        cells.Lock(*k, true);
      cells.Lock(discount.base, true);
      cells.Lock(keys.baseTaxPrice, true);
      cells.Lock(keys.secTaxPrice, true);
      if (BillTypeIn(billtype::kDiscountPriceBills, billType)) cells.Lock(discount.sec, true);
      cells.Lock(discount.shown, false);
      cells.Lock(keys.taxPrice, false);
      cells.Lock(keys.price, fixedPrice);
      displayFrom(keys.qty);
      break;
    case 3:  // price and weight in secondary terms
      for (const auto* k :
           {&keys.showQty, &keys.secQty, &keys.secTaxPrice, &keys.displayWeight, &keys.displayQty})
        cells.Lock(*k, false);
      for (const auto* k :
           {&keys.qty, &keys.basePrice, &keys.showUnit, &keys.price, &keys.qtySecCoefficient,
            &discount.base, &keys.baseTaxPrice, &discount.shown, &keys.taxPrice})
        cells.Lock(*k, true);
      cells.Lock(keys.secPrice, fixedPrice);
      displayFrom(keys.secQty);
      break;
    default:
      break;
  }
  ApplyStockPriceLocks(ctx, bill, row, keys);
}

void ApplyRowLocks(PluginContext& ctx, host::IBillInterface& bill, const RowKeys& keys) {
  const long rows =
      ResumeOr<long>(0, [&] { return bill.BillEntrys(keys.grid)->GridMaxDataRowNum(); });
  for (long row = 1; row <= rows; ++row) {
    const RowCells cells(bill, row);
    const long item = ResumeOr<long>(0, [&] { return cells.Id(keys.item); });
    if (IsGCItem(ctx, item))
      ApplyCalTypeLocks(ctx, bill, row, ResumeOr<long>(0, [&] { return cells.Id(keys.calType); }),
                        keys);
    else
      ApplyUnitLocks(ctx, bill, row, item, keys);
  }
}

void ApplyStockPriceLocks(PluginContext& ctx, host::IBillInterface& bill, long row,
                          const RowKeys& keys) {
  if (services::IndustryType(ctx) != 1) return;
  const RowCells cells(bill, row);
  const long item = ResumeOr<long>(0, [&] { return cells.Id(keys.item); });
  const long calType = ResumeOr<long>(0, [&] { return cells.Id(keys.calType); });
  ApplyPriceLocks(ctx, bill, row, item, PriceStockOf(bill, BillType(bill), row, keys), calType,
                  keys);
}

void ApplyPriceLocks(PluginContext& ctx, host::IBillInterface& bill, long row, long itemId,
                     long stockId, long calType, const RowKeys& keys) {
  const RowCells cells(bill, row);
  const long billType = BillType(bill);
  const bool virtualStock = stockId != 0 && IsVirtualStock(ctx, stockId);

  if (virtualStock && !BillTypeIn(billtype::kVirtualStockPricedBills, billType)) {
    for (const auto* k : {&keys.basePrice, &keys.price, &keys.secPrice, &keys.displayPrice})
      cells.Lock(*k, true);
    Resume([&] { cells.Set(keys.displayPrice, ""); });
  } else {
    const bool fixed = BillTypeIn(billtype::kFixedPriceBills, billType);
    if (IsGCItem(ctx, itemId)) {
      switch (calType) {
        case 1:
          cells.Lock(keys.basePrice, fixed);
          cells.Lock(keys.displayPrice, fixed);
          cells.Lock(keys.price, true);
          cells.Lock(keys.secPrice, true);
          break;
        case 2:
          cells.Lock(keys.basePrice, fixed);
          cells.Lock(keys.price, fixed);
          cells.Lock(keys.displayPrice, fixed);
          cells.Lock(keys.secPrice, true);
          break;
        case 3:
          cells.Lock(keys.basePrice, true);
          cells.Lock(keys.price, true);
          cells.Lock(keys.secPrice, fixed);
          cells.Lock(keys.displayPrice, fixed);
          break;
        default:
          break;
      }
    } else {
      cells.Lock(keys.basePrice, !BillTypeIn(billtype::kOpenBasePriceBills, billType));
      cells.Lock(keys.price, false);
      cells.Lock(keys.secPrice, true);
      cells.Lock(keys.displayPrice, BillTypeIn(billtype::kLockedDisplayPriceBills, billType));
    }
  }
  // A virtual stock takes no freight share, so its charge cannot be typed either.
  if (BillTypeIn(billtype::kChargeLockBills, billType)) cells.Lock(keys.charges, virtualStock);
}

void ApplySecCoefficientLock(PluginContext& ctx, host::IBillInterface& bill, long row) {
  if (ResumeOr<double>(0, [&] { return FieldNumber(bill, "FStatus"); }) > 0) return;
  const RowKeys& keys = FirstGridKeys();
  const bool everyRow = row < 1;
  const long first = everyRow ? 1 : row;
  const long last =
      everyRow ? ResumeOr<long>(0, [&] { return bill.BillEntrys(1)->GridMaxDataRowNum(); }) : row;
  for (long r = first; r <= last; ++r) {
    const RowCells cells(bill, r);
    const long item = ResumeOr<long>(0, [&] { return cells.Id(keys.item); });
    if (item <= 0) continue;
    const std::string sql =
        (everyRow ? "Select FConverMethod,* from t_ICItem Where FItemID="
                  : "Select FConverMethod,FSecUnitID from t_ICItem Where FItemID=") +
        std::to_string(item);
    Resume([&] {
      auto rs = services::OpenRecordset(ctx, sql);
      if (!rs || rs->Eof()) return;
      auto number = [&](const char* field) {
        const Variant v = rs->Value(field);
        return v.IsNull() ? 0.0 : vb::CDbl(v);
      };
      cells.Lock(keys.secCoefficient,
                 number("FConverMethod") == kFixedConversion || number("FSecUnitID") == 0);
    });
  }
}

}  // namespace zov::plugins::calc
