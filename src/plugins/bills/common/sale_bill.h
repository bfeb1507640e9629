// The sales bill and its second type (the sales bill with a second entry grid of "01" rows): what
// both classes do on their forms and lists, written once over the rules that set them apart
// (SaleBillRules). A class keeps its state (SaleBillState) and hands each event to a SaleBill or
// SaleBillList made for it.
//
//   sale_bill_open.cc     new, load, copy, source selection, row events, after save
//   sale_bill_change.cc   field changes: a table from the changed key to a small handler
//   sale_bill_layout.cc   tools, captions, columns and cells by kind, state and rights
//   sale_bill_tools.cc    the form's tools and the settlement amounts
//   sale_bill_save.cc     save, audit and the field-action hooks (the checks: sale_bill_checks.h)
//   sale_bill_list.cc     the list's tools, audit and merged copy
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bills/common/customer.h"
#include "bills/common/invoice.h"
#include "bills/common/row_data.h"
#include "bills/common/sale_kinds.h"
#include "bills/common/sales_form.h"
#include "bills/common/sales_keys.h"
#include "calc/prices.h"
#include "zov/host/list.h"
#include "zov/host/toolbar.h"

namespace zov::plugins::sales {

// What sets the sales bill and its second type apart; every member is the sales bill's rule
// unless a class says otherwise.
struct SaleBillRules {
  SalesClass cls;
  // The user-profile section of the user's last invoice type ("XS" + the bill class).
  std::string_view invoiceSection;
  // The kind (FBillTypeID 3001..3004) shapes the form: tools by kind, captions and labels, the
  // return kinds' text colour, hidden order columns, the consignment settlement's locked item
  // columns, the source filter and the edit-state tools.
  bool byKind = true;
  // A second grid of "01" rows: the row branches, row checks, tax columns, cost right, row events
  // and field-action hooks serve it too.
  bool secondGrid = false;
  // The user's options: the duplicate-item question, keeping row prices on a customer change,
  // no look-up in gift stocks (tools "mnuCheckDuplicateItem", "mnuDoNotResetPrice",
  // "mnuDoNotGetSalePriceWhenGiftStock").
  bool userOptions = true;
  // A stock change prices a row only without source bill and again in a gift stock; otherwise
  // whenever the row has no price.
  bool stockPriceConditions = true;
  // Row costs follow the system option "StockOutCalCost".
  bool costByStockOutOption = false;
  // What a customer change takes of the customer's contact data.
  ContactFill contactFill = ContactFill::kFirstContact;
  // After a source selection: the bar-code tool, shelf-life dates, default stocks and the
  // settlement date; otherwise the customer's address.
  bool sourceRowDefaults = true;
  // After a save: the bill's contact back to the customer (with the pop-up tip); otherwise the
  // receive address back to the record chosen in the control "FRECEIVEADDR".
  bool contactWriteBack = true;
  // --- save ---
  // "AllowDiscountRateOver100" lets rates above 100 pass.
  bool over100Option = true;
  // The wording of the first discount check of BeforeSave.
  calc::DiscountWording saveDiscountWording = calc::DiscountWording::kAnd;
  // "IsPeriodDateExpireNotSale": expired goods are not sold.
  bool expiryCheck = true;
  // "UnderStockBeforeSave": the stock sufficiency check of a save the user asked for.
  bool stockCheck = true;
  // Source rows are held to their open quantities (the order question, the refusal of a source
  // bill); otherwise only to their dates.
  bool sourceQuantities = true;
  // The credit and overdue controls besides the price limit.
  bool creditControls = true;
  // --- audit ---
  // The kinds whose rows must carry serial numbers before an audit; "" every kind.
  std::string_view serialKinds = "3001,3003";
  // checkBillSNErr leaves consignment settlements (3003) alone.
  bool serialCheckByKind = true;
  // --- tools ---
  InvoiceTexts invoiceTexts = kInvoiceTexts;
  // The list's electronic invoice ("mnu_MakeTzeInvoice").
  bool listInvoice = true;
};

// What a sales-bill class keeps between the events of its form.
struct SaleBillState {
  long invoiceType = 2020;  // the user's last invoice type
  // The invoice-amount right (15/2010/32), asked once when the class is made; unset, it is asked
  // whenever the layout hides fields by rights.
  std::optional<bool> invoiceAmountRight;
  std::string pendingAction;  // "SAVE" while a save the user asked for is under way
};

// The events of one bill form of the sales bill or its second type.
class SaleBill {
 public:
  SaleBill(PluginContext& ctx, host::IBillInterface& bill, const SaleBillRules& rules,
           SaleBillState& state);

