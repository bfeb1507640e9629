// What the two opening-balance bills share: the start period they must be dated before, the
// audit through their server component (from the form and from the list), the batch of a row
// compared with the same batch in the row's stock, how a bill comes onto the form, the end of a
// filled row, and what their save checks work with.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "bills/common/controls.h"
#include "bills/common/sales_form.h"
#include "frame/plugin_context.h"
#include "zov/host/bill.h"
#include "zov/host/list.h"

namespace zov::plugins::sales {

// The first day of the start period named by the system profile ("StartYear", "StartPeriod"
// of "IC") as "YYYY-MM-DD"; "" when the account set has no such period.
std::string OpeningStartDate(PluginContext& ctx);

// A new opening bill is dated the day before the start period (left as it is without one).
void ApplyOpeningBillDate(PluginContext& ctx, host::IBillInterface& bill);

// How an opening bill came onto the form.
enum class OpeningShown { kNew, kLoaded, kCopied };

// An opening bill onto the form: a new one is first dated as ApplyOpeningBillDate says; then
// `applyLayout` (the class's tools by state); a loaded or copied one gets the weight industry's row
// locks (industry type 1); a new or loaded one then has every cell unmodified.
void ShowOpeningBill(PluginContext& ctx, host::IBillInterface& bill, OpeningShown how,
                     const std::function<void()>& applyLayout);

// The end of a row of an opening bill filled by an import or a barcode: the barcode of its item in
// its unit, and under industry type 1 the weight industry's row locks.
void FinishOpeningFilledRow(PluginContext& ctx, host::IBillInterface& bill, long row);

// FDate must lie before the start period: "只能录入启用期间以前的单据", cursor on FDate.
bool CheckOpeningBillDate(PluginContext& ctx, host::IBillInterface& bill);

// The stored bill is audited (true) or un-audited by the server component `progId`, which
// decides; what it says is shown (a refused audit, or any message of an un-audit). The host's
// action is never cancelled here: the component has done it or not.
void RunOpeningAudit(PluginContext& ctx, host::IBillInterface& bill, const char* progId,
                     bool audit);

// The list's selected bills audited (true) or un-audited by the component `progId` in one batch;
// its messages shown: one in a message box, several in the message list window.
void RunOpeningListAudit(PluginContext& ctx, host::IListInterface& list, const char* progId,
                         bool audit);

// The batch of `row` compared with the same batch in the row's stock (`stockKey`): a batch the
// stock holds with another attribute, production date, shelf life or expiry date shows why, takes
// the stock's values in the cells not locked and puts the cursor on `cursorKey`. A batch the
// stock does not hold passes: the opening bill brings it.
bool CheckOpeningRowBatch(PluginContext& ctx, host::IBillInterface& bill, long row,
                          std::string_view stockKey, std::string_view cursorKey);

// The shelf life of a new item in `row`: FKFPeriod from the item; for a shelf-life item an empty
// FKFDate becomes the bill date and FPeriodDate := FKFDate + FKFPeriod days.
void ApplyOpeningShelfLife(const SalesForm& form, long row, long item);

// What the save checks of an opening bill work with: the form, a refusal with the cursor on its
// cell, and the items' flags.
class OpeningChecks {
 public:
  explicit OpeningChecks(const SalesForm& form) : form_(form), bill_(form.bill) {}

 protected:
  bool Refuse(std::string_view message, std::string_view key = "", long row = -1) {
    return sales::Refuse(form_.ctx, bill_, message, key, row);
  }
  // The item's flag `column` of t_ICItem, read once per item and save.
  bool ItemFlag(long item, std::string_view column) { return itemFlags_(item, column); }

  SalesForm form_;
  host::IBillInterface& bill_;
  ItemFlags itemFlags_{form_.ctx};
};

}  // namespace zov::plugins::sales
