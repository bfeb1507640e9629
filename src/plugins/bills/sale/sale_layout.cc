// The sales bill's layout: which tools, captions, columns and settlement fields the form shows
// for the bill's kind (delivery 3001, return 3002, consignment settlement 3003 and its return
// 3004) and state.
#include <functional>

#include "bills/sale/bill_event_sale.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/database.h"
#include "services/login.h"
#include "services/profile.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

constexpr const char* kQueryTools[] = {
    "mnuQueryPayIn",         "mnuQuerySaleReject", "mnuQuerySale",      "mnuQueryConsign",
    "mnuQueryConsignReject", "mnuQueryConsignBal", "mnuQuerySaleOrder", "mnuQueryGH"};
constexpr const char* kPushTools[] = {"mnuRelatePushBill_1050001", "mnuRelatePushBill_3000001",
                                      "mnuRelatePushBill_1030002"};
constexpr const char* kSourceTools[] = {"mnuRelate_1030001", "mnuRelate_1030002",
                                        "mnuRelate_1030003"};
constexpr const char* kLogisticsTools[] = {"mnuRelatePushBill_2000001", "mnuQueryLogisticList"};

bool IsReturn(long kind) { return kind == 3002 || kind == 3004; }

void ForEachColumn(host::IBillInterface& bill, std::string_view keys, int grid,
                   const std::function<void(host::IQORField&)>& apply) {
  for (const std::string& key : vb::Split(keys, ",")) {
    Resume([&] {
      auto g = grid == 0 ? bill.BillHeads() : bill.BillEntrys(grid);
      apply(*g->QORFields(key));
    });
  }
}

}  // namespace

long BillEvent_Sale::Kind() {
  return ResumeOr<long>(
      0, [&] { return static_cast<long>(FieldNumber(*m_BillInterface, "FBillTypeID")); });
}

void BillEvent_Sale::Bar(const char* tool, const char* property, bool value) {
  Resume([&] { m_BillInterface->SetBarStatus(tool, property, value); });
}

void BillEvent_Sale::HideFieldsByRights() {
  const std::string props = services::PropsString(context());
  if (!services::AccessCheck(context(), props, 15, 900, 32, kProgId))
    ForEachColumn(*m_BillInterface, "FCostPrice,FCostAmount", 1,
                  [](host::IQORField& f) { f.SetVisible(false); });
  if (!invoiceAmountRight_)
    ForEachColumn(*m_BillInterface, "FInvoiceAmt,FNoInvoiceAmt", 0,
                  [](host::IQORField& f) { f.SetVisible(false); });
}

void BillEvent_Sale::MarkPagesUnmodified() {
  Resume([&] {
    auto data = m_BillInterface->Data();
    auto markCells = [](const Ref<host::IDictionary>& cells) {
      if (!cells) return;
      for (const auto& key : cells->Keys())
        if (auto cell = cells->Item(key).ObjectAs<host::IDictionary>()) cell->SetItem("FModify", 0);
    };
    markCells(data->Item("Page1").ObjectAs<host::IDictionary>());
    for (const char* page : {"Page2", "Page3"}) {
      auto rows = data->Item(page).ObjectAs<host::IDictionary>();
      if (!rows) continue;
      for (const auto& row : rows->Keys()) markCells(rows->Item(row).ObjectAs<host::IDictionary>());
    }
  });
}

void BillEvent_Sale::ShowCustomerCredit() {
  auto& bill = *m_BillInterface;
  const long customer = FieldId(bill, "FCustID");
  auto clear = [&] { Resume([&] { bill.SetStatusText(3, ""); }); };
  if (customer < 1) return clear();
  if (!services::AccessCheck(context(), services::PropsString(context()), 40, 100, 1024, kProgId))
    return clear();
  auto rs = services::OpenRecordsetTolerant(
      context(), "Select FCurComeGoBalance,FCreditAmount From t_Organization Where FItemID = " +
                     std::to_string(customer));
  if (!rs || rs->Eof()) return;
  std::string text;
  if (services::InitClosed(context())) {
    auto number = [&](const char* column) {
      const Variant v = rs->Value(column);
      return vb::CStr(Variant(vb::Val(v.IsNull() ? std::string() : vb::CStr(v))));
    };
    text = "往来余额" + number("FCurComeGoBalance") + ",信用额度" + number("FCreditAmount");
  } else {
    text = "往来余额0,信用额度0";
  }
  Resume([&] { bill.SetStatusText(3, text); });
}

