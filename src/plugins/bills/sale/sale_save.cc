// The sales bill's save and audit checks, the field-action hooks and the checks other components
// call on stored bills.
#include <cmath>
#include <map>
#include <string_view>
#include <utility>

#include "bills/sale/bill_event_sale.h"
#include "calc/prices.h"
#include "calc/quantities.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/batches.h"
#include "inventory/serials.h"
#include "inventory/shelf_life.h"
#include "services/database.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

const std::string kCrLf = "\r\n";

std::string Row(long row) { return "第" + std::to_string(row) + "行"; }

double Round2(double v) { return services::FormatToPlaces(Variant(v), 2).ToDouble(); }

// A date cell as "YYYY-MM-DD"; an empty one as "1900-01-01".
std::string DateText(const Variant& v) {
  if (v.IsEmpty() || v.IsNull() || (v.IsString() && vb::Trim(v.AsString()).empty()))
    return "1900-01-01";
  return ResumeOr<std::string>("1900-01-01",
                               [&] { return vb::Format(vb::CDate(v), "YYYY-MM-DD"); });
}

bool Blank(const Variant& v) {
  return v.IsEmpty() || v.IsNull() || (v.IsString() && vb::Trim(v.AsString()).empty());
}

}  // namespace

bool BillEvent_Sale::Refuse(std::string_view message, std::string_view key, long row) {
  services::ShowMessage(context(), message);
  if (!key.empty()) Resume([&] { m_BillInterface->SetActiveCell(key, row); });
  return false;
}

// --- save
// --------------------------------------------------------------------------------------------

void BillEvent_Sale::m_BillInterface_BeforeSave(bool& cancel) {
  auto& bill = *m_BillInterface;
  auto& ctx = context();
  const long rows = ResumeOr<long>(0, [&] { return bill.BillEntrys(1)->GridMaxDataRowNum(); });
  const bool over100 =
      vb::Val(vb::CStr(services::SystemProfileValue(ctx, "AllowDiscountRateOver100", "IC", "0"))) ==
      1;

  // 1. Discount rates; rows priced 0 with an amount are noted.
  bool zeroPriced = false;
  for (long row = 1; row <= rows; ++row) {
    if (FieldId(bill, "FItemID", row) <= 0) continue;
    const double rate = FieldNumber(bill, "FDiscountRate", row);
    if (rate <= 0 || (!over100 && rate > 100)) {
      Refuse(Row(row) + (over100 ? "折扣率必须大于0。" : "折扣率必须大于0且小于等于100。"),
             "FDiscountRate", row);
      cancel = true;
      return;
    }
    if (FieldNumber(bill, "FPrice", row) == 0 && FieldNumber(bill, "FAmount", row) != 0)
      zeroPriced = true;
  }
  // 2.
  if (zeroPriced &&
      services::ShowMessage(ctx, "存在数量为零金额不为零的记录，是否继续？",
                            host::vbYesNo | host::vbInformation, "青禾提示") != host::vbYes) {
    cancel = true;
    return;
  }
  // 3. The bill validation of an unaudited bill; the payer is the customer.
  if (FieldNumber(bill, "FStatus") == 0) {
    Resume([&] { bill.SetFieldValue("FFax", vb::Trim(FieldText(bill, "FFax")), -1); });
    if (!ValidateSaleBill(1)) {
      cancel = true;
      return;
    }
    Resume([&] { bill.SetFieldValue("FCurPayID", FieldId(bill, "FCustID"), -1); });
  }
  // 4. The weight industry: freight of the header against the rows, calculation types.
  if (services::IndustryType(ctx) == 1) {
    const double charges = ColumnSum(bill, "FTranspotationCharges");
    if (Round2(FieldNumber(bill, "FTranspotationCosts")) !=
        Round2(charges)) {  // in cents, as stored
      if (services::AppType(ctx) != 1) {
        Refuse("表头我方支付运杂费数据与表体运杂费合计不等于！");
        cancel = true;
        return;
      }
      Resume([&] { bill.SetFieldValue("FTranspotationCharges", charges, -1); });
    }
    if (!calc::CheckCalTypes(ctx, bill)) {
      cancel = true;
      return;
    }
  }
  // 5. Stock sufficiency of a delivery the user saves.
  if (pendingAction_ == "SAVE" &&
      vb::Val(vb::CStr(services::SystemProfileValue(ctx, "UnderStockBeforeSave", "IC", "0"))) ==
          1 &&
      Kind() == 3001) {
    std::string message;
    const long result = ResumeOr<long>(0, [&] {
      auto stock = ctx.host().CreateObject(host::progid::kStockInfo).As<host::IStockInfo>();
      return stock->CheckItemStockNum(services::PropsString(ctx), "SAVE", HeadRecord(false),
                                      RowRecords(true, "FPrice"), message);
    });
    if (result == -1) {
      if (!message.empty()) services::ShowMessage(ctx, message);
      cancel = true;
    } else if (result == 3) {
      cancel = true;
    }
  }
  // 6.
  pendingAction_.clear();
}

