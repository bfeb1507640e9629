// "ZOVM_XS_PlugIns.CXUpdate": audit and invalidation of special-price bills (T_LS_CX). Auditing
// publishes the bill's rows as special prices in force (t_LS_ItemPrice) and ties the bill's
// chosen customers to its number; invalidating ends the published prices on the day before.
#include "components/component_support.h"
#include "components/host_components.h"
#include "components/stored_bills.h"
#include "zov/host/components.h"
#include "zov/vb/datetime.h"

namespace zov::sim::components {

namespace {

constexpr const char* kSource = host::progid::kCXUpdate;
constexpr long kInvalidated = 2;
// What InvalidBill answers.
constexpr long kDone = 1;
constexpr long kRefused = -1;

class CXUpdate final : public vb::Implements<host::ICXUpdate> {
 public:
  explicit CXUpdate(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "CXUpdate"; }

  bool CheckBill(std::string_view props, const Ref<IDictionary>& bill,
                 std::string& message) override {
    message.clear();
    const auto head = Load("CheckBill", bill, message);
    if (!head) return false;
    const std::string label = "单据[" + head->billNo + "]";
    if (head->status == kAudited) return Refuse(message, label + "已经审核，不能重复审核。");
    if (head->status == kInvalidated) return Refuse(message, label + "已经失效，不能审核。");
    const std::string id = SqlNumber(head->id);
    const Rows rows = Query(ctx_, kSource,
                            "SELECT FIndex, FItemID, FShowUnitID, FNewPrice, FTotalLimitQty, "
                            "FSingleLimitQty FROM T_LS_CXEntry "
                            "WHERE FID=" +
                                id + " AND FItemID>0 ORDER BY FIndex");
    if (rows.empty()) return Refuse(message, label + "没有分录，不能审核。");
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (rows.Num(i, "FNewPrice") <= 0)
        return Refuse(message, label + "第" + std::to_string(rows.Long(i, "FIndex")) +
                                   "行特价必须大于零，不能审核。");
    const Rows window = Query(
        ctx_, kSource,
        "SELECT FBeginDate, FEndDate, FBeginTime, FEndTime, FBranchShop FROM T_LS_CX WHERE FID=" +
            id);
    auto dateOf = [&](std::string_view column) {
      const Variant v = window.At(0, column);
      return v.IsNull() ? std::string("NULL") : SqlDate(vb::DateValue(v));
    };
    const long user = UserOf(ctx_, props);
    InTransaction(ctx_, [&] {
      Execute(ctx_, kSource, "DELETE FROM t_LS_ItemPrice WHERE FXSBillNo=" + SqlText(head->billNo));
      long next = NextId(ctx_, kSource, "t_LS_ItemPrice");
      for (std::size_t i = 0; i < rows.size(); ++i)
        Execute(ctx_, kSource,
                "INSERT INTO t_LS_ItemPrice (FID, FItemID, FUnitID, FBranchShop, FXSBillNo, "
                "FXSPrice, FXSBeginDate, "
                "FXSEndDate, FXSBeginTime, FXSEndTime, FTotalLimitQty, FSingleLimitQty) VALUES (" +
                    SqlNumber(next++) + "," + SqlNumber(rows.Long(i, "FItemID")) + "," +
                    SqlNumber(rows.Long(i, "FShowUnitID")) + "," +
                    SqlNumber(window.Long(0, "FBranchShop")) + "," + SqlText(head->billNo) + "," +
                    SqlNumber(rows.Num(i, "FNewPrice")) + "," + dateOf("FBeginDate") + "," +
                    dateOf("FEndDate") + "," + SqlText(window.Text(0, "FBeginTime")) + "," +
                    SqlText(window.Text(0, "FEndTime")) + "," +
                    SqlNumber(rows.Num(i, "FTotalLimitQty")) + "," +
                    SqlNumber(rows.Num(i, "FSingleLimitQty")) + ")");
      Execute(
          ctx_, kSource,
          "UPDATE T_LS_CX_Customer SET FBillNo=" + SqlText(head->billNo) + " WHERE FBillID=" + id);
      Execute(ctx_, kSource,
              "UPDATE T_LS_CX SET FStatus=1, FCheckerID=" + SqlNumber(user) +
                  ", FCheckDate=" + SqlDate(ctx_.Now(), true) + " WHERE FID=" + id);
    });
    return true;
  }

  long InvalidBill(std::string_view, const Ref<IDictionary>& bill, std::string& message) override {
    message.clear();
    const auto head = Load("InvalidBill", bill, message);
    if (!head) return kRefused;
    if (head->status == kInvalidated) {
      message = "单据[" + head->billNo + "]已经失效。";
      return kRefused;
    }
    const vb::Date yesterday = vb::DateAdd("d", -1, vb::DateValue(Variant(ctx_.Now())));
    InTransaction(ctx_, [&] {
      Execute(ctx_, kSource,
              "UPDATE t_LS_ItemPrice SET FXSEndDate=" + SqlDate(yesterday) +
                  " WHERE FXSBillNo=" + SqlText(head->billNo) +
                  " AND (FXSEndDate IS NULL OR FXSEndDate>" + SqlDate(yesterday) + ")");
      Execute(ctx_, kSource, "UPDATE T_LS_CX SET FStatus=2 WHERE FID=" + SqlNumber(head->id));
    });
    return kDone;
  }

 private:
  static bool Refuse(std::string& message, std::string text) {
    message = std::move(text);
    return false;
  }

  // The special-price bill the record names ("FID"); a refusal message when there is none.
  std::optional<StoredBill> Load(std::string_view member, const Ref<IDictionary>& bill,
                                 std::string& message) {
    if (!bill)
      Fail(ctx_, kSource, member, std::string(member) + ": no bill", vb::kErrObjectRequired);
    const long id = ToLong(Field(bill, {"FID", "BillInterID"}));
    if (id <= 0) {
      message = "请先保存单据。";
      return std::nullopt;
    }
    auto head = LoadBill(ctx_, kSource, "T_LS_CX", id);
    if (!head) message = "单据不存在或已被删除。";
    return head;
  }

  SessionContext& ctx_;
};

}  // namespace

Ref<vb::IObject> NewCXUpdate(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, CXUpdate>(ctx);
}

}  // namespace zov::sim::components
