// The quantity, price, amount, stock, batch and property branches of a sales-family row.
#include "bills/common/row_changes.h"

#include "calc/locks.h"
#include "calc/prices.h"
#include "calc/quantities.h"
#include "calc/recalc.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/login.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins::sales {

namespace {

void Set(host::IBillInterface& bill, const std::string& key, const Variant& value, long row) {
  Resume([&] { bill.SetFieldValue(key, value, row); });
}

bool Same(std::string_view changed, const std::string& key) {
  return vb::UCase(changed) == vb::UCase(key);
}

double Cents(double value) { return services::FormatToPlaces(Variant(value), 2).ToDouble(); }

}  // namespace

void ApplyCostAmount(const SalesForm& form, long row, const SalesRowKeys& keys) {
  // A bill without cost fields (the sales order) has no cost amount to keep.
  Resume([&] {
    form.bill.SetFieldValue(keys.costAmount,
                            Cents(FieldNumber(form.bill, keys.costPrice, row) *
                                  FieldNumber(form.bill, keys.showQty, row)),
                            row);
  });
}

void ApplySecondaryPriceAndQty(const SalesForm& form, long row, const SalesRowKeys& keys) {
  auto& bill = form.bill;
  const double secCoefficient = FieldNumber(bill, keys.secCoefficient, row);
  Set(bill, keys.secPrice, FieldNumber(bill, keys.price, row) * secCoefficient, row);
  if (secCoefficient != 0)
    Set(bill, keys.secQty, FieldNumber(bill, keys.showQty, row) / secCoefficient, row);
}

void ApplyWeightFields(const SalesForm& form, long row, const SalesRowKeys& keys) {
  auto& bill = form.bill;
  if (row < 1 || services::IndustryType(form.ctx) != 1) return;
  const long type = static_cast<long>(FieldNumber(bill, keys.calType, row));
  const bool weighed = type != 3 && calc::IsGCItem(form.ctx, FieldId(bill, keys.item, row));
  Set(bill, keys.displayQty, FieldNumber(bill, keys.showQty, row), row);
  Set(bill, keys.displayWeight, FieldNumber(bill, weighed ? keys.qty : keys.secQty, row), row);
}

void ApplyQuantityChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                         std::string_view key) {
  auto& bill = form.bill;
  if (row < 1) return;
  const double showQty = FieldNumber(bill, keys.showQty, row),
               secQty = FieldNumber(bill, keys.secQty, row);
  const double qtyCoefficient = FieldNumber(bill, keys.qtySecCoefficient, row),
               secCoefficient = FieldNumber(bill, keys.secCoefficient, row);
  if (Same(key, keys.secQty) && secQty != 0)
    Set(bill, keys.qtySecCoefficient, showQty / secQty, row);
  if (Same(key, keys.showQty) && qtyCoefficient != 0)
    Set(bill, keys.secQty, showQty / qtyCoefficient, row);
  if (Same(key, keys.secPrice) && secCoefficient != 0)
    calc::SetFieldWithAction(bill, keys.price,
                             FieldNumber(bill, keys.secPrice, row) / secCoefficient, row, false);
  else
    Set(bill, keys.secPrice, FieldNumber(bill, keys.price, row) * secCoefficient, row);
  ApplyCostAmount(form, row, keys);
  ApplyWeightFields(form, row, keys);
}

void ApplyAmountChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                       bool inTaxAmount) {
  auto& bill = form.bill;
  if (row < 1) return;
  if (!ResumeOr<bool>(false, [&] { return bill.AmountCalcPrice(); })) {
    // The price stays; amount, tax and the tax-inclusive amount add up to the cent.
    const double rate = FieldNumber(bill, keys.taxRate, row);
    if (inTaxAmount) {
      const double total = FieldNumber(bill, keys.inTaxAmount, row);
      const double amount = Cents(total * 100 / (100 + rate));
      Set(bill, keys.amount, amount, row);
      Set(bill, keys.taxAmount, calc::CalcAmountDifference(total, amount), row);
    } else {
      const double amount = FieldNumber(bill, keys.amount, row);
      const double tax = Cents(amount * rate / 100);
      Set(bill, keys.taxAmount, tax, row);
      Set(bill, keys.inTaxAmount, calc::CalcAmountSum(amount, tax), row);
    }
  }
  Set(bill, keys.secPrice,
      FieldNumber(bill, keys.price, row) * FieldNumber(bill, keys.secCoefficient, row), row);
}

void ApplyTaxAmountChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                          double previousTax, calc::TaxTailFollower follower) {
  calc::ApplyTaxAmountTail(form.ctx, form.bill, row, previousTax, follower, keys);
  ApplyWeightFields(form, row, keys);
}

void ApplyDiscountChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                         std::string_view key, bool perUnit) {
  auto& bill = form.bill;
  if (row < 1) return;
  const double price = FieldNumber(bill, keys.price, row),
               discounted = FieldNumber(bill, keys.priceDiscount, row),
               qty = FieldNumber(bill, keys.showQty, row);
  if (perUnit) {
    // The discount is an amount per unit: the list price stays and the amounts show the discount.
    Set(bill, keys.discountAmount, Cents((price - discounted) * qty), row);
    Set(bill, keys.noDiscAmount, Cents(price * qty), row);
    Set(bill, keys.secPrice, price * FieldNumber(bill, keys.secCoefficient, row), row);
  } else if (Same(key, keys.priceDiscount) && price != 0) {
    calc::SetFieldWithAction(bill, keys.discountRate, discounted / price * 100, row, false);
  }
}

void ApplyDisplayedFieldChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                               std::string_view key) {
  auto& bill = form.bill;
  const double typed = FieldNumber(bill, std::string(key), row);
  calc::RecalcDisplayedField(form.ctx, bill, row, key);
  // The quantity action recomputes the secondary quantity from the shown one; on a row without
  // weight calculation the weight typed is that secondary quantity and stays.
  if (row >= 1 && Same(key, keys.displayWeight) && typed != 0 &&
      !calc::IsGCItem(form.ctx, FieldId(bill, keys.item, row))) {
    Set(bill, keys.secQty, typed, row);
    Set(bill, keys.displayWeight, typed, row);
    Set(bill, keys.qtySecCoefficient, FieldNumber(bill, keys.showQty, row) / typed, row);
  }
  ApplyCostAmount(form, row, keys);
}

void ApplyCalTypeChange(const SalesForm& form, long row, const SalesRowKeys& keys) {
  calc::ApplyCalTypeLocks(form.ctx, form.bill, row,
                          static_cast<long>(FieldNumber(form.bill, keys.calType, row)), keys);
  calc::RefreshDisplayPrice(form.ctx, form.bill, row, keys);
  ApplyWeightFields(form, row, keys);
  ShowRowStock(form, row, keys);
}

void ApplyStockChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                      const PriceLookup& pricing, bool keepBatch) {
  auto& bill = form.bill;
  const long stock = FieldId(bill, keys.scStock, row);
  if (!pricing.stockPriceConditions) {
    if (FieldNumber(bill, keys.price, row) == 0) RefetchRowPrice(form, row, keys, pricing);
  } else {
    if (FieldNumber(bill, keys.price, row) == 0 &&
        vb::Trim(FieldText(bill, keys.billNoSrc, row)).empty())
      RefetchRowPrice(form, row, keys, pricing);
    if (calc::IsVirtualStock(form.ctx, stock)) RefetchRowPrice(form, row, keys, pricing);
  }
  RefreshRowCost(form, row, keys, pricing);
  if (!keepBatch) ClearBatchNotInStock(form, row, keys);
  Set(bill, keys.serialNo, "", row);
  ShowRowStock(form, row, keys);
  calc::ApplyStockPriceLocks(form.ctx, bill, row, keys);
}

void ApplyBatchChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                      const PriceLookup& pricing) {
  ApplyBatchDates(form, row, keys);
  RefreshRowCost(form, row, keys, pricing);
  if (FieldNumber(form.bill, keys.price, row) == 0) RefetchRowPrice(form, row, keys, pricing);
  ShowRowStock(form, row, keys);
}

void ApplyPropertyChange(const SalesForm& form, long row, const SalesRowKeys& keys) {
  ApplyBatchDates(form, row, keys);
  ShowRowStock(form, row, keys);
}

}  // namespace zov::plugins::sales