void BillEvent_Sale::CalcSettleLimitDate() {
  auto& bill = *m_BillInterface;
  const long customer = FieldId(bill, "FCustID");
  if (customer <= 0) return;
  auto rs = services::OpenRecordsetTolerant(
      context(),
      " Select t2.FType,t2.FStandDays,t2.FMonthPayDay,t2.FBeforeDays From t_Organization t1 \r\n"
      " Left Join t_SetDl t2 ON t1.FPayMentTime=t2.FItemID Where t1.FItemID=" +
          std::to_string(customer));
  if (!rs || rs->Eof()) return;
  const Variant dateValue = bill.GetFieldValue("FDate", -1);
  if (dateValue.IsEmpty() || (dateValue.IsString() && dateValue.AsString().empty())) return;
  Resume([&] {
    const vb::Date date = vb::CDate(dateValue);
    auto number = [&](const char* column) {
      const Variant v = rs->Value(column);
      return v.IsNull() ? 0L : static_cast<long>(vb::Val(vb::CStr(v)));
    };
    const long type = number("FType");
    vb::Date due;
    if (type == 1) {
      due = vb::DateAdd("d", number("FStandDays"), date);
    } else if (type == 2) {
      // Monthly settlement: past the pay day (after the days before it) the next month's pay day.
      const long payDay = number("FMonthPayDay");
      const vb::Date counted = vb::DateAdd("d", number("FBeforeDays"), date);
      int year = vb::Year(counted), month = vb::Month(counted);
      if (vb::Day(counted) > payDay) {
        if (++month > 12) {
          month = 1;
          ++year;
        }
      }
      long day = payDay;
      if (month == 4 || month == 6 || month == 9 || month == 11)
        day = std::min(day, 30L);
      else if (month == 2)
        day = std::min(day, year % 4 == 0 ? 29L : 28L);
      else
        day = std::min(day, 31L);
      due = vb::DateSerial(year, month, static_cast<int>(std::max(day, 1L)));
    } else {
      return;
    }
    bill.SetFieldValue("FSettleLimitDate", due, -1);
  });
}

void BillEvent_Sale::LockPaymentCells() {
  auto& bill = *m_BillInterface;
  Resume([&] {
    auto cell = bill.GetDataFldbyKey("FCurPayAmount", -1);
    const bool stored = cell && cell->Lookup("FieldData");
    const double payment = stored ? vb::Val(vb::CStr(cell->Item("FieldData"))) : 0;
    const bool lockStyle = !stored || payment == 0;
    calc::LockField(bill, "FBalanceStyle", lockStyle, -1);
    calc::LockField(bill, "FAcctNo", lockStyle, -1);
    calc::LockField(bill, "FCurPayAmount", !stored, -1);
  });
}

void BillEvent_Sale::FillComplexQtyTexts() {
  auto& bill = *m_BillInterface;
  const long rows = ResumeOr<long>(0, [&] { return bill.BillEntrys(1)->GridMaxDataRowNum(); });
  for (long row = 1; row <= rows; ++row) {
    Resume([&] {
      if (!vb::Trim(FieldText(bill, "FComplexQtyDis", row)).empty()) return;
      const long item = FieldId(bill, "FItemID", row);
      if (item <= 0) return;
      const std::string qty = vb::CStr(Variant(FieldNumber(bill, "FQty", row)));
      auto rs =
          services::OpenRecordset(context(), "Select dbo.GetComplexQty(" + std::to_string(item) +
                                                 "," + qty + ") as FComplexQtyDis");
      if (!rs || rs->Eof()) return;
      const std::string text = vb::CStr(rs->Value(0L));
      auto cell = bill.GetDataFldbyKey("FComplexQtyDis", row);
      if (cell) {
        cell->SetItem("FDSP", text);
        cell->SetItem("FFLD", text);
      }
      const long classType = static_cast<long>(FieldNumber(bill, "lClassTypeID", row));
      const char* table = classType == 1030001   ? "t_XS_OrderEntry"
                          : classType == 1030002 ? "T_CC_StockBillEntry"
                                                 : nullptr;
      const long entry = static_cast<long>(FieldNumber(bill, "FEntryID2", row));
      if (table && entry > 0)
        services::ExecuteUpdate(context(),
                                std::string("UPDATE ") + table +
                                    " SET FComplexQtyDis = " + services::SqlLiteral(text) +
                                    " WHERE lEntryID = " + std::to_string(entry));
    });
  }
}

