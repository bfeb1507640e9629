#include "bills/common/row_data.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "calc/locks.h"
#include "calc/prices.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/batch_numbers.h"
#include "inventory/batches.h"
#include "inventory/stock.h"
#include "pricing/client_codes.h"
#include "pricing/sale_price.h"
#include "services/database.h"
#include "services/login.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins::sales {

namespace {

std::string Id(long id) { return std::to_string(id); }

void Set(host::IBillInterface& bill, const std::string& key, const Variant& value, long row) {
  Resume([&] { bill.SetFieldValue(key, value, row); });
}

}  // namespace

void RefetchRowPrice(const SalesForm& form, long row, const SalesRowKeys& keys,
                     const PriceLookup& lookup) {
  auto& bill = form.bill;
  auto& ctx = form.ctx;
  const long item = FieldId(bill, keys.item, row);
  if (item <= 0) return;
  const bool weight = services::IndustryType(ctx) == 1;
  const std::string* priceKey = &keys.price;
  long unit = FieldId(bill, keys.showUnit, row);
  if (weight && calc::IsGCItem(ctx, item)) {
    priceKey = &keys.basePrice;
    unit = FieldId(bill, keys.unit, row);
  } else if (!weight && calc::GetSaleForIncludeTaxPrice(ctx) == 1) {
    priceKey = &keys.includeTaxPrice;
  }
  const bool stockRows = form.cls.stockRows;
  const long stock = stockRows ? FieldId(bill, keys.scStock, row) : 0;
  const std::string batch = stockRows ? FieldText(bill, keys.batchNo, row) : "";
  double price = 0, discount = 0;
  if (!(lookup.giftStockOption && calc::IsVirtualStock(ctx, stock)))
    price = pricing::GetSalePrice(ctx, item, unit, FieldId(bill, "FCustID"), stock, batch, discount,
                                  priceKey == &keys.includeTaxPrice);
  // The price goes in as the person would type it, so amounts and taxes follow.
  Resume([&] {
    auto cell = bill.GetDataFldbyKey(*priceKey, row);
    if (!cell) return;
    cell->SetItem("FDSP", price > 0 ? vb::CStr(Variant(price)) : std::string());
    calc::SetFieldWithAction(bill, *priceKey, price > 0 ? Variant(price) : Variant(0.0), row,
                             false);
  });
  if (discount != 0) calc::SetFieldWithAction(bill, keys.discountRate, discount, row, false);
  if (weight && price > 0) Set(bill, keys.displayPrice, price, row);
}

void RefreshRowCost(const SalesForm& form, long row, const SalesRowKeys& keys,
                    const PriceLookup& lookup) {
  auto& bill = form.bill;
  if (lookup.costByStockOutOption &&
      vb::Val(vb::CStr(services::SystemProfileValue(form.ctx, "StockOutCalCost", "IC", "1"))) == 0)
    return;
  const long item = FieldId(bill, keys.item, row), stock = FieldId(bill, keys.scStock, row);
  if (item <= 0 || calc::IsVirtualStock(form.ctx, stock)) return;
  const double cost =
      inventory::GetItemCost(form.ctx, item, stock, FieldText(bill, keys.batchNo, row)) *
      FieldNumber(bill, keys.coefficient, row);
  Set(bill, keys.costPrice, cost, row);
  Set(bill, keys.costAmount,
      services::FormatToPlaces(Variant(cost * FieldNumber(bill, keys.showQty, row)), 2).ToDouble(),
      row);
}

void SetRowDefaultUnit(const SalesForm& form, long row, const SalesRowKeys& keys) {
  auto& bill = form.bill;
  calc::RowUnit unit;
  if (!calc::GetDefaultUnit(form.ctx, FieldId(bill, "FCustID"), FieldId(bill, keys.item, row),
                            "FCustID", unit))
    return;
  // The coefficient first: the unit's own branch then finds the row already in the unit.
  Set(bill, keys.coefficient, unit.coefficient, row);
  calc::PutRowUnit(bill, row, unit, keys);
}

std::string GeneralTaxRate(PluginContext& ctx) {
  return services::FirstValue(
      ctx, "select FValue from t_systemprofile where fcategory='General' And FKey='TaxRate'");
}

void SetRowTaxRate(const SalesForm& form, long row, const SalesRowKeys& keys) {
  const long item = FieldId(form.bill, keys.item, row);
  if (item <= 0) return;
  std::string rate = services::FirstValue(
      form.ctx, "select (isnull(FTaxRate, 0) * 100) from t_ICItem where FItemID=" + Id(item));
  if (vb::Val(rate) == 0) rate = GeneralTaxRate(form.ctx);
  if (!rate.empty()) calc::SetFieldWithAction(form.bill, keys.taxRate, vb::Val(rate), row, false);
}

