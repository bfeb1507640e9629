// The row branches of the sales bill's field changes, written once over the row keys so that the
// second sales bill type runs them on both grids and the other classes take the ones they share.
// Each is called after the host has written the changed cell and run its actions.
#pragma once

#include <string_view>

#include "bills/common/row_data.h"
#include "bills/common/sales_form.h"
#include "bills/common/sales_keys.h"
#include "calc/prices.h"
#include "zov/host/dictionary.h"

namespace zov::plugins::sales {

// --- item and unit ------------------------------------------------------------------------------

// How the item branch runs for a class.
struct ItemChange {
  PriceLookup pricing;
  // The user wants to be asked about an item the bill already has ("mnuCheckDuplicateItem").
  bool askDuplicate = false;
};

// A new item in `row`, in this order: its batch management (and automatic batch number), the
// customer type's discount, an item cleared taking its units and serial numbers along, the
// duplicate question, the default stock, the tax rate on invoices with tax (2020, 2021), the
// secondary coefficient and quantity, the shelf life with the dates started afresh (FKFDate :=
// FDate, FPeriodDate := FDate + FKFPeriod), the secondary cells of items without secondary unit,
// then the default unit and a quantity of at least 1 (under industry type 1 the item-chosen
// sequence of the weight industry), price, cost, customer code, secondary price and quantity,
// serial numbers cleared and the stock text. A duplicate the user does not want clears the item
// again and sets `cancel`.
void ApplyItemChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                     const ItemChange& rules, bool& cancel);

// A new unit in `row`: FCoefficient := the unit's coefficient (also on a row taken over from a
// source bill whose coefficient was 0) and the base quantity follows. A row of its own is priced
// again in the unit and gets its customer code; a row from a source bill keeps its price,
// converted by the ratio of the coefficients. Order quantity and cost price are converted by that
// ratio and the cost amount follows; then the secondary coefficient, price and quantity, and under
// industry type 1 the displayed quantity.
void ApplyUnitChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                     const PriceLookup& pricing);

// A customer item code typed into the row: the item and unit of the header customer's agreement
// go in as typed ones do (the item branch, then the unit branch, run through the host's chain)
// and the row is priced; a code the customer does not have is cleared.
void ApplyClientItemCode(const SalesForm& form, long row, const SalesRowKeys& keys,
                         const PriceLookup& pricing);

// The item data of `item` in `row` as the sales order and the consignment bill take it:
// FsecCoefficient and FSecUnitID of the item, FSecQty := FShowQty / coefficient, and without a
// secondary unit the secondary cells locked (FSecCoefficient also for a fixed conversion).
void ApplyItemSecondaryData(const SalesForm& form, long row, long item);

// The first steps of the item branch of the sales order and the consignment bill in `row`: the
// batch of an item the host's descriptor `field` marks batch-managed ("FIsBatchNoManage") is typed
// in the row, the customer type's discount, and an item cleared takes its units (with
// `clearSerialNo` its serial numbers too) along, frees the cells its item locked and shows the
// stock text. Returns the row's item, or 0 where the branch ends there (no row, no item).
long BeginItemChange(const SalesForm& form, const Ref<host::IDictionary>& field, long row,
                     const SalesRowKeys& keys, bool clearSerialNo);

// The unit of the new item `item` in `row`: under industry type 1 the weight industry's
// item-chosen sequence (with the locks of its calculation type for a weight-calculated item),
// otherwise the default unit and, with `atLeastOne`, a quantity of at least 1.
void ApplyItemUnit(const SalesForm& form, long row, const SalesRowKeys& keys, long item,
                   bool atLeastOne);

// --- quantities, prices and amounts -------------------------------------------------------------

// After a quantity or price of the row's families changed (`key`: FSecQty, FSecPrice, FQty,
// FShowQty, FSecCoefficient, FPrice, FNoDiscAmount, any case): the shown units per secondary unit,
// the secondary quantity or price, the cost amount and, under industry type 1, the displayed
// quantity and weight.
void ApplyQuantityChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                         std::string_view key);

