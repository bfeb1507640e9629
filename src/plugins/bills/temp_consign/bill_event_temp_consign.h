// BillEvent_TempConsign: the opening consignment bill (bill class 1030004): goods a customer held
// on consignment before the start period, not yet settled or returned. It is priced and costed as
// the consignment bill, dated before the start period, checked on save as temp_consign_save.cc
// lists, and audited by its server component.
#pragma once

#include "bills/common/rule_tables.h"
#include "bills/common/sales_form.h"
#include "frame/bill_event_class.h"

namespace zov::plugins {

class BillEvent_TempConsign final
    : public BillEventClass<BillEvent_TempConsign, host::IVirtualStockCheck> {
 public:
  ZOV_PLUGIN_NAMES(BillEvent_TempConsign);
  static constexpr long kClassTypeId = 1030004;
  static constexpr sales::SalesClass kSalesClass{kClassTypeId, kProgId, "t_CC_StockBill",
                                                 "t_CC_StockBillEntry", true};

  explicit BillEvent_TempConsign(const Ref<host::IHost>& host) : BillEventClass(host) {}

  ZOV_BILL_HANDLERS(AddNewRow, AfterCopyBill, AfterDeleteRow, AfterDoAction2, AfterFillRow,
                    AfterLoadBill, AfterNewBill, AfterSave, BeforeDoAction, BeforeSave,
                    BusinessCheck, Change, MenuBarClick, MenuBarInitialize, UnBusinessCheck);
  ZOV_LIST_HANDLERS(BusinessCheck, MenuBarClick, MenuBarInitialize, UnBusinessCheck);

  // --- public methods ---
  // True when the stock is a virtual (gift) stock, type 502; false for any other id.
  void IsIsVirtualStock(long stockId, Variant& result) override;

 private:
  using FieldChange = sales::FieldChange;
  using ToolClick = sales::ToolClick;
  using ChangeHandler = void (BillEvent_TempConsign::*)(FieldChange&);
  using ToolHandler = void (BillEvent_TempConsign::*)(ToolClick&);

  // --- field changes (temp_consign_change.cc) ---
  void OnCustomer(FieldChange&);
  void OnItem(FieldChange&);
  void OnShowUnit(FieldChange&);
  void OnProperty(FieldChange&);
  void OnEmployee(FieldChange&);
  void OnShelfLife(FieldChange&);
  void OnQuantity(FieldChange&);
  void OnStock(FieldChange&);
  void OnAmount(FieldChange&);
  void OnTaxAmount(FieldChange&);
  void OnInTaxAmount(FieldChange&);
  void OnCharges(FieldChange&);
  void OnDiscount(FieldChange&);

  // The cost cells of a row in a virtual stock are locked (it keeps no cost), open otherwise.
  void ApplyCostLocks(long row);

  // --- tools (temp_consign_tools.cc) ---
  void DropEmptyRow(ToolClick&);
  void ShareCharges(ToolClick&);

  // --- layout and audit (temp_consign_layout.cc) ---
  // The tools of the bill by edit state and audit state.
  void ApplyOpeningLayout();
  // The server-side audit (true) or un-audit of the bill; reports, never refuses.
  void RunServerAudit(bool audit);
  // The same for the list's selection.
  void RunServerBatchAudit(bool audit);

  sales::SalesForm Form();
};

}  // namespace zov::plugins
