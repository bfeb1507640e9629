#include "bills/common/controls.h"

#include "bills/common/records.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/database.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins::sales {

namespace {

const std::string kCrLf = "\r\n";

std::string Id(long id) { return std::to_string(id); }

Ref<host::IStockInfo> StockInfo(PluginContext& ctx) {
  return ctx.host().CreateObject(host::progid::kStockInfo).As<host::IStockInfo>();
}

}  // namespace

// --- what the save checks read ------------------------------------------------------------------

bool IsBlankCell(const Variant& v) {
  return v.IsEmpty() || v.IsNull() || (v.IsString() && vb::Trim(v.AsString()).empty());
}

std::string CellDateText(const Variant& v) {
  if (IsBlankCell(v)) return "1900-01-01";
  return ResumeOr<std::string>("1900-01-01",
                               [&] { return vb::Format(vb::CDate(v), "YYYY-MM-DD"); });
}

std::string CurrentPeriodStart(PluginContext& ctx) {
  return services::FirstValue(
      ctx,
      " SELECT FStartDate FROM t_PeriodDate WHERE  FYear =(SELECT CONVERT(INT, FValue) FROM "
      "t_SystemProfile WHERE FCategory = 'IC' AND FKey = 'CurrentYear' ) AND  FPeriod =(SELECT "
      "CONVERT(INT, FValue) FROM t_SystemProfile WHERE FCategory = 'IC' AND FKey = "
      "'CurrentPeriod') ");
}

bool ItemFlags::operator()(long item, std::string_view column) {
  auto [it, added] = known_.try_emplace({item, column}, false);
  if (added)
    it->second = services::FirstFlag(
        ctx_, "Select " + std::string(column) + " From t_ICItem Where FItemID=" + Id(item));
  return it->second;
}

bool CheckFreightTotal(const SalesForm& form, std::string_view appType1Key) {
  if (services::IndustryType(form.ctx) != 1) return true;
  // Compared in cents, as the amounts are stored.
  const auto cents = [](double v) { return services::FormatToPlaces(Variant(v), 2).ToDouble(); };
  auto& bill = form.bill;
  const double charges = ColumnSum(bill, "FTranspotationCharges");
  if (cents(FieldNumber(bill, "FTranspotationCosts")) == cents(charges)) return true;
  if (services::AppType(form.ctx) != 1)
    return Refuse(form.ctx, bill, "表头我方支付运杂费数据与表体运杂费合计不等于！");
  Resume([&] { bill.SetFieldValue(appType1Key, charges, -1); });
  return true;
}

// --- save ----------------------------------------------------------------------------------------

bool CheckSaleControls(const SalesForm& form, const Ref<host::IDictionary>& head,
                       const Ref<host::IDictionary>& rows, bool credit) {
  auto& ctx = form.ctx;
  const std::string props = services::PropsString(ctx);
  auto stock = StockInfo(ctx);
  if (stock && !ResumeOr<bool>(true, [&] { return stock->CheckLimitPrice(props, head, rows); }))
    return false;
  if (!credit || !services::InitClosed(ctx)) return true;
  auto sys = ctx.host().CreateObject(host::progid::kPublicSysInfo).As<host::IPublicSysInfo>();
  if (!sys || !stock) return true;
  head->SetItem("CreditAmount",
                vb::Val(services::FirstValue(
                    ctx, "Select FCreditAmount,* From t_Organization Where FItemID=" +
                             Id(FieldId(form.bill, "FCustID")))));
  std::string message;
  if (ResumeOr<bool>(false, [&] { return sys->CheckCredit(props, head, message); }) &&
      !ResumeOr<bool>(false, [&] { return stock->CreditSelectOK(message); }))
    return false;
  message.clear();
  return !(ResumeOr<bool>(false,
                          [&] { return sys->CheckUnCheckAmountOutOfDate(props, head, message); }) &&
           !ResumeOr<bool>(false, [&] { return stock->UnCheckAmountOutOfDateSelectOK(message); }));
}

bool CheckStockSufficiency(const SalesForm& form, const Ref<host::IDictionary>& head,
                           const Ref<host::IDictionary>& rows) {
  std::string message;
  const long result = ResumeOr<long>(0, [&] {
    return StockInfo(form.ctx)->CheckItemStockNum(services::PropsString(form.ctx), "SAVE", head,
                                                  rows, message);
  });
  if (result == -1) {
    if (!message.empty()) services::ShowMessage(form.ctx, message);
    return false;
  }
  return result != 3;
}

