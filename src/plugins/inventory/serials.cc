#include "inventory/serials.h"

#include <vector>

#include "calc/bill_types.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/inventory_support.h"
#include "services/database.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins::inventory {

namespace {

// Bill classes whose check the profile switch "CKSerialNum" governs; of those, the classes where
// it governs only the header kinds below.
constexpr std::string_view kSwitchedBills =
    "1020002,1020003,1030002,1030003,1030004,1030004,1040002,1040004";
constexpr std::string_view kSwitchedByKind = "1020002,1020003,1030002,1030003";
constexpr std::string_view kSwitchedKinds = "2012,2013,2031,3001,3003,3010";
// Bill classes whose rows leave from the source stock, and those whose rows enter the
// destination stock.
constexpr std::string_view kSourceStockBills = "1030002,1030003,1030004,1040002,1040004,1040006";
constexpr std::string_view kDestStockBills = "1020002,1020003,1020004,1040001,1040003,1040005";

bool InList(std::string_view list, long value) { return calc::BillTypeIn(list, value); }

bool IsAssemblyBill(long billType) { return billType == 1040005 || billType == 1040006; }

void ClearCell(host::IBillInterface& bill, std::string_view key, long row) {
  Resume([&] {
    bill.SetFieldValue(key, "", row);
    MarkCell(bill, key, row, true);
  });
}

bool SerialSwitchOn(PluginContext& ctx) {
  return ResumeOr<double>(0, [&] {
           return vb::Val(vb::CStr(services::SystemProfileValue(ctx, "CKSerialNum", "IC", "0")));
         }) != 0;
}

// The keys of one grid's rows as the count check reads them.
struct SerialRowKeys {
  long grid;
  std::string_view item, qty, serials, index, name, model, stock, batch;
};

// One error record of the stock-information component.
struct SerialError {
  std::string index, number, name, model, stock, batch;
};

// The rows of the grid whose serial count differs from their quantity; only `onlyRow` when it is
// above 0.
void CollectCountErrors(PluginContext& ctx, host::IBillInterface& bill, const SerialRowKeys& keys,
                        bool stockCount, std::vector<SerialError>& errors, long onlyRow = 0) {
  const long rows = onlyRow > 0 ? onlyRow : GridRows(bill, keys.grid);
  for (long r = onlyRow > 0 ? onlyRow : 1; r <= rows; ++r) {
    Resume([&] {
      const long item = FieldId(bill, keys.item, r);
      if (item == 0 || !IsSerialManaged(ctx, item)) return;
      const double qty =
          stockCount ? FieldNumber(bill, "FProfitLossQty", r) * FieldNumber(bill, "FCoefficient", r)
                     : FieldNumber(bill, keys.qty, r);
      if (static_cast<double>(CountSerials(FieldText(bill, keys.serials, r))) == qty) return;
      SerialError e;
      e.index = FieldText(bill, keys.index, r);
      e.number = ResumeOr<std::string>(
          {}, [&] { return vb::CStr(bill.GetFieldValue(keys.item, r, host::kFieldNumber)); });
      e.name = ResumeOr<std::string>({}, [&] { return FieldText(bill, keys.name, r); });
      e.model = ResumeOr<std::string>({}, [&] { return FieldText(bill, keys.model, r); });
      e.stock = ResumeOr<std::string>(
          {}, [&] { return vb::CStr(bill.GetFieldValue(keys.stock, r, host::kFieldNumber)); });
      e.batch = ResumeOr<std::string>({}, [&] { return FieldText(bill, keys.batch, r); });
      errors.push_back(std::move(e));
    });
  }
}

// Hands the rows to "ZOV_CC_PlugIns.clsStockInfo", which shows them. True when there were any.
bool ReportSerialErrors(PluginContext& ctx, const std::vector<SerialError>& errors) {
  if (errors.empty()) return false;
  Resume([&] {
    auto list = NewDictionary(ctx);
    long n = 0;
    for (const SerialError& e : errors) {
      auto record = NewDictionary(ctx);
      record->SetItem("FIndex", e.index);
      record->SetItem("FNumber", e.number);
      record->SetItem("FName", e.name);
      record->SetItem("FModel", e.model);
      record->SetItem("FStockID", e.stock);
      record->SetItem("FBatchNo", e.batch);
      list->SetItem(++n, record);
    }
    auto stockInfo = ctx.host().CreateObject(host::progid::kStockInfo).As<host::IStockInfo>();
    if (stockInfo) stockInfo->CheckSerialNoCount(services::PropsString(ctx), list);
  });
  return true;
}

// The count check of grid 1 (only `row` when above 0) and, on the assembly bills, of grid 2,
// reported to the stock-information component; true when rows failed.
bool ReportGridSerialCounts(PluginContext& ctx, host::IBillInterface& bill, long row) {
  const long billType = ResumeOr<long>(0, [&] { return bill.FID(); });
  const bool salesKind = billType == 1030002 || billType == 1030003;
  const std::string_view name = salesKind ? "FBaseProperty3" : "FBaseProperty";
  const std::string_view model = salesKind ? "FBaseProperty4" : "FBaseProperty1";
  const bool destStock = InList(kDestStockBills, billType) && !InList(kSourceStockBills, billType);
  const std::string_view stock = destStock ? "FDCStockID" : "FSCStockID";

  std::vector<SerialError> errors;
  if (!IsAssemblyBill(billType)) {
    const bool stockCount = billType == 1040003 || billType == 1040004;
    CollectCountErrors(
        ctx, bill, {1, "FItemID", "FQty", "FSerialNo", "FIndex2", name, model, stock, "FBatchNo"},
        stockCount, errors, row);
  } else {
    CollectCountErrors(
        ctx, bill,
        {1, "FItemID", "FQty", "FSerialNo", "FIndex2", name, model, "FDCStockID", "FBatchNo"},
        false, errors, row);
    if (row <= 0 && SerialSwitchOn(ctx))
      CollectCountErrors(ctx, bill,
                         {2, "FCldItemID", "FQty1", "FSerialNo1", "FIndex3", "FBaseProperty8",
                          "FBaseProperty9", "FSCStockID", "FBatchNo1"},
                         false, errors);
  }
  return ReportSerialErrors(ctx, errors);
}

std::string TextOf(const Variant& v) {
  return v.IsNull() || v.IsEmpty() ? std::string() : vb::CStr(v);
}

}  // namespace