  // --- rows and open (sale_bill_open.cc) ---
  void AddNewRow(long row);
  // `grid` is the host's grid index (2: the second grid).
  void BeforeDeleteRow(const Variant& grid, long row, bool& cancel);
  void AfterDeleteRow();
  void EntryGridRow(const Variant& grid, long row);
  void AfterNewBill();
  void AfterLoadBill();
  void AfterCopyBill();
  void BeforeSelBills(std::string& filter);
  void AfterSelBillBeforeFillData(const Variant& selection);
  void AfterSelBill();
  void AfterFillRow(long row, const Variant& grid);
  void AfterSave();

  // --- field changes (sale_bill_change.cc) ---
  void Change(const Ref<host::IDictionary>& field, const Ref<host::IDictionary>& change, long row,
              bool& cancel);

  // --- save, audit and field actions (sale_bill_save.cc) ---
  void BeforeSave(bool& cancel);
  void BusinessCheck(bool& cancel);
  void UnBusinessCheck(bool& cancel);
  void BeforeDoAction(const Variant& fieldInfo, const Variant& actionData, const std::string& kind,
                      const std::string& name, const std::string& parameter, bool& cancel);
  void AfterDoAction2(const Variant& fieldInfo, const std::string& kind, const std::string& name,
                      const std::string& parameter, long row);

  // --- tools (sale_bill_tools.cc) ---
  void MenuBarInitialize(const Ref<host::IActiveBar>& bar);
  void MenuBarClick(const Ref<host::ITool>& tool, bool& cancel);

  // --- layout (sale_bill_layout.cc) ---
  void BeginEdit();

 private:
  // A field change as its handler sees it.
  struct FieldChange {
    std::string key;                // the changed field's key as the host spells it
    long row;                       // -1 for a head field
    const SalesRowKeys& keys;       // the grid of a row field
    Variant previous;               // the cell's value before the change
    Ref<host::IDictionary> field;   // the host's descriptor of the field
    Ref<host::IDictionary> change;  // the host's record of the change
    bool& cancel;
  };
  // A tool click as its handler sees it.
  struct ToolClick {
    Ref<host::ITool> tool;
    std::string key;
    bool& cancel;
  };
  using ChangeHandler = void (SaleBill::*)(FieldChange&);
  using ToolHandler = void (SaleBill::*)(ToolClick&);

  // --- field changes ---
  void OnCustomer(FieldChange&);
  void OnDate(FieldChange&);
  void OnEmployee(FieldChange&);
  void OnBillType(FieldChange&);
  void OnPayment(FieldChange&);
  void OnSettlement(FieldChange&);
  void OnInvoiceType(FieldChange&);
  void OnBalanceStyle(FieldChange&);
  void OnDiscountAccount(FieldChange&);
  void OnCharges(FieldChange&);
  void OnCosts(FieldChange&);
  void OnItem(FieldChange&);
  void OnShowUnit(FieldChange&);
  void OnCalType(FieldChange&);
  void OnShelfLife(FieldChange&);
  void OnQuantity(FieldChange&);
  void OnProperty(FieldChange&);
  void OnStock(FieldChange&);
  void OnBatch(FieldChange&);
  void OnAmount(FieldChange&);
  void OnTaxAmount(FieldChange&);
  void OnDiscount(FieldChange&);
  void OnClientItem(FieldChange&);
  void OnDisplayedField(FieldChange&);