bool CheckSourceRows(const SalesForm& form, const SalesRowKeys& keys, const SourceCheck& check) {
  auto& bill = form.bill;
  const long rows = GridRows(bill, keys.grid);
  const long billId = CurBillId(bill);
  const std::string date = CellDateText(bill.GetFieldValue("FDate", -1));
  const std::string classKey = "FClassID_SRC" + keys.suffix;
  auto openColumn = [&](long source) -> const char* {
    for (const auto& s : check.sources)
      if (s.sourceClass == source) return s.column;
    return nullptr;
  };
  // One statement for every source row: its row, whether the quantity (1) or the date (2) fails,
  // and the source entry.
  std::string sql =
      "Select '',0,0 From " + std::string(form.cls.entryTable) + " Where 1=2 " + kCrLf;
  bool any = false;
  for (long row = 1; row <= rows; ++row) {
    const long source = static_cast<long>(FieldNumber(bill, classKey, row));
    const long sourceEntry = static_cast<long>(FieldNumber(bill, keys.entrySrc, row));
    const char* open = openColumn(source);
    if (sourceEntry <= 0 || !open) continue;
    any = true;
    const bool order = source == 1030001;
    const std::string quantity = "(" +
                                 vb::CStr(Variant(FieldNumber(bill, keys.showQty, row) *
                                                  FieldNumber(bill, keys.coefficient, row))) +
                                 "/e.FCoefficient)";
    const std::string earlier =
        billId > 0 ? "+isnull((Select Sum(c.FShowQty*c.FCoefficient/e.FCoefficient) From " +
                         std::string(form.cls.entryTable) + " c Where c.FID=" + Id(billId) +
                         " And c.FEntryID_SRC=e.FEntryID And c.FClassID_SRC=" + Id(source) + "),0)"
                   : "";
    const std::string exceeded = std::string("e.") + open + earlier + "<" + quantity + "-0.000001";
    // Without the quantities only a later source date counts.
    sql += " Union Select '" + Id(row) + "'," +
           (check.quantities ? "Case When " + exceeded + " Then 1 Else 2 End" : std::string("2")) +
           " as ErrType," + Id(sourceEntry) + " From " +
           (order ? "t_XS_Order t Inner Join t_XS_OrderEntry e"
                  : "t_CC_StockBill t Inner Join t_CC_StockBillEntry e") +
           " On t.FID=e.FID Where e.FEntryID=" + Id(sourceEntry) + " And (" +
           (check.quantities ? exceeded + " OR " : std::string()) + "t.FDate>'" + date + "')" +
           kCrLf;
  }
  if (!any) return true;
  auto rs = services::OpenRecordsetTolerant(form.ctx, sql);
  bool askedOrder = false;
  for (; rs && !rs->Eof(); rs->MoveNext()) {
    const long row = static_cast<long>(vb::Val(vb::CStr(rs->Value(0L))));
    const long errType = static_cast<long>(vb::Val(vb::CStr(rs->Value(1L))));
    if (errType == 2) return Refuse(form.ctx, bill, "单据日期不能小于分录源单日期", "FDate");
    if (FieldNumber(bill, classKey, row) != 1030001)
      return Refuse(form.ctx, bill, check.excessMessage, keys.showQty, row);
    if (askedOrder) continue;
    askedOrder = true;
    if (services::ShowMessage(form.ctx, "存在出库数量超过订单未执行数量的商品，是否继续?",
                              host::vbYesNo | host::vbInformation) != host::vbYes) {
      if (check.cursorOnDeclinedOrder) Resume([&] { bill.SetActiveCell(keys.showQty, row); });
      return false;
    }
  }
  return true;
}

// --- audit ---------------------------------------------------------------------------------------

bool CheckAuditResult(PluginContext& ctx, long result, const std::string& message, bool fromList) {
  if (result == 1 || result == 4) return true;
  if ((result == 0 || result == 2) && !fromList && !message.empty())
    services::ShowMessage(ctx, message);
  if (result == -1 && !message.empty()) services::ShowMessage(ctx, message);
  return false;
}

bool CheckBillAudit(PluginContext& ctx, const Ref<host::IDictionary>& info, bool audit,
                    bool fromList) {
  std::string message;
  const long result = ResumeOr<long>(-2, [&] {
    return StockInfo(ctx)->CheckBill(info, audit ? 1 : -1, services::PropsString(ctx), message);
  });
  return CheckAuditResult(ctx, result, message, fromList);
}