bool BillEvent_Sale::ValidateSaleBill(long mode) {
  auto& bill = *m_BillInterface;
  auto& ctx = context();
  // 1.
  const long status = static_cast<long>(FieldNumber(bill, "FStatus"));
  const long billId = ResumeOr<long>(0, [&] { return bill.CurBillID(); });
  const long kind = Kind();
  const bool compareStock = kind != 3002;
  const bool expiryRule =
      vb::Val(services::GLProfileValue(ctx, "IC", "IsPeriodDateExpireNotSale", "0")) == 1;
  const Variant dateValue = bill.GetFieldValue("FDate", -1);
  const std::string billDate = DateText(dateValue);

  // 2. Dates of an unaudited bill being saved.
  if (mode == 1 && status == 0 && !Blank(dateValue)) {
    const std::string start = vb::Format(services::StartPeriodStartDate(ctx), "YYYY-MM-DD");
    if (billDate < start) return Refuse("单据日期不能小于账套启用期间的第一天。", "FDate");
    const std::string current =
        services::FirstValue(ctx,
                             " SELECT FStartDate FROM t_PeriodDate WHERE  FYear =(SELECT "
                             "CONVERT(INT, FValue) FROM t_SystemProfile WHERE "
                             "FCategory = 'IC' AND FKey = 'CurrentYear' ) AND  FPeriod =(SELECT "
                             "CONVERT(INT, FValue) FROM t_SystemProfile "
                             "WHERE FCategory = 'IC' AND FKey = 'CurrentPeriod') ");
    if (!current.empty() && billDate < DateText(Variant(current)))
      return Refuse("不能录入以前期间的单据", "FDate");
  }
  // 3.
  const Variant settle = bill.GetFieldValue("FSettleLimitDate", -1);
  if (!Blank(settle) && !Blank(dateValue) && DateText(settle) < billDate)
    return Refuse("收款日期不能小于单据日期", "FSettleLimitDate");
  // 4.
  if (FieldNumber(bill, "FCurPayAmount") != 0 && FieldId(bill, "FAcctNo") <= 0 &&
      FieldNumber(bill, "FMultiAccount") == 0)
    return Refuse("结算账户不能为空", "FAcctNo");

  // 5. The rows.
  const long rows = ResumeOr<long>(0, [&] { return bill.BillEntrys(1)->GridMaxDataRowNum(); });
  const bool over100 =
      vb::Val(vb::CStr(services::SystemProfileValue(ctx, "AllowDiscountRateOver100", "IC", "0"))) ==
      1;
  auto locked = [&](const char* key, long row) {
    return ResumeOr<bool>(true, [&] {
      auto info = bill.GetFieldInfoByKey(key);
      return !info || bill.BillCtl()->IsFieldLockRunTime(info, row);
    });
  };
  // An item's flags are read once per item, however many rows carry it.
  std::map<std::pair<long, std::string_view>, bool> itemFlags;
  auto itemFlag = [&](long item, std::string_view column) {
    auto [it, added] = itemFlags.try_emplace({item, column}, false);
    if (added)
      it->second =
          services::FirstFlag(ctx, "Select " + std::string(column) +
                                       " From t_ICItem Where FItemID=" + std::to_string(item));
    return it->second;
  };
  for (long row = 1; row <= rows; ++row) {
    const long item = FieldId(bill, "FItemID", row);
    if (item <= 0) continue;
    MarkCell(bill, "FTaxAmount", row, false);
    const double rate = FieldNumber(bill, "FDiscountRate", row);
    if (rate <= 0 || (!over100 && rate > 100))
      return Refuse(Row(row) + (over100 ? "折扣率必须大于0。" : "折扣率必须大于0小于等于100。"),
                    "FDiscountRate", row);
    if (!locked("FAuxPropID", row) && itemFlag(item, "FISAuxi") &&
        FieldId(bill, "FAuxPropID", row) <= 0)
      return Refuse(Row(row) + "商品需要录入辅助属性", "FAuxPropID", row);
    if (itemFlag(item, "FISBatchManager") && vb::Trim(FieldText(bill, "FBatchNo", row)).empty())
      return Refuse(Row(row) + "商品需要录入批号", "FBatchNo", row);
  }
  if (inventory::CheckSerialCounts(ctx, bill)) return false;

  // 6. Batches against the stock.
  if (compareStock) {
    inventory::BatchSources sources;
    sources.stockBalance = true;
    sources.documents = true;
    for (long row = 1; row <= rows; ++row) {
      const long item = FieldId(bill, "FItemID", row);
      if (item <= 0 || vb::Trim(FieldText(bill, "FBatchNo", row)).empty() ||
          !itemFlag(item, "FISBatchManager"))
        continue;
      inventory::AuxCompare aux = services::AppType(ctx) == 1 ? inventory::AuxCompare::Ignore
                                                              : inventory::AuxCompare::Undecided;
      if (!inventory::CheckRowBatchInStock(ctx, bill, row, sources, billId, aux)) return false;
    }
  }
  // 7. Goods past their expiry date are not sold.
  if (expiryRule && (kind == 3001 || kind == 3003)) {
    for (long row = 1; row <= rows; ++row) {
      const long item = FieldId(bill, "FItemID", row);
      const Variant expiry = bill.GetFieldValue("FPeriodDate", row);
      if (item <= 0 || Blank(expiry) || !itemFlag(item, "FISKFPeriod")) continue;
      if (DateText(expiry) < billDate)
        return Refuse(Row(row) + "有效期至已经超过期限，不能销售。", "FPeriodDate", row);
    }
  }
  // 8. Nothing of the rows is returned yet.
  for (long row = 1; row <= rows; ++row) {
    Resume([&] { bill.SetFieldValue("FUnRejectQty", FieldNumber(bill, "FShowQty", row), row); });
    Resume([&] { bill.SetFieldValue("FUnRejectAuxQty", FieldNumber(bill, "FSecQty", row), row); });
  }
  // 9. Direct delivery: no more than the purchase row still holds.
  for (long row = 1; row <= rows; ++row) {
    if (FieldNumber(bill, "FClassID_SRC", row) != 1020002) continue;
    const std::string sourceId =
        std::to_string(static_cast<long>(FieldNumber(bill, "FID_SRC", row)));
    const std::string sourceEntry =
        std::to_string(static_cast<long>(FieldNumber(bill, "FEntryID_SRC", row)));
    const std::string entry = std::to_string(static_cast<long>(FieldNumber(bill, "FEntryID", row)));
    const double delivered = vb::Val(services::FirstValue(
        ctx,
        "select isnull(sum(FQty),0) from t_cc_stockbill a inner join t_cc_stockbillentry b on "
        "a.fid=b.fid" +
            kCrLf +
            "where a.FClassTypeID=1030002 And (a.FBillTypeID=3001 OR a.FBillTypeID=3003) and "
            "b.FID_SRC= " +
            sourceId + "and b.FClassID_SRC=1020002 and b.FEntryID_SRC=" + sourceEntry +
            " AND b.FEntryID <> " + entry));
    const std::string remainingText = services::FirstValue(
        ctx, "select isnull((max(u1.FUnRejectQty*u1.FQty/u1.FShowQty) ), 0) " + kCrLf +
                 "from t_CC_StockBill v1 Inner Join t_CC_StockBillEntry u1 On v1.FID=u1.FID " +
                 kCrLf + "where v1.FClassTypeID=1020002 and v1.FID=" + sourceId +
                 "and u1.FEntryID=" + sourceEntry);
    const double remaining = vb::Val(remainingText);
    if (delivered + FieldNumber(bill, "FQty", row) > remaining + 0.000001)
      return Refuse(Row(row) + "数量已经超过源单未下推基本单位总数量【" +
                        vb::CStr(Variant(remaining)) + "】，不能销售。",
                    "FShowQty", row);
  }
  // 10. One batch, one set of dates.
  const bool auxCompared = services::AppType(ctx) != 1;
  if (inventory::CheckBatchConsistency(
          ctx, bill,
          auxCompared ? inventory::AuxCompare::Undecided : inventory::AuxCompare::Ignore))
    return Refuse(auxCompared ? "同一批号商品的辅助属性、生产日期、保质期、有效期至必须完全一致"
                              : "同一批号商品的生产日期、保质期、有效期至必须完全一致。");
  // 11. The source rows.
  if (!CheckSourceRows()) return false;

  // 12. Totals.
  const double total = BillTotal();
  if (total < 0) return Refuse("总金额不能小于零,请修改");
  const double pay = FieldNumber(bill, "FCurPayAmount"),
               offset = FieldNumber(bill, "FNeutralizeAmount"),
               checked = FieldNumber(bill, "FCurCheckAmount");
  Resume([&] { bill.SetFieldValue("FAllAmount", total, -1); });
  Resume([&] { bill.SetFieldValue("FCheckAmount", checked, -1); });
  Resume([&] { bill.SetFieldValue("FUnCheckAmount", Round2(total - checked - offset), -1); });
  // 13. Settlement amounts, compared in cents: the column sum carries the binary noise of its
  // addends, and an amount stored with the bill comes back rounded.
  const double totalCents = Round2(total), checkedCents = Round2(checked);
  if (kind == 3002 || kind == 3004) {
    if (Round2(pay) > totalCents) return Refuse("本次退款金额不准确，请修改", "FCurPayAmount");
  } else if (totalCents != 0) {
    if ((checked == 0 && (pay != 0 || offset != 0)) || checkedCents > totalCents ||
        (checkedCents < totalCents && checkedCents != Round2(pay + offset)))
      return Refuse("本次核销金额不准确，请修改", "FCurCheckAmount");
  } else {
    if (checked != 0 && pay == 0) return Refuse("本次核销金额不准确，请修改", "FCurCheckAmount");
    if (checked > 0) return Refuse("整单为零的销售单，不允许收款。", "FCurCheckAmount");
    if (pay > 0) return Refuse("整单为零的销售单，不允许收款。", "FCurPayAmount");
    if (offset > 0) return Refuse("整单为零的销售单，不允许收款。", "FNeutralizeAmount");
  }
  // 14. A settlement discount needs its account.
  const bool unite =
      vb::Val(vb::CStr(services::SystemProfileValue(ctx, "GLAndJXCUnite", "General", "0"))) != 0;
  if (!unite && Round2(checked) != Round2(pay + offset) && FieldId(bill, "FDiscountAcctID") <= 0)
    return Refuse("请输入优惠科目", "FDiscountAcctID");

  // 15.-16. The save-time controls of deliveries and settlements with a customer.
  const long customer = FieldId(bill, "FCustID");
  if (services::ControlPoint(ctx) == 0 && kind != 3002 && kind != 3004 && customer > 0) {
    const std::string props = services::PropsString(ctx);
    auto stock = ctx.host().CreateObject(host::progid::kStockInfo).As<host::IStockInfo>();
    const std::string priceKey = services::GLProfileValue(ctx, "IC", "XSPriceLimitType", "0") == "1"
                                     ? "FPriceDiscount"
                                     : "FPrice";
    if (stock && !ResumeOr<bool>(true, [&] {
          return stock->CheckLimitPrice(props, HeadRecord(false), RowRecords(false, priceKey));
        }))
      return false;
    if (services::InitClosed(ctx)) {
      auto sys = ctx.host().CreateObject(host::progid::kPublicSysInfo).As<host::IPublicSysInfo>();
      auto head = HeadRecord(false);
      head->SetItem("CreditAmount",
                    vb::Val(services::FirstValue(
                        ctx, "Select FCreditAmount,* From t_Organization Where FItemID=" +
                                 std::to_string(customer))));
      std::string message;
      if (sys && stock &&
          ResumeOr<bool>(false, [&] { return sys->CheckCredit(props, head, message); }) &&
          !ResumeOr<bool>(false, [&] { return stock->CreditSelectOK(message); }))
        return false;
      message.clear();
      if (sys && stock &&
          ResumeOr<bool>(false,
                         [&] { return sys->CheckUnCheckAmountOutOfDate(props, head, message); }) &&
          !ResumeOr<bool>(false, [&] { return stock->UnCheckAmountOutOfDateSelectOK(message); }))
        return false;
    }
  }
  // 17.
  if (pay < 0)
    return Refuse(
        kind == 3002 ? "本次退款金额不能小于零，请修改" : "本次收款金额不能小于零，请修改",
        "FCurPayAmount");
  return true;
}