void ShowRowStock(const SalesForm& form, long row, const SalesRowKeys& keys) {
  auto& bill = form.bill;
  if (row < 1) return;
  const long item = FieldId(bill, keys.item, row);
  if (item <= 0) {
    Resume([&] { bill.SetStatusText(2, ""); });
    return;
  }
  const bool weight = services::IndustryType(form.ctx) == 1;
  const bool byStockAndBatch = form.cls.stockRows;
  double total = 0;
  std::vector<inventory::StockQty> perStock;
  const std::string text = inventory::GetStockText(
      form.ctx, item, byStockAndBatch ? FieldId(bill, keys.scStock, row) : 0,
      FieldId(bill, keys.auxProp, row), byStockAndBatch ? FieldText(bill, keys.batchNo, row) : "",
      false, total, perStock, weight ? static_cast<long>(FieldNumber(bill, keys.calType, row)) : 1,
      weight ? FieldId(bill, keys.showUnit, row) : 0);
  Resume([&] { bill.SetStatusText(2, text); });
}

void ApplyCustomerTypeDiscount(const SalesForm& form, long row, const SalesRowKeys& keys) {
  const long customer = FieldId(form.bill, "FCustID");
  if (customer <= 0) return;
  auto rs = services::OpenRecordsetTolerant(form.ctx,
                                            "Select FAgioRatio From t_ClientType Where FItemID = "
                                            "(Select FTypeID From t_Organization Where FItemID=" +
                                                Id(customer) + ")");
  if (rs && !rs->Eof() && !rs->Value(0L).IsNull())
    Set(form.bill, keys.discountRate, rs->Value(0L), row);
}

void ApplyRowBatchRule(const SalesForm& form, long row, const SalesRowKeys& keys) {
  auto& bill = form.bill;
  const long item = FieldId(bill, keys.item, row);
  if (item <= 0) return;
  const bool batch = services::FirstFlag(
      form.ctx, "Select FISBatchManager From t_ICItem Where FItemID=" + Id(item));
  calc::LockField(bill, keys.batchNo, !batch, row);
  if (batch && vb::Trim(FieldText(bill, keys.batchNo, row)).empty() &&
      services::FirstFlag(form.ctx,
                          "Select FAutoGenBatchNo From t_ICItem Where FItemID = " + Id(item)))
    inventory::GenerateBatchNo(form.ctx, bill, row, keys.grid, keys.item, keys.batchNo);
}

void ApplyBatchDates(const SalesForm& form, long row, const SalesRowKeys& keys) {
  auto& bill = form.bill;
  const long item = FieldId(bill, keys.item, row);
  const std::string batch = FieldText(bill, keys.batchNo, row);
  if (item <= 0 || vb::Trim(batch).empty()) return;
  inventory::BatchSources sources;
  sources.stockBalance = true;
  auto rs = inventory::BuildBatchQuery(form.ctx, item, batch, 0, sources, CurBillId(bill));
  if (!rs || rs->Eof()) return;
  // The batch of the row's property, where the stock keeps the batch per property.
  const long property = FieldId(bill, keys.auxProp, row);
  Resume([&] {
    if (property <= 0) return;
    rs->SetFilter("FAuxPropID=" + Id(property));
    if (rs->Eof()) rs->SetFilter("");
  });
  Set(bill, keys.kfDate, rs->Value("FKFDate"), row);
  Set(bill, keys.periodDate, rs->Value("FPeriodDate"), row);
  Set(bill, keys.kfPeriod, rs->Value("FKFPeriod"), row);
}

void ClearBatchNotInStock(const SalesForm& form, long row, const SalesRowKeys& keys) {
  auto& bill = form.bill;
  const long stock = FieldId(bill, keys.scStock, row);
  const std::string batch = FieldText(bill, keys.batchNo, row);
  if (stock <= 0 || vb::Trim(batch).empty()) return;
  if (inventory::GetBatchQtyInStock(form.ctx, FieldId(bill, keys.item, row), stock,
                                    FieldId(bill, keys.auxProp, row), batch) <= 0)
    Set(bill, keys.batchNo, "", row);
}

void CompleteFilledRow(const SalesForm& form, long row, const SalesRowKeys& keys) {
  auto& bill = form.bill;
  const long item = FieldId(bill, keys.item, row);
  if (item <= 0) return;
  calc::ApplyUnitLocks(form.ctx, bill, row, item, keys);
  ApplyRowBatchRule(form, row, keys);
  const std::string barcode =
      pricing::GetUnitBarcode(form.ctx, item, FieldId(bill, keys.showUnit, row));
  Set(bill, keys.barcode, barcode, row);
}

void ContinueGridImport(host::IBillInterface& bill) {
  Resume([&] {
    auto grid = bill.Controls()->Find("grid");
    if (!grid) return;
    std::vector<Variant> none;
    grid->Invoke("SetImportDataFlag", none);
    grid->Invoke("SetFocus", none);
  });
}

void StartSourceRowShelfLife(host::IBillInterface& bill, long row) {
  const bool editable = !ResumeOr<bool>(true, [&] {
    return bill.BillCtl()->IsFieldLockRunTime(bill.GetFieldInfoByKey("FKFDate"), row);
  });
  if (!editable || !vb::Trim(FieldText(bill, "FKFDate", row)).empty()) return;
  Resume([&] {
    const Variant date = bill.GetFieldValue("FDate", -1);
    bill.SetFieldValue("FKFDate", vb::Format(date, "YYYY-MM-DD"), row);
    bill.SetFieldValue(
        "FPeriodDate",
        vb::Format(vb::DateAdd("d", FieldNumber(bill, "FKFPeriod", row), vb::CDate(date)),
                   "YYYY-MM-DD"),
        row);
  });
}

