// Serial numbers of bill rows. A row's FSerialNo holds its serial numbers as one text: entries
// separated by "|", each "serial,note,used" where used is 1 when a later bill already uses the
// serial number. Items flagged serial-managed carry one serial number per base unit.
#pragma once

#include <string>

#include "frame/plugin_context.h"
#include "zov/host/bill.h"

namespace zov::plugins::inventory {

// Whether the item is serial-number managed (t_ICItem.FIsSerialNumMgr; Null is false).
bool IsSerialManaged(PluginContext& ctx, long itemId);

// The serial-number text of row index `rowIndex` of bill `billId` (class `billType`): the
// entries "serial,note,used" joined by "|"; "" when none. On the assembly bills only the serial
// numbers going in (1040005) or going out (1040006) count.
std::string GetSerialList(PluginContext& ctx, long billType, long billId, long rowIndex);
// The same for `row` of the bill: its stored ID, class and the row's index (FIndex2; the row
// number when the row has none).
std::string GetRowSerialList(PluginContext& ctx, host::IBillInterface& bill, long row);

// Fills FSerialNo of every row of grid 1 (serial-managed items from the stored bill, others
// empty), then locks the rows whose serial numbers are used. Not when both the app type and the
// industry type are 1.
void LoadSerials(PluginContext& ctx, host::IBillInterface& bill);
// Locks (`lock` true) or opens the item, quantity, secondary coefficient and quantity and stock
// cells of every row whose serial numbers a later bill uses.
void LockUsedSerialRows(PluginContext& ctx, host::IBillInterface& bill, bool lock);

// Empties the serial-number cells of `row` (or of every row when `row` is below 1) and marks them
// modified; only on the assembly bills (1040005, 1040006) and unless both the app type and the
// industry type are 1.
void ClearSerials(PluginContext& ctx, host::IBillInterface& bill, long row);

// True when a serial number of `row` (in its cell `serialKey`) is already used by a later bill
// (the row must stay).
bool RowHasUsedSerials(host::IBillInterface& bill, long row,
                       std::string_view serialKey = "FSerialNo");

// The number of serial numbers in a row's serial-number text ("" has none).
long CountSerials(std::string_view serials);

// Checks that every serial-managed row carries as many serial numbers as its base quantity. The
// bills of the switch-governed kinds are checked only with "CKSerialNum" on. Rows that fail are
// shown in the stock-information component's list; true when there were any.
bool CheckSerialCounts(PluginContext& ctx, host::IBillInterface& bill);
// Whether CheckSerialCounts checks the bill at all: not when both the app type and the industry
// type are 1, and on the switch-governed bills only with "CKSerialNum" on.
bool SerialCountsApply(PluginContext& ctx, host::IBillInterface& bill);
// The count check of one row of grid 1 without the switch rules, for the row-by-row save checks
// of a bill SerialCountsApply to: true when the row passes; a row that fails is shown in the
// stock-information component's list.
bool CheckRowSerialCount(PluginContext& ctx, host::IBillInterface& bill, long row);

// The sales bill's check before audit: a stored, unaudited bill made from an online order (not a
// consignment settlement, unless `byKind` is false: the second sales bill type reads no kind)
// whose serial counts are wrong. True when errors were shown.
bool checkBillSNErr(PluginContext& ctx, host::IBillInterface& bill, bool byKind = true);
// The same check on stored sales bill `billId`, from the bill list; only with "CKSerialNum" on.
bool checkXSDBillSNErr(PluginContext& ctx, long billId);
// Stored bill `billId` has a batch-managed row without batch: shows "第n行商品需要录入批号" for the
// first such row and returns true.
bool checkXSDBillBatchNoErr(PluginContext& ctx, long billId);

}  // namespace zov::plugins::inventory
