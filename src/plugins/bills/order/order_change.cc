// The sales order's field changes: a table from the changed field's key to a small handler, each
// handing the work to the shared row and head routines; then the workflow's rejection ends. The
// order's rows have no stock, cost or settlement of their own, so those parts of the sales bill's
// branches are not here.
#include "bills/common/commands.h"
#include "bills/common/customer.h"
#include "bills/common/row_changes.h"
#include "bills/common/rule_tables.h"
#include "bills/order/bill_event_order.h"
#include "calc/locks.h"
#include "calc/prices.h"
#include "calc/quantities.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/menu.h"
#include "frame/resume.h"
#include "inventory/batches.h"
#include "pricing/client_codes.h"
#include "services/database.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

const sales::SalesRowKeys& Keys() { return sales::FirstGrid(); }

void Set(host::IBillInterface& bill, const char* key, const Variant& value, long row) {
  Resume([&] { bill.SetFieldValue(key, value, row); });
}

}  // namespace

void BillEvent_Order::m_BillInterface_Change(const Ref<host::IDictionary>& field,
                                             const Ref<host::IDictionary>& change, long, long row,
                                             bool& cancel) {
  if (cancel) return;
  // One branch per key. The other keys (FDiscountRate, the order's quantities to deliver) are the
  // host's own actions' business.
  static const sales::KeyTable<ChangeHandler> kBranches{
      {{"FCustID"}, &BillEvent_Order::OnCustomer},
      {{"FEmpID"}, &BillEvent_Order::OnEmployee},
      {{"FItemID"}, &BillEvent_Order::OnItem},
      {{"FShowUnitID"}, &BillEvent_Order::OnShowUnit},
      {{"FSecQty", "FSecPrice", "FQty", "FShowQty", "FSecCoefficient", "FPrice", "FBasePrice"},
       &BillEvent_Order::OnQuantity},
      {{"FCalTypeID"}, &BillEvent_Order::OnCalType},
      {{"FAuxPropID"}, &BillEvent_Order::OnProperty},
      {{"FAmount"}, &BillEvent_Order::OnAmount},
      {{"FTaxAmount"}, &BillEvent_Order::OnTaxAmount},
      {{"FInTaxAmount"}, &BillEvent_Order::OnInTaxAmount},
      {{"FBaseTaxPrice", "FTaxPrice", "FSecTaxPrice", "FBasePriceDiscount", "FSecPriceDiscount",
        "FPriceDiscount"},
       &BillEvent_Order::OnDiscount},
      {{"FClientItemID"}, &BillEvent_Order::OnClientItem},
      {{"FDisplayPrice", "FDisplayWeight", "FDisplayQty"}, &BillEvent_Order::OnDisplayedField},
      {{"FNoDiscAmount"}, &BillEvent_Order::OnUndiscountedAmount},
      {{"FDiscountAmount"}, &BillEvent_Order::OnDiscountAmount},
      {{"FWebBillTransAmount"}, &BillEvent_Order::OnWebFreight},
  };
  FieldChange c(field, change, row, cancel);
  if (const ChangeHandler* handler = kBranches.Find(c.key)) (this->**handler)(c);
  sales::ClearRejectionAfterChange(*m_BillInterface, c.key);
}

// --- the head -----------------------------------------------------------------------------------

void BillEvent_Order::OnCustomer(FieldChange&) {
  const auto form = Form();
  const long customer = FieldId(*m_BillInterface, "FCustID");
  sales::ShowCustomerCredit(form);
  if (customer > 0) sales::FillSalesman(form, customer);
  sales::ApplyCustomerPrices(form, Keys(), {},
                             OptionChecked(context(), kClassTypeId, "DoNotResetPrice"));
  if (customer >= 1) sales::FillCustomerContact(form, customer, sales::ContactFill::kFirstContact);
}

void BillEvent_Order::OnEmployee(FieldChange&) { sales::FillEmployeeDepartment(Form()); }

// The web shop's receipt follows its freight: amount less discount plus freight.
void BillEvent_Order::OnWebFreight(FieldChange&) {
  auto& bill = *m_BillInterface;
  Set(bill, "FWebBillReceAmount",
      calc::CalcAmountSum(calc::CalcAmountDifference(FieldNumber(bill, "FWebBillAmount"),
                                                     FieldNumber(bill, "FWebBillDiscountAmount")),
                          FieldNumber(bill, "FWebBillTransAmount")),
      -1);
}

// --- the item -----------------------------------------------------------------------------------

