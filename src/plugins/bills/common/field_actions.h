// The hooks the sales-family bills put on the host's own field actions: the guards before them
// (BeforeDoAction) and what the sales order and the consignment bill finish after them
// (AfterDoAction2).
#pragma once

#include <string_view>

#include "bills/common/sales_form.h"
#include "bills/common/sales_keys.h"
#include "frame/plugin_context.h"
#include "zov/host/bill.h"

namespace zov::plugins::sales {

// The host's action of FAmount or FInTaxAmount on a bill whose amounts do not drive its prices
// (AmountCalcPrice false) would derive a price: it is cancelled.
bool CancelsAmountAction(host::IBillInterface& bill, const Variant& fieldInfo);

// The host's lock action on the batch column of an item (FItemID, FItemID1) under one of its batch
// conditions is cancelled for a batch-managed item not costed by batch (FTrack other than 80): the
// batch rule of the row decides that cell.
bool CancelsBatchLockAction(const Variant& fieldInfo, const Variant& actionData,
                            std::string_view kind, std::string_view name,
                            std::string_view parameter);

// After the host's "Calculate" action (kind "FAction") of `row` on the sales order and the
// consignment bill: when its formulas write FAmount, FInTaxAmount or FTaxAmount, FTaxAmount :=
// FInTaxAmount - FAmount, the cell unmodified; after an action of FShowQty, under industry type 1
// the shown units per secondary unit of a type-3 row, and the row's composite quantity text (kept
// with the stored row).
void ApplyAfterCalculate(const SalesForm& form, const Variant& fieldInfo, std::string_view kind,
                         std::string_view name, std::string_view parameter, long row,
                         const SalesRowKeys& keys);

}  // namespace zov::plugins::sales
