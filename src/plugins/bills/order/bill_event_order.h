// BillEvent_Order: the sales order (bill class 1030001), an ordinary order (3031) or an online
// order taken over from a web shop (3032). The class reads as its rules: its field changes and
// tool clicks are tables from a key to a small handler, its save checks ordered lists of named
// checks (order_checks.h); what it shares with the other sales-family bills is in bills/common.
#pragma once

#include <string>

#include "bills/common/row_data.h"
#include "bills/common/rule_tables.h"
#include "bills/common/sales_form.h"
#include "frame/bill_event_class.h"

namespace zov::plugins {

// The kinds of the sales order (FBillTypeID).
enum class OrderKind : long {
  kOrdinary = 3031,  // entered here; a new order saved without kind becomes one
  kOnline = 3032,    // taken over from a web shop: its head is locked, it is not copied
};

// The business state of an order (FStatus) beyond not audited (0) and audited (1).
inline constexpr long kOrderClosed = 2;

class BillEvent_Order final : public ProfileBillEventClass<BillEvent_Order> {
 public:
  ZOV_PLUGIN_NAMES(BillEvent_Order);
  static constexpr long kClassTypeId = 1030001;
  // The order's rows carry no stock of their own.
  static constexpr sales::SalesClass kSalesClass{kClassTypeId, kProgId, "t_XS_Order",
                                                 "t_XS_OrderEntry", false};

  explicit BillEvent_Order(const Ref<host::IHost>& host) : ProfileBillEventClass(host) {}

  ZOV_BILL_HANDLERS(AfterCopyBill, AfterDoAction2, AfterFillRow, AfterLoadBill, AfterNewBill,
                    AfterSave, BeforeDoAction, BeforeSave, BusinessCheck, Change, EntryGridRow,
                    MenuBarClick, MenuBarInitialize, UnBusinessCheck);
  ZOV_LIST_HANDLERS(AfterCopyBillCreateData, BusinessCheck, MenuBarClick, MenuBarInitialize,
                    UnBusinessCheck);

 private:
  using FieldChange = sales::FieldChange;
  using ToolClick = sales::ToolClick;
  using ChangeHandler = void (BillEvent_Order::*)(FieldChange&);
  using ToolHandler = void (BillEvent_Order::*)(ToolClick&);

  // --- field changes (order_change.cc) ---
  void OnCustomer(FieldChange&);
  void OnEmployee(FieldChange&);
  void OnItem(FieldChange&);
  void OnShowUnit(FieldChange&);
  void OnQuantity(FieldChange&);
  void OnCalType(FieldChange&);
  void OnProperty(FieldChange&);
  void OnAmount(FieldChange&);
  void OnTaxAmount(FieldChange&);
  void OnInTaxAmount(FieldChange&);
  void OnDiscount(FieldChange&);
  void OnClientItem(FieldChange&);
  void OnDisplayedField(FieldChange&);
  void OnUndiscountedAmount(FieldChange&);
  void OnDiscountAmount(FieldChange&);
  void OnWebFreight(FieldChange&);

  // --- availability (order_availability.cc) ---
  // Stock on hand, on purchase order, on sales orders and available of the row's item and
  // property, in the shown unit (written with action when `withAction`) and, under industry type
  // 1, in the base unit.
  void RefreshRowAvailability(long row, bool withAction);
  // The composite quantity text of every row that has none, kept with the stored rows.
  void CompleteComplexQtyTexts();

  // --- form and list tools (order_tools.cc, order_list.cc) ---
  void ToggleResetPrice(ToolClick&);
  void RefuseRejectedDelete(ToolClick&);
  void Reject(ToolClick&);
  void CloseOrReopen(ToolClick&);
  void ShowLookup(ToolClick&);
  void DropEmptyRowBeforeSave(ToolClick&);
  // False, after "请先保存单据" and the click cancelled, for an order not saved yet.
  bool Saved(ToolClick&);
  void RefuseOnlineCopy(ToolClick&);
  void RefuseRejectedListDelete(ToolClick&);

  // --- related-bill windows (order_lookup.cc) ---
  // The head items of the window: the order's customer, date, number and totals.
  Ref<host::IDictionary> BuildLookupTitles(long lookupKind);
  // The columns and records: 0 the stock bills made from the order and from those, 1020001 the
  // purchase orders made from it.
  Ref<host::IDictionary> BuildLookupEntries(long lookupKind);

  // --- checks (order_save.cc, order_audit.cc) ---
  // Mode 1 the save of an unaudited order, 5 close, 6 un-close: true when the order passes.
  bool CheckOrder(long mode);
  // The audit (or un-audit) check of the order from the form or of the list's selection.
  bool CheckOrderAudit(bool audit, bool fromList);

  // --- layout (order_layout.cc) ---
  // Caption, web-order fields, head locks and edit tools by kind and edit state.
  void ApplyOrderLayout();
  // The head cells of an online order are locked: they are the web shop's.
  void LockOnlineOrderHead();
  // The audit, close, query, push and reject tools by business status and edit state.
  void ApplyOrderToolStates();
  // "[修改]", "[新增]" or "[查看]" by the edit state.
  std::string GetEditModeText();
  // The tools of a rejected order: neither audited nor deleted, nor copied.
  void ApplyRejectedTools();
  void Bar(const char* tool, const char* property, bool value);

  // --- the class's view of the shared routines ---
  sales::SalesForm Form();
  OrderKind Kind();
  long EditState();
  long Status();
};

}  // namespace zov::plugins
