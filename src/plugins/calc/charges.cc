#include "calc/charges.h"

#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/profile.h"

namespace zov::plugins::calc {

namespace {

// Bill types whose rows take their stock from FSCStockID and whose cost total is freight alone.
bool FreightOnlyBillType(long billType) {
  return billType == 1030002 || billType == 1030003 || billType == 1080002;
}

}  // namespace

void SyncChargesTotal(PluginContext& ctx, host::IBillInterface& bill) {
  if (services::IndustryType(ctx) == 0) return;
  double rowsTotal = 0;
  if (!Resume([&] { rowsTotal = ColumnSum(bill, "FTranspotationCharges"); })) return;
  const double header =
      ResumeOr<double>(0, [&] { return FieldNumber(bill, "FTranspotationCosts"); });
  if (rowsTotal == header) return;
  Resume([&] { bill.SetFieldValue("FTranspotationCosts", rowsTotal); });
  UpdateShareTools(ctx, bill);
}

void UpdateShareTools(PluginContext& ctx, host::IBillInterface& bill) {
  if (services::IndustryType(ctx) == 0) return;
  const bool shown = services::AppType(ctx) != 1;
  Resume([&] { bill.BillHeads()->QORFields("FTranspotationCosts")->SetVisible(shown); });
  Resume([&] { bill.SetBarStatus("mnuShareByAmt", "Visible", shown); });
  Resume([&] { bill.SetBarStatus("mnuShareByQty", "Visible", shown); });

  const long billType = ResumeOr<long>(0, [&] { return bill.FID(); });
  auto number = [&](const char* key) {
    return ResumeOr<double>(0, [&] { return FieldNumber(bill, key); });
  };
  double total = number("FTranspotationCosts");
  if (!FreightOnlyBillType(billType)) {
    total += number("FTotaladvanceCosts");
    if (billType == 1020002) total += number("FTotalProcurementCosts");
  }
  const bool audited = number("FCheckerID") != 0;
  const bool enabled = shown && !audited && total != 0;
  Resume([&] { bill.SetBarStatus("mnuShareByAmt", "Enabled", enabled); });
  Resume([&] { bill.SetBarStatus("mnuShareByQty", "Enabled", enabled); });
}

}  // namespace zov::plugins::calc