void BillEvent_Sale::ApplyBillLayout() {
  auto& bill = *m_BillInterface;
  const long status =
      ResumeOr<long>(0, [&] { return static_cast<long>(FieldNumber(bill, "FStatus")); });
  const long kind = Kind();
  const std::string billNo = ResumeOr<std::string>({}, [&] { return FieldText(bill, "FBillNo"); });
  const bool logistic = ResumeOr<bool>(false, [&] {
    auto info =
        context().host().CreateObject(host::progid::kLogisticInfo).As<host::ILogisticInfo>();
    return info && info->ExistsMakeLogistic(services::PropsString(context()), billNo);
  });
  (void)logistic;  // the logistics tools follow the audit state below
  const long state = ResumeOr<long>(0, [&] { return bill.BillStatus(); });
  const long appType = services::AppType(context());

  Bar("mnuEditCheckInfo", "Visible", appType == 4);
  // Fixed states first.
  Bar("mnuRelateViewVoucher", "Enabled", false);
  Bar("mnuEditFileSave", "Visible", true);
  Bar("mnuEditFileSave", "Enabled", true);
  Bar("mnuEditClose", "Visible", false);
  Bar("mnuEditUnClose", "Visible", false);
  Bar("mnuEditCopy", "Visible", true);
  Bar("mnuEditCopy", "Enabled", true);
  Bar("mnuReject", "Visible", false);

  // Visibility by kind.
  const auto byKind = [&](const char* tool, bool k3001, bool k3002, bool k3003, bool k3004) {
    const bool v = kind == 3002 ? k3002 : kind == 3003 ? k3003 : kind == 3004 ? k3004 : k3001;
    Bar(tool, "Visible", v);
  };
  byKind("mnuRelate_1030001", true, false, false, false);
  byKind("mnuRelate_1030002", false, true, false, true);
  byKind("mnuRelate_1030003", false, false, true, false);
  byKind("mnuQueryPayIn", true, true, true, true);
  for (const char* t : {"mnuQuerySaleOrder", "mnuQueryGH", "mnuQuerySaleReject"})
    byKind(t, true, false, false, false);
  byKind("mnuQuerySale", false, true, false, false);
  byKind("mnuQueryConsign", false, false, false, false);
  byKind("mnuQueryConsignReject", false, false, false, true);
  byKind("mnuQueryConsignBal", false, false, true, false);
  byKind("mnuRelatePushBill_1050001", true, true, true, true);
  for (const char* t : {"mnuRelatePushBill_3000001", "mnuRelatePushBill_1030002",
                        "mnuRelatePushBill_2000001", "mnuQueryLogisticList"})
    byKind(t, true, false, true, false);
  if (kind == 3003 || kind == 3004) {
    Bar("mnuEditAddRow", "Visible", false);
    Bar("mnuCopyRow", "Visible", false);
  }
  if (kind == 3004) {
    Bar("mnuEditCopy", "Enabled", false);
    Bar("mnuImportGoods", "Enabled", false);
  }

  // By the form's state.
  const auto all = [&](const auto& tools, const char* property, bool value) {
    for (const char* t : tools) Bar(t, property, value);
  };
  if (state == host::kBillNew) {
    Bar("mnuEditCheck", "Visible", true);
    Bar("mnuEditCheck", "Enabled", true);
    Bar("mnuEditUnCheck", "Visible", false);
    all(kSourceTools, "Enabled", true);
    all(kQueryTools, "Enabled", false);
    all(kPushTools, "Enabled", false);
    const bool neutralizeShown = ResumeOr<bool>(false, [&] {
      auto map = bill.TableInfo()->Item("Map").ObjectAs<host::IDictionary>();
      auto entry = map ? map->Item("FNeutralizeAmount").ObjectAs<host::IDictionary>()
                       : Ref<host::IDictionary>{};
      return entry && (vb::CLng(entry->Item("FVisible")) & 64) != 0;
    });
    Bar("mnuEditCheckInfo", "Enabled", (kind == 3001 || kind == 3003) && neutralizeShown);
    all(kLogisticsTools, "Visible", false);
  } else if (state == host::kBillEdit) {
    Bar("mnuEditCheck", "Visible", true);
    Bar("mnuEditCheck", "Enabled", true);
    Bar("mnuEditUnCheck", "Visible", false);
    all(kSourceTools, "Enabled", false);
    all(kQueryTools, "Enabled", true);
    all(kPushTools, "Enabled", false);
    Bar("mnuReject", "Visible", true);
    Bar("mnuEditCheckInfo", "Enabled", false);
    all(kLogisticsTools, "Visible", false);
  } else {
    all(kSourceTools, "Enabled", false);
    all(kQueryTools, "Enabled", true);
    all(kPushTools, "Enabled", true);
    Bar("mnuEditAutoSumAmt", "Enabled", false);
    Bar("mnuEditCheckInfo", "Enabled", false);
    if (status == 0) {
      Bar("mnuEditCheck", "Visible", true);
      Bar("mnuEditCheck", "Enabled", true);
      Bar("mnuEditUnCheck", "Visible", false);
      Bar("mnuRelatePushBill_3000001", "Enabled", false);
    } else if (status == 1) {
      Bar("mnuRelateViewVoucher", "Enabled", true);
      Bar("mnuEditCheck", "Visible", false);
      Bar("mnuEditUnCheck", "Visible", true);
      Bar("mnuEditUnCheck", "Enabled", true);
      Bar("mnuRelatePushBill_3000001", "Enabled", true);
      if (kind == 3001 || kind == 3003) all(kLogisticsTools, "Visible", true);
    }
  }

  // Captions and labels of the kind.
  Resume([&] {
    bill.SetToolProperty("mnuQueryPayIn", "Caption",
                         IsReturn(kind) ? "查询退款记录" : "查询收款记录");
  });
  if (kind == 3004)
    Resume([&] { bill.SetToolProperty("mnuQueryConsignReject", "Caption", "查询委托结算记录"); });
  if (kind == 3002)
    Resume([&] { bill.SetToolProperty("mnuRelate_1030002", "ToolTipText", "选择销售发货单"); });
  ForEachColumn(bill, "FCurPayAmount", 0, [&](host::IQORField& f) {
    f.SetCaption(IsReturn(kind) ? "本次退款:" : "本次收款:");
  });
  if (IsReturn(kind))
    Resume([&] { bill.SetEntryCtlProperty("TextColor", bill.GetFieldValue("FTextColor", -1)); });

  // Order columns a kind does not use.
  const bool weight = services::IndustryType(context()) == 1;
  std::string hidden;
  if (IsReturn(kind))
    hidden = weight ? "FOrderQty,FBaseOrderQty,FRejectQty,FBaseRejectQty,FRejectAuxQty,"
                      "FUnRejectQty,FBaseUnRejectQty,FUnRejectAuxQty"
                    : "FOrderQty,FRejectQty,FRejectAuxQty,FUnRejectQty,FUnRejectAuxQty";
  else if (kind == 3003)
    hidden = weight ? "FOrderQty,FBaseOrderQty,FUnRejectQty,FBaseUnRejectQty,FUnRejectAuxQty"
                    : "FOrderQty,FUnRejectQty,FUnRejectAuxQty";
  else
    hidden = "FOrderQty";
  ForEachColumn(bill, hidden, 1, [](host::IQORField& f) { f.SetVisible(false); });
  if (kind == 3003 || kind == 3004)
    ForEachColumn(bill, "FItemID,FClientItemID,FSCStockID,FBatchNo,FAuxPropID,FKFDate,FShowUnitID",
                  1, [](host::IQORField& f) { f.SetFieldLock(true); });

  // Tax columns by the invoice type; the template decides how they show when they show.
  const long invoiceType =
      static_cast<long>(ResumeOr<double>(0, [&] { return FieldNumber(bill, "FInvoiceType"); }));
  if (invoiceType != 2020 && invoiceType != 2021)
    ForEachColumn(bill, "FTaxRate,FTaxPrice,FTaxAmount,FInTaxAmount", 1,
                  [](host::IQORField& f) { f.SetVisible(false); });

  // The settlement fields stay editable only while a payment is entered on an unaudited bill.
  const bool paying = status == 0 && state != host::kBillView;
  ForEachColumn(
      bill, "FBalanceStyle,FMultiAccount,FAcctNo,FDiscountAcctID,FCurCheckAmount,FUnCheckAmount", 0,
      [&](host::IQORField& f) { f.SetFieldLock(!paying); });

  // The serial-number tool follows the items of the bill.
  bool serials = false;
  const long rows = ResumeOr<long>(0, [&] { return bill.BillEntrys(1)->GridMaxDataRowNum(); });
  for (long row = 1; row <= rows && !serials; ++row) {
    const long item = FieldId(bill, "FItemID", row);
    if (item > 0)
      serials = services::FirstFlag(
          context(), "select FIsSerialNumMgr from t_icitem where FItemID=" + std::to_string(item));
  }
  Bar("mnuSerialNum", "Enabled", serials);
}

void BillEvent_Sale::ApplyEditState() {
  auto& bill = *m_BillInterface;
  const long kind = Kind();
  const bool saved = ResumeOr<long>(0, [&] { return bill.CurBillID(); }) > 0;
  Bar("mnuEditCopy", "Visible", kind != 3004);
  Bar("mnuRelate_1030001", "Visible", kind == 3001);
  Bar("mnuRelate_1030002", "Visible", kind == 3002 || kind == 3004);
  Bar("mnuRelate_1030003", "Visible", kind == 3003);
  for (const char* t : kSourceTools) Bar(t, "Enabled", !saved);
  Bar("mnuEditAutoSumAmt", "Enabled", true);
  calc::LockField(bill, "FCurPayAmount", false, -1);
  if (kind == 3001)
    Resume([&] {
      bill.SetToolProperty("mnuRelatePushBill_1030002", "Description", "生成销售退货单");
    });
  if (kind == 3003)
    Resume([&] {
      bill.SetToolProperty("mnuRelatePushBill_1030002", "Description", "生成委托结算退货单");
    });
}

}  // namespace zov::plugins
