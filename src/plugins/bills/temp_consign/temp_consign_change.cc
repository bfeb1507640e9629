// The opening consignment bill's field changes: a table from the changed field's key to a small
// handler, each handing the work to the shared row and head routines. Prices and costs are the
// consignment bill's; the amounts keep their tails as the sales order's.
#include "bills/common/commands.h"
#include "bills/common/customer.h"
#include "bills/common/opening.h"
#include "bills/common/row_changes.h"
#include "bills/common/row_data.h"
#include "bills/temp_consign/bill_event_temp_consign.h"
#include "calc/charges.h"
#include "calc/prices.h"
#include "calc/quantities.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/shelf_life.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

const sales::SalesRowKeys& Keys() { return sales::FirstGrid(); }

}  // namespace

void BillEvent_TempConsign::m_BillInterface_Change(const Ref<host::IDictionary>& field,
                                                   const Ref<host::IDictionary>& change, long,
                                                   long row, bool& cancel) {
  if (cancel) return;
  static const sales::KeyTable<ChangeHandler> kBranches{
      {{"FCustID"}, &BillEvent_TempConsign::OnCustomer},
      {{"FItemID"}, &BillEvent_TempConsign::OnItem},
      {{"FShowUnitID"}, &BillEvent_TempConsign::OnShowUnit},
      {{"FAuxPropID"}, &BillEvent_TempConsign::OnProperty},
      {{"FEmpID"}, &BillEvent_TempConsign::OnEmployee},
      {{"FKFDate", "FKFPeriod", "FPeriodDate"}, &BillEvent_TempConsign::OnShelfLife},
      {{"FPrice", "FSecPrice", "FCalTypeid", "FQty", "FBasePrice", "FShowQty", "FSecQty"},
       &BillEvent_TempConsign::OnQuantity},
      {{"FSCStockID"}, &BillEvent_TempConsign::OnStock},
      {{"FAmount"}, &BillEvent_TempConsign::OnAmount},
      {{"FTaxAmount"}, &BillEvent_TempConsign::OnTaxAmount},
      {{"FInTaxAmount"}, &BillEvent_TempConsign::OnInTaxAmount},
      {{"FTranspotationCharges", "FTranspotationCosts"}, &BillEvent_TempConsign::OnCharges},
      {{"FBasePriceDiscount", "FPriceDiscount", "FBaseTaxPrice", "FTaxPrice", "FSecTaxPrice"},
       &BillEvent_TempConsign::OnDiscount},
  };
  FieldChange c(field, change, row, cancel);
  if (const ChangeHandler* handler = kBranches.Find(c.key)) (this->**handler)(c);
  sales::ClearRejectionAfterChange(*m_BillInterface, c.key);
}

// --- the head -----------------------------------------------------------------------------------

void BillEvent_TempConsign::OnCustomer(FieldChange&) {
  const auto form = Form();
  const long customer = FieldId(*m_BillInterface, "FCustID");
  if (customer > 0) sales::FillSalesman(form, customer);
  sales::ApplyCustomerPrices(form, Keys(), {}, false);
}

void BillEvent_TempConsign::OnEmployee(FieldChange&) { sales::FillEmployeeDepartment(Form()); }

void BillEvent_TempConsign::OnCharges(FieldChange& c) {
  if (vb::UCase(c.key) == "FTRANSPOTATIONCHARGES")
    calc::SyncChargesTotal(context(), *m_BillInterface);
  else
    calc::UpdateShareTools(context(), *m_BillInterface);
}

// --- the item -----------------------------------------------------------------------------------

void BillEvent_TempConsign::OnItem(FieldChange& c) {
  auto& bill = *m_BillInterface;
  const auto form = Form();
  const long row = c.row;
  if (row < 1) return;
  const long item = FieldId(bill, "FItemID", row);
  // 1. The batch of a batch-managed item is typed in the row.
  const bool batch = ResumeOr<bool>(false, [&] {
    const Variant managed = c.field->Item("FIsBatchNoManage");
    return !managed.IsEmpty() && !managed.IsNull() && vb::CBool(managed);
  });
  if (batch) calc::LockField(bill, "FBatchNo", false, row);
  if (item < 1) return;
  // 2. The customer type's discount, the tax rate, the secondary unit, the shelf life.
  sales::ApplyCustomerTypeDiscount(form, row, Keys());
  // The account set's rate: an opening bill does not carry the item's own.
  const std::string rate = sales::GeneralTaxRate(form.ctx);
  if (!rate.empty()) calc::SetFieldWithAction(bill, Keys().taxRate, vb::Val(rate), row, false);
  sales::ApplyItemSecondaryData(form, row, item);
  sales::ApplyOpeningShelfLife(form, row, item);
  // 3. Unit, price and the cost in the row's stock and batch.
  sales::SetRowDefaultUnit(form, row, Keys());
  sales::RefetchRowPrice(form, row, Keys(), {});
  sales::RefreshRowCost(form, row, Keys());
  ApplyCostLocks(row);
}

// --- rows ---------------------------------------------------------------------------------------

void BillEvent_TempConsign::OnShowUnit(FieldChange& c) {
  sales::ApplyUnitChange(Form(), c.row, Keys(), {});
}

void BillEvent_TempConsign::OnProperty(FieldChange& c) {
  sales::ApplyPropertyChange(Form(), c.row, Keys());
}

void BillEvent_TempConsign::OnShelfLife(FieldChange& c) {
  inventory::RecalcShelfLife(*m_BillInterface, c.field, c.row, Keys().shelfLife);
}

void BillEvent_TempConsign::OnQuantity(FieldChange& c) {
  sales::ApplyQuantityChange(Form(), c.row, Keys(), c.key);
}

// A row moved into a virtual stock keeps no cost; moved out of one it is costed again.
void BillEvent_TempConsign::OnStock(FieldChange& c) {
  if (c.row < 1) return;
  ApplyCostLocks(c.row);
  sales::RefreshRowCost(Form(), c.row, Keys());
}

void BillEvent_TempConsign::OnAmount(FieldChange& c) {
  sales::ApplyAmountTailChange(Form(), c.row, Keys(), c.PreviousNumber(), c.cancel);
}

void BillEvent_TempConsign::OnTaxAmount(FieldChange& c) {
  sales::ApplyTaxAmountChange(Form(), c.row, Keys(), c.PreviousNumber(),
                              calc::TaxTailFollower::kAmount);
}

void BillEvent_TempConsign::OnInTaxAmount(FieldChange& c) {
  sales::ApplyInTaxAmountTailChange(Form(), c.row, Keys());
}

void BillEvent_TempConsign::OnDiscount(FieldChange& c) {
  sales::ApplyDiscountChange(Form(), c.row, Keys(), c.key,
                             ToolChecked(*m_BillInterface, "mnuOptionPriceCalcDiscount"));
}

}  // namespace zov::plugins
