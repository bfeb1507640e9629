// BillEvent_Sale: the sales bill (bill class 1030002) with its kinds delivery (3001), return
// (3002), consignment settlement (3003) and its return (3004). The class reads as its rules: its
// field changes and tool clicks are tables from a key to a small handler, its save and audit
// validation ordered lists of named checks (sale_checks.h); the routines it shares with the other
// sales-family bills are those of bills/common.
#pragma once

#include <string>

#include "bills/common/row_data.h"
#include "bills/common/rule_tables.h"
#include "bills/common/sales_bill_class.h"
#include "bills/common/sales_form.h"

namespace zov::plugins {

// The kinds of the sales bill (FBillTypeID).
enum class SaleKind : long {
  kDelivery = 3001,          // 销售发货, the default of a new bill
  kReturn = 3002,            // a return made from a delivery
  kSettlement = 3003,        // 委托结算, made from a consignment bill
  kSettlementReturn = 3004,  // 委托结算退货单
};
// The two return kinds, whose payment is a refund.
constexpr bool IsReturnKind(SaleKind kind) {
  return kind == SaleKind::kReturn || kind == SaleKind::kSettlementReturn;
}
// The two consignment settlement kinds, whose item columns come from the source bill.
constexpr bool IsSettlementKind(SaleKind kind) {
  return kind == SaleKind::kSettlement || kind == SaleKind::kSettlementReturn;
}

class BillEvent_Sale final : public sales::SalesBillClass<BillEvent_Sale> {
 public:
  ZOV_PLUGIN_NAMES(BillEvent_Sale);
  static constexpr long kClassTypeId = 1030002;
  static constexpr sales::SalesClass kSalesClass{kClassTypeId, kProgId, "t_CC_StockBill",
                                                 "t_CC_StockBillEntry"};

  // Class_Initialize: evaluates the invoice-amount right once.
  explicit BillEvent_Sale(const Ref<host::IHost>& host);

  ZOV_SALES_BILL_HANDLERS;

  // --- public methods ---
  void checkBillSNErr(const Variant& bill, Variant& result) override;

 private:
  using FieldChange = sales::FieldChange;
  using ToolClick = sales::ToolClick;
  using ChangeHandler = void (BillEvent_Sale::*)(FieldChange&);
  using ToolHandler = void (BillEvent_Sale::*)(ToolClick&);

  // --- field changes (sale_change.cc) ---
  void OnCustomer(FieldChange&);
  void OnDate(FieldChange&);
  void OnItem(FieldChange&);
  void OnShowUnit(FieldChange&);
  void OnEmployee(FieldChange&);
  void OnCalType(FieldChange&);
  void OnBillType(FieldChange&);
  void OnShelfLife(FieldChange&);
  void OnPayment(FieldChange&);
  void OnSettlement(FieldChange&);
  void OnInvoiceType(FieldChange&);
  void OnBalanceStyle(FieldChange&);
  void OnQuantity(FieldChange&);
  void OnProperty(FieldChange&);
  void OnStock(FieldChange&);
  void OnBatch(FieldChange&);
  void OnAmount(FieldChange&);
  void OnTaxAmount(FieldChange&);
  void OnDiscountAccount(FieldChange&);
  void OnDiscount(FieldChange&);
  void OnClientItem(FieldChange&);
  void OnCharges(FieldChange&);
  void OnCosts(FieldChange&);
  void OnDisplayedField(FieldChange&);

  // --- form tools (sale_tools.cc) and list tools (sale_list.cc) ---
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
  void DropEmptyRowBeforeSave(ToolClick&);
  void ShareCharges(ToolClick&);
  void Reject(ToolClick&);
  // False, after "请先输入客户。" with the cursor on FCustID and the click cancelled, without one.
  bool CustomerEntered(ToolClick&);
  void RefuseRejectedSelection(ToolClick&);
  void QueryLogisticsFromList(ToolClick&);
  void SwitchLogisticsMode(ToolClick&);
  void InvoiceSelection(ToolClick&);
  void MakeLogisticsFromList(ToolClick&);

  // --- audit (sale_audit.cc) ---
  // The audit check of the bill or of the list's selection; false refuses.
  bool CheckAuditState(bool audit, bool fromList);

  // --- layout (sale_layout.cc) ---
  // Tools, captions, labels, hidden and locked fields by bill kind and form state.
  void ApplyBillLayout();
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
  void Bar(const char* tool, const char* property, bool value);

  // --- settlement (sale_settlement.cc) ---
  // The settlement amounts after a payment, offset or write-off changed (the whole-bill receipt
  // too): FCurCheckAmount against the bill total, and the account cells it needs.
  void SettleAmounts(bool paymentChanged, bool multiAccount);
  // The bill's total: the column sum of FInTaxAmount.
  double BillTotal();

  // --- the class's view of the shared routines ---
  sales::SalesForm Form();
  SaleKind Kind();
  // The price look-up of the sales bill's rows (its gift-stock option).
  sales::PriceLookup Pricing();

  bool invoiceAmountRight_ = false;  // right 15/2010/32, asked once
  long invoiceType_ = 2020;          // the user's last invoice type
  std::string pendingAction_;        // "SAVE" while a save the user asked for is under way

  friend class SaleChecks;
};

}  // namespace zov::plugins
