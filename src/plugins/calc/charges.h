// Freight and other header costs spread over the rows as per-row charges, and the header total
// kept in step with the rows' charges.
#pragma once

#include "frame/plugin_context.h"
#include "zov/host/bill.h"

namespace zov::plugins::calc {

// After a row charge changed or a row was deleted: header FTranspotationCosts := the column sum
// of FTranspotationCharges when they differ, then the share tools follow. Only when the host's
// industry type is not 0.
void SyncChargesTotal(PluginContext& ctx, host::IBillInterface& bill);

// Visibility and enabled state of the tools mnuShareByQty and mnuShareByAmt and the header
// FTranspotationCosts. Only when the host's industry type is not 0.
void UpdateShareTools(PluginContext& ctx, host::IBillInterface& bill);

}  // namespace zov::plugins::calc