bool IsSerialManaged(PluginContext& ctx, long itemId) {
  return ResumeOr<bool>(false, [&] {
    auto rs = services::OpenRecordset(
        ctx, "select FIsSerialNumMgr from t_icitem where FItemID=" + SqlId(itemId));
    if (!rs || rs->Eof()) return false;
    const Variant v = rs->Value(0L);
    return !v.IsNull() && vb::CBool(v);
  });
}

std::string GetSerialList(PluginContext& ctx, long billType, long billId, long rowIndex) {
  return ResumeOr<std::string>({}, [&] {
    const std::string bill = SqlId(billId);
    std::string where = " WHERE T1.FBillID = " + bill + " AND T1.FBillIndexID = " + SqlId(rowIndex);
    if (billType == 1040005) where += " AND FStatus = 1 ";
    if (billType == 1040006) where += " AND FStatus = 0 ";
    const std::vector<std::string> lines = {
        "SELECT DISTINCT T1.FSerialNo, T1.FNote, "
        "CASE WHEN ISNULL(T2.FCount, 0) > 0 THEN 1 ELSE 0 END AS FBeingUsed",
        " FROM t_SerialNumList T1 ",
        " LEFT JOIN (",
        "SELECT a.FItemID, a.FSerialNo, COUNT(*) AS FCount",
        "FROM t_SerialNumList a",
        "INNER JOIN (",
        "SELECT MAX(FID) AS FID, FItemID, FSerialNo",
        "FROM t_SerialNumList",
        "WHERE FBillID = " + bill,
        "GROUP BY FItemID, FSerialNo",
        ") b ON a.FItemID = b.FItemID AND a.FSerialNo = b.FSerialNo",
        "WHERE a.FID > b.FID And a.FBillID > 0 ",
        "GROUP BY a.FItemID, a.FSerialNo",
        ") T2 ON T1.FItemID = T2.FItemID AND T1.FSerialNo = T2.FSerialNo",
        where};
    auto rs = services::OpenRecordset(ctx, vb::Join(lines, vb::vbCrLf));
    std::string text;
    for (; rs && !rs->Eof(); rs->MoveNext())
      text += TextOf(rs->Value("FSerialNo")) + "," + TextOf(rs->Value("FNote")) + "," +
              TextOf(rs->Value("FBeingUsed")) + "|";
    if (!text.empty()) text.pop_back();
    return text;
  });
}

