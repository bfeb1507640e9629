#include "bills/order/order_checks.h"

#include "bills/common/controls.h"
#include "bills/common/records.h"
#include "bills/common/sales_keys.h"
#include "bills/order/bill_event_order.h"
#include "calc/prices.h"
#include "calc/quantities.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/database.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

// A date cell as "YYYY-MM-DD"; "" for an empty one.
std::string DateText(const Variant& v) {
  if (v.IsEmpty() || v.IsNull() || (v.IsString() && vb::Trim(v.AsString()).empty())) return "";
  return ResumeOr<std::string>({}, [&] { return vb::Format(vb::CDate(v), "YYYY-MM-DD"); });
}

}  // namespace

OrderChecks::OrderChecks(const sales::SalesForm& form)
    : form_(form), bill_(form.bill), unaudited_(FieldNumber(form.bill, "FStatus") == 0) {}

// --- BeforeSave ---------------------------------------------------------------------------------

bool OrderChecks::CheckDiscountRates() {
  return calc::CheckDiscountRates(form_.ctx, bill_, false, calc::DiscountWording::kPlain);
}

bool OrderChecks::CheckCalTypes() {
  return services::IndustryType(form_.ctx) != 1 || calc::CheckCalTypes(form_.ctx, bill_);
}

void OrderChecks::SetOrdinaryKind() {
  if (FieldNumber(bill_, "FBillTypeID") == 0)
    Resume(
        [&] { bill_.SetFieldValue("FBillTypeID", static_cast<long>(OrderKind::kOrdinary), -1); });
}

// --- the save of an unaudited order -------------------------------------------------------------

bool OrderChecks::CheckFetchDate() {
  const std::string fetch = DateText(bill_.GetFieldValue("FFetchDate", -1));
  if (fetch.empty() || fetch >= DateText(bill_.GetFieldValue("FDate", -1))) return true;
  return sales::Refuse(form_.ctx, bill_, "交货日期不能小于单据日期", "FDate");
}

void OrderChecks::SetAllAmount() {
  Resume([&] { bill_.SetFieldValue("FAllAmount", ColumnSum(bill_, "FInTaxAmount"), -1); });
}

bool OrderChecks::CheckSaleControls() {
  if (services::ControlPoint(form_.ctx) != 0 || FieldId(bill_, "FCustID") <= 0) return true;
  const char* priceKey = services::GLProfileValue(form_.ctx, "IC", "XSPriceLimitType", "0") == "1"
                             ? "FPriceDiscount"
                             : "FPrice";
  // The controls read the order as the stock bills' head record.
  auto head = sales::HeadRecord(form_, FieldNumber(bill_, "FAllAmount"));
  head->SetItem("HeadTableName", std::string("t_CC_StockBill"));
  return sales::CheckSaleControls(
      form_, head,
      sales::RowRecords(form_, sales::FirstGrid(), sales::RowRecord::kControls, priceKey));
}

bool OrderChecks::CheckRowsToDeliver() {
  for (long row = 1, rows = GridRows(bill_); row <= rows; ++row) {
    if (FieldId(bill_, "FItemID", row) <= 0) continue;
    if (!calc::CheckRowDiscountRate(form_.ctx, bill_, row, false)) return false;
    // Nothing of the order is delivered yet: deliveries reduce these in the database.
    Resume([&] { bill_.SetFieldValue("FUnSendQty", FieldNumber(bill_, "FShowQty", row), row); });
    Resume([&] { bill_.SetFieldValue("FUnSendAuxQty", FieldNumber(bill_, "FSecQty", row), row); });
  }
  return true;
}

// --- close --------------------------------------------------------------------------------------

bool OrderChecks::CheckNotFullyDelivered() {
  const std::string open = services::FirstValue(
      form_.ctx, "Select FID From t_XS_OrderEntry Where FUnSendQty>0 And FID=" +
                     std::to_string(CurBillId(bill_)));
  return !open.empty() || sales::Refuse(form_.ctx, bill_, "当前单据已被完全执行,不能反关闭");
}

}  // namespace zov::plugins
