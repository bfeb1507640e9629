// "ZOV_CC_PlugIns.clsStockInfo": the stock, price-limit and audit checks of the sales bills, the
// two questions that let the user go past the credit controls, and the serial-number error list.
#include <map>

#include "components/component_support.h"
#include "components/host_components.h"
#include "components/stored_bills.h"
#include "zov/host/components.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::sim::components {

namespace {

constexpr const char* kSource = host::progid::kStockInfo;
// Stocks of this type hold gifts or are virtual: nothing is checked against them.
constexpr long kGiftStockType = 502;

// Bill kinds whose rows bring goods back into the stock.
bool IsReturnKind(long billTypeId) {
  return billTypeId == 3002 || billTypeId == 3004 || billTypeId == 3011;
}

// "第1、3行" for the rows of one message line.
std::string RowsText(const std::vector<long>& rows) {
  std::vector<std::string> numbers;
  for (long r : rows) numbers.push_back(std::to_string(r));
  return "第" + vb::Join(numbers, "、") + "行";
}

// The row number of a row record: its "Index", else its key in the rows collection.
long RowNumber(const Record& row) {
  const Variant index = Field(row.fields, {"Index", "FIndex"});
  return index.IsEmpty() ? ToLong(row.key) : ToLong(index);
}

class StockInfo final : public vb::Implements<host::IStockInfo> {
 public:
  explicit StockInfo(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "clsStockInfo"; }

  // The rows' base quantities, summed per item, stock, batch (and auxiliary attribute when the
  // row has one), against the stock on hand.
  long CheckItemStockNum(std::string_view, std::string_view, const Ref<IDictionary>& head,
                         const Ref<IDictionary>& rows, std::string& message) override {
    message.clear();
    if (!rows)
      Fail(ctx_, kSource, "CheckItemStockNum", "CheckItemStockNum: no rows",
           vb::kErrObjectRequired);
    if (IsReturnKind(ToLong(Field(head, {"BillType", "FBillTypeID"})))) return 0;

    struct Need {
      long item = 0, stock = 0, aux = 0;
      std::string batch;
      double qty = 0;
      std::vector<long> rows;
    };
    std::vector<Need> needs;
    for (const auto& row : Records(rows)) {
      const auto& f = row.fields;
      const long item = ToLong(Field(f, {"FItemID", "ItemID"}));
      const long stock = ToLong(Field(f, {"FSCStockID", "StockID", "FStockID"}));
      if (item <= 0 || stock <= 0) continue;
      double qty = 0;
      if (HasField(f, {"FQty"})) {
        qty = ToNumber(Field(f, {"FQty"}));
      } else {
        const double coefficient = ToNumber(Field(f, {"FCoefficient", "Coefficient"}));
        qty = ToNumber(Field(f, {"FShowQty", "Qty"})) * (coefficient > 0 ? coefficient : 1);
      }
      if (qty <= 0) continue;
      const std::string batch = vb::Trim(ToText(Field(f, {"FBatchNo", "BatchNo"})));
      const long aux = ToLong(Field(f, {"FAuxPropID", "AuxPropID"}));
      Need* need = nullptr;
      for (auto& n : needs)
        if (n.item == item && n.stock == stock && n.aux == aux && n.batch == batch) need = &n;
      if (!need) {
        needs.push_back({item, stock, aux, batch, 0, {}});
        need = &needs.back();
      }
      need->qty += qty;
      need->rows.push_back(RowNumber(row));
    }

    std::vector<std::string> lines;
    for (const auto& need : needs) {
      const Rows stock =
          Query(ctx_, kSource,
                "SELECT FName, FTypeID FROM t_Stock WHERE FItemID=" + SqlNumber(need.stock));
      if (!stock.empty() && stock.Long(0, "FTypeID") == kGiftStockType) continue;
      std::string where =
          " WHERE FItemID=" + SqlNumber(need.item) + " AND FStockID=" + SqlNumber(need.stock);
      if (!need.batch.empty()) where += " AND FBatchNo=" + SqlText(need.batch);
      if (need.aux > 0) where += " AND FAuxPropID=" + SqlNumber(need.aux);
      const Rows onHand =
          Query(ctx_, kSource, "SELECT ISNULL(SUM(FQty),0) AS FQty FROM t_cc_inventory" + where);
      const double available = onHand.empty() ? 0 : onHand.Num(0, "FQty");
      if (vb::Round(available - need.qty, 6) >= 0) continue;
      std::string line = RowsText(need.rows) + "商品" + ItemText(need.item);
      if (need.aux > 0) line += "辅助属性[" + AuxName(need.aux) + "]";
      if (!need.batch.empty()) line += "批号[" + need.batch + "]";
      line += "在仓库[" + (stock.empty() ? std::to_string(need.stock) : stock.Text(0, "FName")) +
              "]库存不足，库存数量" + ShowNumber(available) + "，出库数量" + ShowNumber(need.qty) +
              "。";
      lines.push_back(std::move(line));
    }
    if (lines.empty()) return 0;
    message = vb::Join(lines, std::string(kCrLf));
    return -1;
  }

