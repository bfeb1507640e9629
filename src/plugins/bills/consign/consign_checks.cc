#include "bills/consign/consign_checks.h"

#include "bills/common/controls.h"
#include "bills/common/records.h"
#include "bills/common/row_data.h"
#include "bills/common/sales_keys.h"
#include "calc/prices.h"
#include "calc/quantities.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/batches.h"
#include "inventory/serials.h"
#include "services/database.h"
#include "services/login.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

std::string Row(long row) { return "第" + std::to_string(row) + "行"; }

}  // namespace

ConsignChecks::ConsignChecks(const sales::SalesForm& form, bool userSave)
    : form_(form),
      bill_(form.bill),
      kind_(static_cast<long>(FieldNumber(form.bill, "FBillTypeID"))),
      userSave_(userSave),
      unaudited_(FieldNumber(form.bill, "FStatus") == 0),
      itemFlags_(form.ctx) {}

bool ConsignChecks::Refuse(std::string_view message, std::string_view key, long row) {
  return sales::Refuse(form_.ctx, bill_, message, key, row);
}

bool ConsignChecks::ItemFlag(long item, std::string_view column) {
  return itemFlags_(item, column);
}

// --- BeforeSave ---------------------------------------------------------------------------------

bool ConsignChecks::CheckStartDate() {
  const Variant date = bill_.GetFieldValue("FDate", -1);
  if (sales::IsBlankCell(date) ||
      sales::CellDateText(date) >=
          vb::Format(services::StartPeriodStartDate(form_.ctx), "YYYY-MM-DD"))
    return true;
  return Refuse("单据日期不能小于账套启用期间的第一天。", "FDate");
}

bool ConsignChecks::CheckDiscountRates() {
  return calc::CheckDiscountRates(form_.ctx, bill_, false, calc::DiscountWording::kPlain);
}

// Application type 1 books the rows' total as the procurement costs instead.
bool ConsignChecks::CheckFreight() {
  return sales::CheckFreightTotal(form_, "FTotalProcurementCosts");
}

bool ConsignChecks::CheckCalTypes() {
  return services::IndustryType(form_.ctx) != 1 || calc::CheckCalTypes(form_.ctx, bill_);
}

bool ConsignChecks::CheckStockSufficiency() {
  if (!userSave_ || IsReturn() ||
      vb::Val(vb::CStr(
          services::SystemProfileValue(form_.ctx, "UnderStockBeforeSave", "IC", "0"))) == 0)
    return true;
  return sales::CheckStockSufficiency(
      form_, sales::HeadRecord(form_, ColumnSum(bill_, "FInTaxAmount")),
      sales::RowRecords(form_, sales::FirstGrid(), sales::RowRecord::kStock, "FPrice"));
}

// --- CheckConsign -------------------------------------------------------------------------------

bool ConsignChecks::CheckBillDate() {
  const Variant date = bill_.GetFieldValue("FDate", -1);
  if (sales::IsBlankCell(date)) return true;
  if (!CheckStartDate()) return false;
  const std::string current = sales::CurrentPeriodStart(form_.ctx);
  if (!current.empty() && sales::CellDateText(date) < sales::CellDateText(Variant(current)))
    return Refuse("不能录入以前期间的单据", "FDate");
  return true;
}

void ConsignChecks::MarkTaxUnmodified() {
  for (long row = 1, rows = GridRows(bill_); row <= rows; ++row)
    if (FieldId(bill_, "FItemID", row) > 0) MarkCell(bill_, "FTaxAmount", row, false);
}

bool ConsignChecks::CheckRows() {
  const bool serials = inventory::SerialCountsApply(form_.ctx, bill_);
  for (long row = 1, rows = GridRows(bill_); row <= rows; ++row) {
    const long item = FieldId(bill_, "FItemID", row);
    if (item <= 0) continue;
    if (!calc::CheckRowDiscountRate(form_.ctx, bill_, row, false)) return false;
    if (!IsCellLocked(bill_, "FAuxPropID", row) && ItemFlag(item, "FISAuxi") &&
        FieldId(bill_, "FAuxPropID", row) <= 0)
      return Refuse(Row(row) + "商品需要录入辅助属性", "FAuxPropID", row);
    if (serials && ItemFlag(item, "FIsSerialNumMgr") &&
        !inventory::CheckRowSerialCount(form_.ctx, bill_, row))
      return false;
    if (ItemFlag(item, "FISBatchManager") && vb::Trim(FieldText(bill_, "FBatchNo", row)).empty())
      return Refuse(Row(row) + "商品需要录入批号", "FBatchNo", row);
  }
  return true;
}

