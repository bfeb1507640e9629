#include "inventory/batch_numbers.h"

#include <algorithm>
#include <cstdint>

#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/inventory_support.h"
#include "services/login.h"
#include "services/messages.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/error.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins::inventory {

namespace {

bool AllDigits(std::string_view text) {
  return !text.empty() && text.size() <= 18 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool AutoNumbered(host::IBillInterface& bill, long itemId) {
  auto rs = bill.Q7Lib()->Getdata("Select FAutoGenBatchNo From t_ICItem Where FItemID = " +
                                  SqlId(itemId));
  if (!rs || rs->Eof()) return false;
  const Variant v = rs->Value(0L);
  return !v.IsNull() && vb::CBool(v);
}

}  // namespace

std::string CalcNextBatchNo(std::string_view prefix, long serialLen, long curSerial,
                            const std::vector<std::string>& usedBatches) {
  std::int64_t serial = curSerial;
  for (const std::string& batch : usedBatches) {
    if (batch.size() <= prefix.size() || batch.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string_view rest = std::string_view(batch).substr(prefix.size());
    if (!AllDigits(rest)) continue;
    serial = std::max<std::int64_t>(serial, std::stoll(std::string(rest)));
  }
  const std::string width(static_cast<std::size_t>(std::max(serialLen, 0L)), '0');
  if (serialLen > 0 && std::to_string(serial) == std::string(width.size(), '9')) --serial;
  return std::string(prefix) + vb::Format(static_cast<double>(serial + 1), width);
}

void GenerateBatchNo(PluginContext& ctx, host::IBillInterface& bill, long row, bool secondGrid) {
  if (secondGrid)
    GenerateBatchNo(ctx, bill, row, 2, "FCldItemID", "FBatchNo1");
  else
    GenerateBatchNo(ctx, bill, row, 1, "FItemID", "FBatchNo");
}

void GenerateBatchNo(PluginContext& ctx, host::IBillInterface& bill, long row, long grid,
                     std::string_view itemKey, std::string_view batchKey) {
  if (row < 1 || IsCellLocked(bill, batchKey, row)) return;
  try {
    const long itemId = FieldId(bill, itemKey, row);
    if (!AutoNumbered(bill, itemId)) return;
    const vb::Date billDate = vb::DateValue(bill.GetFieldValue("FDate"));
    auto rule = ctx.host().CreateObject(host::progid::kBatchNoRule).As<host::IBatchNoRule>();
    if (!rule)
      throw vb::Error(vb::kErrObjectRequired, "Object required", host::progid::kBatchNoRule);
    auto info = rule->GetBatchNo(services::PropsString(ctx), billDate, itemId);
    if (!info)
      throw vb::Error(vb::kErrObjectVariableNotSet, "Object variable not set",
                      host::progid::kBatchNoRule);

    // Batches the other rows of the item already carry, saved or not.
    std::vector<std::string> used;
    const long rows = GridRows(bill, grid);
    for (long r = 1; r <= rows; ++r)
      if (r != row && FieldId(bill, itemKey, r) == itemId)
        used.push_back(FieldText(bill, batchKey, r));
    bill.SetFieldValue(
        batchKey, CalcNextBatchNo(info->Prefix(), info->SerialLen(), info->CurSerial(), used), row);
  } catch (...) {
    Resume([&] { services::ShowMessage(ctx, "取商品批号出错，请检查批号规则"); });
  }
}

}  // namespace zov::plugins::inventory
