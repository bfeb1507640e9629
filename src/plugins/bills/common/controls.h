// The save and audit checks the sales-family classes share: the price-limit, credit and overdue
// controls, the stock sufficiency check, the quantities and dates of rows made from source bills,
// and the audit checks of the host's component, the workflow rejection, rebates and serial
// numbers. Each decides, shows its message (or lets the component show its own) and returns false
// when the bill does not pass.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bills/common/sales_form.h"
#include "bills/common/sales_keys.h"
#include "zov/host/list.h"

namespace zov::plugins::sales {

// --- what the save checks read ------------------------------------------------------------------

// A cell with nothing in it: empty, null or blanks.
bool IsBlankCell(const Variant& v);

// A date cell as "YYYY-MM-DD"; an empty or unreadable one as "1900-01-01".
std::string CellDateText(const Variant& v);

// The first day of the current stock period ("CurrentYear", "CurrentPeriod" of "IC") as the
// database gives it; "" when there is none.
std::string CurrentPeriodStart(PluginContext& ctx);

// The flags of t_ICItem a save's row checks ask for, each read once per item and column: the
// checks do not change items.
class ItemFlags {
 public:
  explicit ItemFlags(PluginContext& ctx) : ctx_(ctx) {}
  bool operator()(long item, std::string_view column);

 private:
  PluginContext& ctx_;
  std::map<std::pair<long, std::string_view>, bool> known_;
};

// Weight industry (type 1): the head's freight paid (FTranspotationCosts) is the rows' freight
// (FTranspotationCharges) to the cent. Where it is not, application type 1 writes the rows' total
// to the head's `appType1Key` and passes; any other refuses:
// "表头我方支付运杂费数据与表体运杂费合计不等于！".
bool CheckFreightTotal(const SalesForm& form, std::string_view appType1Key);

// --- save ----------------------------------------------------------------------------------------

// The save-time controls of a bill with a customer: the price limit (CheckLimitPrice, which shows
// its own message) and, with `credit` and the opening stage closed, the credit limit and the
// overdue receivables, each passed only when the component finds nothing or the user agrees to
// go on. `head` receives the customer's "CreditAmount".
bool CheckSaleControls(const SalesForm& form, const Ref<host::IDictionary>& head,
                       const Ref<host::IDictionary>& rows, bool credit = true);

// The stock sufficiency check of a save the user asked for (CheckItemStockNum with "SAVE"): -1
// refuses with the component's text when it has one, 3 refuses silently, anything else passes.
bool CheckStockSufficiency(const SalesForm& form, const Ref<host::IDictionary>& head,
                           const Ref<host::IDictionary>& rows);

// The rows made from source bills, as a class checks them.
struct SourceCheck {
  struct OpenQuantity {
    long sourceClass;    // 1030001 sales order, 1030002 sales bill, 1030003 consignment bill
    const char* column;  // the source row's open quantity: "FUnSendQty", "FUnRejectQty", ...
  };
  std::vector<OpenQuantity> sources;
  // The refusal of a row above what a source bill (not an order) still holds.
  std::string excessMessage;
  // Quantities are checked; without, only the source dates are.
  bool quantities = true;
  // An exceeded order the user does not go on with leaves the cursor on the row's quantity.
  bool cursorOnDeclinedOrder = false;
};
// Each row from a source of `check` must not exceed the source row's open quantity in the source's
// units (a stored bill counts its own earlier quantity as open), and no source may be dated after
// FDate: a later source refuses with "单据日期不能小于分录源单日期" (cursor on FDate), an exceeded
// order asks "存在出库数量超过订单未执行数量的商品，是否继续?" once, an exceeded other source
// refuses with the check's message (cursor on the row's quantity).
bool CheckSourceRows(const SalesForm& form, const SalesRowKeys& keys, const SourceCheck& check);

// --- audit ---------------------------------------------------------------------------------------

// The result of the host's audit check (CheckBill): 1 and 4 pass; 0 and 2 fail, showing the
// component's text from a form; -1 fails, showing its text; anything else fails silently.
bool CheckAuditResult(PluginContext& ctx, long result, const std::string& message, bool fromList);

// CheckBill of the stock-information component on `info` (one bill's head record, or the list's
// selection) for an audit or an un-audit, with its result as above.
bool CheckBillAudit(PluginContext& ctx, const Ref<host::IDictionary>& info, bool audit,
                    bool fromList);

// The audit check of the sales order and the consignment bill from their form: the bill's record
// (ClassTypeID, BillInterID, HeadTableName of the class, BillNo, CustOrSupplyID, AllAmount
// FAllAmount, BillType), refused first for a rejected bill when `refuseRejected`, then CheckBill.
// Passed, the form shows the bill (BillStatus 0) after an audit check and is edited (BillStatus 2)
// after an un-audit check, and the host shows the bill anew.
bool CheckAuditFromForm(const SalesForm& form, bool audit, bool refuseRejected);
// The same for the bills selected in a list (their records from the list); the rejection is asked
// when exactly one bill is selected.
bool CheckAuditFromList(PluginContext& ctx, host::IListInterface& list, const SalesClass& cls,
                        bool audit, bool refuseRejected);

// A bill rejected in the workflow is neither audited nor un-audited:
// "你选择的单据为驳回状态，不允许"
// + ("反" for an un-audit) + "审核，请重新选择。".
bool CheckNotRejected(PluginContext& ctx, const SalesClass& cls, long billId, bool audit);

// A bill that made a rebate bill is not un-audited: "销售单已经生成返利单" + number +
// ",不允许反审核。".
bool CheckNoRebateBill(PluginContext& ctx, const SalesClass& cls, const std::vector<long>& ids);

// With "CKSerialNum" on, every serial-managed row of the bills (of the kinds `kinds`, a comma list;
// "" every kind) must have serial numbers: the first without is named ("第" + index + "行商品--'" +
// name + "'未设置SN号，" ... from a form, "单据：" + number + " 中的商品未设置SN号，" ... from a
// list).
bool CheckSerialNumbersSet(PluginContext& ctx, const SalesClass& cls, const std::vector<long>& ids,
                           bool fromList, std::string_view kinds);

}  // namespace zov::plugins::sales
