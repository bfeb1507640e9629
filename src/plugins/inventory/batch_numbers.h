// Automatic batch numbers: items flagged FAutoGenBatchNo get the next number of their rule
// ("ZOVMBatchNoRule.clsBatchNoRule") when a row is filled.
#pragma once

#include <string>
#include <vector>

#include "frame/plugin_context.h"
#include "zov/host/bill.h"

namespace zov::plugins::inventory {

// The next batch number of a rule: `prefix` followed by serial + 1 in `serialLen` digits, where
// serial is the rule's current serial or the largest `prefix`-numbered batch in `usedBatches`
// when that is larger. A serial of `serialLen` nines is not passed: the result stays at the
// width ("P999" again).
std::string CalcNextBatchNo(std::string_view prefix, long serialLen, long curSerial,
                            const std::vector<std::string>& usedBatches);

// Writes the next batch number into `row`'s FBatchNo (grid 2: FBatchNo1, item FCldItemID) when
// the row's item numbers its batches automatically and the batch cell is not locked. A failure of
// the rule shows "取商品批号出错，请检查批号规则".
void GenerateBatchNo(PluginContext& ctx, host::IBillInterface& bill, long row,
                     bool secondGrid = false);
// The same on the item and batch keys of any grid (the "01" keys of a second grid).
void GenerateBatchNo(PluginContext& ctx, host::IBillInterface& bill, long row, long grid,
                     std::string_view itemKey, std::string_view batchKey);

}  // namespace zov::plugins::inventory