  // --- tools ---
  void ToggleOption(ToolClick&);
  void TogglePriceCalcDiscount(ToolClick&);
  void RefuseRejectedDelete(ToolClick&);
  void ReceiveWholeBill(ToolClick&);
  void CopyUnaudited(ToolClick&);
  void ChooseSource(ToolClick&);
  void QueryPayIn(ToolClick&);
  void QuerySaleOrder(ToolClick&);
  void QueryPurchase(ToolClick&);
  void QueryFollowUp(ToolClick&);
  void MakeLogistics(ToolClick&);
  void QueryLogistics(ToolClick&);
  void PrintExpressNote(ToolClick&);
  void PushReceipt(ToolClick&);
  void PushInvoice(ToolClick&);
  void OffsetAdvanceReceipts(ToolClick&);
  void DropEmptyRowsBeforeSave(ToolClick&);
  void ShareCharges(ToolClick&);
  void Reject(ToolClick&);
  // False, after "请先输入客户。" with the cursor on FCustID and the click cancelled, without one.
  bool CustomerEntered(ToolClick&);

  // --- audit ---
  // The audit check of the bill; false refuses.
  bool CheckAuditState(bool audit);

  // --- layout ---
  // Tools, captions, labels, hidden and locked fields by the bill's kind and the form's state.
  void ApplyBillLayout();
  // The tools shown by kind, with the kind's captions, labels and columns.
  void ApplyKindLayout(SaleKind kind);
  // Tools that depend on the edit state of the form.
  void ApplyEditState();
  // Cost fields without the cost right, invoice-amount fields without that right.
  void HideFieldsByRights();
  // The weight industry's set-up of the rows (locks by unit and calculation type).
  void ApplyIndustrySetup();
  // The settlement cells of a loaded bill by the payment stored with it.
  void LockPaymentCells();
  // The item columns a consignment settlement takes from its source: locked for 3003 and 3004.
  void LockSettlementItemColumns();
  // The tax columns of every grid by the invoice type: shown as the template defines them for
  // invoices with tax (2020, 2021), hidden otherwise.
  void ShowTaxColumns(bool taxed);
  void Bar(const char* tool, const char* property, bool value);

  // --- settlement (sale_bill_tools.cc) ---
  // The settlement amounts after a payment, offset or write-off changed (the whole-bill receipt
  // too): FCurCheckAmount against the bill total, and the account cells it needs.
  void SettleAmounts(bool paymentChanged, bool multiAccount);
  // The bill's total: the column sum of FInTaxAmount (the first grid's rows).
  double BillTotal();

  // --- after a save ---
  // The receive address goes back to the contact or stored delivery address chosen in the
  // control "FRECEIVEADDR".
  void WriteBackReceiveAddress();

  // --- the view of the shared row routines ---
  SalesForm Form() const { return {ctx_, bill_, rules_.cls}; }
  SaleKind Kind();
  // The grids whose rows the bill has: the first, and the "01" grid.
  std::vector<const SalesRowKeys*> Grids() const;
  // The grid of the host's grid index `grid` (an event's argument).
  const SalesRowKeys& GridOf(const Variant& grid) const;
  // How the bill's rows are priced and costed.
  PriceLookup Pricing();
  bool OptionOn(const char* option);

  PluginContext& ctx_;
  host::IBillInterface& bill_;
  const SaleBillRules& rules_;
  SaleBillState& state_;
};

// The events of the bill list of the sales bill or its second type.
class SaleBillList {
 public:
  SaleBillList(PluginContext& ctx, host::IListInterface& list, const SaleBillRules& rules);

  void AfterMergeCopyBill(const Variant& data);
  void MenuBarInitialize(const Ref<host::IActiveBar>& bar);
  void MenuBarClick(const Ref<host::ITool>& tool, bool& cancel);
  // The audit check of the selected bills; a failure is only reported (the list does not cancel).
  void CheckAuditState(bool audit);

 private:
  struct ToolClick {
    Ref<host::ITool> tool;
    std::string key;
    bool& cancel;
  };
  using ToolHandler = void (SaleBillList::*)(ToolClick&);

  void RefuseRejectedSelection(ToolClick&);
  void PrintExpressNote(ToolClick&);
  void QueryLogistics(ToolClick&);
  void SwitchLogisticsMode(ToolClick&);
  void InvoiceSelection(ToolClick&);
  void MakeLogistics(ToolClick&);
  std::vector<long> Selected();
  // A column of the stored bill `id`, as text.
  std::string StoredColumn(long id, const char* column);

  PluginContext& ctx_;
  host::IListInterface& list_;
  const SaleBillRules& rules_;
};

}  // namespace zov::plugins::sales
