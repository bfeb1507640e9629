#include "calc/charges.h"

#include <cmath>
#include <map>
#include <vector>

#include "calc/bill_types.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/messages.h"
#include "services/profile.h"

namespace zov::plugins::calc {

namespace {

constexpr const char* kChargesKey = "FTranspotationCharges";

long BillType(host::IBillInterface& bill) {
  return ResumeOr<long>(0, [&] { return bill.FID(); });
}

double HeaderNumber(host::IBillInterface& bill, const char* key) {
  return ResumeOr<double>(0, [&] { return FieldNumber(bill, key); });
}

// The cost total the rows share: the freight alone on the sales and consignment bills, freight
// and advance costs on the others.
double CostTotal(host::IBillInterface& bill, long billType) {
  double total = HeaderNumber(bill, "FTranspotationCosts");
  if (!BillTypeIn(billtype::kSourceStockChargeBills, billType))
    total += HeaderNumber(bill, "FTotaladvanceCosts");
  return total;
}

// Which rows take a share. A stock's type is asked once per allocation: it does not change while
// the rows are walked.
class ShareTest {
 public:
  ShareTest(PluginContext& ctx, host::IBillInterface& bill)
      : ctx_(ctx),
        bill_(bill),
        stockKey_(BillTypeIn(billtype::kSourceStockChargeBills, BillType(bill)) ? "FSCStockID"
                                                                                : "FDCStockID") {}

  bool operator()(long row) {
    const long stock = ResumeOr<long>(0, [&] { return FieldId(bill_, stockKey_, row); });
    if (stock == 0) return true;
    auto it = virtualStocks_.find(stock);
    if (it == virtualStocks_.end())
      it = virtualStocks_.emplace(stock, IsVirtualStock(ctx_, stock)).first;
    return !it->second;
  }