bool ConsignChecks::CheckBatchesInStock() {
  // A return brings back the batches its consignment bill sent out.
  if (IsReturn()) return true;
  inventory::BatchSources sources;
  sources.stockBalance = true;
  sources.documents = true;
  const long billId = CurBillId(bill_);
  for (long row = 1, rows = GridRows(bill_); row <= rows; ++row) {
    const long item = FieldId(bill_, "FItemID", row);
    if (item <= 0 || vb::Trim(FieldText(bill_, "FBatchNo", row)).empty() ||
        !ItemFlag(item, "FISBatchManager"))
      continue;
    inventory::AuxCompare aux = services::AppType(form_.ctx) == 1
                                    ? inventory::AuxCompare::Ignore
                                    : inventory::AuxCompare::Undecided;
    // A batch unknown to the system is cleared; one that differs gets the stock's values, as
    // the check's message says.
    if (!inventory::CheckRowBatchInStock(form_.ctx, bill_, row, sources, billId, aux)) return false;
  }
  return true;
}

bool ConsignChecks::CheckExpiry() {
  // Only goods leaving are judged, on the day they leave, not on the bill's date.
  if (kind_ != 3010) return true;
  const std::string today = vb::Format(form_.ctx.host().Now(), "YYYY-MM-DD");
  std::string message;
  for (long row = 1, rows = GridRows(bill_); row <= rows; ++row)
    if (FieldId(bill_, "FItemID", row) > 0 &&
        !inventory::CheckRowExpiry(form_.ctx, bill_, row, today, message))
      return Refuse(message, "FPeriodDate", row);
  return true;
}

void ConsignChecks::SetFollowUpQty() {
  for (long row = 1, rows = GridRows(bill_); row <= rows; ++row)
    sales::StartConsignFollowUpQty(bill_, row);
}

bool ConsignChecks::CheckBatchConsistency() {
  const bool auxCompared = services::AppType(form_.ctx) != 1;
  if (!inventory::CheckBatchConsistency(
          form_.ctx, bill_,
          auxCompared ? inventory::AuxCompare::Undecided : inventory::AuxCompare::Ignore))
    return true;
  // As the sales bill words it: a full stop only where the attribute is not compared.
  return Refuse(inventory::BatchConsistencyMessage(auxCompared, !auxCompared));
}

bool ConsignChecks::CheckSourceRows() {
  sales::SourceCheck check;
  if (IsReturn())
    check.sources = {{1030003, "FUnRejectQty"}};
  else
    check.sources = {{1030001, "FUnSendQty"}};
  check.excessMessage = "存在退货数量大于源单数量的商品,不能保存";
  check.cursorOnDeclinedOrder = true;
  return sales::CheckSourceRows(form_, sales::FirstGrid(), check);
}

void ConsignChecks::SetAllAmount() {
  Resume([&] { bill_.SetFieldValue("FAllAmount", ColumnSum(bill_, "FInTaxAmount"), -1); });
}

bool ConsignChecks::CheckTotal() {
  return FieldNumber(bill_, "FAllAmount") >= 0 || Refuse("总金额不能小于零");
}

bool ConsignChecks::CheckSaleControls() {
  if (kind_ != 3010 || services::ControlPoint(form_.ctx) > 0 || FieldId(bill_, "FCustID") <= 0)
    return true;
  const char* priceKey = services::GLProfileValue(form_.ctx, "IC", "XSPriceLimitType", "0") == "1"
                             ? "FPriceDiscount"
                             : "FPrice";
  return sales::CheckSaleControls(
      form_, sales::HeadRecord(form_, FieldNumber(bill_, "FAllAmount")),
      sales::RowRecords(form_, sales::FirstGrid(), sales::RowRecord::kControls, priceKey));
}

}  // namespace zov::plugins