  // Each row's price against the item's lowest sales price in the row's unit (or the base unit's
  // lowest price times the row's coefficient). Gift-stock rows are not limited.
  bool CheckLimitPrice(std::string_view, const Ref<IDictionary>&,
                       const Ref<IDictionary>& rows) override {
    if (!rows)
      Fail(ctx_, kSource, "CheckLimitPrice", "CheckLimitPrice: no rows", vb::kErrObjectRequired);
    std::vector<std::string> lines;
    for (const auto& row : Records(rows)) {
      const auto& f = row.fields;
      const long item = ToLong(Field(f, {"ItemID", "FItemID"}));
      if (item <= 0) continue;
      const long stock = ToLong(Field(f, {"StockID", "FSCStockID"}));
      if (stock > 0 && IsGiftStock(stock)) continue;
      const long unit = ToLong(Field(f, {"UnitID", "FShowUnitID", "FUnitID"}));
      double coefficient = ToNumber(Field(f, {"Coefficient", "FCoefficient"}));
      if (coefficient <= 0) coefficient = 1;
      const double price = ToNumber(Field(f, {"Price", "FPrice"}));
      const double floor = LowestPrice(item, unit, coefficient);
      if (floor <= 0 || vb::Round(price, 6) >= vb::Round(floor, 6)) continue;
      lines.push_back("第" + std::to_string(RowNumber(row)) + "行商品" + ItemText(item) + "的单价" +
                      ShowNumber(price) + "低于最低售价" + ShowNumber(floor) + "。");
    }
    if (lines.empty()) return true;
    ctx_.Ui().MsgBox(
        vb::Join(lines, std::string(kCrLf)) + std::string(kCrLf) + "不允许低于最低售价销售！",
        host::vbInformation, kInfoTitle);
    return false;
  }

  // 1: every bill may take the operation; 0: a bill's state forbids it; 2: later bills were
  // made from a bill; -1: a bill does not exist. `message` names each refused bill.
  long CheckBill(const Ref<IDictionary>& billInfo, long op, std::string_view,
                 std::string& message) override {
    message.clear();
    if (!billInfo)
      Fail(ctx_, kSource, "CheckBill", "CheckBill: no bill information", vb::kErrObjectRequired);
    if (op != 1 && op != -1)
      Fail(
          ctx_, kSource, "CheckBill",
          "CheckBill: operation " + std::to_string(op) + " is neither audit (1) nor un-audit (-1)");
    std::vector<Ref<IDictionary>> bills;
    if (HasField(billInfo, {"BillInterID", "FID"})) {
      bills.push_back(billInfo);
    } else {
      for (const auto& r : Records(billInfo)) bills.push_back(r.fields);
    }
    if (bills.empty())
      Fail(ctx_, kSource, "CheckBill", "CheckBill: the bill information holds no bill");

    long result = 1;
    std::vector<std::string> texts;
    for (const auto& record : bills) {
      std::string text;
      const auto bill = BillOfRecord(ctx_, kSource, "CheckBill", record);
      long code = 1;
      if (!bill) {
        code = -1;
        text = "单据" + BillLabel(ToText(Field(record, {"BillNo", "FBillNo"}))) + "不存在。";
      } else {
        code = op == 1 ? CheckAudit(*bill, text) : CheckUnAudit(*bill, text);
      }
      if (code == 1) continue;
      texts.push_back(std::move(text));
      if (result == 1 || code == -1) result = code;
    }
    message = vb::Join(texts, std::string(kCrLf));
    return result;
  }

  bool CreditSelectOK(std::string_view message) override { return Ask(message); }
  bool UnCheckAmountOutOfDateSelectOK(std::string_view message) override { return Ask(message); }

