// "ZOVM_CC_PlugIns.PublicSysInfo": the credit controls of a customer's bill (the credit limit and
// receivables past their settlement date) and a system profile reader.
#include "components/component_support.h"
#include "components/host_components.h"
#include "zov/host/components.h"
#include "zov/vb/datetime.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::sim::components {

namespace {

constexpr const char* kSource = host::progid::kPublicSysInfo;

class PublicSysInfo final : public vb::Implements<host::IPublicSysInfo> {
 public:
  explicit PublicSysInfo(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "PublicSysInfo"; }

  // Over the limit when the customer's receivable balance plus the bill's amount exceeds a
  // credit limit above 0.
  bool CheckCredit(std::string_view, const Ref<IDictionary>& bill, std::string& message) override {
    message.clear();
    if (!bill)
      Fail(ctx_, kSource, "CheckCredit", "CheckCredit: no bill information",
           vb::kErrObjectRequired);
    const long customer = ToLong(Field(bill, {"CustOrSupplyID", "FCustID"}));
    if (customer <= 0) return false;
    const double amount = Amount(bill, "CheckCredit");
    const Rows rows = Query(ctx_, kSource,
                            "SELECT FNumber, FName, FCreditAmount, FCurComeGoBalance FROM "
                            "t_Organization WHERE FItemID=" +
                                SqlNumber(customer));
    if (rows.empty()) return false;
    const double limit = rows.Num(0, "FCreditAmount");
    if (limit <= 0) return false;
    const double balance = rows.Num(0, "FCurComeGoBalance");
    const double over = vb::Round(balance + amount - limit, 2);
    if (over <= 0) return false;
    message = "客户[" + rows.Text(0, "FNumber") + " " + rows.Text(0, "FName") + "]的信用额度为" +
              ShowAmount(limit) + "，当前应收余额" + ShowAmount(balance) + "，本单金额" +
              ShowAmount(amount) + "，超出信用额度" + ShowAmount(over) + "。";
    return true;
  }

  // Audited sales bills of the customer (not returns) with an unsettled amount whose settlement
  // date lies before today.
  bool CheckUnCheckAmountOutOfDate(std::string_view, const Ref<IDictionary>& bill,
                                   std::string& message) override {
    message.clear();
    if (!bill)
      Fail(ctx_, kSource, "CheckUnCheckAmountOutOfDate",
           "CheckUnCheckAmountOutOfDate: no bill information", vb::kErrObjectRequired);
    const long customer = ToLong(Field(bill, {"CustOrSupplyID", "FCustID"}));
    if (customer <= 0) return false;
    const long self = ToLong(Field(bill, {"BillInterID", "FID"}));
    const vb::Date today = vb::DateValue(Variant(ctx_.Now()));
    const Rows rows = Query(
        ctx_, kSource,
        "SELECT FBillNo, FSettleLimitDate, FUnCheckAmount FROM t_cc_stockbill WHERE "
        "FClassTypeID=1030002"
        " AND FBillTypeID NOT IN (3002,3004) AND FStatus>=1 AND FUnCheckAmount>0 AND FCustID=" +
            SqlNumber(customer) + " AND FSettleLimitDate<" + SqlDate(today) + " AND FID<>" +
            SqlNumber(self) + " ORDER BY FSettleLimitDate, FBillNo");
    if (rows.empty()) return false;
    const Rows who =
        Query(ctx_, kSource,
              "SELECT FNumber, FName FROM t_Organization WHERE FItemID=" + SqlNumber(customer));
    std::vector<std::string> lines;
    lines.push_back("客户[" +
                    (who.empty() ? std::to_string(customer)
                                 : who.Text(0, "FNumber") + " " + who.Text(0, "FName")) +
                    "]存在超过收款期限的应收款：");
    double total = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      total += rows.Num(i, "FUnCheckAmount");
      lines.push_back("单据" + rows.Text(i, "FBillNo") + "，收款日期" +
                      ShowDate(vb::DateValue(rows.At(i, "FSettleLimitDate"))) + "，未收金额" +
                      ShowAmount(rows.Num(i, "FUnCheckAmount")));
    }
    lines.push_back("逾期未收金额合计" + ShowAmount(total) + "。");
    message = vb::Join(lines, std::string(kCrLf));
    return true;
  }

  Variant GetSystemProfile(std::string_view category, std::string_view key,
                           const Variant& defaultValue) override {
    const Variant value = SystemProfileValue(ctx_, kSource, category, key);
    return value.IsNull() ? defaultValue : value;
  }

 private:
  double Amount(const Ref<IDictionary>& bill, std::string_view member) {
    const Variant v = Field(bill, {"AllAmount", "FAllAmount"});
    try {
      return ToNumber(v);
    } catch (const vb::Error&) {
      Fail(ctx_, kSource, member,
           std::string(member) + ": the bill amount " + ToText(v) + " is not a number",
           vb::kErrTypeMismatch);
    }
  }

  SessionContext& ctx_;
};

}  // namespace

Ref<vb::IObject> NewPublicSysInfo(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, PublicSysInfo>(ctx);
}

}  // namespace zov::sim::components
