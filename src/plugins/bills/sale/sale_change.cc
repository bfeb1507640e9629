// The sales bill's field changes: a table from the changed field's key to a small handler, each
// handing the work to the shared row and head routines; then the workflow's rejection is cleared.
#include "bills/common/commands.h"
#include "bills/common/customer.h"
#include "bills/common/row_changes.h"
#include "bills/common/rule_tables.h"
#include "bills/sale/bill_event_sale.h"
#include "calc/charges.h"
#include "calc/prices.h"
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

}  // namespace

void BillEvent_Sale::m_BillInterface_Change(const Ref<host::IDictionary>& field,
                                            const Ref<host::IDictionary>& change, long, long row,
                                            bool& cancel) {
  if (cancel) return;
  // One branch per key. The other price keys (FBasePrice, the tax and discounted prices) have no
  // branch of their own: the host's actions recompute the row.
  static const sales::KeyTable<ChangeHandler> kBranches{
      {{"FCustID"}, &BillEvent_Sale::OnCustomer},
      {{"FDate"}, &BillEvent_Sale::OnDate},
      {{"FItemID"}, &BillEvent_Sale::OnItem},
      {{"FShowUnitID"}, &BillEvent_Sale::OnShowUnit},
      {{"FEmpID"}, &BillEvent_Sale::OnEmployee},
      {{"FCalTypeID"}, &BillEvent_Sale::OnCalType},
      {{"FBillTypeID"}, &BillEvent_Sale::OnBillType},
      {{"FKFDate", "FKFPeriod", "FPeriodDate"}, &BillEvent_Sale::OnShelfLife},
      {{"FCurPayAmount"}, &BillEvent_Sale::OnPayment},
      {{"FCurCheckAmount", "FNeutralizeAmount"}, &BillEvent_Sale::OnSettlement},
      {{"FInvoiceType"}, &BillEvent_Sale::OnInvoiceType},
      {{"FBalanceStyle"}, &BillEvent_Sale::OnBalanceStyle},
      {{"FSecQty", "FSecPrice", "FQty", "FShowQty", "FSecCoefficient", "FPrice", "FNoDiscAmount"},
       &BillEvent_Sale::OnQuantity},
      {{"FAuxPropID"}, &BillEvent_Sale::OnProperty},
      {{"FSCStockID"}, &BillEvent_Sale::OnStock},
      {{"FBatchNo"}, &BillEvent_Sale::OnBatch},
      {{"FAmount", "FInTaxAmount"}, &BillEvent_Sale::OnAmount},
      {{"FTaxAmount"}, &BillEvent_Sale::OnTaxAmount},
      {{"FDiscountAcctId"}, &BillEvent_Sale::OnDiscountAccount},
      {{"FPriceDiscount", "FDiscountRate"}, &BillEvent_Sale::OnDiscount},
      {{"FClientItemID"}, &BillEvent_Sale::OnClientItem},
      {{"FTranspotationCharges"}, &BillEvent_Sale::OnCharges},
      {{"FTranspotationCosts"}, &BillEvent_Sale::OnCosts},
      {{"FDisplayPrice", "FDisplayWeight", "FDisplayQty"}, &BillEvent_Sale::OnDisplayedField},
  };
  FieldChange c(field, change, row, cancel);
  if (const ChangeHandler* handler = kBranches.Find(c.key)) (this->**handler)(c);
  sales::ClearRejectionAfterChange(*m_BillInterface, c.key);
}

// --- the head -----------------------------------------------------------------------------------

void BillEvent_Sale::OnCustomer(FieldChange&) {
  auto& bill = *m_BillInterface;
  const auto form = Form();
  const long customer = FieldId(bill, "FCustID");
  sales::ShowCustomerCredit(form);
  if (customer > 0) sales::FillSalesman(form, customer);
  // Rows priced again for the customer, unless the user keeps the prices; their codes follow.
  sales::ApplyCustomerPrices(form, Keys(), Pricing(),
                             OptionChecked(context(), kClassTypeId, "DoNotResetPrice"));
  if (customer >= 1) {
    sales::CalcSettleLimitDate(form);
    sales::FillCustomerContact(form, customer, sales::ContactFill::kFirstContact);
  }
}

void BillEvent_Sale::OnDate(FieldChange&) {
  if (FieldId(*m_BillInterface, "FCustID") > 0) sales::CalcSettleLimitDate(Form());
}

void BillEvent_Sale::OnEmployee(FieldChange&) { sales::FillEmployeeDepartment(Form()); }

void BillEvent_Sale::OnBillType(FieldChange&) {
  ApplyBillLayout();
  LockSettlementItemColumns();
  HideFieldsByRights();
  calc::ApplyPriceRight(context(), *m_BillInterface);
}

void BillEvent_Sale::OnPayment(FieldChange& c) {
  const bool multi = ResumeOr<bool>(
      false, [&] { return c.change && vb::Val(vb::CStr(c.change->Item("MultiItem"))) == 1; });
  SettleAmounts(true, multi);
}

void BillEvent_Sale::OnSettlement(FieldChange&) { SettleAmounts(false, false); }

