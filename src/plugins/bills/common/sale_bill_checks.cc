#include "bills/common/sale_bill_checks.h"

#include "bills/common/controls.h"
#include "bills/common/records.h"
#include "bills/common/sales_keys.h"
#include "calc/prices.h"
#include "calc/quantities.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/batches.h"
#include "inventory/serials.h"
#include "services/database.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins::sales {

namespace {

const std::string kCrLf = "\r\n";

std::string Row(long row) { return "第" + std::to_string(row) + "行"; }

double Cents(double v) { return services::FormatToPlaces(Variant(v), 2).ToDouble(); }

}  // namespace

SaleBillChecks::SaleBillChecks(const SalesForm& form, const SaleBillRules& rules, SaleKind kind,
                               bool userSave)
    : form_(form),
      bill_(form.bill),
      rules_(rules),
      kind_(kind),
      userSave_(userSave),
      unaudited_(FieldNumber(form.bill, "FStatus") == 0),
      over100_(rules.over100Option && calc::AllowDiscountRateOver100(form.ctx)),
      itemFlags_(form.ctx) {
  std::vector<const SalesRowKeys*> keys{&FirstGrid()};
  if (rules.secondGrid) keys.push_back(&SecondGrid());
  for (const SalesRowKeys* k : keys) {
    Grid grid{k, GridRows(bill_, k->grid), {}};
    grid.items.assign(static_cast<std::size_t>(grid.rows + 1), 0);
    for (long row = 1; row <= grid.rows; ++row)
      grid.items[static_cast<std::size_t>(row)] = FieldId(bill_, k->item, row);
    grids_.push_back(std::move(grid));
  }
}

bool SaleBillChecks::Refuse(std::string_view message, std::string_view key, long row) {
  return sales::Refuse(form_.ctx, bill_, message, key, row);
}

bool SaleBillChecks::ItemFlag(long item, std::string_view column) {
  return itemFlags_(item, column);
}

std::string SaleBillChecks::BillDate() { return CellDateText(bill_.GetFieldValue("FDate", -1)); }

Ref<host::IDictionary> SaleBillChecks::HeadRecord(const SalesForm& form, bool forAudit) {
  auto& bill = form.bill;
  auto head = sales::HeadRecord(
      form, forAudit ? FieldNumber(bill, "FUnCheckAmount") : ColumnSum(bill, "FInTaxAmount"));
  head->SetItem("SettleLimitDate", bill.GetFieldValue("FSettleLimitDate", -1));
  head->SetItem("UncheckAmount", FieldNumber(bill, "FUnCheckAmount"));
  if (forAudit) head->SetItem("FNeutralizeAmount", FieldNumber(bill, "FNeutralizeAmount"));
  return head;
}

// --- BeforeSave ---------------------------------------------------------------------------------

bool SaleBillChecks::CheckDiscountRates() {
  for (const Grid& g : grids_)
    if (!calc::CheckDiscountRates(form_.ctx, bill_, over100_, rules_.saveDiscountWording, *g.keys))
      return false;
  return true;
}

bool SaleBillChecks::CheckZeroPricedRows() {
  bool zeroPriced = false;
  for (const Grid& g : grids_)
    for (long row = 1; row <= g.rows && !zeroPriced; ++row)
      zeroPriced = g.Item(row) > 0 && FieldNumber(bill_, g.keys->price, row) == 0 &&
                   FieldNumber(bill_, g.keys->amount, row) != 0;
  return !zeroPriced ||
         services::ShowMessage(form_.ctx, "存在数量为零金额不为零的记录，是否继续？",
                               host::vbYesNo | host::vbInformation, "青禾提示") == host::vbYes;
}

void SaleBillChecks::TrimFax() {
  if (unaudited_)
    Resume([&] { bill_.SetFieldValue("FFax", vb::Trim(FieldText(bill_, "FFax")), -1); });
}

void SaleBillChecks::SetPayer() {
  if (unaudited_) Resume([&] { bill_.SetFieldValue("FCurPayID", FieldId(bill_, "FCustID"), -1); });
}

// Application type 1 takes the rows' total into the head instead.
bool SaleBillChecks::CheckFreight() { return CheckFreightTotal(form_, "FTranspotationCharges"); }

bool SaleBillChecks::CheckCalTypes() {
  return services::IndustryType(form_.ctx) != 1 || calc::CheckCalTypes(form_.ctx, bill_);
}

