// The opening supplier bill's field changes: a table from the changed field's key to a small
// handler. The rows are priced from purchase prices: the item's, else the supplier's latest.
#include "bills/common/commands.h"
#include "bills/common/customer.h"
#include "bills/common/opening.h"
#include "bills/common/row_changes.h"
#include "bills/common/row_data.h"
#include "bills/temp_gj/bill_event_temp_gj.h"
#include "calc/charges.h"
#include "calc/locks.h"
#include "calc/prices.h"
#include "calc/quantities.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/shelf_life.h"
#include "inventory/stock.h"
#include "services/database.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

void Set(host::IBillInterface& bill, std::string_view key, const Variant& value, long row) {
  Resume([&] { bill.SetFieldValue(key, value, row); });
}

// What a cleared item takes along from its row.
constexpr const char* kItemColumns[] = {
    "FDCStockID",  "FAuxPropID",      "FUnitID",        "FShowQty",
    "FSecUnitID",  "FSecCoefficient", "FSecQty",        "FPrice",
    "FAmount",     "FNOTE",           "FKFDate",        "FKFPeriod",
    "FPeriodDate", "FBillUserText1",  "FBillUserText2", "FBillUserText3"};

}  // namespace

void BillEvent_TempGJ::m_BillInterface_Change(const Ref<host::IDictionary>& field,
                                              const Ref<host::IDictionary>& change, long, long row,
                                              bool& cancel) {
  if (cancel) return;
  static const sales::KeyTable<ChangeHandler> kBranches{
      {{"FSupplyID"}, &BillEvent_TempGJ::OnSupplier},
      {{"FEmpID"}, &BillEvent_TempGJ::OnEmployee},
      {{"FItemID"}, &BillEvent_TempGJ::OnItem},
      {{"FBatchNo"}, &BillEvent_TempGJ::OnBatch},
      {{"FAuxPropID"}, &BillEvent_TempGJ::OnProperty},
      {{"FShowUnitID"}, &BillEvent_TempGJ::OnShowUnit},
      {{"FSecQty", "FSecPrice", "FQty", "FShowQty", "FSecCoefficient", "FPrice", "FBasePrice"},
       &BillEvent_TempGJ::OnQuantity},
      {{"FAmount"}, &BillEvent_TempGJ::OnAmount},
      {{"FTaxAmount"}, &BillEvent_TempGJ::OnTaxAmount},
      {{"FInTaxAmount"}, &BillEvent_TempGJ::OnInTaxAmount},
      {{"FKFDate", "FKFPeriod", "FPeriodDate"}, &BillEvent_TempGJ::OnShelfLife},
      {{"FTranspotationCharges", "FTranspotationCosts", "FTotaladvanceCosts"},
       &BillEvent_TempGJ::OnCharges},
  };
  FieldChange c(field, change, row, cancel);
  if (const ChangeHandler* handler = kBranches.Find(c.key)) (this->**handler)(c);
  sales::ClearRejectionAfterChange(*m_BillInterface, c.key);
}

// --- the head -----------------------------------------------------------------------------------

void BillEvent_TempGJ::OnSupplier(FieldChange&) {
  const long supplier = FieldId(*m_BillInterface, "FSupplyID");
  if (supplier > 0) sales::FillSalesman(Form(), supplier, "t_Supplier");
}

void BillEvent_TempGJ::OnEmployee(FieldChange&) { sales::FillEmployeeDepartment(Form()); }

void BillEvent_TempGJ::OnCharges(FieldChange& c) {
  if (vb::UCase(c.key) == "FTRANSPOTATIONCHARGES")
    calc::SyncChargesTotal(context(), *m_BillInterface);
  else
    calc::UpdateShareTools(context(), *m_BillInterface);
}

// --- the item -----------------------------------------------------------------------------------

void BillEvent_TempGJ::OnItem(FieldChange& c) {
  if (c.row < 1) return;
  FillSupplierRow(c.row);
}

void BillEvent_TempGJ::FillSupplierRow(long row) {
  auto& bill = *m_BillInterface;
  auto& ctx = context();
  const long item = FieldId(bill, "FItemID", row);
  if (item <= 0) {
    for (const char* key : kItemColumns) Set(bill, key, "", row);
    return;
  }
  // 1. Unit and stock.
  SetRowDefaultUnit(row);
  if (FieldId(bill, "FDCStockID", row) <= 0)
    inventory::FillDefaultStock(ctx, bill, row, "FDCStockID");
  // 2. The secondary unit, with the locks of a row without one.
  auto rs = services::OpenRecordsetTolerant(
      ctx, "Select FConverMethod,FSecUnitID from t_ICItem Where FItemID=" + std::to_string(item));
  if (rs && !rs->Eof()) {
    const long secUnit = ResumeOr<long>(0, [&] {
      const Variant v = rs->Value("FSecUnitID");
      return v.IsNull() ? 0L : static_cast<long>(vb::Val(vb::CStr(v)));
    });
    Set(bill, "FSecUnitID", secUnit > 0 ? Variant(secUnit) : Variant(""), row);
    if (secUnit > 0) Set(bill, "FsecCoefficient", calc::GetItemSecCoefficient(ctx, item, 1), row);
  }
  calc::ApplyUnitLocks(ctx, bill, row, item, Keys());
  // 3. Shelf life: the dates of a shelf-life item start at the bill date.
  sales::ApplyOpeningShelfLife(Form(), row, item);
  // 4. The purchase price.
  ApplyPurchasePrice(row);
}