bool BillEvent_Sale::CheckSourceRows() {
  auto& bill = *m_BillInterface;
  auto& ctx = context();
  const long rows = ResumeOr<long>(0, [&] { return bill.BillEntrys(1)->GridMaxDataRowNum(); });
  const long billId = ResumeOr<long>(0, [&] { return bill.CurBillID(); });
  const std::string date = DateText(bill.GetFieldValue("FDate", -1));
  std::string sql = "Select '',0,0 From t_CC_StockBillEntry Where 1=2 " + kCrLf;
  bool any = false;
  for (long row = 1; row <= rows; ++row) {
    const long source = static_cast<long>(FieldNumber(bill, "FClassID_SRC", row));
    const long sourceEntry = static_cast<long>(FieldNumber(bill, "FEntryID_SRC", row));
    if (sourceEntry <= 0 || (source != 1030001 && source != 1030002 && source != 1030003)) continue;
    any = true;
    const bool order = source == 1030001;
    const char* open = order ? "FUnSendQty" : source == 1030003 ? "FUnSettleQty" : "FUnRejectQty";
    const std::string quantity = "(" +
                                 vb::CStr(Variant(FieldNumber(bill, "FShowQty", row) *
                                                  FieldNumber(bill, "FCoefficient", row))) +
                                 "/e.FCoefficient)";
    const std::string earlier =
        billId > 0
            ? "+isnull((Select Sum(c.FShowQty*c.FCoefficient/e.FCoefficient) From "
              "t_CC_StockBillEntry c "
              "Where c.FID=" +
                  std::to_string(billId) +
                  " And c.FEntryID_SRC=e.FEntryID And c.FClassID_SRC=" + std::to_string(source) +
                  "),0)"
            : "";
    sql += " Union Select '" + std::to_string(row) + "',Case When e." + open + earlier + "<" +
           quantity + "-0.000001 Then 1 Else 2 End as ErrType," + std::to_string(sourceEntry) +
           " From " +
           (order ? "t_XS_Order t Inner Join t_XS_OrderEntry e"
                  : "t_CC_StockBill t Inner Join t_CC_StockBillEntry e") +
           " On t.FID=e.FID Where e.FEntryID=" + std::to_string(sourceEntry) + " And (e." + open +
           earlier + "<" + quantity + "-0.000001 OR t.FDate>'" + date + "')" + kCrLf;
  }
  if (!any) return true;
  auto rs = services::OpenRecordsetTolerant(ctx, sql);
  bool askedOrder = false;
  for (; rs && !rs->Eof(); rs->MoveNext()) {
    const long row = static_cast<long>(vb::Val(vb::CStr(rs->Value(0L))));
    const long errType = static_cast<long>(vb::Val(vb::CStr(rs->Value(1L))));
    const long source = static_cast<long>(FieldNumber(bill, "FClassID_SRC", row));
    if (errType == 2) return Refuse("单据日期不能小于分录源单日期", "FDate");
    if (source == 1030001) {
      if (askedOrder) continue;
      askedOrder = true;
      if (services::ShowMessage(ctx, "存在出库数量超过订单未执行数量的商品，是否继续?",
                                host::vbYesNo | host::vbInformation) != host::vbYes)
        return false;
    } else {
      return Refuse(std::string("存在数量大于源单未") + (Kind() == 3003 ? "结算" : "退货") +
                        "数量的商品,不能保存",
                    "FShowQty", row);
    }
  }
  return true;
}