  void CheckSerialNoCount(std::string_view, const Ref<IDictionary>& errors) override {
    if (!errors)
      Fail(ctx_, kSource, "CheckSerialNoCount", "CheckSerialNoCount: no error list",
           vb::kErrObjectRequired);
    std::vector<std::vector<std::string>> rows;
    for (const auto& r : Records(errors)) {
      std::vector<std::string> cells;
      for (auto key : {"FIndex", "FNumber", "FName", "FModel", "FStockID", "FBatchNo"})
        cells.push_back(ToText(Field(r.fields, {key})));
      cells.push_back("序列号个数与数量不符");
      rows.push_back(std::move(cells));
    }
    if (rows.empty()) return;
    ctx_.Ui().ShowList({"行号", "商品代码", "商品名称", "规格型号", "仓库", "批号", "提示信息"},
                       {600, 1500, 2500, 2000, 1500, 1500, 2500}, rows);
  }

 private:
  static std::string BillLabel(const std::string& billNo) {
    return billNo.empty() ? std::string() : "[" + billNo + "]";
  }

  long CheckAudit(const StoredBill& bill, std::string& text) {
    if (bill.status == kAudited) {
      text = "单据" + BillLabel(bill.billNo) + "已经审核，不能重复审核。";
      return 0;
    }
    if (bill.status == kClosed) {
      text = "单据" + BillLabel(bill.billNo) + "已经关闭，不能审核。";
      return 0;
    }
    return 1;
  }

  long CheckUnAudit(const StoredBill& bill, std::string& text) {
    if (bill.status == kUnaudited) {
      text = "单据" + BillLabel(bill.billNo) + "尚未审核，不能反审核。";
      return 0;
    }
    if (bill.status == kClosed) {
      text = "单据" + BillLabel(bill.billNo) + "已经关闭，不能反审核。";
      return 0;
    }
    const std::string later = FollowUpBillNo(ctx_, kSource, bill.classTypeId, bill.id);
    if (!later.empty()) {
      text = "单据" + BillLabel(bill.billNo) + "已经生成后续单据[" + later + "]，不能反审核。";
      return 2;
    }
    return 1;
  }

  bool Ask(std::string_view message) {
    std::string text(message);
    if (!text.empty()) text += kCrLf;
    text += "是否继续？";
    return ctx_.Ui().MsgBox(text, host::vbYesNo | host::vbQuestion, kInfoTitle) == host::vbYes;
  }

  bool IsGiftStock(long stock) {
    const Rows rows =
        Query(ctx_, kSource, "SELECT FTypeID FROM t_Stock WHERE FItemID=" + SqlNumber(stock));
    return !rows.empty() && rows.Long(0, "FTypeID") == kGiftStockType;
  }

  double LowestPrice(long item, long unit, double coefficient) {
    const Rows own = Query(ctx_, kSource,
                           "SELECT FXSLowPrice FROM t_ItemPrice WHERE FItemID=" + SqlNumber(item) +
                               " AND FUnitID=" + SqlNumber(unit));
    if (!own.empty() && own.Num(0, "FXSLowPrice") > 0) return own.Num(0, "FXSLowPrice");
    const Rows base = Query(
        ctx_, kSource,
        "SELECT p.FXSLowPrice FROM t_ItemPrice p INNER JOIN t_ICItem i ON i.FItemID=p.FItemID "
        "WHERE p.FItemID=" +
            SqlNumber(item) + " AND p.FUnitID=i.FUnitID");
    if (base.empty()) return 0;
    return base.Num(0, "FXSLowPrice") * coefficient;
  }

  // "[I001 不锈钢保温杯]"
  std::string ItemText(long item) {
    const Rows rows = Query(ctx_, kSource,
                            "SELECT FNumber, FName FROM t_ICItem WHERE FItemID=" + SqlNumber(item));
    if (rows.empty()) return "[" + std::to_string(item) + "]";
    return "[" + rows.Text(0, "FNumber") + " " + rows.Text(0, "FName") + "]";
  }

  std::string AuxName(long aux) {
    const Rows rows =
        Query(ctx_, kSource, "SELECT FName FROM t_AuxItem WHERE FItemID=" + SqlNumber(aux));
    return rows.empty() ? std::to_string(aux) : rows.Text(0, "FName");
  }

  SessionContext& ctx_;
};

}  // namespace

Ref<vb::IObject> NewStockInfo(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, StockInfo>(ctx);
}

}  // namespace zov::sim::components
