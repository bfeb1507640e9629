// Logistics: "ZOVLogisticManage.Application" queries logistics bills and makes them for audited
// sales bills (each sales bill then carries the logistics number in FLogisticNumber);
// "ZOVMLogisticManage.clsInfo" tells whether a sales bill has one.
#include <fmt/format.h>

#include <algorithm>
#include <map>

#include "components/component_support.h"
#include "components/host_components.h"
#include "zov/host/components.h"
#include "zov/vb/datetime.h"
#include "zov/vb/strings.h"

namespace zov::sim::components {

namespace {

constexpr const char* kSource = host::progid::kLogisticApplication;
constexpr long kSalesBillClass = 1030002;

struct MakeRequest {
  std::string billNo;
};

struct MakeResult {
  std::string info;
  bool success = false;
};

// Makes logistics bills: one per customer in many-to-one mode, else one per sales bill.
class LogisticMaker {
 public:
  explicit LogisticMaker(SessionContext& ctx) : ctx_(ctx) {}

  std::vector<MakeResult> Make(const std::vector<MakeRequest>& requests, bool manyToOne) {
    struct Bill {
      std::size_t slot;
      std::string billNo;
      long id, customer;
    };
    std::vector<MakeResult> results(requests.size());
    std::vector<Bill> bills;
    for (std::size_t i = 0; i < requests.size(); ++i) {
      const std::string& no = requests[i].billNo;
      const std::string label = "单据[" + no + "]";
      const Rows rows = Query(ctx_, kSource,
                              "SELECT FID, FStatus, FCustID, FBillTypeID, FLogisticNumber FROM "
                              "t_cc_stockbill WHERE FClassTypeID=" +
                                  SqlNumber(kSalesBillClass) + " AND FBillNo=" + SqlText(no));
      if (no.empty() || rows.empty())
        results[i].info = label + "不存在。";
      else if (rows.Long(0, "FStatus") < 1)
        results[i].info = label + "未审核，不能生成物流单。";
      else if (rows.Long(0, "FBillTypeID") == 3002 || rows.Long(0, "FBillTypeID") == 3004)
        results[i].info = label + "是退货单，不能生成物流单。";
      else if (!vb::Trim(rows.Text(0, "FLogisticNumber")).empty())
        results[i].info = label + "已经生成物流单[" + rows.Text(0, "FLogisticNumber") + "]。";
      else
        bills.push_back({i, no, rows.Long(0, "FID"), rows.Long(0, "FCustID")});
    }
    if (bills.empty()) return results;

    std::map<long, std::vector<const Bill*>> groups;  // by customer, or by bill
    for (const auto& b : bills) groups[manyToOne ? b.customer : b.id].push_back(&b);
    InTransaction(ctx_, [&] {
      long id = NextId(ctx_, kSource, "t_LogisticBill");
      long number = NextNumber();
      for (const auto& [key, members] : groups) {
        const std::string logisticNo = fmt::format("WL{:06}", number++);
        for (const Bill* b : members) {
          Execute(ctx_, kSource,
                  "INSERT INTO t_LogisticBill (FID, FLogisticNumber, FDate, FCustID, FStatus, "
                  "FClassID_SRC, FID_SRC, "
                  "FBillNo_SRC) VALUES (" +
                      SqlNumber(id++) + "," + SqlText(logisticNo) + "," +
                      SqlDate(vb::DateValue(Variant(ctx_.Now()))) + "," + SqlNumber(b->customer) +
                      ",0," + SqlNumber(kSalesBillClass) + "," + SqlNumber(b->id) + "," +
                      SqlText(b->billNo) + ")");
          Execute(ctx_, kSource,
                  "UPDATE t_cc_stockbill SET FLogisticNumber=" + SqlText(logisticNo) +
                      " WHERE FID=" + SqlNumber(b->id));
          results[b->slot] = {"单据[" + b->billNo + "]生成物流单[" + logisticNo + "]成功。", true};
        }
      }
    });
    return results;
  }

 private:
  // The number after the largest "WL" number in use.
  long NextNumber() {
    const Rows rows = Query(ctx_, kSource, "SELECT FLogisticNumber FROM t_LogisticBill");
    long highest = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const std::string no = rows.Text(i, "FLogisticNumber");
      if (no.size() < 3 || no.compare(0, 2, "WL") != 0) continue;
      const std::string digits = no.substr(2);
      if (digits.size() > 9 ||
          !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        continue;
      highest = std::max(highest, std::stol(digits));
    }
    return highest + 1;
  }