Ref<host::IDictionary> BillEvent_Sale::HeadRecord(bool forAudit) {
  auto& bill = *m_BillInterface;
  auto head = context().host().CreateObject(host::progid::kDictionary).As<host::IDictionary>();
  head->SetItem("ClassTypeID", kClassTypeId);
  head->SetItem("BillInterID", ResumeOr<long>(0, [&] { return bill.CurBillID(); }));
  head->SetItem("HeadTableName", "t_CC_StockBill");
  head->SetItem("BillNo", FieldText(bill, "FBillNo"));
  head->SetItem("CustOrSupplyID", FieldId(bill, "FCustID"));
  head->SetItem("BillType", Kind());
  head->SetItem("AllAmount", forAudit ? FieldNumber(bill, "FUnCheckAmount") : BillTotal());
  head->SetItem("SettleLimitDate", bill.GetFieldValue("FSettleLimitDate", -1));
  head->SetItem("UncheckAmount", FieldNumber(bill, "FUnCheckAmount"));
  if (forAudit) head->SetItem("FNeutralizeAmount", FieldNumber(bill, "FNeutralizeAmount"));
  return head;
}

Ref<host::IDictionary> BillEvent_Sale::RowRecords(bool forStock, std::string_view priceKey) {
  auto& bill = *m_BillInterface;
  auto records = context().host().CreateObject(host::progid::kDictionary).As<host::IDictionary>();
  const long rows = ResumeOr<long>(0, [&] { return bill.BillEntrys(1)->GridMaxDataRowNum(); });
  long n = 0;
  for (long row = 1; row <= rows; ++row) {
    if (FieldId(bill, "FItemID", row) <= 0) continue;
    auto r = context().host().CreateObject(host::progid::kDictionary).As<host::IDictionary>();
    r->SetItem("ItemID", FieldId(bill, "FItemID", row));
    r->SetItem("Index", row);
    r->SetItem("UnitID", FieldId(bill, "FShowUnitID", row));
    r->SetItem("Coefficient", FieldNumber(bill, "FCoefficient", row));
    r->SetItem("StockID", FieldId(bill, "FSCStockID", row));
    r->SetItem("Price", FieldNumber(bill, priceKey, row));
    if (forStock) {
      for (const char* key : {"FItemID", "FAuxPropID", "FSCStockID", "FKFPeriod", "FQty", "FSecQty",
                              "FSecPrice", "FPrice", "FCoefficient", "FBatchNoIndex"})
        r->SetItem(key, FieldNumber(bill, key, row));
      r->SetItem("FBatchNo", FieldText(bill, "FBatchNo", row));
      r->SetItem("FKFDate", bill.GetFieldValue("FKFDate", row));
      r->SetItem("FPeriodDate", bill.GetFieldValue("FPeriodDate", row));
    }
    records->SetItem(++n, Ref<host::IDictionary>(r));
  }
  return records;
}

