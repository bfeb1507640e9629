// BillEvent_XSCX: the special-price bill (bill class 1030006). Its rows name an item, a unit,
// the item's regular price and the special price for a date and time window, optionally limited
// to chosen customers and to quantities. The class keeps the three price columns consistent,
// lets the person choose the customers through a button it places on the form, draws a help
// note beside the entry grid, checks the bill before it is saved, stores the chosen customers
// after, and audits and invalidates the bill through the special-price server component.
#pragma once

#include <string>
#include <vector>

#include "frame/bill_event_class.h"
#include "frame/control_events.h"

namespace zov::plugins {

class BillEvent_XSCX final : public BillEventClass<BillEvent_XSCX, host::IPriceValidate> {
 public:
  static constexpr const char* kClassName = "BillEvent_XSCX";
  static constexpr const char* kProgId = "ZOV_XS_PlugIns.BillEvent_XSCX";
  static constexpr long kClassTypeId = 1030006;

  explicit BillEvent_XSCX(const Ref<host::IHost>& host) : BillEventClass(host) {}

  // --- bill handlers ---
  void m_BillInterface_AfterCopyBill();
  void m_BillInterface_AfterLoadBill();
  void m_BillInterface_AfterNewBill();
  void m_BillInterface_BeforeSave(bool& cancel);
  void m_BillInterface_BusinessCheck(bool& cancel);
  void m_BillInterface_Change(const Ref<host::IDictionary>& field,
                              const Ref<host::IDictionary>& change, long col, long row,
                              bool& cancel);
  void m_BillInterface_MenuBarClick(const Ref<host::ITool>& tool, bool& cancel);
  void m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>& menuBar);
  void m_BillInterface_SaveBillSuccess(const Variant& v1);

  // --- list handlers ---
  void m_ListInterface_BusinessCheck(bool& cancel);
  void m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>& menuBar);

  // --- events of the controls the class places on the form ---
  // The customer-selection button: the host's selection window over every customer.
  void cmdSelCust_Click();
  // The help note beside the entry grid.
  void pic_Paint();
  // The header customer box: a key press is swallowed, customers come from the button only.
  void objext_ObjectEvent(std::string_view event, std::vector<Variant>& params);

  // --- public methods ---
  // The unit of `row` against its regular price: `result` true only when the row may take the
  // unit (app type 4 with price type 3 and a standard price for the unit).
  void ChkPriceValidate(const Ref<host::IBillInterface>& bill, long row, long priceType,
                        Variant& result) override;

 private:
  using Check = bool (BillEvent_XSCX::*)();
  using ChangeHandler = void (BillEvent_XSCX::*)(long row, bool& cancel);

  // --- open (xscx_open.cc) ---

  // --- customers (xscx_customers.cc) ---
  // The internal IDs of the customers stored with bill `billId`, joined with ","; their names
  // as the customer field shows them.
  std::string LoadCustomerIds(long billId);
  std::string LoadCustomerNames(long billId);
  // Shows `text` in the header customer field (its cell's "FFLD"), marked modified when asked.
  void ShowCustomers(std::string_view text, bool modified);
  // "全部客户" with an empty customer list.
  void ShowAllCustomers(bool modified);

  // --- layout (xscx_layout.cc) ---
  // Tools by the bill's business state, and the app-type-4 price type.
  void ApplyToolState();
  // App type 4: price type 3, and the price type and total limits locked.
  void LockPriceTypeForApp4();
  // The customer box, its selection button and the help note placed on the form.
  void SetupCustomerControls();
  // The selection button shown as the class table shows the customer field.
  void ApplyFieldVisibility();
  // The help note to the right of the entry grid's visible columns.
  void PlaceHelpNote();
  // The header customer edit control (tag ending in "FCUSTOMER"), or empty.
  Ref<host::IControl> FindCustomerBox();
  // The key of the header customer field: the last part of the customer box's tag.
  std::string CustomerKey();
  // Control events, dispatched by name to the handlers above.
  void OnSelCustEvent(std::string_view event, std::vector<Variant>& params);
  void OnPicEvent(std::string_view event, std::vector<Variant>& params);
  void OnCustomerBoxEvent(std::string_view event, std::vector<Variant>& params);

  // --- prices of the rows (xscx_prices.cc) ---
  // The customer the regular prices are looked up for: the one chosen customer that is a detail
  // item, else 0 (none or several).
  long RegularPriceCustomer();
  // Looks up the regular price of `row` for `customer` and writes it into FOldPrice (empty when
  // there is none); returns it (0 for none).
  double FetchRegularPrice(long row, long customer);
  // After an item or unit change: the regular price again and the special price cleared. Always
  // true; with `keepFlags` false the cells of a new bill are marked unmodified after.
  bool UpdateRow(long row, bool keepFlags);
  // Every row with an item priced again; the difference and rate follow when the row has both
  // prices (`needSpecial`) or a regular price.
  void RepriceRows(bool needSpecial);
  // The total limits cleared and their column locked for the price type, the rows re-priced.
  void ApplyPriceType();
  // "特价大于原价！" (or "特价大于原理论单价！" in industry type 1); nothing is refused.
  void WarnSpecialAboveRegular();
  // Writes the row's difference and discount rate for `regular` and `difference`.
  void SetDifferenceAndRate(long row, double regular, double difference);

  // --- field changes (xscx_change.cc) ---
  void ChangePriceType(long row, bool& cancel);
  void ChangeItem(long row, bool& cancel);
  void ChangeUnit(long row, bool& cancel);
  void ChangeSpecialPrice(long row, bool& cancel);
  void ChangeDifference(long row, bool& cancel);
  void ChangeDiscountRate(long row, bool& cancel);
  void ChangeTotalLimit(long row, bool& cancel);
  void ChangeSingleLimit(long row, bool& cancel);
  void ChangeSalesman(long row, bool& cancel);
  // The item's default unit written into the row's unit cell.
  void SetRowDefaultUnit(long row);

  // --- checks (xscx_checks.cc) ---
  bool CheckBillDate();
  // Rows with an item: a regular price, a special price above 0, no item and unit twice.
  bool CheckRows();
  // Shows `message`, puts the cursor on `key` of `row` (none for "") and returns false.
  bool Refuse(std::string_view message, std::string_view key = "", long row = -1);

  // --- audit (xscx_audit.cc) ---
  // The audit question and the server component's audit of the bill, or of the list's
  // selection; false refuses.
  bool CheckAudit(bool fromList);
  // "mnuInvalidBill": the question and the server component's invalidation.
  void InvalidateBill();

  // --- tools (xscx_tools.cc) ---
  void RunRowChecks(bool& cancel);
  void CopyBillRows(bool& cancel);
  void RefuseCopyRow(bool& cancel);
  void RefuseItemFill(bool& cancel);
  void BatchDiscountRate(bool& cancel);
  void InvalidBillTool(bool& cancel);

  // --- field helpers ---
  long RowCount();

  std::string customerIds_;  // the chosen customers' internal IDs joined with ","; "" all
  std::string customerTag_;  // the tag of the header customer edit control
  std::string customerKey_;  // the key of the header customer field
  BoundControl<BillEvent_XSCX> cmdSelCust_;
  BoundControl<BillEvent_XSCX> pic_;
  BoundControl<BillEvent_XSCX> objext_;
};

}  // namespace zov::plugins
