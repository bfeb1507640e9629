// The field changes of the sales bill and its second type: a table from the changed field's key to
// a small handler, each handing the work to the shared row and head routines; then the workflow's
// rejection is cleared. A row branch serves the first grid's key and, on the second type, the
// second grid's "01" key.
#include "bills/common/commands.h"
#include "bills/common/customer.h"
#include "bills/common/row_changes.h"
#include "bills/common/rule_tables.h"
#include "bills/common/sale_bill.h"
#include "calc/charges.h"
#include "calc/prices.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/shelf_life.h"
#include "pricing/client_codes.h"
#include "services/database.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins::sales {

namespace {

// A branch of the table: its handler and the grid whose keys it serves (0 the head).
template <class Handler>
struct Branch {
  Handler handler;
  long grid;
};

}  // namespace

void SaleBill::Change(const Ref<host::IDictionary>& field, const Ref<host::IDictionary>& change,
                      long row, bool& cancel) {
  if (cancel) return;
  using B = Branch<ChangeHandler>;
  static const KeyTable<B> kBranches = [] {
    // One branch per key. The other price keys (FBasePrice, the tax and discounted prices) have
    // no branch of their own: the host's actions recompute the row.
    KeyTable<B> table{
        {{"FCustID"}, {&SaleBill::OnCustomer, 0}},
        {{"FDate"}, {&SaleBill::OnDate, 0}},
        {{"FEmpID"}, {&SaleBill::OnEmployee, 0}},
        {{"FBillTypeID"}, {&SaleBill::OnBillType, 0}},
        {{"FCurPayAmount"}, {&SaleBill::OnPayment, 0}},
        {{"FCurCheckAmount", "FNeutralizeAmount"}, {&SaleBill::OnSettlement, 0}},
        {{"FInvoiceType"}, {&SaleBill::OnInvoiceType, 0}},
        {{"FBalanceStyle"}, {&SaleBill::OnBalanceStyle, 0}},
        {{"FDiscountAcctId"}, {&SaleBill::OnDiscountAccount, 0}},
        {{"FTranspotationCharges"}, {&SaleBill::OnCharges, 0}},
        {{"FTranspotationCosts"}, {&SaleBill::OnCosts, 0}},
        // The display-unit keys are the first grid's alone.
        {{"FDisplayPrice", "FDisplayWeight", "FDisplayQty"}, {&SaleBill::OnDisplayedField, 1}},
    };
    const KeyTable<ChangeHandler>::Entry rows[] = {
        {{"FItemID"}, &SaleBill::OnItem},
        {{"FShowUnitID"}, &SaleBill::OnShowUnit},
        {{"FCalTypeID"}, &SaleBill::OnCalType},
        {{"FKFDate", "FKFPeriod", "FPeriodDate"}, &SaleBill::OnShelfLife},
        {{"FSecQty", "FSecPrice", "FQty", "FShowQty", "FSecCoefficient", "FPrice", "FNoDiscAmount"},
         &SaleBill::OnQuantity},
        {{"FAuxPropID"}, &SaleBill::OnProperty},
        {{"FSCStockID"}, &SaleBill::OnStock},
        {{"FBatchNo"}, &SaleBill::OnBatch},
        {{"FAmount", "FInTaxAmount"}, &SaleBill::OnAmount},
        {{"FTaxAmount"}, &SaleBill::OnTaxAmount},
        {{"FPriceDiscount", "FDiscountRate"}, &SaleBill::OnDiscount},
        {{"FClientItemID"}, &SaleBill::OnClientItem},
    };
    for (const auto& branch : rows)
      for (std::string_view key : branch.keys) {
        table.Add(key, {branch.handler, 1});
        table.Add(std::string(key) + SecondGrid().suffix, {branch.handler, 2});
      }
    return table;
  }();
  const std::string key = ResumeOr<std::string>({}, [&] { return vb::CStr(field->Item("FKey")); });
  const B* branch = kBranches.Find(key);
  if (branch && (branch->grid != 2 || rules_.secondGrid)) {
    FieldChange c{key,
                  row,
                  branch->grid == 2 ? SecondGrid() : FirstGrid(),
                  ResumeOr<Variant>({}, [&] { return change ? change->Item("FFLD") : Variant{}; }),
                  field,
                  change,
                  cancel};
    (this->*branch->handler)(c);
  }
  ClearRejectionAfterChange(bill_, key);
}

// --- the head -----------------------------------------------------------------------------------

void SaleBill::OnCustomer(FieldChange&) {
  const auto form = Form();
  const long customer = FieldId(bill_, "FCustID");
  ShowCustomerCredit(form);
  if (customer > 0) FillSalesman(form, customer);
  // The first grid's rows priced again for the customer, unless the user keeps the prices; their
  // codes follow. A second grid keeps its prices.
  ApplyCustomerPrices(form, FirstGrid(), Pricing(), OptionOn("DoNotResetPrice"));
  if (customer >= 1) {
    CalcSettleLimitDate(form);
    FillCustomerContact(form, customer, rules_.contactFill);
  }
}

