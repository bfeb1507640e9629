#include "calc/prices.h"

#include <cmath>

#include "calc/bill_types.h"
#include "calc/row_cells.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins::calc {

namespace {

// The price right: group 15, right 32 of the whole group.
constexpr long kPriceRightGroup = 15;
constexpr long kPriceRightObject = 0;
constexpr long kPriceRight = 32;

struct PriceLists {
  long billType;
  RightColumns shortList;
  RightColumns longList;
};

// The price columns per bill type: the short list, and the long one of industry type 1.
const PriceLists kPriceLists[] = {
    {1020002,
     {"FSecPrice,FPrice,FDiscountRate,FPriceDiscount,FTaxPrice,FTaxAmount,FInTaxAmount,FAmount,"
      "FCostPrice,"
      "FCostAmount,FDiscountAmount,FInvoiceAmt,FNoInvoiceAmt",
      ""},
     {"FBasePrice,FPrice,FSecPrice,FDiscountRate,FPriceDiscount,FBasePriceDiscount,"
      "FSecPriceDiscount,FTaxPrice,"
      "FBaseTaxPrice,FSecTaxPrice,FTaxAmount,FInTaxAmount,FAmount,FCostPrice,FCostAmount,"
      "FDisplayPrice,"
      "FDiscountAmount,FInvoiceAmt,FNoInvoiceAmt",
      ""}},
    {1020003,
     {"FSecPrice,FPrice,FAmount", ""},
     {"FPrice,FBasePrice,FSecPrice,FAmount,FDisplayPrice", ""}},
    {1030001,
     {"FSecPrice,FPrice,FIncludeTaxPrice,FDiscountRate,FPriceDiscount,FTaxPrice,FTaxAmount,"
      "FInTaxAmount,FAmount,"
      "FDiscountAmount,FNoDiscAmount,FWebBillAmount",
      ""},
     {"FBasePrice,FPrice,FSecPrice,FDiscountRate,FPriceDiscount,FBasePriceDiscount,"
      "FSecPriceDiscount,FTaxPrice,"
      "FBaseTaxPrice,FSecTaxPrice,FTaxAmount,FInTaxAmount,FAmount,FDisplayPrice,FDiscountAmount,"
      "FNoDiscAmount,"
      "FWebBillAmount",
      ""}},
    {1030002,
     {"FSecPrice,FPrice,FIncludeTaxPrice,FDiscountRate,FPriceDiscount,FTaxPrice,FTaxAmount,"
      "FInTaxAmount,FAmount,"
      "FDiscountAmount,FNoDiscAmount,FInvoiceAmt,FNoInvoiceAmt",
      ""},
     {"FBasePrice,FPrice,FSecPrice,FDiscountRate,FPriceDiscount,FBasePriceDiscount,"
      "FSecPriceDiscount,FTaxPrice,"
      "FBaseTaxPrice,FSecTaxPrice,FTaxAmount,FInTaxAmount,FAmount,FDisplayPrice,FDiscountAmount,"
      "FNoDiscAmount,"
      "FInvoiceAmt,FNoInvoiceAmt",
      ""}},
    // The second sales bill type: the sales bill's lists, and its second grid's "01" twins.
    {1030005,
     {"FSecPrice,FPrice,FIncludeTaxPrice,FDiscountRate,FPriceDiscount,FTaxPrice,FTaxAmount,"
      "FInTaxAmount,FAmount,"
      "FDiscountAmount,FNoDiscAmount,FInvoiceAmt,FNoInvoiceAmt",
      "FSecPrice01,FPrice01,FIncludeTaxPrice01,FDiscountRate01,FPriceDiscount01,FTaxPrice01,"
      "FTaxAmount01,FInTaxAmount01,FAmount01,FDiscountAmount01,FNoDiscAmount01"},
     {"FBasePrice,FPrice,FSecPrice,FDiscountRate,FPriceDiscount,FBasePriceDiscount,"
      "FSecPriceDiscount,FTaxPrice,"
      "FBaseTaxPrice,FSecTaxPrice,FTaxAmount,FInTaxAmount,FAmount,FDisplayPrice,FDiscountAmount,"
      "FNoDiscAmount,"
      "FInvoiceAmt,FNoInvoiceAmt",
      "FBasePrice01,FPrice01,FSecPrice01,FDiscountRate01,FPriceDiscount01,FBasePriceDiscount01,"
      "FSecPriceDiscount01,FTaxPrice01,FBaseTaxPrice01,FSecTaxPrice01,FTaxAmount01,"
      "FInTaxAmount01,FAmount01,FDisplayPrice01,FDiscountAmount01,FNoDiscAmount01"}},
    {1030003,
     {"FSecPrice,FPrice,FIncludeTaxPrice,FDiscountRate,FPriceDiscount,FTaxPrice,FTaxAmount,"
      "FInTaxAmount,FAmount,"
      "FDiscountAmount",
      ""},
     {"FBasePrice,FPrice,FSecPrice,FDiscountRate,FPriceDiscount,FBasePriceDiscount,"
      "FSecPriceDiscount,FTaxPrice,"
      "FBaseTaxPrice,FSecTaxPrice,FTaxAmount,FInTaxAmount,FAmount,FDisplayPrice,FDiscountAmount",
      ""}},
    {1040001,
     {"FPrice,FDisplayPrice,FAmount", ""},
     {"FPrice,FDisplayPrice,FBasePrice,FSecPrice,FAmount", ""}},
    {1040003, {"FPrice,FAmount", ""}, {"FBasePrice,FPrice,FSecPrice,FAmount", ""}},
    {1040004, {"FPrice,FAmount", ""}, {"FPrice,FBasePrice,FSecPrice,FAmount", ""}},
    {1040005,
     {"FPrice,FDisplayPrice,FAmount", "FPrice1,FDisplayPrice1,FAmount1"},
     {"FBasePrice,FPrice,FDisplayPrice,FSecPrice,FAmount",
      "FBasePrice1,FPrice1,FDisplayPrice1,FSecPrice1,FAmount1"}},
    {1040006,
     {"FPrice,FDisplayPrice,FAmount", "FPrice1,FDisplayPrice1,FAmount1"},
     {"FBasePrice,FPrice,FDisplayPrice,FSecPrice,FAmount",
      "FBasePrice1,FPrice1,FDisplayPrice1,FSecPrice1,FAmount1"}},
    {1040007,
     {"FInPrice,FDisplayInPrice,FInAmount", ""},
     {"FBaseInPrice,FInPrice,FDisplayInPrice,FSecInPrice,FInAmount", ""}},
};

constexpr const char* kTaxColumns =
    "FSecPrice,FPrice,FTaxRate,FTaxAmount,FIncludeTaxPrice,FPriceDiscount,FTaxPrice,FAmount,"
    "FInTaxAmount,"
    "FDiscountRate,FDiscountAmount";
constexpr const char* kTaxColumns01 =
    "FSecPrice01,FPrice01,FTaxRate01,FTaxAmount01,FIncludeTaxPrice01,FPriceDiscount01,"
    "FTaxPrice01,FAmount01,FInTaxAmount01,FDiscountRate01,FDiscountAmount01";

// Whether the user may see prices. Unlike the other rights checks a security component that
// cannot answer leaves the prices shown: hiding a bill's prices by accident is worse than not.
bool MaySeePrices(PluginContext& ctx) {
  return ResumeOr<bool>(true, [&] {
    auto security = ctx.host().CreateObject(host::progid::kSecurityInfo).As<host::ISecurityInfo>();
    if (!security) return true;
    return security->AccessCheck(services::PropsString(ctx), kPriceRightGroup, kPriceRightObject,
                                 kPriceRight, true, "");
  });
}

void HideColumns(host::IBillInterface& bill, const std::string& keys, bool header, long grid) {
  for (const std::string& key : vb::Split(keys, ",")) {
    if (key.empty()) continue;
    Resume([&] {
      (header ? bill.BillHeads() : bill.BillEntrys(grid))->QORFields(key)->SetVisible(false);
    });
  }
}

// Applies `columns` of `billType` to a bill form, or to a list's collection when `hidden` is set.
RightColumns ApplyRight(PluginContext& ctx, long billType, const RightColumns& columns,
                        host::IBillInterface* bill, std::vector<std::string>* hidden) {
  if (services::AppType(ctx) < 2) return {};
  if (MaySeePrices(ctx)) return columns;
  if (hidden) {
    for (const std::string& list : {columns.grid1, columns.grid2})
      for (const std::string& key : vb::Split(list, ","))
        if (!key.empty()) hidden->push_back(key);
    return columns;
  }
  HideColumns(*bill, columns.grid1, false, 1);
  if (BillTypeIn(billtype::kSecondGridPriceBills, billType))
    HideColumns(*bill, columns.grid2, false, 2);
  if (BillTypeIn(billtype::kHeaderPriceBills, billType)) HideColumns(*bill, columns.grid1, true, 0);
  return columns;
}

long BillTypeOf(host::IBillInterface& bill) {
  return ResumeOr<long>(0, [&] { return bill.FID(); });
}

// An amount in the host's currency units (1/10000).
long long TenThousandths(double value) { return std::llround(value * 10000.0); }

}  // namespace