// --- audit
// ----------------------------------------------------------------------------------------

bool BillEvent_Sale::CheckAuditState(bool audit, bool fromList) {
  auto& ctx = context();
  const std::string props = services::PropsString(ctx);
  Ref<host::IDictionary> info;
  std::vector<long> ids;
  if (fromList) {
    info = ResumeOr<Ref<host::IDictionary>>({},
                                            [&] { return m_ListInterface->GetSelectedBillInfo(); });
    ids = ResumeOr<std::vector<long>>({}, [&] { return m_ListInterface->SelectedBillIDs(); });
    if (!info || info->Count() == 0) return true;
  } else {
    info = HeadRecord(true);
    ids.push_back(ResumeOr<long>(0, [&] { return m_BillInterface->CurBillID(); }));
  }
  // A bill that made a rebate bill is not un-audited.
  if (!audit) {
    for (long id : ids) {
      const std::string number =
          services::FirstValue(ctx,
                               "If Object_Id('t_FL_SchemeLink') Is Not Null Select FBillNo From "
                               "t_FL_SchemeLink Where FClassID_SRC=1030002 And "
                               "FID_SRC=" +
                                   std::to_string(id));
      if (!number.empty()) {
        services::ShowMessage(ctx, "销售单已经生成返利单" + number + ",不允许反审核。");
        return false;
      }
    }
  }
  std::string message;
  const long result = ResumeOr<long>(-2, [&] {
    auto stock = ctx.host().CreateObject(host::progid::kStockInfo).As<host::IStockInfo>();
    return stock->CheckBill(info, audit ? 1 : -1, props, message);
  });
  bool ok = result == 1 || result == 4;
  if (!ok) {
    if ((result == 0 || result == 2) && !fromList && !message.empty())
      services::ShowMessage(ctx, message);
    if (result == -1 && !message.empty()) services::ShowMessage(ctx, message);
    return false;
  }
  if (!fromList && ids.size() == 1) {
    const std::string rejected = services::FirstValue(
        ctx, "Select FRejected From t_cc_stockbill Where FClassTypeID=1030002 And FID=" +
                 std::to_string(ids[0]));
    if (vb::Val(rejected) == 1) {
      services::ShowMessage(ctx, std::string("你选择的单据为驳回状态，不允许") +
                                     (audit ? "" : "反") + "审核，请重新选择。");
      ok = false;
    }
  }
  return ok;
}