void SaleBill::OnDate(FieldChange&) {
  if (FieldId(bill_, "FCustID") > 0) CalcSettleLimitDate(Form());
}

void SaleBill::OnEmployee(FieldChange&) { FillEmployeeDepartment(Form()); }

void SaleBill::OnBillType(FieldChange&) {
  ApplyBillLayout();
  if (rules_.byKind) LockSettlementItemColumns();
  HideFieldsByRights();
  calc::ApplyPriceRight(ctx_, bill_);
}

void SaleBill::OnPayment(FieldChange& c) {
  const bool multi = ResumeOr<bool>(
      false, [&] { return c.change && vb::Val(vb::CStr(c.change->Item("MultiItem"))) == 1; });
  SettleAmounts(true, multi);
}

void SaleBill::OnSettlement(FieldChange&) { SettleAmounts(false, false); }

void SaleBill::OnInvoiceType(FieldChange&) {
  const long type = static_cast<long>(FieldNumber(bill_, "FInvoiceType"));
  const bool taxed = type == 2020 || type == 2021;
  ShowTaxColumns(taxed);
  const auto form = Form();
  for (const SalesRowKeys* keys : Grids())
    for (long row = 1, rows = GridRows(bill_, keys->grid); row <= rows; ++row) {
      if (taxed)
        SetRowTaxRate(form, row, *keys);
      else
        calc::SetFieldWithAction(bill_, keys->taxRate, 0, row, false);
    }
}

void SaleBill::OnBalanceStyle(FieldChange&) {
  auto rs = services::OpenRecordsetTolerant(
      ctx_,
      "Select FItemID,FNumber,FName From t_SettleAcct Where FItemID = (Select FAcctID "
      "From t_Settle Where FItemID=" +
          std::to_string(FieldId(bill_, "FBalanceStyle")) + ")");
  if (rs && !rs->Eof()) Resume([&] { bill_.SetFieldValue("FAcctNo", rs->Value("FItemID"), -1); });
}

void SaleBill::OnDiscountAccount(FieldChange&) {
  auto rs = services::OpenRecordsetTolerant(
      ctx_, "select FQuantities,FCurrencyID from t_account where   FAccountID='" +
                std::to_string(FieldId(bill_, "FDiscountAcctId")) + "'");
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
  Refuse(ctx_, bill_, message);
  Resume([&] { bill_.SetFieldValue("FDiscountAcctId", "", -1); });
}

void SaleBill::OnCharges(FieldChange&) { calc::SyncChargesTotal(ctx_, bill_); }

void SaleBill::OnCosts(FieldChange&) { calc::UpdateShareTools(ctx_, bill_); }

// --- the rows -----------------------------------------------------------------------------------

void SaleBill::OnItem(FieldChange& c) {
  ItemChange rules;
  rules.pricing = Pricing();
  rules.askDuplicate = rules_.userOptions && ToolChecked(bill_, "mnuCheckDuplicateItem");
  ApplyItemChange(Form(), c.row, c.keys, rules, c.cancel);
}

void SaleBill::OnShowUnit(FieldChange& c) { ApplyUnitChange(Form(), c.row, c.keys, Pricing()); }

void SaleBill::OnCalType(FieldChange& c) { ApplyCalTypeChange(Form(), c.row, c.keys); }

void SaleBill::OnShelfLife(FieldChange& c) {
  inventory::RecalcShelfLife(bill_, c.field, c.row, c.keys.shelfLife);
}

void SaleBill::OnQuantity(FieldChange& c) { ApplyQuantityChange(Form(), c.row, c.keys, c.key); }

void SaleBill::OnProperty(FieldChange& c) { ApplyPropertyChange(Form(), c.row, c.keys); }

void SaleBill::OnStock(FieldChange& c) {
  ApplyStockChange(Form(), c.row, c.keys, Pricing(), Kind() == SaleKind::kReturn);
}

void SaleBill::OnBatch(FieldChange& c) { ApplyBatchChange(Form(), c.row, c.keys, Pricing()); }

void SaleBill::OnAmount(FieldChange& c) {
  ApplyAmountChange(Form(), c.row, c.keys, vb::UCase(c.key) == vb::UCase(c.keys.inTaxAmount));
}

void SaleBill::OnTaxAmount(FieldChange& c) {
  const double before =
      c.previous.IsEmpty() || c.previous.IsNull() ? 0 : vb::Val(vb::CStr(c.previous));
  ApplyTaxAmountChange(Form(), c.row, c.keys, before);
}

void SaleBill::OnDiscount(FieldChange& c) {
  ApplyDiscountChange(Form(), c.row, c.keys, c.key,
                      ToolChecked(bill_, "mnuOptionPriceCalcDiscount"));
}

void SaleBill::OnClientItem(FieldChange& c) {
  ApplyClientItemCode(Form(), c.row, c.keys, Pricing());
}

void SaleBill::OnDisplayedField(FieldChange& c) {
  ApplyDisplayedFieldChange(Form(), c.row, c.keys, c.key);
}

}  // namespace zov::plugins::sales