 private:
  PluginContext& ctx_;
  host::IBillInterface& bill_;
  const char* stockKey_;
  std::map<long, bool> virtualStocks_;
};

// The rows of grid 1 as the bill data holds them.
long DataRowCount(host::IBillInterface& bill) {
  return ResumeOr<long>(0, [&] {
    auto page = bill.Data()->Item("Page2").ObjectAs<host::IDictionary>();
    return page ? page->Count() : 0L;
  });
}

void SetCharge(host::IBillInterface& bill, long row, const Variant& value) {
  Resume([&] { bill.SetFieldValue(kChargesKey, value, row); });
}

double ChargeOf(host::IBillInterface& bill, long row) {
  return ResumeOr<double>(0, [&] { return FieldNumber(bill, kChargesKey, row); });
}

// Makes the column sum meet `total`: a shortfall (or any difference of a negative total) goes to
// the last row; an excess is taken from the last row upwards, leaving no row below 0.
void SettleRemainder(host::IBillInterface& bill, long rows, double total) {
  const double allocated = ResumeOr<double>(0, [&] { return ColumnSum(bill, kChargesKey); });
  double remainder = total - allocated;
  if (remainder == 0 || rows < 1) return;
  if (remainder > 0 || total < 0) {
    SetCharge(bill, rows, ChargeOf(bill, rows) + remainder);
    return;
  }
  for (long row = rows; row >= 1; --row) {
    const double charge = ChargeOf(bill, row);
    if (charge + remainder >= 0) {
      SetCharge(bill, row, charge + remainder);
      return;
    }
    SetCharge(bill, row, 0.0);
    remainder += charge;
  }
}

}  // namespace

void AllocateCharges(PluginContext& ctx, ShareBasis basis, host::IBillInterface& bill,
                     bool absolute) {
  if (services::IndustryType(ctx) == 0) return;
  const double total = CostTotal(bill, BillType(bill));
  if (total == 0) return;

  const long rows = DataRowCount(bill);
  const char* basisKey = basis == ShareBasis::kAmount ? "FAmount" : "FQty";
  ShareTest takesShare(ctx, bill);
  std::vector<bool> sharing(static_cast<std::size_t>(rows) + 1, false);
  std::vector<double> weight(static_cast<std::size_t>(rows) + 1, 0.0);
  double weights = 0;
  bool anySharing = false;
  for (long row = 1; row <= rows; ++row) {
    if (!takesShare(row)) continue;
    double v = ResumeOr<double>(0, [&] { return FieldNumber(bill, basisKey, row); });
    if (absolute) v = std::fabs(v);
    sharing[static_cast<std::size_t>(row)] = true;
    weight[static_cast<std::size_t>(row)] = v;
    weights += v;
    anySharing = true;
  }
  if (!anySharing) {
    services::ShowMessage(ctx, "单据中的仓库都为虚仓，不允许进行采购费用分摊。");
    return;
  }
  if (weights == 0) return;

  for (long row = 1; row <= rows; ++row) {
    const auto r = static_cast<std::size_t>(row);
    SetCharge(bill, row, sharing[r] ? Variant(total * (weight[r] / weights)) : Variant(""));
  }
  SettleRemainder(bill, rows, total);
}

void AllocateCharges(PluginContext& ctx, long basis, host::IBillInterface& bill, bool absolute) {
  AllocateCharges(
      ctx,
      basis == static_cast<long>(ShareBasis::kAmount) ? ShareBasis::kAmount : ShareBasis::kQuantity,
      bill, absolute);
}

bool RowTakesShare(PluginContext& ctx, host::IBillInterface& bill, long row) {
  return ShareTest(ctx, bill)(row);
}

void SyncChargesTotal(PluginContext& ctx, host::IBillInterface& bill) {
  if (services::IndustryType(ctx) == 0) return;
  double rowsTotal = 0;
  if (!Resume([&] { rowsTotal = ColumnSum(bill, kChargesKey); })) return;
  if (rowsTotal == HeaderNumber(bill, "FTranspotationCosts")) return;
  Resume([&] { bill.SetFieldValue("FTranspotationCosts", rowsTotal); });
  UpdateShareTools(ctx, bill);
}

void UpdateShareTools(PluginContext& ctx, host::IBillInterface& bill) {
  if (services::IndustryType(ctx) == 0) return;
  const bool shown = services::AppType(ctx) != 1;
  Resume([&] { bill.BillHeads()->QORFields("FTranspotationCosts")->SetVisible(shown); });
  Resume([&] { bill.SetBarStatus("mnuShareByAmt", "Visible", shown); });
  Resume([&] { bill.SetBarStatus("mnuShareByQty", "Visible", shown); });

  const long billType = BillType(bill);
  double total = CostTotal(bill, billType);
  if (BillTypeIn(billtype::kProcurementCostBills, billType))
    total += HeaderNumber(bill, "FTotalProcurementCosts");
  const bool audited = HeaderNumber(bill, "FCheckerID") != 0;
  const bool enabled = shown && !audited && total != 0;
  Resume([&] { bill.SetBarStatus("mnuShareByAmt", "Enabled", enabled); });
  Resume([&] { bill.SetBarStatus("mnuShareByQty", "Enabled", enabled); });
}

void ApplyShareToolsByState(PluginContext& ctx, host::IBillInterface& bill, bool changeable) {
  if (services::IndustryType(ctx) == 0) return;
  UpdateShareTools(ctx, bill);
  if (!changeable) {
    Resume([&] { bill.SetBarStatus("mnuShareByAmt", "Enabled", false); });
    Resume([&] { bill.SetBarStatus("mnuShareByQty", "Enabled", false); });
  }
  for (const char* key : {"FTranspotationCosts", "FTotaladvanceCosts", "FTotalProcurementCosts"})
    Resume([&] { bill.BillHeads()->QORFields(key)->SetFieldLock(!changeable); });
}

}  // namespace zov::plugins::calc
