// The guards the sales-family bills put on the host's own field actions (BeforeDoAction).
#pragma once

#include <string_view>

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

}  // namespace zov::plugins::sales