bool SaleBillChecks::CheckStockSufficiency() {
  if (!userSave_ || kind_ != SaleKind::kDelivery ||
      vb::Val(vb::CStr(
          services::SystemProfileValue(form_.ctx, "UnderStockBeforeSave", "IC", "0"))) != 1)
    return true;
  return sales::CheckStockSufficiency(
      form_, HeadRecord(form_, false),
      sales::RowRecords(form_, FirstGrid(), RowRecord::kStock, "FPrice"));
}

// --- the validation -----------------------------------------------------------------------------

bool SaleBillChecks::CheckBillDate() {
  const Variant date = bill_.GetFieldValue("FDate", -1);
  if (IsBlankCell(date)) return true;
  const std::string billDate = CellDateText(date);
  if (billDate < vb::Format(services::StartPeriodStartDate(form_.ctx), "YYYY-MM-DD"))
    return Refuse("单据日期不能小于账套启用期间的第一天。", "FDate");
  const std::string current = CurrentPeriodStart(form_.ctx);
  if (!current.empty() && billDate < CellDateText(Variant(current)))
    return Refuse("不能录入以前期间的单据", "FDate");
  return true;
}

bool SaleBillChecks::CheckSettleLimitDate() {
  const Variant settle = bill_.GetFieldValue("FSettleLimitDate", -1);
  if (IsBlankCell(settle) || IsBlankCell(bill_.GetFieldValue("FDate", -1)) ||
      CellDateText(settle) >= BillDate())
    return true;
  return Refuse("收款日期不能小于单据日期", "FSettleLimitDate");
}

bool SaleBillChecks::CheckSettleAccount() {
  if (FieldNumber(bill_, "FCurPayAmount") != 0 && FieldId(bill_, "FAcctNo") <= 0 &&
      FieldNumber(bill_, "FMultiAccount") == 0)
    return Refuse("结算账户不能为空", "FAcctNo");
  return true;
}

void SaleBillChecks::MarkTaxUnmodified() {
  for (const Grid& g : grids_)
    for (long row = 1; row <= g.rows; ++row)
      if (g.Item(row) > 0) MarkCell(bill_, g.keys->taxAmount, row, false);
}

bool SaleBillChecks::CheckRows() {
  // Serial numbers are kept for the first grid's rows.
  const bool serials = inventory::SerialCountsApply(form_.ctx, bill_);
  for (const Grid& g : grids_) {
    const SalesRowKeys& k = *g.keys;
    for (long row = 1; row <= g.rows; ++row) {
      const long item = g.Item(row);
      if (item <= 0) continue;
      if (!calc::CheckRowDiscountRate(form_.ctx, bill_, row, over100_,
                                      calc::DiscountWording::kPlain, k))
        return false;
      if (!IsCellLocked(bill_, k.auxProp, row) && ItemFlag(item, "FISAuxi") &&
          FieldId(bill_, k.auxProp, row) <= 0)
        return Refuse(Row(row) + "商品需要录入辅助属性", k.auxProp, row);
      if (serials && k.grid == 1 && ItemFlag(item, "FIsSerialNumMgr") &&
          !inventory::CheckRowSerialCount(form_.ctx, bill_, row))
        return false;
      if (ItemFlag(item, "FISBatchManager") && vb::Trim(FieldText(bill_, k.batchNo, row)).empty())
        return Refuse(Row(row) + "商品需要录入批号", k.batchNo, row);
    }
  }
  return true;
}

bool SaleBillChecks::CheckBatchesInStock() {
  if (kind_ == SaleKind::kReturn) return true;
  inventory::BatchSources sources;
  sources.stockBalance = true;
  sources.documents = true;
  const long billId = CurBillId(bill_);
  for (const Grid& g : grids_)
    for (long row = 1; row <= g.rows; ++row) {
      const long item = g.Item(row);
      if (item <= 0 || vb::Trim(FieldText(bill_, g.keys->batchNo, row)).empty() ||
          !ItemFlag(item, "FISBatchManager"))
        continue;
      inventory::AuxCompare aux = services::AppType(form_.ctx) == 1
                                      ? inventory::AuxCompare::Ignore
                                      : inventory::AuxCompare::Undecided;
      // A batch that differs gets the stock's values in the row, as the check's message says.
      if (!inventory::CheckRowBatchInStock(form_.ctx, bill_, row, sources, billId, aux,
                                           g.keys->batch))
        return false;
    }
  return true;
}