void BillEvent_TempGJ::SetRowDefaultUnit(long row) {
  auto& bill = *m_BillInterface;
  calc::RowUnit unit;
  if (!calc::GetDefaultUnit(context(), FieldId(bill, "FSupplyID"), FieldId(bill, "FItemID", row),
                            "FSupplyID", unit))
    return;
  Set(bill, "FCoefficient", unit.coefficient, row);
  calc::PutRowUnit(bill, row, unit, Keys());
}

double BillEvent_TempGJ::GetPurchasePrice(long item, long unit, long supplier,
                                          double& discountRate) {
  auto& ctx = context();
  discountRate = 0;
  const std::string itemUnit = std::to_string(item) + " and FUnitID=" + std::to_string(unit);
  const double own = vb::Val(services::FirstValue(
      ctx, "select FCGLatestPrice,FCGPrice from T_ItemPrice where FItemID=" + itemUnit, 1));
  if (own > 0) return own;
  auto rs = services::OpenRecordsetTolerant(
      ctx, "select FDiscountRate,FPrice from t_LatestPrice where FItemID=" + itemUnit +
               " and FSupplyID>0 and FSupplyID=" + std::to_string(supplier));
  return ResumeOr<double>(0, [&] {
    if (!rs || rs->Eof()) return 0.0;
    const Variant price = rs->Value("FPrice");
    const double latest = price.IsNull() ? 0 : vb::Val(vb::CStr(price));
    if (latest <= 0) return 0.0;
    const Variant rate = rs->Value("FDiscountRate");
    discountRate = rate.IsNull() ? 0 : vb::Val(vb::CStr(rate));
    return latest;
  });
}

void BillEvent_TempGJ::ApplyPurchasePrice(long row) {
  auto& bill = *m_BillInterface;
  auto& ctx = context();
  const long item = FieldId(bill, "FItemID", row);
  if (item <= 0) return;
  const bool weight = services::IndustryType(ctx) == 1;
  const bool baseUnit = weight && calc::IsGCItem(ctx, item);
  const char* priceKey = baseUnit ? "FBasePrice" : "FPrice";
  const long unit = FieldId(bill, baseUnit ? "FUnitID" : "FShowUnitID", row);
  double discount = 0;
  const double price = GetPurchasePrice(item, unit, FieldId(bill, "FSupplyID"), discount);
  // The price goes in as the person would type it, so amounts and taxes follow.
  Resume([&] {
    if (auto cell = bill.GetDataFldbyKey(priceKey, row))
      cell->SetItem("FDSP", price > 0 ? vb::CStr(Variant(price)) : std::string());
  });
  calc::SetFieldWithAction(bill, priceKey, price, row, false);
  if (discount > 0) calc::SetFieldWithAction(bill, "FDiscountRate", discount, row, false);
  if (weight) Set(bill, "FDisplayPrice", price, row);
}

// --- rows ---------------------------------------------------------------------------------------

void BillEvent_TempGJ::OnBatch(FieldChange& c) {
  sales::ApplyBatchDates(Form(), c.row, Keys());
  sales::ShowRowStock(Form(), c.row, Keys());
}

void BillEvent_TempGJ::OnProperty(FieldChange& c) {
  sales::ApplyPropertyChange(Form(), c.row, Keys());
}

// A new unit: its coefficient, the base quantity, the purchase price in it and the secondary
// price and quantity.
void BillEvent_TempGJ::OnShowUnit(FieldChange& c) {
  auto& bill = *m_BillInterface;
  const long row = c.row;
  const long item = FieldId(bill, "FItemID", row);
  if (row < 1 || item <= 0) return;
  const double coefficient =
      calc::GetUnitCoefficient(context(), item, FieldId(bill, "FShowUnitID", row));
  Set(bill, "FCoefficient", coefficient, row);
  calc::SetFieldWithAction(bill, "FShowQty", FieldNumber(bill, "FShowQty", row), row, false);
  ApplyPurchasePrice(row);
  Set(bill, "FSecCoefficient", calc::GetItemSecCoefficient(context(), item, coefficient), row);
  sales::ApplySecondaryPriceAndQty(Form(), row, Keys());
}

void BillEvent_TempGJ::OnQuantity(FieldChange& c) {
  sales::ApplyQuantityChange(Form(), c.row, Keys(), c.key);
}

// Only the rule of a row without tax: its tail difference goes through the tax-inclusive amount.
void BillEvent_TempGJ::OnAmount(FieldChange& c) {
  if (c.row < 1) return;
  if (calc::ApplyAmountTail(context(), *m_BillInterface, c.row, c.PreviousNumber(),
                            calc::AmountTailRules::kNonTaxOnly,
                            Keys()) == calc::AmountTail::kRestored)
    c.cancel = true;
}

void BillEvent_TempGJ::OnTaxAmount(FieldChange& c) {
  sales::ApplyTaxAmountChange(Form(), c.row, Keys(), c.PreviousNumber(),
                              calc::TaxTailFollower::kAmount);
}

void BillEvent_TempGJ::OnInTaxAmount(FieldChange& c) {
  sales::ApplyInTaxAmountTailChange(Form(), c.row, Keys());
}

void BillEvent_TempGJ::OnShelfLife(FieldChange& c) {
  inventory::RecalcShelfLife(*m_BillInterface, c.field, c.row, inventory::kPlainShelfLife);
}

}  // namespace zov::plugins
