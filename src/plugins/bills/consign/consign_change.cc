// The consignment bill's field changes: a table from the changed field's key to a small handler,
// each handing the work to the shared row and head routines; then the workflow's rejection ends.
// The head has no settlement date or contact; the amounts keep their tails as the sales order's.
#include "bills/common/commands.h"
#include "bills/common/customer.h"
#include "bills/common/row_changes.h"
#include "bills/consign/bill_event_consign.h"
#include "calc/charges.h"
#include "calc/locks.h"
#include "calc/prices.h"
#include "calc/quantities.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/menu.h"
#include "frame/resume.h"
#include "inventory/shelf_life.h"
#include "pricing/client_codes.h"
#include "services/database.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

const sales::SalesRowKeys& Keys() { return sales::FirstGrid(); }

// The consignment bill prices rows as the sales bill and costs them as "StockOutCalCost" says.
sales::PriceLookup Pricing() {
  sales::PriceLookup lookup;
  lookup.costByStockOutOption = true;
  return lookup;
}

void Set(host::IBillInterface& bill, const char* key, const Variant& value, long row) {
  Resume([&] { bill.SetFieldValue(key, value, row); });
}

// The item columns a consignment return takes from its source.
constexpr const char* kSourceItemColumns = "FItemID,FSCStockID,FBatchNo,FAuxPropID,FKFDate";

}  // namespace

void BillEvent_Consign::m_BillInterface_Change(const Ref<host::IDictionary>& field,
                                               const Ref<host::IDictionary>& change, long, long row,
                                               bool& cancel) {
  if (cancel) return;
  static const sales::KeyTable<ChangeHandler> kBranches{
      {{"FCustID"}, &BillEvent_Consign::OnCustomer},
      {{"FItemID"}, &BillEvent_Consign::OnItem},
      {{"FShowUnitID"}, &BillEvent_Consign::OnShowUnit},
      {{"FEmpID"}, &BillEvent_Consign::OnEmployee},
      {{"FBillTypeID"}, &BillEvent_Consign::OnBillType},
      {{"FKFDate", "FKFPeriod", "FPeriodDate"}, &BillEvent_Consign::OnShelfLife},
      {{"FCalTypeID"}, &BillEvent_Consign::OnCalType},
      {{"FSecQty", "FSecPrice", "FQty", "FShowQty", "FSecCoefficient", "FPrice", "FBasePrice"},
       &BillEvent_Consign::OnQuantity},
      {{"FAuxPropID"}, &BillEvent_Consign::OnProperty},
      {{"FSCStockID"}, &BillEvent_Consign::OnStock},
      {{"FBatchNo"}, &BillEvent_Consign::OnBatch},
      {{"FAmount"}, &BillEvent_Consign::OnAmount},
      {{"FTaxAmount"}, &BillEvent_Consign::OnTaxAmount},
      {{"FInTaxAmount"}, &BillEvent_Consign::OnInTaxAmount},
      {{"FBaseTaxPrice", "FTaxPrice", "FSecTaxPrice", "FBasePriceDiscount", "FSecPriceDiscount",
        "FPriceDiscount"},
       &BillEvent_Consign::OnDiscount},
      {{"FClientItemID"}, &BillEvent_Consign::OnClientItem},
      {{"FTranspotationCharges", "FTranspotationCosts"}, &BillEvent_Consign::OnCharges},
      {{"FDisplayPrice", "FDisplayWeight", "FDisplayQty"}, &BillEvent_Consign::OnDisplayedField},
  };
  FieldChange c(field, change, row, cancel);
  if (const ChangeHandler* handler = kBranches.Find(c.key)) (this->**handler)(c);
  sales::ClearRejectionAfterChange(*m_BillInterface, c.key);
}

// --- the head -----------------------------------------------------------------------------------

void BillEvent_Consign::OnCustomer(FieldChange&) {
  const auto form = Form();
  const long customer = FieldId(*m_BillInterface, "FCustID");
  sales::ShowCustomerCredit(form);
  if (customer > 0) sales::FillSalesman(form, customer);
  sales::ApplyCustomerPrices(form, Keys(), Pricing(),
                             OptionChecked(context(), kClassTypeId, "DoNotResetPrice"));
  if (customer >= 1) sales::FillCustomerContact(form, customer, sales::ContactFill::kAddress);
}

void BillEvent_Consign::OnEmployee(FieldChange&) { sales::FillEmployeeDepartment(Form()); }