bool SaleBillChecks::CheckExpiry() {
  // The second type leaves expired goods to the person.
  if (!rules_.expiryCheck ||
      vb::Val(services::GLProfileValue(form_.ctx, "IC", "IsPeriodDateExpireNotSale", "0")) != 1 ||
      (kind_ != SaleKind::kDelivery && kind_ != SaleKind::kSettlement))
    return true;
  const std::string billDate = BillDate();
  for (const Grid& g : grids_)
    for (long row = 1; row <= g.rows; ++row) {
      const long item = g.Item(row);
      const Variant expiry = bill_.GetFieldValue(g.keys->periodDate, row);
      if (item <= 0 || IsBlankCell(expiry) || !ItemFlag(item, "FISKFPeriod")) continue;
      if (CellDateText(expiry) < billDate)
        return Refuse(Row(row) + "有效期至已经超过期限，不能销售。", g.keys->periodDate, row);
    }
  return true;
}

void SaleBillChecks::SetUnreturnedQty() {
  for (const Grid& g : grids_) {
    const std::string& s = g.keys->suffix;
    for (long row = 1; row <= g.rows; ++row) {
      Resume([&] {
        bill_.SetFieldValue("FUnRejectQty" + s, FieldNumber(bill_, g.keys->showQty, row), row);
      });
      Resume([&] {
        bill_.SetFieldValue("FUnRejectAuxQty" + s, FieldNumber(bill_, g.keys->secQty, row), row);
      });
    }
  }
}

bool SaleBillChecks::CheckDirectDelivery() {
  for (const Grid& g : grids_)
    for (long row = 1; row <= g.rows; ++row) {
      const std::string& s = g.keys->suffix;
      if (FieldNumber(bill_, "FClassID_SRC" + s, row) != 1020002) continue;
      if (!CheckDirectDeliveryRow(*g.keys, row)) return false;
    }
  return true;
}

bool SaleBillChecks::CheckDirectDeliveryRow(const SalesRowKeys& keys, long row) {
  const std::string& s = keys.suffix;
  auto id = [&](const char* key) {
    return std::to_string(static_cast<long>(FieldNumber(bill_, key + s, row)));
  };
  const std::string sourceId = id("FID_SRC"), sourceEntry = id("FEntryID_SRC");
  const double delivered = vb::Val(services::FirstValue(
      form_.ctx,
      "select isnull(sum(FQty),0) from t_cc_stockbill a inner join t_cc_stockbillentry b on "
      "a.fid=b.fid" +
          kCrLf +
          "where a.FClassTypeID=1030002 And (a.FBillTypeID=3001 OR a.FBillTypeID=3003) and "
          "b.FID_SRC= " +
          sourceId + "and b.FClassID_SRC=1020002 and b.FEntryID_SRC=" + sourceEntry +
          " AND b.FEntryID <> " + id("FEntryID")));
  const double remaining = vb::Val(services::FirstValue(
      form_.ctx, "select isnull((max(u1.FUnRejectQty*u1.FQty/u1.FShowQty) ), 0) " + kCrLf +
                     "from t_CC_StockBill v1 Inner Join t_CC_StockBillEntry u1 On "
                     "v1.FID=u1.FID " +
                     kCrLf + "where v1.FClassTypeID=1020002 and v1.FID=" + sourceId +
                     "and u1.FEntryID=" + sourceEntry));
  if (delivered + FieldNumber(bill_, keys.qty, row) > remaining + 0.000001)
    return Refuse(Row(row) + "数量已经超过源单未下推基本单位总数量【" +
                      vb::CStr(Variant(remaining)) + "】，不能销售。",
                  keys.showQty, row);
  return true;
}

bool SaleBillChecks::CheckBatchConsistency() {
  const bool auxCompared = services::AppType(form_.ctx) != 1;
  bool consistent = true;
  for (const Grid& g : grids_)
    consistent = consistent &&
                 !inventory::CheckBatchConsistency(
                     form_.ctx, bill_,
                     auxCompared ? inventory::AuxCompare::Undecided : inventory::AuxCompare::Ignore,
                     nullptr, g.keys->batch);
  if (consistent) return true;
  return Refuse(auxCompared ? "同一批号商品的辅助属性、生产日期、保质期、有效期至必须完全一致"
                            : "同一批号商品的生产日期、保质期、有效期至必须完全一致。");
}