void StartConsignFollowUpQty(host::IBillInterface& bill, long row) {
  const double qty = FieldNumber(bill, "FShowQty", row);
  const double secQty = FieldNumber(bill, "FSecQty", row);
  calc::SetFieldWithAction(bill, "FUnRejectQty", qty, row, false);
  calc::SetFieldWithAction(bill, "FUnSettleQty", qty, row, false);
  Resume([&] { bill.SetFieldValue("FUnRejectAuxQty", secQty, row); });
  Resume([&] { bill.SetFieldValue("FUnSettleAuxQty", secQty, row); });
}

namespace {

// dbo.GetComplexQty of the row's item and base quantity; nothing for a row without an item.
std::optional<std::string> ComplexQtyOf(
    const SalesForm& form, long row, const SalesRowKeys& keys,
    std::map<std::pair<long, std::string>, std::string>* known) {
  auto& bill = form.bill;
  const long item = FieldId(bill, keys.item, row);
  if (item <= 0) return std::nullopt;
  const std::string qty = vb::CStr(Variant(FieldNumber(bill, keys.qty, row)));
  if (known)
    if (auto it = known->find({item, qty}); it != known->end()) return it->second;
  auto rs = services::OpenRecordset(
      form.ctx, "Select dbo.GetComplexQty(" + Id(item) + "," + qty + ") as FComplexQtyDis");
  if (!rs || rs->Eof()) return std::nullopt;
  std::string text = vb::CStr(rs->Value(0L));
  if (known) known->emplace(std::pair{item, qty}, text);
  return text;
}

// The row's text into its cell; true when the cell held another text before.
bool ShowComplexQty(const SalesForm& form, long row, const SalesRowKeys& keys,
                    const std::string& text) {
  auto& bill = form.bill;
  const std::string before = FieldText(bill, keys.complexQty, row);
  if (auto cell = bill.GetDataFldbyKey(keys.complexQty, row)) {
    cell->SetItem("FDSP", text);
    cell->SetItem("FFLD", text);
  }
  return text != before;
}

// The stored entry the row shows: its table (by the row's lClassTypeID) and its lEntryID
// (FEntryID2); no table when the row is not stored.
std::pair<const char*, long> StoredEntryOf(const SalesForm& form, long row,
                                           const SalesRowKeys& keys) {
  auto& bill = form.bill;
  const long classType = static_cast<long>(FieldNumber(bill, "lClassTypeID" + keys.suffix, row));
  const char* table = classType == 1030001   ? "t_XS_OrderEntry"
                      : classType == 1030002 ? "T_CC_StockBillEntry"
                                             : nullptr;
  const long entry = static_cast<long>(FieldNumber(bill, "FEntryID2" + keys.suffix, row));
  return {entry > 0 ? table : nullptr, entry};
}

}  // namespace

void UpdateComplexQtyText(const SalesForm& form, long row, const SalesRowKeys& keys, bool store) {
  Resume([&] {
    const auto text = ComplexQtyOf(form, row, keys, nullptr);
    if (!text) return;
    if (!ShowComplexQty(form, row, keys, *text) || !store) return;
    const auto [table, entry] = StoredEntryOf(form, row, keys);
    if (table)
      services::ExecuteUpdate(form.ctx, std::string("UPDATE ") + table +
                                            " SET FComplexQtyDis = " + services::SqlLiteral(*text) +
                                            " WHERE lEntryID = " + Id(entry));
  });
}

void ComplexQtyTexts::Complete(long row, const SalesRowKeys& keys) {
  Resume([&] {
    const auto text = ComplexQtyOf(form_, row, keys, &known_);
    if (!text || !ShowComplexQty(form_, row, keys, *text)) return;
    const auto [table, entry] = StoredEntryOf(form_, row, keys);
    if (table) changed_[table].emplace_back(entry, *text);
  });
}

void ComplexQtyTexts::Store() {
  // A statement per few hundred rows: one per row made opening a bill of thousands of rows
  // take seconds.
  constexpr std::size_t kRowsPerStatement = 500;
  for (const auto& [table, rows] : changed_) {
    for (std::size_t from = 0; from < rows.size(); from += kRowsPerStatement) {
      const std::size_t to = std::min(rows.size(), from + kRowsPerStatement);
      std::string cases, ids;
      for (std::size_t i = from; i < to; ++i) {
        cases += " WHEN " + Id(rows[i].first) + " THEN " + services::SqlLiteral(rows[i].second);
        ids += (i == from ? "" : ",") + Id(rows[i].first);
      }
      Resume([&] {
        services::ExecuteUpdate(form_.ctx, std::string("UPDATE ") + table +
                                               " SET FComplexQtyDis = CASE lEntryID" + cases +
                                               " END WHERE lEntryID IN (" + ids + ")");
      });
    }
  }
  changed_.clear();
}

}  // namespace zov::plugins::sales
