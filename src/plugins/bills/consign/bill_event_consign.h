// BillEvent_Consign: the consignment sales bill (bill class 1030003), a consignment delivery
// (3010, by hand or from sales orders) or a consignment return (3011, from consignment bills). The
// class reads as its rules: its field changes and tool clicks are tables from a key to a small
// handler, its save checks ordered lists of named checks (consign_checks.h); what it shares with
// the other sales-family bills is in bills/common.
#pragma once

#include <string>
#include <string_view>

#include "bills/common/rule_tables.h"
#include "bills/common/sales_form.h"
#include "frame/bill_event_class.h"

namespace zov::plugins {

// The kinds of the consignment bill (FBillTypeID).
enum class ConsignKind : long {
  kDelivery = 3010,  // goods out on consignment; a copied or merged bill becomes one
  kReturn = 3011,    // goods back from a consignment bill: its item columns are the source's
};

class BillEvent_Consign final : public ProfileBillEventClass<BillEvent_Consign> {
 public:
  ZOV_PLUGIN_NAMES(BillEvent_Consign);
  static constexpr long kClassTypeId = 1030003;
  static constexpr sales::SalesClass kSalesClass{kClassTypeId, kProgId, "t_CC_StockBill",
                                                 "t_CC_StockBillEntry", true};

  explicit BillEvent_Consign(const Ref<host::IHost>& host) : ProfileBillEventClass(host) {}

  ZOV_BILL_HANDLERS(AddNewRow, AfterCopyBill, AfterDeleteRow, AfterDoAction2, AfterFillRow,
                    AfterLoadBill, AfterNewBill, AfterSave, AfterSelBill,
                    AfterSelBillBeforeFillData, BeforeDeleteRow, BeforeDoAction, BeforeDoAction2,
                    BeforeSave, BeginEdit, BusinessCheck, Change, EntryGridRow, MenuBarClick,
                    MenuBarInitialize, UnBusinessCheck);
  ZOV_LIST_HANDLERS(AfterMergeCopyBill, BusinessCheck, MenuBarClick, MenuBarInitialize,
                    UnBusinessCheck);

 private:
  using FieldChange = sales::FieldChange;
  using ToolClick = sales::ToolClick;
  using ChangeHandler = void (BillEvent_Consign::*)(FieldChange&);
  using ToolHandler = void (BillEvent_Consign::*)(ToolClick&);

  // --- field changes (consign_change.cc) ---
  void OnCustomer(FieldChange&);
  void OnItem(FieldChange&);
  void OnShowUnit(FieldChange&);
  void OnEmployee(FieldChange&);
  void OnBillType(FieldChange&);
  void OnShelfLife(FieldChange&);
  void OnCalType(FieldChange&);
  void OnQuantity(FieldChange&);
  void OnProperty(FieldChange&);
  void OnStock(FieldChange&);
  void OnBatch(FieldChange&);
  void OnAmount(FieldChange&);
  void OnTaxAmount(FieldChange&);
  void OnInTaxAmount(FieldChange&);
  void OnDiscount(FieldChange&);
  void OnClientItem(FieldChange&);
  void OnCharges(FieldChange&);
  void OnDisplayedField(FieldChange&);

  // --- tools and commands (consign_tools.cc, consign_list.cc) ---
  void SelectSource(ToolClick&);
  void ShowLookup(ToolClick&);
  void DropEmptyRowBeforeSave(ToolClick&);
  void ShareCharges(ToolClick&);
  void ToggleResetPrice(ToolClick&);
  void RefuseReturnCopy(ToolClick&);

  // --- related-bill windows (consign_lookup.cc) ---
  // The bills a window lists: the settlements or the returns made from this bill, the
  // consignment bills a return was made from, the sales orders a delivery was made from.
  enum class Linked { kSettlements, kReturns, kConsignSources, kOrderSources };
  // The head items of the window: the bill's customer, date, number, totals and linked totals.
  Ref<host::IDictionary> BuildLookupTitles();
  // The columns and records of the linked bills.
  Ref<host::IDictionary> BuildLookupEntries(Linked linked);

  // --- layout (consign_layout.cc) ---
  // The tools, locks, hidden columns and colour of the bill by edit state, kind and status.
  void ApplyConsignLayout();
  // The cost columns are hidden without the cost right.
  void HideCostByRight();
  // The two source-selection tools by kind and by whether the bill is saved.
  void ApplySourceTools();
  // The freight tools and head cost fields: open only while an unaudited bill is made or edited.
  void ApplyFreightByState();
  // A bill given its kind takes the kind's row colour: red for a return, the default otherwise.
  void ColourByKind();
  void Bar(const char* tool, const char* property, bool value);
  // Locks (or shows) the entry columns named in `keys` ("FItemID,FSCStockID").
  enum class ColumnProperty { kLocked, kVisible };
  void SetColumns(std::string_view keys, ColumnProperty property, bool value);

  // --- checks (consign_checks.h, consign_save.cc, consign_audit.cc) ---
  // The host's audit check of the bill from its form, or of the list's selection.
  bool CheckConsignAudit(bool audit, bool fromList);

  // --- the class's view of the shared routines ---
  sales::SalesForm Form();
  ConsignKind Kind();
  long EditState();
  long Status();

  // "SAVE" from a tool click that saves until the next BeforeSave; empty otherwise.
  std::string pendingAction_;
};

}  // namespace zov::plugins