std::string GetRowSerialList(PluginContext& ctx, host::IBillInterface& bill, long row) {
  return ResumeOr<std::string>({}, [&] {
    const long index =
        HasField(bill, "FIndex2") ? static_cast<long>(FieldNumber(bill, "FIndex2", row)) : 0;
    return GetSerialList(ctx, bill.FID(), bill.CurBillID(), index > 0 ? index : row);
  });
}

void LoadSerials(PluginContext& ctx, host::IBillInterface& bill) {
  if (services::AppType(ctx) == 1 && services::IndustryType(ctx) == 1) return;
  const long rows = GridRows(bill, 1);
  for (long r = 1; r <= rows; ++r) {
    Resume([&] {
      const long item = FieldId(bill, "FItemID", r);
      bill.SetFieldValue(
          "FSerialNo", IsSerialManaged(ctx, item) ? GetRowSerialList(ctx, bill, r) : std::string(),
          r);
    });
  }
  LockUsedSerialRows(ctx, bill, true);
}

void LockUsedSerialRows(PluginContext& ctx, host::IBillInterface& bill, bool lock) {
  Resume([&] {
    // The serial-number manager is held while the rows are locked.
    auto manager = ctx.host().CreateObject(host::progid::kSerialNumMgr);
    const long billType = ResumeOr<long>(0, [&] { return bill.FID(); });
    const bool source = InList(kSourceStockBills, billType),
               dest = InList(kDestStockBills, billType);
    const long rows = GridRows(bill, 1);
    for (long r = 1; r <= rows; ++r) {
      if (!RowHasUsedSerials(bill, r)) continue;
      for (std::string_view key : {"FItemID", "FShowQty", "FSecCoefficient", "FSecQty"})
        Resume([&] { calc::LockField(bill, key, lock, r); });
      if (source || !dest) Resume([&] { calc::LockField(bill, "FSCStockID", lock, r); });
      if (dest || !source) Resume([&] { calc::LockField(bill, "FDCStockID", lock, r); });
    }
  });
}

void ClearSerials(PluginContext& ctx, host::IBillInterface& bill, long row) {
  if (services::AppType(ctx) == 1 && services::IndustryType(ctx) == 1) return;
  const long billType = ResumeOr<long>(0, [&] { return bill.FID(); });
  if (!IsAssemblyBill(billType)) return;
  if (row > 0) {
    ClearCell(bill, "FSerialNo", row);
    return;
  }
  for (long r = 1, rows = GridRows(bill, 1); r <= rows; ++r) ClearCell(bill, "FSerialNo", r);
  for (long r = 1, rows = GridRows(bill, 2); r <= rows; ++r) ClearCell(bill, "FSerialNo1", r);
}

bool RowHasUsedSerials(host::IBillInterface& bill, long row, std::string_view serialKey) {
  const std::string serials =
      ResumeOr<std::string>({}, [&] { return FieldText(bill, serialKey, row); });
  if (serials.empty()) return false;
  for (const std::string& entry : vb::Split(serials, "|")) {
    const auto parts = vb::Split(entry, ",");
    if (parts.size() >= 3 && vb::Trim(parts[2]) == "1") return true;
  }
  return false;
}

long CountSerials(std::string_view serials) {
  return serials.empty() ? 0 : static_cast<long>(vb::Split(serials, "|").size());
}

bool SerialCountsApply(PluginContext& ctx, host::IBillInterface& bill) {
  if (services::AppType(ctx) == 1 && services::IndustryType(ctx) == 1) return false;
  const long billType = ResumeOr<long>(0, [&] { return bill.FID(); });
  if (!InList(kSwitchedBills, billType)) return true;
  const long kind =
      ResumeOr<long>(0, [&] { return static_cast<long>(FieldNumber(bill, "FBillTypeID")); });
  const bool kindOutsideSwitch = InList(kSwitchedByKind, billType) && !InList(kSwitchedKinds, kind);
  return kindOutsideSwitch || SerialSwitchOn(ctx);
}