RightColumns PriceRightColumns(long billType, bool industry) {
  for (const auto& lists : kPriceLists)
    if (lists.billType == billType) return industry ? lists.longList : lists.shortList;
  return {};
}

RightColumns TaxRightColumns(long billType) {
  if (BillTypeIn(billtype::kTaxColumnBills, billType))
    return {kTaxColumns,
            BillTypeIn(billtype::kSecondGridPriceBills, billType) ? kTaxColumns01 : ""};
  return {};
}

RightColumns ApplyPriceRight(PluginContext& ctx, host::IBillInterface& bill) {
  const long billType = BillTypeOf(bill);
  return ApplyRight(ctx, billType, PriceRightColumns(billType, services::IndustryType(ctx) == 1),
                    &bill, nullptr);
}

RightColumns ApplyPriceRight(PluginContext& ctx, long billType,
                             std::vector<std::string>& hiddenColumns) {
  return ApplyRight(ctx, billType, PriceRightColumns(billType, services::IndustryType(ctx) == 1),
                    nullptr, &hiddenColumns);
}

RightColumns ApplyTaxColumnRight(PluginContext& ctx, host::IBillInterface& bill) {
  const long billType = BillTypeOf(bill);
  return ApplyRight(ctx, billType, TaxRightColumns(billType), &bill, nullptr);
}

