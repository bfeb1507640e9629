// Freight and other header costs spread over the rows as per-row charges, and the header total
// kept in step with the rows' charges.
#pragma once

#include "frame/plugin_context.h"
#include "zov/host/bill.h"

namespace zov::plugins::calc {

// What a row's share is proportional to.
enum class ShareBasis : long { kQuantity = 1, kAmount = 2 };

// Spreads the bill's cost total over the rows of grid 1 as FTranspotationCharges, in proportion
// to each sharing row's FQty or FAmount (their absolute values when `absolute`); rows in a
// virtual stock take no share and get an empty charge. Whatever the column sum then misses of
// the total goes to the last data row (every difference does when the total is negative); an
// excess is taken from the rows upwards from the last one, none set below 0. The cost total is
// FTranspotationCosts (plus FTotaladvanceCosts except on the sales and consignment bills); nothing
// happens when it is 0, when industry type is 0, or, after the message
// "单据中的仓库都为虚仓，不允许进行采购费用分摊。", when no row may take a share.
void AllocateCharges(PluginContext& ctx, ShareBasis basis, host::IBillInterface& bill,
                     bool absolute);
// The same with the basis as the tools pass it: 2 by amount, anything else by quantity.
void AllocateCharges(PluginContext& ctx, long basis, host::IBillInterface& bill, bool absolute);

// Whether `row` takes a share: its stock (FSCStockID on the sales and consignment bills,
// FDCStockID on the others) is empty or not virtual.
bool RowTakesShare(PluginContext& ctx, host::IBillInterface& bill, long row);

// After a row charge changed or a row was deleted: header FTranspotationCosts := the column sum
// of FTranspotationCharges when they differ, then the share tools follow. Only when the host's
// industry type is not 0.
void SyncChargesTotal(PluginContext& ctx, host::IBillInterface& bill);

// Visibility and enabled state of the tools mnuShareByQty and mnuShareByAmt and the header
// FTranspotationCosts. Only when the host's industry type is not 0.
void UpdateShareTools(PluginContext& ctx, host::IBillInterface& bill);

// The share tools and the header cost fields (FTranspotationCosts, FTotaladvanceCosts,
// FTotalProcurementCosts) by whether the bill may be changed now: while it may, the tools as
// UpdateShareTools and the fields open; otherwise the tools disabled and the fields locked. Only
// when the host's industry type is not 0.
void ApplyShareToolsByState(PluginContext& ctx, host::IBillInterface& bill, bool changeable);

}  // namespace zov::plugins::calc
