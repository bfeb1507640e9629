// The server components of the opening-balance bills, "ZOVM_XS_PlugIns.TempConsignUpdate"
// (opening consignment bills, class 1030004) and "ZOVM_XS_PlugIns.TempGJUpdate" (opening supplier
// bills, class 1020004): audit and un-audit with their checks, one bill or a list's selection,
// and the column totals the related-bill windows show. "ZOVM_CG_PlugIns.GJUpdate" gives the same
// totals for the purchase side.
#include "components/component_support.h"
#include "components/host_components.h"
#include "components/stored_bills.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::sim::components {

namespace {

constexpr long kPurchaseBillClass = 1020002;

// Column totals of stock bills: the bill's own rows and the rows of the bills made from it.
class StockBillSums {
 public:
  StockBillSums(SessionContext& ctx, const char* source) : ctx_(ctx), source_(source) {}

  double FieldSum(std::string_view member, long billId, std::string_view fieldKey) {
    const std::string column = vb::Trim(fieldKey);
    if (!IsIdentifier(column))
      Fail(ctx_, source_, member,
           std::string(member) + ": " + std::string(fieldKey) + " is not a field of the bill rows");
    return Sum("SELECT ISNULL(SUM(" + column +
               "),0) AS FSum FROM t_cc_stockbillentry WHERE FID=" + SqlNumber(billId));
  }

  // The rows of other bills whose source is the bill.
  double LinkedSum(long billId, const char* column) {
    const long cls = ClassOf(billId);
    if (cls == 0) return 0;
    return Sum("SELECT ISNULL(SUM(" + std::string(column) +
               "),0) AS FSum FROM t_cc_stockbillentry WHERE FClassID_SRC=" + SqlNumber(cls) +
               " AND FID_SRC=" + SqlNumber(billId));
  }

  // The purchase-bill rows linked with the bill either way: those its rows were made from, and
  // those made from it.
  double PurchaseLinkedSum(long billId, const char* column) {
    double total = 0;
    const Rows sources = Query(
        ctx_, source_,
        "SELECT DISTINCT FEntryID_SRC FROM t_cc_stockbillentry WHERE FID=" + SqlNumber(billId) +
            " AND FClassID_SRC=" + SqlNumber(kPurchaseBillClass) + " AND FEntryID_SRC>0");
    if (!sources.empty()) {
      std::vector<std::string> ids;
      for (std::size_t i = 0; i < sources.size(); ++i)
        ids.push_back(SqlNumber(sources.Long(i, "FEntryID_SRC")));
      total += Sum("SELECT ISNULL(SUM(" + std::string(column) +
                   "),0) AS FSum FROM t_cc_stockbillentry WHERE FEntryID In(" + vb::Join(ids, ",") +
                   ")");
    }
    if (const long cls = ClassOf(billId); cls != 0)
      total += Sum("SELECT ISNULL(SUM(e." + std::string(column) +
                   "),0) AS FSum FROM t_cc_stockbillentry e INNER JOIN "
                   "t_cc_stockbill b ON b.FID=e.FID WHERE b.FClassTypeID=" +
                   SqlNumber(kPurchaseBillClass) + " AND e.FClassID_SRC=" + SqlNumber(cls) +
                   " AND e.FID_SRC=" + SqlNumber(billId));
    return total;
  }

 private:
  long ClassOf(long billId) {
    const Rows rows = Query(
        ctx_, source_, "SELECT FClassTypeID FROM t_cc_stockbill WHERE FID=" + SqlNumber(billId));
    return rows.empty() ? 0 : rows.Long(0, "FClassTypeID");
  }

  double Sum(const std::string& sql) {
    const Rows rows = Query(ctx_, source_, sql);
    return rows.empty() ? 0 : rows.Num(0, "FSum");
  }

  SessionContext& ctx_;
  const char* source_;
};

// One opening-balance bill class.
struct OpeningBillKind {
  const char* progId;
  long classTypeId;
  const char* partnerColumn;   // FCustID or FSupplyID
  const char* partnerMissing;  // the refusal when the bill has no partner
};

constexpr OpeningBillKind kTempConsign{host::progid::kTempConsignUpdate, 1030004, "FCustID",
                                       "请先录入客户。"};
constexpr OpeningBillKind kTempGJ{host::progid::kTempGJUpdate, 1020004, "FSupplyID",
                                  "请先录入供应商。"};

class TempBillUpdate final : public vb::Implements<host::ITempBillUpdate> {
 public:
  TempBillUpdate(SessionContext& ctx, const OpeningBillKind& kind)
      : ctx_(ctx), kind_(kind), sums_(ctx, kind.progId) {}
  std::string TypeName() const override {
    return kind_.classTypeId == kTempConsign.classTypeId ? "TempConsignUpdate" : "TempGJUpdate";
  }