RightColumns ApplyTaxColumnRight(PluginContext& ctx, long billType,
                                 std::vector<std::string>& hiddenColumns) {
  return ApplyRight(ctx, billType, TaxRightColumns(billType), nullptr, &hiddenColumns);
}

void ApplyPriceAndTaxRights(PluginContext& ctx, host::IBillInterface& bill) {
  ApplyPriceRight(ctx, bill);
  ApplyTaxColumnRight(ctx, bill);
}

long GetSaleForIncludeTaxPrice(PluginContext& ctx) {
  return ResumeOr<long>(0, [&]() -> long {
    const Variant v = services::SystemProfileValue(ctx, "IsSaleForIncludeTaxPrice", "IC", 0);
    return static_cast<long>(v.IsString() ? vb::Val(v.AsString()) : vb::CDbl(v));
  });
}

double CalcAmountDifference(double a, double b) {
  return static_cast<double>(TenThousandths(a) - TenThousandths(b)) / 10000.0;
}

double CalcAmountSum(double a, double b) {
  return static_cast<double>(TenThousandths(a) + TenThousandths(b)) / 10000.0;
}

double CalcTailDifference(double a, double b) { return std::fabs(CalcAmountDifference(a, b)); }

AmountTail ApplyAmountTail(PluginContext& ctx, host::IBillInterface& bill, long row,
                           double previousAmount, AmountTailRules rules, const RowKeys& keys) {
  const RowCells c(bill, row);
  const double amount = ResumeOr<double>(0, [&] { return c.Number(keys.amount); });
  const bool tail = CalcTailDifference(amount, previousAmount) < kTailThreshold;
  const bool taxFree = ResumeOr<double>(0, [&] { return c.Number(keys.taxAmount); }) == 0;
  if (tail && taxFree) {
    services::ShowMessage(ctx, "非税尾差调整请直接调整价税合计");
    Resume([&] { c.Set(keys.amount, previousAmount); });
    return AmountTail::kRestored;
  }
  if (rules == AmountTailRules::kNonTaxOnly) return AmountTail::kOrdinary;
  if (tail) {
    Resume([&] {
      c.Set(keys.taxAmount,
            CalcAmountDifference(c.Number(keys.inTaxAmount), c.Number(keys.amount)));
    });
    return AmountTail::kMovedToTax;
  }
  if (!ResumeOr<bool>(false, [&] { return bill.AmountCalcPrice(); }))
    Resume([&] {
      c.Set(keys.inTaxAmount, CalcAmountSum(c.Number(keys.amount), c.Number(keys.taxAmount)));
    });
  Resume(
      [&] { c.Set(keys.secPrice, Product(c.Number(keys.price), c.Number(keys.secCoefficient))); });
  return AmountTail::kOrdinary;
}