// After FAmount (or, with `inTaxAmount`, FInTaxAmount) was typed. When the bill's amounts drive
// its prices the host has derived the price. Otherwise the price stays and the tax follows: an
// amount gives FTaxAmount := amount x rate to the cent and FInTaxAmount := amount + tax; a
// tax-inclusive amount gives FAmount := tax-inclusive / (1 + rate) to the cent and FTaxAmount the
// rest. Then FSecPrice := FPrice x FSecCoefficient.
void ApplyAmountChange(const SalesForm& form, long row, const SalesRowKeys& keys, bool inTaxAmount);

// After FPriceDiscount or FDiscountRate (`key`) was typed. With the discount entered per unit
// (`perUnit`, the "mnuOptionPriceCalcDiscount" option) the discount amount, the undiscounted amount
// and the secondary price follow the price and the discounted price; otherwise a discounted price
// gives the rate, FDiscountRate := FPriceDiscount / FPrice x 100 (the host's action on the rate
// recomputes the row).
void ApplyDiscountChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                         std::string_view key, bool perUnit);

// After a displayed field (FDisplayPrice, FDisplayWeight, FDisplayQty) was typed: the conversion
// engine brings the row in line; a weight typed on a row without weight calculation stays as the
// secondary quantity; then the cost amount.
void ApplyDisplayedFieldChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                               std::string_view key);

// Under industry type 1: FDisplayQty := FShowQty and FDisplayWeight := the row's weight, FQty for
// a weight-calculated row other than type 3, FSecQty otherwise.
void ApplyWeightFields(const SalesForm& form, long row, const SalesRowKeys& keys);

// After FTaxAmount was typed (from `previousTax`): a tail difference up to 0.05 stands and the
// follower keeps the row in step (the sales bill: FInTaxAmount := FAmount + FTaxAmount; the sales
// order and the consignment bill: FAmount := FInTaxAmount - FTaxAmount), a larger one is refused
// ("税额只能进行尾差调整") and written back; then the weight fields.
void ApplyTaxAmountChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                          double previousTax,
                          calc::TaxTailFollower follower = calc::TaxTailFollower::kInTaxAmount);

// --- the amount tails of the sales order and the consignment bill (amount_tails.cc) -------------

// After FAmount was typed (from `previousAmount`). A change below 0.05 is a tail difference: on a
// taxed row it moves into FTaxAmount (FTaxAmount := FInTaxAmount - FAmount), on a row without tax
// it is refused ("非税尾差调整请直接调整价税合计") and the previous amount written back, and
// `cancel` set so that the host's own recalculation of the amount is undone with it. A larger
// change: unless the amounts drive the prices, FInTaxAmount := FAmount + FTaxAmount; then
// FSecPrice := FPrice x FSecCoefficient.
void ApplyAmountTailChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                           double previousAmount, bool& cancel);

// After FInTaxAmount was typed: unless the amounts drive the prices, the tax stays and FAmount :=
// FInTaxAmount - FTaxAmount; then FSecPrice := FPrice x FSecCoefficient.
void ApplyInTaxAmountTailChange(const SalesForm& form, long row, const SalesRowKeys& keys);

// FSecPrice := FPrice x FSecCoefficient and, when the row has a secondary coefficient, FSecQty :=
// FShowQty / FSecCoefficient.
void ApplySecondaryPriceAndQty(const SalesForm& form, long row, const SalesRowKeys& keys);

// After the row's calculation type changed: its locks, displayed price, weight fields and the
// stock text.
void ApplyCalTypeChange(const SalesForm& form, long row, const SalesRowKeys& keys);

// FCostAmount := FCostPrice x FShowQty to the cent.
void ApplyCostAmount(const SalesForm& form, long row, const SalesRowKeys& keys);

// --- stock, batch and property ------------------------------------------------------------------

// After the row's stock changed: a row without price and source bill is priced (again in a gift
// stock; without `pricing`'s stock conditions any row without price), the cost follows, a batch
// the new stock does not hold is cleared (unless `keepBatch`, the returns), serial numbers
// cleared, the stock text and the price locks of the stock.
void ApplyStockChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                      const PriceLookup& pricing, bool keepBatch);

// After the row's batch changed: the batch's dates from the stock, its cost, a price when the row
// has none, the stock text.
void ApplyBatchChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                      const PriceLookup& pricing);

// After the row's auxiliary property changed: the batch's dates of the new property, the stock
// text.
void ApplyPropertyChange(const SalesForm& form, long row, const SalesRowKeys& keys);

}  // namespace zov::plugins::sales