void BillEvent_Order::OnItem(FieldChange& c) {
  auto& bill = *m_BillInterface;
  auto& ctx = context();
  const auto form = Form();
  const long row = c.row;
  // 1.-3. The batch rule, the customer type's discount; an item cleared ends the branch.
  const long item = sales::BeginItemChange(form, c.field, row, Keys(), false);
  if (item < 1) return;
  // 4. The item's tax rate, else the general rate.
  const std::string rate = services::FirstValue(
      ctx,
      "  select case isnull(t1.FTaxRate,0) when 0 then isnull( "
      "Convert(decimal(18,0),t2.FValue),0) else isnull( Convert(decimal(18,0),t1.FTaxRate * 100), "
      "0) end As FTaxRate \r\n  From  t_ICItem t1   Left Join (select FValue from t_systemprofile "
      "where fcategory='General' And FKey='TaxRate') t2 on 1=1   where t1.FItemID = " +
          std::to_string(item));
  if (!rate.empty()) calc::SetFieldWithAction(bill, "FTaxRate", vb::Val(rate), row, false);
  // 5. The secondary unit of the item.
  sales::ApplyItemSecondaryData(form, row, item);
  // 6. Unit and a quantity of at least 1 (the weight industry's item sequence), price, customer
  // code, secondary price and quantity, availability.
  sales::ApplyItemUnit(form, row, Keys(), item, true);
  sales::RefetchRowPrice(form, row, Keys(), {});
  pricing::GetClientItemCode(ctx, bill, row);
  sales::ApplySecondaryPriceAndQty(form, row, Keys());
  RefreshRowAvailability(row, true);
}

// --- units, quantities and prices ---------------------------------------------------------------

void BillEvent_Order::OnShowUnit(FieldChange& c) {
  sales::ApplyUnitChange(Form(), c.row, Keys(), {});
  RefreshRowAvailability(c.row, true);
}

void BillEvent_Order::OnQuantity(FieldChange& c) {
  sales::ApplyQuantityChange(Form(), c.row, Keys(), c.key);
}

void BillEvent_Order::OnCalType(FieldChange& c) {
  sales::ApplyCalTypeChange(Form(), c.row, Keys());
}

void BillEvent_Order::OnProperty(FieldChange& c) {
  const auto form = Form();
  sales::ApplyBatchDates(form, c.row, Keys());
  RefreshRowAvailability(c.row, true);
  sales::ShowRowStock(form, c.row, Keys());
}

void BillEvent_Order::OnDiscount(FieldChange& c) {
  sales::ApplyDiscountChange(Form(), c.row, Keys(), c.key,
                             ToolChecked(*m_BillInterface, "mnuOptionPriceCalcDiscount"));
}

void BillEvent_Order::OnClientItem(FieldChange& c) {
  sales::ApplyClientItemCode(Form(), c.row, Keys(), {});
}

void BillEvent_Order::OnDisplayedField(FieldChange& c) {
  sales::ApplyDisplayedFieldChange(Form(), c.row, Keys(), c.key);
}

// The undiscounted amount is the quantity at the list price: the price follows it.
void BillEvent_Order::OnUndiscountedAmount(FieldChange& c) {
  auto& bill = *m_BillInterface;
  const long row = c.row;
  const double qty = FieldNumber(bill, "FShowQty", row);
  if (row < 1 || qty == 0) return;
  calc::SetFieldWithAction(bill, "FPrice", FieldNumber(bill, "FNoDiscAmount", row) / qty, row,
                           false);
  Set(bill, "FSecPrice",
      FieldNumber(bill, "FPrice", row) * FieldNumber(bill, "FSecCoefficient", row), row);
}

// A discount typed as an amount is the rate of what is left of the undiscounted amount.
void BillEvent_Order::OnDiscountAmount(FieldChange& c) {
  auto& bill = *m_BillInterface;
  const long row = c.row;
  const double undiscounted = FieldNumber(bill, "FNoDiscAmount", row);
  if (row < 1 || undiscounted == 0) return;
  calc::SetFieldWithAction(
      bill, "FDiscountRate",
      (undiscounted - FieldNumber(bill, "FDiscountAmount", row)) / undiscounted * 100, row, false);
}

// --- amounts and tax ----------------------------------------------------------------------------

void BillEvent_Order::OnAmount(FieldChange& c) {
  sales::ApplyAmountTailChange(Form(), c.row, Keys(), c.PreviousNumber(), c.cancel);
}

void BillEvent_Order::OnTaxAmount(FieldChange& c) {
  sales::ApplyTaxAmountChange(Form(), c.row, Keys(), c.PreviousNumber(),
                              calc::TaxTailFollower::kAmount);
}

void BillEvent_Order::OnInTaxAmount(FieldChange& c) {
  sales::ApplyInTaxAmountTailChange(Form(), c.row, Keys());
}

}  // namespace zov::plugins
