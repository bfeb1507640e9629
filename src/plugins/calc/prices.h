// What the plug-ins add to the host's own price, amount and tax actions: the price columns hidden
// from users without the price right, the tail-difference rules that let a user correct an amount
// or a tax amount by a few cents, the tax kept exact after the host's calculation, and the row
// discount-rate rule of the save checks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "calc/row_keys.h"
#include "frame/plugin_context.h"
#include "zov/host/bill.h"

namespace zov::plugins::calc {

// --- price rights
// ---------------------------------------------------------------------------------

// The comma-separated field keys a bill type puts under a right: grid 1 (and the header of the
// bills that carry prices there), and grid 2 of the two-grid bills.
struct RightColumns {
  std::string grid1;
  std::string grid2;
};

// The price columns of `billType`: the short list, or with industry type 1 the long one that adds
// the base, secondary and displayed prices.
RightColumns PriceRightColumns(long billType, bool industry);
// The tax columns of the sales order, the sales bill and the consignment bill; empty for others.
RightColumns TaxRightColumns(long billType);

// Hides the price columns of the bill from a user without the price right (group 15, right 32 of
// the host security component): the entry columns of grid 1, of grid 2 on the two-grid bills and
// the header fields on the purchase and sales bills. Nothing happens with app type below 2, and
// a failing security query leaves the columns shown. Returns the lists it applies ({} when it
// skipped).
RightColumns ApplyPriceRight(PluginContext& ctx, host::IBillInterface& bill);
// The same for a bill list of `billType`: the keys go into `hiddenColumns` for the list to hide.
RightColumns ApplyPriceRight(PluginContext& ctx, long billType,
                             std::vector<std::string>& hiddenColumns);
// ApplyPriceRight with the tax columns.
RightColumns ApplyTaxColumnRight(PluginContext& ctx, host::IBillInterface& bill);
RightColumns ApplyTaxColumnRight(PluginContext& ctx, long billType,
                                 std::vector<std::string>& hiddenColumns);

// Both rights of a bill form, as the sales-family bills apply them on new, load and copy: the price
// columns, then the tax columns.
void ApplyPriceAndTaxRights(PluginContext& ctx, host::IBillInterface& bill);

// The system option "IsSaleForIncludeTaxPrice" (category "IC", default 0): not 0 when sales
// prices are looked up tax-inclusive.
long GetSaleForIncludeTaxPrice(PluginContext& ctx);

// --- tail differences
// -----------------------------------------------------------------------------

// The largest change of an amount that counts as a tail difference.
inline constexpr double kTailThreshold = 0.05;

// Amount arithmetic as the host keeps amounts, in currency units of four decimal places: a - b,
// a + b, and |a - b|. So a change of 0.05 is 0.05 and not a binary neighbour of it, and an amount
// plus its tax is the tax-inclusive amount exactly.
double CalcAmountDifference(double a, double b);
double CalcAmountSum(double a, double b);
double CalcTailDifference(double a, double b);

enum class AmountTail {
  kOrdinary,    // a change of 0.05 or more: an ordinary amount change
  kMovedToTax,  // a tail difference on a taxed row, moved into FTaxAmount
  kRestored,    // a tail difference on a row without tax: refused, the amount written back
};

// Which amount rules a bill has for an edited FAmount: all of them, or only the refusal of a
// tail difference on a row without tax (the opening supplier bill).
enum class AmountTailRules { kAll, kNonTaxOnly };

// After the user changed FAmount of `row` from `previousAmount`. A change below 0.05 on a row
// without tax shows "非税尾差调整请直接调整价税合计" and writes the previous amount back; on a
// taxed row it stays and FTaxAmount := FInTaxAmount - FAmount keeps the tax-inclusive total. A
// larger change: unless the bill's amounts drive its prices, FInTaxAmount := FAmount + FTaxAmount;
// then FSecPrice := FPrice * FSecCoefficient.
AmountTail ApplyAmountTail(PluginContext& ctx, host::IBillInterface& bill, long row,
                           double previousAmount, AmountTailRules rules = AmountTailRules::kAll,
                           const RowKeys& keys = FirstGridKeys());

// Which amount follows an accepted tax tail difference: the sales order keeps the tax-inclusive
// amount, the sales bill keeps the amount.
enum class TaxTailFollower { kAmount, kInTaxAmount };

// After the user changed FTaxAmount of `row` from `previousTax`. A change above 0.05 shows
// "税额只能进行尾差调整", writes the previous tax back and returns false; 0.05 or less stands and
// the follower is set (FAmount := FInTaxAmount - FTaxAmount, or FInTaxAmount := FAmount +
// FTaxAmount).
bool ApplyTaxAmountTail(PluginContext& ctx, host::IBillInterface& bill, long row,
                        double previousTax, TaxTailFollower follower,
                        const RowKeys& keys = FirstGridKeys());

// After the host finished an action of `row`: when it is the "Calculate" action of kind "FAction"
// (with the keys' suffix: "FAction01") and its formulas write FAmount, FInTaxAmount or
// FTaxAmount, FTaxAmount := FInTaxAmount - FAmount so that amount and tax add up exactly, and
// the FTaxAmount cell gets the modification mark `markModified`. Returns whether it applied.
bool ApplyTaxAfterCalculate(PluginContext& ctx, host::IBillInterface& bill, long row,
                            std::string_view actionKind, std::string_view actionName,
                            std::string_view actionText, bool markModified = true,
                            const RowKeys& keys = FirstGridKeys());

// --- discount rate
// --------------------------------------------------------------------------------

// The two wordings of the upper bound: "第" + row + "行折扣率必须大于0小于等于100。", and the sales
// bill's first save check "第" + row + "行折扣率必须大于0且小于等于100。".
enum class DiscountWording { kPlain, kAnd };

// The save check of one row's FDiscountRate: above 0 and at most 100 (above 0 alone when
// `allowOver100`, with the message "第" + row + "行折扣率必须大于0。"). A row with an item that
// fails shows its message, gets the cursor and makes the check false; a row without item passes.
bool CheckRowDiscountRate(PluginContext& ctx, host::IBillInterface& bill, long row,
                          bool allowOver100, DiscountWording wording = DiscountWording::kPlain,
                          const RowKeys& keys = FirstGridKeys());
// The same over the rows in order; the first offending row stops the check.
bool CheckDiscountRates(PluginContext& ctx, host::IBillInterface& bill, bool allowOver100,
                        DiscountWording wording = DiscountWording::kPlain,
                        const RowKeys& keys = FirstGridKeys());
// The system option "AllowDiscountRateOver100" (category "IC"): rates above 100 allowed.
bool AllowDiscountRateOver100(PluginContext& ctx);

}  // namespace zov::plugins::calc
