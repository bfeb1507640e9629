// BillEvent_TempGJ: the opening supplier bill (bill class 1020004, kind always 2030): goods a
// supplier delivered into a stock before the start period and not yet settled. Its rows are
// priced from purchase prices; it is dated before the start period, checked on save as
// temp_gj_save.cc lists, and audited by its server component, after which the form shows it
// locked.
#pragma once

#include "bills/common/rule_tables.h"
#include "bills/common/sales_form.h"
#include "bills/common/sales_keys.h"
#include "frame/bill_event_class.h"

namespace zov::plugins {

class BillEvent_TempGJ final : public BillEventClass<BillEvent_TempGJ> {
 public:
  ZOV_PLUGIN_NAMES(BillEvent_TempGJ);
  static constexpr long kClassTypeId = 1020004;
  static constexpr long kKind = 2030;
  static constexpr sales::SalesClass kSalesClass{kClassTypeId, kProgId, "t_CC_StockBill",
                                                 "t_CC_StockBillEntry", true};

  explicit BillEvent_TempGJ(const Ref<host::IHost>& host) : BillEventClass(host) {}

  ZOV_BILL_HANDLERS(AddNewRow, AfterCopyBill, AfterDeleteRow, AfterDoAction2, AfterFillRow,
                    AfterLoadBill, AfterNewBill, BeforeDoAction, BeforeSave, BeforLoadBillFillData,
                    BusinessCheck, Change, MenuBarClick, MenuBarInitialize, UnBusinessCheck);
  ZOV_LIST_HANDLERS(BusinessCheck, MenuBarClick, MenuBarInitialize, UnBusinessCheck);

  // The row keys of the bill: the sales family's, with the destination stock as the row's stock.
  static const sales::SalesRowKeys& Keys();

 private:
  using FieldChange = sales::FieldChange;
  using ToolClick = sales::ToolClick;
  using ChangeHandler = void (BillEvent_TempGJ::*)(FieldChange&);
  using ToolHandler = void (BillEvent_TempGJ::*)(ToolClick&);

  // --- field changes (temp_gj_change.cc) ---
  void OnSupplier(FieldChange&);
  void OnEmployee(FieldChange&);
  void OnItem(FieldChange&);
  void OnBatch(FieldChange&);
  void OnProperty(FieldChange&);
  void OnShowUnit(FieldChange&);
  void OnQuantity(FieldChange&);
  void OnAmount(FieldChange&);
  void OnTaxAmount(FieldChange&);
  void OnInTaxAmount(FieldChange&);
  void OnShelfLife(FieldChange&);
  void OnCharges(FieldChange&);

  // --- the row of an item (temp_gj_change.cc) ---
  // A cleared item clears the row; a chosen one gets its unit, stock, secondary unit, dates and
  // purchase price.
  void FillSupplierRow(long row);
  // FShowUnitID := the item's default unit for the header supplier.
  void SetRowDefaultUnit(long row);
  // The item's purchase price in `unit`, else the supplier's latest price (with its discount
  // rate into `discountRate`), else 0.
  double GetPurchasePrice(long item, long unit, long supplier, double& discountRate);
  // The purchase price into the row: in the base unit for a weight-calculated item of the
  // weight industry, in the shown unit otherwise.
  void ApplyPurchasePrice(long row);

  // --- tools (temp_gj_tools.cc) ---
  void DropEmptyRow(ToolClick&);
  void ShareCharges(ToolClick&);
  void ShowPriceWindow(ToolClick&);

  // --- layout (temp_gj_layout.cc) ---
  // The kind, the tools and the lock of the whole bill by its audit state.
  void ApplyOpeningLayout();

  // --- audit (temp_gj_audit.cc) ---
  // The form shows the bill as the server component left it.
  void AfterServerAudit();

  sales::SalesForm Form();
};

}  // namespace zov::plugins