namespace {

// The checks of CheckAuditFromForm and CheckAuditFromList on the bills of `info`.
bool CheckAuditOf(PluginContext& ctx, const SalesClass& cls, const Ref<host::IDictionary>& info,
                  const std::vector<long>& ids, bool audit, bool fromList, bool refuseRejected) {
  if (refuseRejected && ids.size() == 1 && !CheckNotRejected(ctx, cls, ids[0], audit)) return false;
  return CheckBillAudit(ctx, info, audit, fromList);
}

}  // namespace

bool CheckAuditFromForm(const SalesForm& form, bool audit, bool refuseRejected) {
  auto& bill = form.bill;
  const long id = CurBillId(bill);
  if (!CheckAuditOf(form.ctx, form.cls, HeadRecord(form, FieldNumber(bill, "FAllAmount")), {id},
                    audit, false, refuseRejected))
    return false;
  Resume([&] { bill.SetBillStatus(audit ? host::kBillView : host::kBillEdit); });
  Resume([&] { bill.Refresh(); });
  return true;
}

bool CheckAuditFromList(PluginContext& ctx, host::IListInterface& list, const SalesClass& cls,
                        bool audit, bool refuseRejected) {
  const auto info =
      ResumeOr<Ref<host::IDictionary>>({}, [&] { return list.GetSelectedBillInfo(); });
  if (!info || info->Count() == 0) return true;
  return CheckAuditOf(ctx, cls, info,
                      ResumeOr<std::vector<long>>({}, [&] { return list.SelectedBillIDs(); }),
                      audit, true, refuseRejected);
}

bool CheckNotRejected(PluginContext& ctx, const SalesClass& cls, long billId, bool audit) {
  const std::string rejected = services::FirstValue(
      ctx, "Select FRejected From " + std::string(cls.headTable) +
               " Where FClassTypeID=" + Id(cls.classTypeId) + " And FID=" + Id(billId));
  if (vb::Val(rejected) != 1) return true;
  services::ShowMessage(ctx, std::string("你选择的单据为驳回状态，不允许") + (audit ? "" : "反") +
                                 "审核，请重新选择。");
  return false;
}

bool CheckNoRebateBill(PluginContext& ctx, const SalesClass& cls, const std::vector<long>& ids) {
  for (long id : ids) {
    const std::string number = services::FirstValue(
        ctx,
        "If Object_Id('t_FL_SchemeLink') Is Not Null Select FBillNo From t_FL_SchemeLink Where "
        "FClassID_SRC=" +
            Id(cls.classTypeId) + " And FID_SRC=" + Id(id));
    if (!number.empty()) {
      services::ShowMessage(ctx, "销售单已经生成返利单" + number + ",不允许反审核。");
      return false;
    }
  }
  return true;
}

bool CheckSerialNumbersSet(PluginContext& ctx, const SalesClass& cls, const std::vector<long>& ids,
                           bool fromList, std::string_view kinds) {
  if (vb::Val(vb::CStr(services::SystemProfileValue(ctx, "CKSerialNum", "IC", "0"))) == 0)
    return true;
  const std::string kindCondition =
      kinds.empty() ? std::string() : " and tcsb.FBillTypeID in (" + std::string(kinds) + ")";
  for (long id : ids) {
    if (id <= 0) continue;
    auto rs = services::OpenRecordsetTolerant(
        ctx, "select top 1 ti.FName,tcsben.FIndex,tcsb.FBillNo from " +
                 std::string(cls.entryTable) + " tcsben inner join " + std::string(cls.headTable) +
                 " tcsb on tcsb.FID=tcsben.FID inner join t_icitem ti on "
                 "ti.FItemID=tcsben.FItemID left join t_SerialNumList tsn on "
                 "tsn.FBillID=tcsben.FID and tsn.FBillIndexID=tcsben.FIndex and "
                 "tsn.FItemID=tcsben.FItemID where tcsben.FID=" +
                 Id(id) + FirstGridRows(cls, "tcsben") +
                 " and tcsb.FClassTypeID=" + Id(cls.classTypeId) + kindCondition +
                 " and ti.FIsSerialNumMgr=1 and isnull(tsn.FID,0)=0");
    if (!rs || rs->Eof()) continue;
    if (fromList)
      services::ShowMessage(ctx, "单据：" + vb::CStr(rs->Value("FBillNo")) +
                                     " 中的商品未设置SN号，" + kCrLf + "请确认后再审核！");
    else
      services::ShowMessage(ctx, "第" + vb::CStr(rs->Value("FIndex")) + "行商品--'" +
                                     vb::CStr(rs->Value("FName")) + "'未设置SN号，" + kCrLf +
                                     "请将信息补充完整后再审核！");
    return false;
  }
  return true;
}

}  // namespace zov::plugins::sales