bool CheckSerialCounts(PluginContext& ctx, host::IBillInterface& bill) {
  return SerialCountsApply(ctx, bill) && ReportGridSerialCounts(ctx, bill, 0);
}

bool CheckRowSerialCount(PluginContext& ctx, host::IBillInterface& bill, long row) {
  return row < 1 || !ReportGridSerialCounts(ctx, bill, row);
}

bool checkBillSNErr(PluginContext& ctx, host::IBillInterface& bill, bool byKind) {
  const bool candidate = ResumeOr<bool>(false, [&] {
    return bill.CurBillID() > 0 && FieldNumber(bill, "Fstatus") == 0 &&
           FieldText(bill, "FExplanation").find("由网上订单") != std::string::npos &&
           (!byKind || static_cast<long>(FieldNumber(bill, "FBillTypeID")) != 3003);
  });
  return candidate && CheckSerialCounts(ctx, bill);
}

bool checkXSDBillSNErr(PluginContext& ctx, long billId) {
  if (billId <= 0 || !SerialSwitchOn(ctx)) return false;
  std::vector<SerialError> errors;
  Resume([&] {
    const std::vector<std::string> lines = {
        "SELECT a.FIndex, b.FNumber, b.FName, b.FModel, d.FName AS FStockID, a.FBatchNo ",
        ",a.FItemID,b.FIsSerialNumMgr ",
        ",v.FStatus,v.FBillTypeID   ",
        ",a.FQty, isnull(c.FSerialNoSum,0) AS FSerialNoSum  ",
        "FROM T_CC_StockBillEntry a ",
        "LEFT JOIN t_ICItem b ON a.FItemID=b.FItemID ",
        "LEFT JOIN (SELECT FItemID,FBillID,FBillIndexID, count(FSerialNo) AS FSerialNoSum ",
        "from t_SerialNumList ",
        "GROUP BY FItemID,FBillID,FBillIndexID ",
        ") c ON a.FID=c.FBillID AND a.FIndex=c.FBillIndexID AND a.FItemID=c.FItemID ",
        "LEFT JOIN t_Stock d ON a.FSCStockID=d.FItemID ",
        "LEFT JOIN T_CC_StockBill v ON a.FID=v.FID ",
        "WHERE a.FID=" + SqlId(billId) +
            " AND b.FIsSerialNumMgr=1 AND a.FQty<>isnull(c.FSerialNoSum,0) ",
        "AND v.FClassTypeID =1030002 AND v.FStatus=0 AND v.FBillTypeID<>3003   "};
    auto rs = services::OpenRecordset(ctx, vb::Join(lines, vb::vbCrLf));
    for (; rs && !rs->Eof(); rs->MoveNext())
      errors.push_back({TextOf(rs->Value("FIndex")), TextOf(rs->Value("FNumber")),
                        TextOf(rs->Value("FName")), TextOf(rs->Value("FModel")),
                        TextOf(rs->Value("FStockID")), TextOf(rs->Value("FBatchNo"))});
  });
  return ReportSerialErrors(ctx, errors);
}

bool checkXSDBillBatchNoErr(PluginContext& ctx, long billId) {
  if (billId <= 0) return false;
  const std::string index = ResumeOr<std::string>({}, [&]() -> std::string {
    auto rs = services::OpenRecordset(ctx,
                                      "SELECT b.FisBatchManager,a.FBatchNo,a.FIndex, a.* FROM "
                                      "T_CC_StockBillEntry a LEFT JOIN t_ICItem b ON "
                                      "a.FItemID=b.FItemID WHERE a.FID=" +
                                          SqlId(billId) +
                                          " AND b.FISBatchManager=1 AND isnull(a.FBatchNo,'')='' ");
    if (!rs || rs->Eof()) return {};
    const std::string i = TextOf(rs->Value("FIndex"));
    return i.empty() ? std::string("0") : i;
  });
  if (index.empty()) return false;
  Resume([&] { services::ShowMessage(ctx, "第" + index + "行商品需要录入批号"); });
  return true;
}

}  // namespace zov::plugins::inventory