void BillEvent_Consign::OnBillType(FieldChange&) {
  auto& bill = *m_BillInterface;
  ColourByKind();
  ApplyConsignLayout();
  const bool delivery = Kind() != ConsignKind::kReturn;
  SetColumns(kSourceItemColumns, ColumnProperty::kLocked, !delivery);
  Bar("mnuEditCopy", "Visible", delivery);
  SetColumns("FOrderQty", ColumnProperty::kVisible, delivery);
  HideCostByRight();
  calc::ApplyPriceRight(context(), bill);
  calc::ApplyTaxColumnRight(context(), bill);
  // A return takes its goods from its source alone.
  Bar("mnuBarCode", "Enabled", delivery);
  Bar("mnuImportGoods", "Enabled", delivery);
}

void BillEvent_Consign::OnCharges(FieldChange& c) {
  if (vb::UCase(c.key) == "FTRANSPOTATIONCHARGES")
    calc::SyncChargesTotal(context(), *m_BillInterface);
  else
    calc::UpdateShareTools(context(), *m_BillInterface);
}

// --- the item -----------------------------------------------------------------------------------

void BillEvent_Consign::OnItem(FieldChange& c) {
  auto& bill = *m_BillInterface;
  auto& ctx = context();
  const auto form = Form();
  const long row = c.row;
  // 1.-3. The batch rule, the customer type's discount; an item cleared ends the branch.
  const long item = sales::BeginItemChange(form, c.field, row, Keys(), true);
  if (item < 1) return;
  // 4.-5. The tax rate and the secondary unit of the item.
  sales::SetRowTaxRate(form, row, Keys());
  sales::ApplyItemSecondaryData(form, row, item);
  // 6. Unit (the weight industry's item sequence), price, customer code, shelf life, cost, serial
  // numbers, stock text.
  sales::ApplyItemUnit(form, row, Keys(), item, false);
  sales::RefetchRowPrice(form, row, Keys(), Pricing());
  pricing::GetClientItemCode(ctx, bill, row);
  const std::string period = services::FirstValue(
      ctx, "select isnull(FKFPeriod,0) from t_ICItem where FItemID=" + std::to_string(item));
  Set(bill, "FKFPeriod", vb::Val(period), row);
  sales::RefreshRowCost(form, row, Keys(), Pricing());
  Set(bill, "FSerialNo", "", row);
  sales::ShowRowStock(form, row, Keys());
}

// --- rows ---------------------------------------------------------------------------------------

void BillEvent_Consign::OnShowUnit(FieldChange& c) {
  sales::ApplyUnitChange(Form(), c.row, Keys(), Pricing());
}

void BillEvent_Consign::OnShelfLife(FieldChange& c) {
  inventory::RecalcShelfLife(*m_BillInterface, c.field, c.row, Keys().shelfLife);
}

void BillEvent_Consign::OnCalType(FieldChange& c) {
  sales::ApplyCalTypeChange(Form(), c.row, Keys());
}

void BillEvent_Consign::OnQuantity(FieldChange& c) {
  sales::ApplyQuantityChange(Form(), c.row, Keys(), c.key);
}

void BillEvent_Consign::OnProperty(FieldChange& c) {
  sales::ApplyPropertyChange(Form(), c.row, Keys());
}

void BillEvent_Consign::OnStock(FieldChange& c) {
  sales::ApplyStockChange(Form(), c.row, Keys(), Pricing(), Kind() == ConsignKind::kReturn);
}

void BillEvent_Consign::OnBatch(FieldChange& c) {
  sales::ApplyBatchChange(Form(), c.row, Keys(), Pricing());
}

void BillEvent_Consign::OnAmount(FieldChange& c) {
  sales::ApplyAmountTailChange(Form(), c.row, Keys(), c.PreviousNumber(), c.cancel);
}

void BillEvent_Consign::OnTaxAmount(FieldChange& c) {
  sales::ApplyTaxAmountChange(Form(), c.row, Keys(), c.PreviousNumber(),
                              calc::TaxTailFollower::kAmount);
}

void BillEvent_Consign::OnInTaxAmount(FieldChange& c) {
  sales::ApplyInTaxAmountTailChange(Form(), c.row, Keys());
}

void BillEvent_Consign::OnDiscount(FieldChange& c) {
  sales::ApplyDiscountChange(Form(), c.row, Keys(), c.key,
                             ToolChecked(*m_BillInterface, "mnuOptionPriceCalcDiscount"));
}

void BillEvent_Consign::OnClientItem(FieldChange& c) {
  sales::ApplyClientItemCode(Form(), c.row, Keys(), Pricing());
}

void BillEvent_Consign::OnDisplayedField(FieldChange& c) {
  sales::ApplyDisplayedFieldChange(Form(), c.row, Keys(), c.key);
}

}  // namespace zov::plugins
