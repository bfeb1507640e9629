#include "calc/row_keys.h"

namespace zov::plugins::calc {

namespace {

// The first grid's keys with `suffix` appended.
RowKeys Suffixed(long grid, const std::string& suffix) {
  auto k = [&](const char* key) { return key + suffix; };
  RowKeys keys;
  keys.grid = grid;
  keys.suffix = suffix;
  keys.item = k("FItemID");
  keys.showUnit = k("FShowUnitID");
  keys.coefficient = k("FCoefficient");
  keys.showQty = k("FShowQty");
  keys.qty = k("FQty");
  keys.secUnit = k("FSecUnitID");
  keys.secQty = k("FSecQty");
  keys.secCoefficient = k("FSecCoefficient");
  keys.qtySecCoefficient = k("FsecCoefficient");
  keys.calType = suffix.empty() ? "FCalTypeID" : k("FCalTypeid");
  keys.displayQty = k("FDisplayQty");
  keys.displayWeight = k("FDisplayWeight");
  keys.baseProperty4 = k("FBaseProperty4");
  keys.basePrice = k("FBasePrice");
  keys.price = k("FPrice");
  keys.secPrice = k("FSecPrice");
  keys.displayPrice = k("FDisplayPrice");
  keys.baseTaxPrice = k("FBaseTaxPrice");
  keys.taxPrice = k("FTaxPrice");
  keys.secTaxPrice = k("FSecTaxPrice");
  keys.basePriceDiscount = k("FBasePriceDiscount");
  keys.priceDiscount = k("FPriceDiscount");
  keys.secPriceDiscount = k("FSecPriceDiscount");
  keys.baseDiscountPrice = k("FBaseDiscountPrice");
  keys.discountPrice = k("FDiscountPrice");
  keys.secDiscountPrice = k("FSecDiscountPrice");
  keys.amount = k("FAmount");
  keys.taxAmount = k("FTaxAmount");
  keys.inTaxAmount = k("FInTaxAmount");
  keys.discountRate = k("FDiscountRate");
  keys.scStock = k("FSCStockID");
  keys.dcStock = k("FDCStockID");
  keys.charges = k("FTranspotationCharges");
  return keys;
}

RowKeys Component() {
  RowKeys keys;
  keys.grid = 2;
  keys.suffix = "1";
  keys.item = "FCldItemID";
  keys.calType = "FCalTypeid1";
  keys.coefficient = "FCoefficient1";
  keys.showQty = "FShowQty1";
  keys.qty = "FQty1";
  keys.secQty = "FQty2";
  keys.secCoefficient = "FDecimal";
  keys.qtySecCoefficient = "FDecimal";
  keys.displayQty = "FDisplayQty1";
  keys.displayWeight = "FDisplayWeight1";
  keys.basePrice = "FBasePrice1";
  keys.price = "FPrice1";
  keys.secPrice = "FSecPrice1";
  keys.displayPrice = "FDisplayPrice1";
  keys.amount = "FAmount1";
  return keys;
}

}  // namespace

const RowKeys& FirstGridKeys() {
  static const RowKeys keys = Suffixed(1, "");
  return keys;
}

const RowKeys& SecondGridKeys() {
  static const RowKeys keys = Suffixed(2, "01");
  return keys;
}

const RowKeys& ComponentGridKeys() {
  static const RowKeys keys = Component();
  return keys;
}

}  // namespace zov::plugins::calc