bool BillEvent_Sale::CheckSerialCompleteness(bool fromList) {
  auto& ctx = context();
  if (vb::Val(vb::CStr(services::SystemProfileValue(ctx, "CKSerialNum", "IC", "0"))) == 0)
    return true;
  std::vector<long> ids;
  if (fromList)
    ids = ResumeOr<std::vector<long>>({}, [&] { return m_ListInterface->SelectedBillIDs(); });
  else
    ids.push_back(ResumeOr<long>(0, [&] { return m_BillInterface->CurBillID(); }));
  for (long id : ids) {
    if (id <= 0) continue;
    auto rs = services::OpenRecordsetTolerant(
        ctx,
        "select top 1 ti.FName,tcsben.FIndex,tcsb.FBillNo from t_cc_stockbillentry tcsben inner "
        "join t_cc_stockbill tcsb on "
        "tcsb.FID=tcsben.FID inner join t_icitem ti on ti.FItemID=tcsben.FItemID left join "
        "t_SerialNumList tsn on "
        "tsn.FBillID=tcsben.FID and tsn.FBillIndexID=tcsben.FIndex and tsn.FItemID=tcsben.FItemID "
        "where tcsben.FID=" +
            std::to_string(id) +
            " and tcsb.FClassTypeID=1030002 and tcsb.FBillTypeID in (3001,3003) and "
            "ti.FIsSerialNumMgr=1 and isnull(tsn.FID,0)=0");
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

// --- the host's field actions
// ----------------------------------------------------------------------

void BillEvent_Sale::m_BillInterface_BeforeDoAction(const Variant& fieldInfo,
                                                    const Variant& actionData, const Variant&,
                                                    const std::string& kind,
                                                    const std::string& name,
                                                    const std::string& parameter, bool& cancel) {
  const auto info = fieldInfo.ObjectAs<host::IDictionary>();
  if (!info) return;
  const std::string fieldName = vb::CStr(info->Item("FFieldName"));
  const std::string key = vb::CStr(info->Item("FKey"));
  // Amounts drive prices only where the bill says so.
  if ((fieldName == "FAmount" || fieldName == "FInTaxAmount" || key == "FAmount" ||
       key == "FInTaxAmount") &&
      !ResumeOr<bool>(true, [&] { return m_BillInterface->AmountCalcPrice(); })) {
    cancel = true;
    return;
  }
  // The batch column of a batch-managed item is the batch rule's, not the host's lock.
  if ((key == "FItemID" || key == "FItemID1") && (kind == "FAction" || kind == "FLoadAction") &&
      name == "LockField" &&
      (parameter == "ME.FTrack<>80,FBatchNo1=1,FBatchNo1=0" ||
       parameter == "ME.FTrack<>80,FBatchNo=1,FBatchNo=0" ||
       parameter == "ME.FBatchManager=0,FBatchNo=1,FBatchNo=0")) {
    const auto data = actionData.ObjectAs<host::IDictionary>();
    auto read = [&](const char* item) {
      const Variant v = data ? data->Item(item) : Variant{};
      return v.IsEmpty() || v.IsNull()   ? 0.0
             : vb::Val(vb::CStr(v)) != 0 ? vb::Val(vb::CStr(v))
                                         : (vb::UCase(vb::CStr(v)) == "TRUE" ? 1 : 0);
    };
    if (read("FIsBatchNoManage") != 0 && read("FTrack") != 80) cancel = true;
  }
}

void BillEvent_Sale::m_BillInterface_AfterDoAction2(const Variant&, const Variant&, const Variant&,
                                                    const std::string& kind,
                                                    const std::string& name,
                                                    const std::string& parameter, long row) {
  if (row < 1) return;
  calc::ApplyTaxAfterCalculate(context(), *m_BillInterface, row, kind, name, parameter, true);
}

// --- checks on stored bills
// -----------------------------------------------------------------------

void BillEvent_Sale::checkBillSNErr(const Variant& bill, Variant& result) {
  result = false;
  auto b = bill.ObjectAs<host::IBillInterface>();
  if (b) result = inventory::checkBillSNErr(context(), *b);
}
void BillEvent_Sale::checkXSDBillSNErr(long billId, Variant& result) {
  result = !inventory::checkXSDBillSNErr(context(), billId);
}
void BillEvent_Sale::checkXSDBillBatchNoErr(long billId, Variant& result) {
  result = !inventory::checkXSDBillBatchNoErr(context(), billId);
}

}  // namespace zov::plugins
