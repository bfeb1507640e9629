// What a sales-family row takes from its item, unit, stock and batch: the looked-up price, the
// cost, the default unit, the tax rate, the batch rule and the batch's dates, the composite
// quantity text, and the stock text of the status bar.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bills/common/sales_form.h"
#include "bills/common/sales_keys.h"

namespace zov::plugins::sales {

// How a class looks a row's price (and its cost) up.
struct PriceLookup {
  // The sales bill's user option "DoNotGetSalePriceWhenGiftStock": a row in a gift stock gets 0.
  bool giftStockOption = false;
  // A new stock prices the row only when it has no source bill, and again in a gift stock (the
  // sales bill); without these conditions whenever the row has no price (its second type).
  bool stockPriceConditions = true;
  // The row's cost is filled only as the system option "StockOutCalCost" directs.
  bool costByStockOutOption = false;
};

// The row's price from the price look-up, for the header customer: the price field is
// FIncludeTaxPrice when sales prices are looked up tax-inclusive, FBasePrice in the base unit for a
// weight-calculated item under industry type 1, FPrice otherwise. The price goes in (its FDSP
// too) with the field's action so that amounts and taxes follow; no price clears it the same way.
// A discount rate found is written, and under industry type 1 the price shows in FDisplayPrice.
void RefetchRowPrice(const SalesForm& form, long row, const SalesRowKeys& keys,
                     const PriceLookup& lookup);

// FCostPrice := the item's cost in the row's stock and batch per shown unit, FCostAmount := cost
// price x FShowQty to the cent; nothing for a row in a gift stock, nor with `lookup`'s cost option
// while "StockOutCalCost" (category "IC") is off.
void RefreshRowCost(const SalesForm& form, long row, const SalesRowKeys& keys,
                    const PriceLookup& lookup = {});

// FShowUnitID := the item's default unit for the header customer (with its number, name,
// coefficient, barcode and item in the cell), written with action; FCoefficient follows.
void SetRowDefaultUnit(const SalesForm& form, long row, const SalesRowKeys& keys);

// The account set's tax rate (system profile, General/TaxRate), as text; empty without one.
std::string GeneralTaxRate(PluginContext& ctx);

// FTaxRate := the item's tax rate, or the general rate when the item has none, with action.
void SetRowTaxRate(const SalesForm& form, long row, const SalesRowKeys& keys);

// Status panel 2: the stock text of the row's item (its stock and batch when the class's rows carry
// them, its property; under industry type 1 in its calculation type and unit); cleared for a row
// without item.
void ShowRowStock(const SalesForm& form, long row, const SalesRowKeys& keys);

// With a customer whose type has a discount ratio: FDiscountRate := that ratio.
void ApplyCustomerTypeDiscount(const SalesForm& form, long row, const SalesRowKeys& keys);

// The batch rule of a row: the batch cell is open exactly for a batch-managed item, and an item
// with automatic batch numbers gets one when the row has none.
void ApplyRowBatchRule(const SalesForm& form, long row, const SalesRowKeys& keys);

// The production date, shelf life and expiry date the stock holds for the row's batch: of the
// row's property when the stock holds the batch in it, else of the first record found. Nothing
// for a row without item or batch, or a batch the stock does not know.
void ApplyBatchDates(const SalesForm& form, long row, const SalesRowKeys& keys);

// A batch the row's stock does not hold is cleared from the row.
void ClearBatchNotInStock(const SalesForm& form, long row, const SalesRowKeys& keys);

// A row filled by an import or a barcode: its unit locks, its batch rule and the barcode of its
// item in its unit.
void CompleteFilledRow(const SalesForm& form, long row, const SalesRowKeys& keys);
// The form's grid carries on with the imported rows: its import flag set and the focus given back.
void ContinueGridImport(host::IBillInterface& bill);

// A row taken over from a source bill: an editable FKFDate left empty starts at the bill date
// ("YYYY-MM-DD") and FPeriodDate follows FKFPeriod days later.
void StartSourceRowShelfLife(host::IBillInterface& bill, long row);

// What a consignment row still has to be returned and settled starts as the row itself:
// FUnRejectQty and FUnSettleQty := FShowQty through their actions, FUnRejectAuxQty and
// FUnSettleAuxQty := FSecQty.
void StartConsignFollowUpQty(host::IBillInterface& bill, long row);

// The row's composite quantity text (dbo.GetComplexQty of its item and base quantity) into its
// cell; with `store`, also into the stored entry (by the row's lClassTypeID and FEntryID2) when
// that held another text.
void UpdateComplexQtyText(const SalesForm& form, long row, const SalesRowKeys& keys, bool store);

// The same for many rows at once (a bill as it opens): each item and quantity is asked of the
// database once, and the stored texts are written together by Store.
class ComplexQtyTexts {
 public:
  explicit ComplexQtyTexts(const SalesForm& form) : form_(form) {}
  void Complete(long row, const SalesRowKeys& keys);
  void Store();

 private:
  const SalesForm& form_;
  std::map<std::pair<long, std::string>, std::string> known_;
  std::map<std::string, std::vector<std::pair<long, std::string>>> changed_;  // by table
};

}  // namespace zov::plugins::sales
