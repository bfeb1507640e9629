// The serial-number manager "ZOVMSerialNumMgr.clsInfo" and the automatic batch-number rule
// "ZOVMBatchNoRule.clsBatchNoRule".
#include <algorithm>
#include <array>

#include "components/component_support.h"
#include "components/host_components.h"
#include "zov/host/components.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::sim::components {

namespace {

class SerialNumMgr final : public vb::Implements<host::ISerialNumMgr> {
 public:
  explicit SerialNumMgr(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "clsInfo"; }

  Ref<host::IRecordset> GetBillSerials(std::string_view, long classTypeId, long billId) override {
    std::string sql =
        "SELECT FID, FItemID, FSerialNo, FNote, FClassTypeID, FBillID, FBillIndexID, FStockID, "
        "FStatus "
        "FROM t_SerialNumList WHERE FBillID=" +
        SqlNumber(billId);
    if (classTypeId > 0) sql += " AND FClassTypeID=" + SqlNumber(classTypeId);
    sql += " ORDER BY FBillIndexID, FID";
    Rows rows = Query(ctx_, host::progid::kSerialNumMgr, sql);
    return Recordset::New(std::move(rows.data()));
  }

 private:
  SessionContext& ctx_;
};

class BatchNoInfo final : public vb::Implements<host::IBatchNoInfo> {
 public:
  BatchNoInfo(long curSerial, long serialLen, std::string prefix)
      : curSerial_(curSerial), serialLen_(serialLen), prefix_(std::move(prefix)) {}
  std::string TypeName() const override { return "BatchNoInfo"; }
  long CurSerial() const override { return curSerial_; }
  long SerialLen() const override { return serialLen_; }
  std::string Prefix() const override { return prefix_; }

 private:
  long curSerial_;
  long serialLen_;
  std::string prefix_;
};

// The rule of an item is its own row of t_BatchNoRule, else the row of item 0, else the bill
// date "yyyyMMdd" with three digits. The current serial is never below the highest serial the
// item already carries under that prefix, so a new batch never repeats an old one.
class BatchNoRule final : public vb::Implements<host::IBatchNoRule> {
 public:
  explicit BatchNoRule(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "clsBatchNoRule"; }

  Ref<host::IBatchNoInfo> GetBatchNo(std::string_view, vb::Date billDate, long itemId) override {
    constexpr const char* kSource = host::progid::kBatchNoRule;
    if (itemId <= 0) Fail(ctx_, kSource, "GetBatchNo", "GetBatchNo: no item");
    const Rows rule =
        Query(ctx_, kSource,
              "SELECT FItemID, FPrefix, FSerialLen, FCurSerial FROM t_BatchNoRule WHERE FItemID=" +
                  SqlNumber(itemId) + " OR FItemID=0 ORDER BY FItemID DESC");
    std::string prefix;
    long length = 3;
    long serial = 0;
    if (!rule.empty()) {
      prefix = rule.Text(0, "FPrefix");
      length = rule.Long(0, "FSerialLen");
      serial = rule.Long(0, "FCurSerial");
    } else {
      prefix = vb::Format(Variant(billDate), "yyyymmdd");
    }
    if (length < 1) length = 3;
    serial = std::max(serial, HighestSerial(itemId, prefix));
    return vb::MakeRef<host::IBatchNoInfo, BatchNoInfo>(serial, length, prefix);
  }

 private:
  // The largest number N among the item's batches "prefix" + N in bills, stock and opening
  // balances.
  long HighestSerial(long itemId, const std::string& prefix) {
    constexpr std::array<const char*, 7> kTables = {
        "t_cc_stockbillentry", "t_cc_ChangeEntry", "t_XS_OrderEntry", "t_cc_inventory",
        "ICInvInitial",        "t_CC_ZZCX_ENTRY",  "t_CC_ZZCX_ENTRY2"};
    long highest = 0;
    for (const char* table : kTables) {
      const Rows rows = Query(ctx_, host::progid::kBatchNoRule,
                              "SELECT DISTINCT FBatchNo FROM " + std::string(table) +
                                  " WHERE FItemID=" + SqlNumber(itemId));
      for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string batch = rows.Text(i, "FBatchNo");
        if (batch.size() <= prefix.size() || batch.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string digits = batch.substr(prefix.size());
        if (digits.size() > 9 ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
          continue;
        highest = std::max(highest, std::stol(digits));
      }
    }
    return highest;
  }

  SessionContext& ctx_;
};

}  // namespace

Ref<vb::IObject> NewSerialNumMgr(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, SerialNumMgr>(ctx);
}
Ref<vb::IObject> NewBatchNoRule(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, BatchNoRule>(ctx);
}

}  // namespace zov::sim::components