bool ApplyTaxAmountTail(PluginContext& ctx, host::IBillInterface& bill, long row,
                        double previousTax, TaxTailFollower follower, const RowKeys& keys) {
  const RowCells c(bill, row);
  const double tax = ResumeOr<double>(0, [&] { return c.Number(keys.taxAmount); });
  if (CalcTailDifference(tax, previousTax) > kTailThreshold) {
    services::ShowMessage(ctx, "税额只能进行尾差调整");
    Resume([&] { c.Set(keys.taxAmount, previousTax); });
    return false;
  }
  if (follower == TaxTailFollower::kAmount)
    Resume([&] {
      c.Set(keys.amount,
            CalcAmountDifference(c.Number(keys.inTaxAmount), c.Number(keys.taxAmount)));
    });
  else
    Resume([&] {
      c.Set(keys.inTaxAmount, CalcAmountSum(c.Number(keys.amount), c.Number(keys.taxAmount)));
    });
  return true;
}

bool ApplyTaxAfterCalculate(PluginContext&, host::IBillInterface& bill, long row,
                            std::string_view actionKind, std::string_view actionName,
                            std::string_view actionText, bool markModified, const RowKeys& keys) {
  if (row < 1 || actionName != "Calculate" || actionKind != "FAction" + keys.suffix) return false;
  const bool writesAmounts = actionText.find(keys.amount + "=") != std::string_view::npos ||
                             actionText.find(keys.inTaxAmount + "=") != std::string_view::npos ||
                             actionText.find(keys.taxAmount + "=") != std::string_view::npos;
  if (!writesAmounts) return false;
  const RowCells c(bill, row);
  Resume([&] {
    c.Set(keys.taxAmount, CalcAmountDifference(c.Number(keys.inTaxAmount), c.Number(keys.amount)));
  });
  Resume([&] { MarkCell(bill, keys.taxAmount, row, markModified); });
  return true;
}

bool CheckRowDiscountRate(PluginContext& ctx, host::IBillInterface& bill, long row,
                          bool allowOver100, DiscountWording wording, const RowKeys& keys) {
  const RowCells c(bill, row);
  if (ResumeOr<long>(0, [&] { return c.Id(keys.item); }) <= 0) return true;
  const double rate = ResumeOr<double>(0, [&] { return c.Number(keys.discountRate); });
  if (rate > 0 && (allowOver100 || rate <= 100)) return true;
  const char* bound = wording == DiscountWording::kAnd ? "行折扣率必须大于0且小于等于100。"
                                                       : "行折扣率必须大于0小于等于100。";
  services::ShowMessage(
      ctx, "第" + std::to_string(row) + (allowOver100 ? "行折扣率必须大于0。" : bound));
  Resume([&] { bill.SetActiveCell(keys.discountRate, row); });
  return false;
}

bool CheckDiscountRates(PluginContext& ctx, host::IBillInterface& bill, bool allowOver100,
                        DiscountWording wording, const RowKeys& keys) {
  const long rows =
      ResumeOr<long>(0, [&] { return bill.BillEntrys(keys.grid)->GridMaxDataRowNum(); });
  for (long row = 1; row <= rows; ++row)
    if (!CheckRowDiscountRate(ctx, bill, row, allowOver100, wording, keys)) return false;
  return true;
}

bool AllowDiscountRateOver100(PluginContext& ctx) {
  return vb::Val(vb::CStr(
             services::SystemProfileValue(ctx, "AllowDiscountRateOver100", "IC", "0"))) == 1;
}

}  // namespace zov::plugins::calc
