// The commands and tools the sales-family bills share: the sales bill's query tools of the
// "mnuRelate" menu, the refusal to delete a row whose serial numbers are used, the empty last row
// dropped before a save, the workflow rejection with a note (and its end at the next change), the
// guards of the list commands, and the merged copy of a list.
#pragma once

#include <string_view>

#include "bills/common/sales_form.h"
#include "bills/common/sales_keys.h"
#include "frame/plugin_context.h"
#include "zov/host/bill.h"
#include "zov/host/list.h"
#include "zov/host/toolbar.h"

namespace zov::plugins::sales {

// The sales bill's query, logistics and invoice tools of "mnuRelate" with their two separators,
// and "mnuReject" ("驳回") after "mnuEditCheck".
void AddSaleRelateTools(const Ref<host::IActiveBar>& bar);

// The tools a sales-family layout sets first: no voucher to view yet, save shown and enabled,
// close and un-close hidden, copy shown and enabled as `copyEnabled` says.
void ApplyFixedTools(host::IBillInterface& bill, bool copyEnabled);

// A row (of the grid of `keys`) whose serial numbers other bills already use is not deleted:
// "分录商品中存在已被其他单据使用的S/N号，不能删除！" and `cancel`.
void RefuseUsedSerialRowDelete(PluginContext& ctx, host::IBillInterface& bill, long row,
                               bool& cancel, const SalesRowKeys& keys = FirstGrid());

// A trailing row without item of the grid of `keys` (of two rows or more) is removed from its
// entry data ("Page2", the second grid's "Page3") before the host saves.
void DropEmptyLastRow(host::IBillInterface& bill, const SalesRowKeys& keys = FirstGrid());

// The workflow rejection: the reject-note dialog preset with FRejectedNote; a note confirmed and
// not blank goes to FRejectedNote with FRejectedTime := now and FRejected := "1", and the bill is
// saved. True when the bill was rejected.
bool RejectWithNote(PluginContext& ctx, host::IBillInterface& bill);

// After a change of any field but the rejection's own (FRejectedNote, FRejectedTime, FRejected; any
// letter case) the rejection ends: note and time emptied, FRejected := "0".
void ClearRejectionAfterChange(host::IBillInterface& bill, std::string_view changedKey);

// A rejected bill (FRejected 1) is not deleted: "不能删除驳回状态的单据！" and `cancel`.
void RefuseRejectedDelete(PluginContext& ctx, host::IBillInterface& bill, bool& cancel);

// A list command on a selection holding a bill whose stored `column` (in the class's head table)
// is `value` is refused with `message` and `cancel`; false then.
bool RefuseSelectedBills(PluginContext& ctx, host::IListInterface& list, const SalesClass& cls,
                         std::string_view column, long value, std::string_view message,
                         bool& cancel);
// The express delivery note is printed only with the print right (12/200/64 of the main
// window): otherwise "您没有打印权限。" and `cancel`.
void RefuseExpressPrintWithoutRight(PluginContext& ctx, bool& cancel);

// The bill a list merged from several: FStatus := "0" and FBillTypeID := `kind` in its head data.
void ResetMergedCopy(const Variant& data, std::string_view kind);

}  // namespace zov::plugins::sales