  SessionContext& ctx_;
};

class LogisticApplication final : public vb::Implements<host::ILogisticApplication> {
 public:
  explicit LogisticApplication(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "Application"; }

  // Shows the condition with the logistics bills of the sales bills it names ("BillCode", one
  // number or several separated by ",").
  void ShowByCondition(const Ref<IDictionary>& condition) override {
    if (!condition)
      Fail(ctx_, kSource, "ShowByCondition", "ShowByCondition: no condition",
           vb::kErrObjectRequired);
    std::vector<std::string> numbers;
    for (const auto& piece : vb::Split(ToText(Field(condition, {"BillCode"})), ","))
      if (!vb::Trim(piece).empty()) numbers.push_back(SqlText(vb::Trim(piece)));
    auto shown = NewDictionary();
    for (const auto& key : condition->Keys()) shown->SetItem(key, condition->Item(key));
    auto records = NewDictionary();
    if (!numbers.empty()) {
      const Rows rows =
          Query(ctx_, kSource,
                "SELECT FLogisticNumber, FBillNo_SRC, FDate, FCustID, FStatus FROM t_LogisticBill "
                "WHERE FBillNo_SRC In(" +
                    vb::Join(numbers, ",") + ") ORDER BY FLogisticNumber, FBillNo_SRC");
      for (std::size_t i = 0; i < rows.size(); ++i) {
        auto record = NewDictionary();
        for (const auto& column : rows.data().columns)
          record->SetItem(Variant(column.name), rows.At(i, column.name));
        records->SetItem(Variant(static_cast<long>(i + 1)), Variant(record));
      }
    }
    shown->SetItem(Variant("Records"), Variant(records));
    ctx_.Ui().ShowData("物流单查询", Variant(shown));
  }

  void AddBillCode(std::string_view billNo) override { codes_.push_back({vb::Trim(billNo)}); }

  void BillToLogisticMake() override {
    if (codes_.empty()) return;
    const auto results = LogisticMaker(ctx_).Make(codes_, false);
    codes_.clear();
    std::vector<std::string> lines;
    for (const auto& r : results) lines.push_back(r.info);
    ctx_.Ui().MsgBox(vb::Join(lines, std::string(kCrLf)), host::vbInformation, kInfoTitle);
  }

  Ref<IDictionary> BatchMakeLogisticDataProc(const Ref<IDictionary>& records,
                                             bool manyToOne) override {
    if (!records)
      Fail(ctx_, kSource, "BatchMakeLogisticDataProc", "BatchMakeLogisticDataProc: no records",
           vb::kErrObjectRequired);
    ctx_.Ui().ShowData("生成物流单", Variant(records));
    std::vector<MakeRequest> requests;
    for (const auto& r : Records(records))
      requests.push_back({vb::Trim(ToText(Field(r.fields, {"BillNo", "FBillNo"})))});
    const auto results = LogisticMaker(ctx_).Make(requests, manyToOne);
    auto out = NewDictionary();
    for (std::size_t i = 0; i < results.size(); ++i) {
      auto record = NewDictionary();
      record->SetItem(Variant("Info"), Variant(results[i].info));
      record->SetItem(Variant("Success"), Variant(results[i].success));
      out->SetItem(Variant(static_cast<long>(i + 1)), Variant(record));
    }
    return out;
  }

 private:
  SessionContext& ctx_;
  std::vector<MakeRequest> codes_;
};

class LogisticInfo final : public vb::Implements<host::ILogisticInfo> {
 public:
  explicit LogisticInfo(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "clsInfo"; }

  bool ExistsMakeLogistic(std::string_view, std::string_view billNo) override {
    if (vb::Trim(billNo).empty()) return false;
    const std::string no = SqlText(vb::Trim(billNo));
    const Rows bill = Query(ctx_, host::progid::kLogisticInfo,
                            "SELECT FLogisticNumber FROM t_cc_stockbill WHERE FBillNo=" + no +
                                " AND FLogisticNumber<>''");
    if (!bill.empty()) return true;
    return !Query(ctx_, host::progid::kLogisticInfo,
                  "SELECT FID FROM t_LogisticBill WHERE FBillNo_SRC=" + no)
                .empty();
  }

 private:
  SessionContext& ctx_;
};

}  // namespace

Ref<vb::IObject> NewLogisticApplication(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, LogisticApplication>(ctx);
}
Ref<vb::IObject> NewLogisticInfo(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, LogisticInfo>(ctx);
}

}  // namespace zov::sim::components