bool SaleBillChecks::CheckSourceRows() {
  SourceCheck check;
  check.sources = {{1030001, "FUnSendQty"}, {1030002, "FUnRejectQty"}, {1030003, "FUnSettleQty"}};
  check.excessMessage = std::string("存在数量大于源单未") +
                        (kind_ == SaleKind::kSettlement ? "结算" : "退货") + "数量的商品,不能保存";
  check.quantities = rules_.sourceQuantities;
  for (const Grid& g : grids_)
    if (!sales::CheckSourceRows(form_, *g.keys, check)) return false;
  return true;
}

bool SaleBillChecks::CheckTotal() {
  return ColumnSum(bill_, "FInTaxAmount") >= 0 || Refuse("总金额不能小于零,请修改");
}

void SaleBillChecks::SetHeadTotals() {
  const double total = ColumnSum(bill_, "FInTaxAmount");
  const double checked = FieldNumber(bill_, "FCurCheckAmount");
  const double offset = FieldNumber(bill_, "FNeutralizeAmount");
  Resume([&] { bill_.SetFieldValue("FAllAmount", total, -1); });
  Resume([&] { bill_.SetFieldValue("FCheckAmount", checked, -1); });
  Resume([&] { bill_.SetFieldValue("FUnCheckAmount", Cents(total - checked - offset), -1); });
}

bool SaleBillChecks::CheckSettlementAmounts() {
  // Compared in cents: the column sum carries the binary noise of its addends, and an amount
  // stored with the bill comes back rounded.
  const double total = Cents(ColumnSum(bill_, "FInTaxAmount"));
  const double pay = FieldNumber(bill_, "FCurPayAmount"),
               offset = FieldNumber(bill_, "FNeutralizeAmount"),
               checked = FieldNumber(bill_, "FCurCheckAmount");
  if (IsReturnKind(kind_))
    return Cents(pay) <= total || Refuse("本次退款金额不准确，请修改", "FCurPayAmount");
  if (total != 0) {
    if ((checked == 0 && (pay != 0 || offset != 0)) || Cents(checked) > total ||
        (Cents(checked) < total && Cents(checked) != Cents(pay + offset)))
      return Refuse("本次核销金额不准确，请修改", "FCurCheckAmount");
    return true;
  }
  if (checked != 0 && pay == 0) return Refuse("本次核销金额不准确，请修改", "FCurCheckAmount");
  if (checked > 0) return Refuse("整单为零的销售单，不允许收款。", "FCurCheckAmount");
  if (pay > 0) return Refuse("整单为零的销售单，不允许收款。", "FCurPayAmount");
  if (offset > 0) return Refuse("整单为零的销售单，不允许收款。", "FNeutralizeAmount");
  return true;
}

bool SaleBillChecks::CheckDiscountAccount() {
  const bool unite =
      vb::Val(vb::CStr(services::SystemProfileValue(form_.ctx, "GLAndJXCUnite", "General", "0"))) !=
      0;
  const double settled =
      FieldNumber(bill_, "FCurPayAmount") + FieldNumber(bill_, "FNeutralizeAmount");
  if (!unite && Cents(FieldNumber(bill_, "FCurCheckAmount")) != Cents(settled) &&
      FieldId(bill_, "FDiscountAcctID") <= 0)
    return Refuse("请输入优惠科目", "FDiscountAcctID");
  return true;
}

bool SaleBillChecks::CheckSaleControls() {
  if (services::ControlPoint(form_.ctx) != 0 || IsReturnKind(kind_) ||
      FieldId(bill_, "FCustID") <= 0)
    return true;
  const std::string priceKey =
      services::GLProfileValue(form_.ctx, "IC", "XSPriceLimitType", "0") == "1" ? "FPriceDiscount"
                                                                                : "FPrice";
  return sales::CheckSaleControls(
      form_, HeadRecord(form_, false),
      sales::RowRecords(form_, FirstGrid(), RowRecord::kControls, priceKey), rules_.creditControls);
}

bool SaleBillChecks::CheckPayment() {
  if (FieldNumber(bill_, "FCurPayAmount") >= 0) return true;
  return Refuse(kind_ == SaleKind::kReturn ? "本次退款金额不能小于零，请修改"
                                           : "本次收款金额不能小于零，请修改",
                "FCurPayAmount");
}

}  // namespace zov::plugins::sales
