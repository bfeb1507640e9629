// The field keys of one entry grid's row. The row routines of the engine are written once over a
// key set and run on the first grid, on the second grid of the second sales bill type (the "01"
// keys) and, for the conversion engine, on the component grid of two-grid bills. An empty key is
// a field the grid does not have: reading it fails the step, locking it does nothing.
#pragma once

#include <string>

namespace zov::plugins::calc {

struct RowKeys {
  long grid = 1;       // BillEntrys index
  std::string suffix;  // what the grid's keys add to the first grid's: "", "01"

  // --- quantity family ---
  std::string item, showUnit, coefficient, showQty, qty;
  std::string secUnit, secQty;
  std::string secCoefficient;     // FSecCoefficient: shown-unit price to secondary-unit price
  std::string qtySecCoefficient;  // FsecCoefficient: shown units per secondary unit
  std::string calType, displayQty, displayWeight, baseProperty4;
  // --- price family ---
  std::string basePrice, price, secPrice, displayPrice;
  std::string baseTaxPrice, taxPrice, secTaxPrice;
  std::string basePriceDiscount, priceDiscount, secPriceDiscount;  // "...PriceDiscount" bills
  std::string baseDiscountPrice, discountPrice, secDiscountPrice;  // "...DiscountPrice" bills
  std::string amount, taxAmount, inTaxAmount, discountRate;
  // --- stock and freight ---
  std::string scStock, dcStock, charges;
};

// The first grid's keys, as the host spells them.
const RowKeys& FirstGridKeys();
// The second grid of the second sales bill type: the first grid's keys with "01".
const RowKeys& SecondGridKeys();
// The component grid of two-grid bills, as far as it has the quantity and price families:
// FCldItemID, FCalTypeid1, FShowQty1, FQty1, FQty2 (secondary quantity), FDecimal (its one
// secondary coefficient), FCoefficient1, FDisplayQty1, FDisplayWeight1 and the "1" prices.
const RowKeys& ComponentGridKeys();

}  // namespace zov::plugins::calc