void BillEvent_Sale::OnInvoiceType(FieldChange&) {
  auto& bill = *m_BillInterface;
  const long type = static_cast<long>(FieldNumber(bill, "FInvoiceType"));
  const bool taxed = type == 2020 || type == 2021;
  // The tax columns show as the template defines them for invoices with tax, and hide otherwise.
  auto map = ResumeOr<Ref<host::IDictionary>>(
      {}, [&] { return bill.TableInfo()->Item("Map").ObjectAs<host::IDictionary>(); });
  const long state = ResumeOr<long>(0, [&] { return bill.BillStatus(); });
  const long mask = state == host::kBillNew ? 64 : state == host::kBillEdit ? 128 : 16;
  for (const std::string& key : vb::Split("FTaxRate,FTaxPrice,FTaxAmount,FInTaxAmount", ",")) {
    bool visible = false;
    if (taxed && map)
      if (auto entry = map->Item(key).ObjectAs<host::IDictionary>())
        visible = (vb::CLng(entry->Item("FVisible")) & mask) != 0;
    Resume([&] { bill.BillEntrys(1)->QORFields(key)->SetVisible(visible); });
  }
  const auto form = Form();
  for (long row = 1, rows = GridRows(bill); row <= rows; ++row) {
    if (taxed)
      sales::SetRowTaxRate(form, row, Keys());
    else
      calc::SetFieldWithAction(bill, "FTaxRate", 0, row, false);
  }
}

void BillEvent_Sale::OnBalanceStyle(FieldChange&) {
  auto& bill = *m_BillInterface;
  auto rs = services::OpenRecordsetTolerant(
      context(),
      "Select FItemID,FNumber,FName From t_SettleAcct Where FItemID = (Select FAcctID "
      "From t_Settle Where FItemID=" +
          std::to_string(FieldId(bill, "FBalanceStyle")) + ")");
  if (rs && !rs->Eof()) Resume([&] { bill.SetFieldValue("FAcctNo", rs->Value("FItemID"), -1); });
}

void BillEvent_Sale::OnDiscountAccount(FieldChange&) {
  auto& bill = *m_BillInterface;
  auto rs = services::OpenRecordsetTolerant(
      context(), "select FQuantities,FCurrencyID from t_account where   FAccountID='" +
                     std::to_string(FieldId(bill, "FDiscountAcctId")) + "'");
  if (!rs || rs->Eof()) return;
  // FQuantities is a bit column: it reads as a Boolean, whose text "True" holds no number.
  const bool quantities = ResumeOr<bool>(false, [&] {
    const Variant v = rs->Value("FQuantities");
    return !v.IsNull() && !v.IsEmpty() && vb::CBool(v);
  });
  std::string message;
  if (quantities)
    message = "所选择的科目进行了数量金额核算，请重新选择科目。";
  else if (vb::Val(vb::CStr(rs->Value("FCurrencyID"))) > 0)
    message = "所选择的科目进行了单一外币核算，请重新选择科目。";
  if (message.empty()) return;
  sales::Refuse(context(), bill, message);
  Resume([&] { bill.SetFieldValue("FDiscountAcctId", "", -1); });
}

void BillEvent_Sale::OnCharges(FieldChange&) {
  calc::SyncChargesTotal(context(), *m_BillInterface);
}

void BillEvent_Sale::OnCosts(FieldChange&) { calc::UpdateShareTools(context(), *m_BillInterface); }

// --- the rows -----------------------------------------------------------------------------------

void BillEvent_Sale::OnItem(FieldChange& c) {
  sales::ItemChange rules;
  rules.pricing = Pricing();
  rules.askDuplicate = ToolChecked(*m_BillInterface, "mnuCheckDuplicateItem");
  sales::ApplyItemChange(Form(), c.row, Keys(), rules, c.cancel);
}

void BillEvent_Sale::OnShowUnit(FieldChange& c) {
  sales::ApplyUnitChange(Form(), c.row, Keys(), Pricing());
}

void BillEvent_Sale::OnCalType(FieldChange& c) { sales::ApplyCalTypeChange(Form(), c.row, Keys()); }

void BillEvent_Sale::OnShelfLife(FieldChange& c) {
  inventory::RecalcShelfLife(*m_BillInterface, c.field, c.row, Keys().shelfLife);
}

void BillEvent_Sale::OnQuantity(FieldChange& c) {
  sales::ApplyQuantityChange(Form(), c.row, Keys(), c.key);
}

void BillEvent_Sale::OnProperty(FieldChange& c) {
  sales::ApplyPropertyChange(Form(), c.row, Keys());
}

void BillEvent_Sale::OnStock(FieldChange& c) {
  sales::ApplyStockChange(Form(), c.row, Keys(), Pricing(), Kind() == SaleKind::kReturn);
}

void BillEvent_Sale::OnBatch(FieldChange& c) {
  sales::ApplyBatchChange(Form(), c.row, Keys(), Pricing());
}

void BillEvent_Sale::OnAmount(FieldChange& c) {
  sales::ApplyAmountChange(Form(), c.row, Keys(), vb::UCase(c.key) == "FINTAXAMOUNT");
}

void BillEvent_Sale::OnTaxAmount(FieldChange& c) {
  const double before =
      c.previous.IsEmpty() || c.previous.IsNull() ? 0 : vb::Val(vb::CStr(c.previous));
  sales::ApplyTaxAmountChange(Form(), c.row, Keys(), before);
}

void BillEvent_Sale::OnDiscount(FieldChange& c) {
  sales::ApplyDiscountChange(Form(), c.row, Keys(), c.key,
                             ToolChecked(*m_BillInterface, "mnuOptionPriceCalcDiscount"));
}

void BillEvent_Sale::OnClientItem(FieldChange& c) {
  sales::ApplyClientItemCode(Form(), c.row, Keys(), Pricing());
}

void BillEvent_Sale::OnDisplayedField(FieldChange& c) {
  sales::ApplyDisplayedFieldChange(Form(), c.row, Keys(), c.key);
}

}  // namespace zov::plugins