  bool CheckBill(std::string_view props, long billId, bool audit, std::string& message) override {
    message.clear();
    const auto bill = LoadBill(ctx_, kind_.progId, "t_cc_stockbill", billId);
    if (!bill || bill->classTypeId != kind_.classTypeId) {
      message = "单据不存在或已被删除。";
      return false;
    }
    const std::string label = "单据[" + bill->billNo + "]";
    if (audit) {
      if (bill->status != kUnaudited) return Refuse(message, label + "已经审核，不能重复审核。");
      if (const std::string why = AuditRefusal(*bill); !why.empty()) return Refuse(message, why);
      const std::string user = SqlNumber(UserOf(ctx_, props));
      InTransaction(ctx_, [&] {
        Execute(ctx_, kind_.progId,
                "UPDATE t_cc_stockbill SET FStatus=1, FCheckerID=" + user + ", FCheckDate=" +
                    SqlDate(ctx_.Now(), true) + " WHERE FID=" + SqlNumber(billId));
      });
      return true;
    }
    if (bill->status != kAudited) return Refuse(message, label + "尚未审核，不能反审核。");
    if (const std::string later = FollowUpBillNo(ctx_, kind_.progId, kind_.classTypeId, billId);
        !later.empty())
      return Refuse(message, label + "已经生成后续单据[" + later + "]，不能反审核。");
    const Rows used =
        Query(ctx_, kind_.progId,
              "SELECT COUNT(*) AS FCount FROM t_cc_stockbillentry WHERE FID=" + SqlNumber(billId) +
                  " AND (FSettleQty>0 OR FRejectQty>0)");
    if (!used.empty() && used.Long(0, "FCount") > 0)
      return Refuse(message, label + "已经发生结算或退货业务，不能反审核。");
    InTransaction(ctx_, [&] {
      Execute(ctx_, kind_.progId,
              "UPDATE t_cc_stockbill SET FStatus=0, FCheckerID=0, FCheckDate=NULL WHERE FID=" +
                  SqlNumber(billId));
    });
    return true;
  }

  void BatchOperate(std::string_view props, const Ref<IDictionary>& bills,
                    const Ref<IDictionary>& results, long op) override {
    if (!bills || !results)
      Fail(ctx_, kind_.progId, "BatchOperate", "BatchOperate: no bills or no result collection",
           vb::kErrObjectRequired);
    if (op != 2 && op != 3)
      Fail(ctx_, kind_.progId, "BatchOperate",
           "BatchOperate: operation " + std::to_string(op) +
               " is neither audit (2) nor un-audit (3)");
    for (const auto& key : bills->Keys()) {
      const Variant item = bills->Item(key);
      long id = 0;
      if (auto record = item.ObjectAs<IDictionary>())
        id = ToLong(Field(record, {"FID", "BillInterID"}));
      else if (vb::IsNumeric(item))
        id = ToLong(item);
      else
        Fail(ctx_, kind_.progId, "BatchOperate",
             "BatchOperate: the selection holds " + ToText(item) + ", not a bill");
      std::string message;
      if (CheckBill(props, id, op == 2, message)) continue;
      auto record = NewDictionary();
      record->SetItem(Variant("Message"), Variant(message));
      record->SetItem(Variant("FID"), Variant(id));
      results->SetItem(Variant(results->Count() + 1), Variant(record));
    }
  }

  double GetFieldSumValue(std::string_view, long billId, std::string_view fieldKey) override {
    return sums_.FieldSum("GetFieldSumValue", billId, fieldKey);
  }
  double GetLinkQty(std::string_view, long billId) override {
    return sums_.LinkedSum(billId, "FShowQty");
  }
  double GetLinkTaxAmount(std::string_view, long billId) override {
    return sums_.LinkedSum(billId, "FInTaxAmount");
  }

 private:
  static bool Refuse(std::string& message, std::string text) {
    message = std::move(text);
    return false;
  }

  // Why the bill may not be audited: dated in or after the start period, no partner, no rows.
  std::string AuditRefusal(const StoredBill& bill) {
    const Rows head = Query(ctx_, kind_.progId,
                            "SELECT FDate, " + std::string(kind_.partnerColumn) +
                                " AS FPartner FROM t_cc_stockbill WHERE FID=" + SqlNumber(bill.id));
    const auto start = StartPeriodDate(ctx_, kind_.progId);
    const Variant date = head.At(0, "FDate");
    if (start && (date.IsNull() || vb::DateValue(date).serial >= start->serial))
      return "只能录入启用期间以前的单据";
    if (head.Long(0, "FPartner") <= 0) return kind_.partnerMissing;
    const Rows rows =
        Query(ctx_, kind_.progId,
              "SELECT COUNT(*) AS FCount FROM t_cc_stockbillentry WHERE FItemID>0 AND FID=" +
                  SqlNumber(bill.id));
    if (rows.empty() || rows.Long(0, "FCount") == 0)
      return "单据[" + bill.billNo + "]没有分录，不能审核。";
    return {};
  }

  SessionContext& ctx_;
  const OpeningBillKind& kind_;
  StockBillSums sums_;
};

class GJUpdate final : public vb::Implements<host::IGJUpdate> {
 public:
  explicit GJUpdate(SessionContext& ctx) : sums_(ctx, host::progid::kGJUpdate) {}
  std::string TypeName() const override { return "GJUpdate"; }

  double GetFieldSumValue(std::string_view, long billId, std::string_view fieldKey) override {
    return sums_.FieldSum("GetFieldSumValue", billId, fieldKey);
  }
  double GetGHDLinkQty(std::string_view, long billId) override {
    return sums_.PurchaseLinkedSum(billId, "FShowQty");
  }
  double GetGHDLinkTaxAmount(std::string_view, long billId) override {
    return sums_.PurchaseLinkedSum(billId, "FInTaxAmount");
  }

 private:
  StockBillSums sums_;
};

}  // namespace

Ref<vb::IObject> NewTempConsignUpdate(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, TempBillUpdate>(ctx, kTempConsign);
}
Ref<vb::IObject> NewTempGJUpdate(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, TempBillUpdate>(ctx, kTempGJ);
}
Ref<vb::IObject> NewGJUpdate(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, GJUpdate>(ctx);
}

}  // namespace zov::sim::components
