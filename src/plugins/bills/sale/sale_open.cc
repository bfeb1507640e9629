// The sales bill when it is created, loaded, copied or filled from source bills, and after it
// was saved.
#include <set>

#include "bills/sale/bill_event_sale.h"
#include "calc/locks.h"
#include "calc/prices.h"
#include "calc/quantities.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/batch_numbers.h"
#include "inventory/serials.h"
#include "inventory/stock.h"
#include "pricing/client_codes.h"
#include "pricing/sale_price.h"
#include "services/database.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "services/user_profile.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

constexpr const char* kInvoiceSection = "XS1030002";

}  // namespace

void BillEvent_Sale::ApplyPriceRights() {
  calc::ApplyPriceRight(context(), *m_BillInterface);
  calc::ApplyTaxColumnRight(context(), *m_BillInterface);
}

void BillEvent_Sale::ApplyIndustrySetup() {
  if (services::IndustryType(context()) == 1) calc::ApplyRowLocks(context(), *m_BillInterface);
}

void BillEvent_Sale::ApplyRowBatchRule(long row) {
  auto& bill = *m_BillInterface;
  const long item = FieldId(bill, "FItemID", row);
  if (item <= 0) return;
  const bool batch = services::FirstFlag(
      context(), "Select FISBatchManager From t_ICItem Where FItemID=" + std::to_string(item));
  calc::LockField(bill, "FBatchNo", !batch, row);
  if (batch && vb::Trim(FieldText(bill, "FBatchNo", row)).empty() &&
      services::FirstFlag(context(), "Select FAutoGenBatchNo From t_ICItem Where FItemID = " +
                                         std::to_string(item)))
    inventory::GenerateBatchNo(context(), bill, row);
}

void BillEvent_Sale::m_BillInterface_AfterNewBill() {
  auto& bill = *m_BillInterface;
  // 1. The invoice type this user used last, unmodified.
  const std::string stored = services::GetUserProfile(context(), kInvoiceSection, "InvoiceType");
  invoiceType_ = stored.empty() ? 2020 : static_cast<long>(vb::Val(stored));
  Resume([&] { bill.SetFieldValue("FInvoiceType", invoiceType_, -1); });
  Resume([&] { MarkCell(bill, "FInvoiceType", -1, false); });
  // 2.-4.
  Resume([&] { bill.SetStatusText(3, ""); });
  HideFieldsByRights();
  ApplyBillLayout();
  // 5. Without a customer the settlement date is the bill date.
  if (FieldId(bill, "FCustID") == 0) {
    Resume([&] {
      bill.SetFieldValue("FSettleLimitDate", bill.GetFieldValue("FDate", -1), -1);
      MarkCell(bill, "FSettleLimitDate", -1, false);
    });
  }
  // 6.-7.
  MarkPagesUnmodified();
  ApplyPriceRights();
}

void BillEvent_Sale::m_BillInterface_AfterLoadBill() {
  auto& bill = *m_BillInterface;
  ShowCustomerCredit();
  HideFieldsByRights();
  ApplyBillLayout();
  LockPaymentCells();
  ApplyIndustrySetup();
  inventory::LoadSerials(context(), bill);
  MarkPagesUnmodified();
  ApplyPriceRights();
  // A bill rejected in the workflow is neither audited nor deleted, and not copied.
  if (FieldNumber(bill, "FRejected") == 1) {
    Resume([&] { bill.SetToolProperty("mnuEditCheck", "Visible", false); });
    Resume([&] { bill.SetToolProperty("mnuEditFileDelete", "Visible", false); });
    Resume([&] { bill.SetToolProperty("mnuEditCopy", "Enabled", false); });
  }
  if (FieldNumber(bill, "FStatus") > 0) {
    Bar("mnuBarCode", "Enabled", false);
    Bar("mnuImportGoods", "Enabled", false);
  }
  FillComplexQtyTexts();
}

void BillEvent_Sale::m_BillInterface_AfterCopyBill() {
  auto& bill = *m_BillInterface;
  if (FieldId(bill, "FCustID") > 0) CalcSettleLimitDate();
  if (vb::InStr(FieldText(bill, "FExplanation"), "由网上订单") > 0) {
    Resume([&] { bill.SetFieldValue("FExplanation", "", -1); });
    Resume([&] { bill.SetFieldValue("FNote", "", -1); });
  }
  Resume([&] { bill.SetFieldValue("FInvoiceNO", "", -1); });
  HideFieldsByRights();
  ApplyBillLayout();
  ApplyIndustrySetup();
  inventory::ClearSerials(context(), bill, 0);
  ApplyPriceRights();
}

void BillEvent_Sale::m_BillInterface_BeforeSelBills(const Variant&, const Variant&, const Variant&,
                                                    std::string& filter, const Variant&) {
  const long kind = Kind();
  if (kind == 3001)
    filter = "  and  t_BaseBillTypeData2.FName ='销售发货'  " + filter;
  else if (kind == 3003)
    filter = "  and  t_BaseBillTypeData2.FName ='委托结算'  " + filter;
}

void BillEvent_Sale::m_BillInterface_AfterSelBillBeforeFillData(const Variant& selection,
                                                                const Variant&) {
  auto& bill = *m_BillInterface;
  const long source = ResumeOr<long>(0, [&] {
    auto dict = selection.ObjectAs<host::IDictionary>();
    return dict ? static_cast<long>(vb::Val(vb::CStr(dict->Item("FSourClassTypeID")))) : 0L;
  });
  long kind = Kind();
  if (source == 1030003 || source == 1030001) {
    kind = source == 1030003 ? 3003 : 3001;
    Resume([&] { bill.SetFieldValue("FBillTypeID", kind, -1); });
    Resume([&] { bill.SetFieldValue("FInvoiceType", 2020, -1); });
  } else if (source == 1030002) {
    kind = kind == 3003 || kind == 3004 ? 3004 : 3002;  // a return is being made
    Resume([&] { bill.SetFieldValue("FBillTypeID", kind, -1); });
  }
  const bool settlement = kind == 3003 || kind == 3004;
  for (const std::string& key :
       vb::Split("FItemID,FShowUnitID,FSCStockID,FBatchNo,FAuxPropID,FKFDate", ","))
    Resume([&] { bill.BillEntrys(1)->QORFields(key)->SetFieldLock(settlement); });
}

void BillEvent_Sale::m_BillInterface_AfterSelBill(const Variant&) {
  auto& bill = *m_BillInterface;
  if (FieldNumber(bill, "FBillTypeID") == 0)
    Resume([&] { bill.SetFieldValue("FBillTypeID", 3001, -1); });
  const long sourceClass = static_cast<long>(FieldNumber(bill, "FClassID_SRC"));
  const std::string sourceId = std::to_string(static_cast<long>(FieldNumber(bill, "FID_SRC")));
  const bool explain = vb::Val(vb::CStr(services::SystemProfileValue(
                           context(), "IsExpSourceToTarget", "IC", "0"))) != 0;
  auto explanation = [&](const std::string& prefix, const std::string& table) {
    if (!explain) return;
    const std::string number = services::FirstValue(
        context(), "select FBillNo from " + table + " where fid='" + sourceId + "'");
    Resume([&] { bill.SetFieldValue("FExplanation", prefix + number + "生成", -1); });
  };
  if (sourceClass == 1030002) {
    const long sourceKind = static_cast<long>(vb::Val(services::FirstValue(
        context(), "Select FBillTypeID From t_cc_stockbill Where FID = " + sourceId)));
    if (sourceKind == 3003)
      Resume([&] { bill.SetFieldValue("FBillTypeID", 3004, -1); });
    else if (sourceKind == 3001)
      Resume([&] { bill.SetFieldValue("FBillTypeID", 3002, -1); });
    const long kind = Kind();
    Resume([&] { bill.SetBarStatus("mnuBarCode", "Enabled", !(kind == 3003 || kind == 3004)); });
    explanation("由销售单", "t_cc_stockbill");
  } else if (sourceClass == 1030001) {
    explanation("由销售订单", "t_xs_order");
    // Rows of an order: the batch rule, the secondary quantity of the shown quantity, the
    // secondary price of the price.
    const long rows = ResumeOr<long>(0, [&] { return bill.BillEntrys(1)->GridMaxDataRowNum(); });
    for (long row = 1; row <= rows; ++row) {
      ApplyRowBatchRule(row);
      const double qtyCoefficient = FieldNumber(bill, "FsecCoefficient", row);
      // A zero coefficient is written back as the whole number 0; no secondary quantity is
      // derived from it (it would be a division by zero).
      if (qtyCoefficient == 0) {
        Resume([&] { bill.SetFieldValue("FsecCoefficient", 0L, row); });
      } else {
        const double secQty = FieldNumber(bill, "FShowQty", row) / qtyCoefficient;
        if (FieldNumber(bill, "FSecQty", row) != secQty)
          Resume([&] { bill.SetFieldValue("FSecQty", secQty, row); });
      }
      Resume([&] {
        bill.SetFieldValue(
            "FSecPrice",
            FieldNumber(bill, "FPrice", row) * FieldNumber(bill, "FSecCoefficient", row), row);
      });
    }
  } else if (sourceClass == 1020002) {
    // Direct delivery: a bill without customer takes the customer of the sales orders the
    // purchase was ordered for.
    if (FieldId(bill, "FCustID") <= 0) {
      std::set<long> purchases;
      const long rows = ResumeOr<long>(0, [&] { return bill.BillEntrys(1)->GridMaxDataRowNum(); });
      for (long row = 1; row <= rows; ++row)
        if (FieldNumber(bill, "FClassID_SRC", row) == 1020002 &&
            FieldNumber(bill, "FID_SRC", row) > 0)
          purchases.insert(static_cast<long>(FieldNumber(bill, "FID_SRC", row)));
      std::string ids;
      for (long id : purchases) ids += (ids.empty() ? "" : ",") + std::to_string(id);
      if (!ids.empty()) {
        auto rs = services::OpenRecordsetTolerant(
            context(),
            " select distinct t6.FCustID As FCustID,t7.FNumber As FNumber from t_CC_StockBill t1 "
            "inner join t_CC_StockBillEntry t2 on t2.FID=t1.FID "
            "inner join t_CG_OrderEntry t3 on t3.FEntryID=t2.FEntryID_SRC and "
            "t2.FClassID_SRC=1020001 "
            "inner join t_CG_Order t4 on t4.FID=t3.FID "
            "inner join t_XS_OrderEntry t5 on t5.FEntryID=t3.FEntryID_SRC and "
            "t3.FClassID_SRC=1030001 "
            "inner join t_XS_Order t6 on t6.FID=t5.FID "
            "inner join t_Item t7 on t7.FItemID=t6.FCustID "
            " where t2.FID in ( " +
                ids + ")");
        if (rs && !rs->Eof()) {
          const Variant customer = rs->Value("FCustID");
          Resume([&] { bill.SetFieldValue("FCustID", customer, -1); });
        }
      }
    }
    explanation("由购货单", "t_cc_stockbill");
  } else if (sourceClass == 1030003) {
    explanation("由委托代销单", "t_cc_stockbill");
  }
  // 6. Shelf-life dates of editable rows; the default stock of rows without one.
  const long rows = ResumeOr<long>(0, [&] { return bill.BillEntrys(1)->GridMaxDataRowNum(); });
  for (long row = 1; row <= rows; ++row) {
    const bool editable = !ResumeOr<bool>(true, [&] {
      return bill.BillCtl()->IsFieldLockRunTime(bill.GetFieldInfoByKey("FKFDate"), row);
    });
    if (editable && vb::Trim(FieldText(bill, "FKFDate", row)).empty()) {
      Resume([&] {
        const Variant date = bill.GetFieldValue("FDate", -1);
        bill.SetFieldValue("FKFDate", vb::Format(date, "YYYY-MM-DD"), row);
        bill.SetFieldValue(
            "FPeriodDate",
            vb::Format(vb::DateAdd("d", FieldNumber(bill, "FKFPeriod", row), vb::CDate(date)),
                       "YYYY-MM-DD"),
            row);
      });
    }
    if (vb::Trim(FieldText(bill, "FSCStockID", row)).empty() ||
        FieldId(bill, "FSCStockID", row) == 0)
      inventory::FillDefaultStock(context(), bill, row, "FSCStockID");
  }
  // 7.-8.
  ShowCustomerCredit();
  if (Kind() != 3002 && FieldId(bill, "FCustID") >= 1) CalcSettleLimitDate();
  if (services::IndustryType(context()) == 1)
    for (long row = 1; row <= rows; ++row)
      Resume([&] {
        const long type = static_cast<long>(FieldNumber(bill, "FCalTypeid", row));
        bill.SetFieldValue("FDisplayWeight", FieldNumber(bill, type == 3 ? "FSecQty" : "FQty", row),
                           row);
      });
}

void BillEvent_Sale::m_BillInterface_AfterFillRow(long row, const Variant&, const Variant&,
                                                  const Variant&) {
  auto& bill = *m_BillInterface;
  auto& ctx = context();
  const long item = FieldId(bill, "FItemID", row);
  if (item > 0) {
    calc::ApplyUnitLocks(ctx, bill, row, item);
    ApplyRowBatchRule(row);
    const std::string barcode =
        pricing::GetUnitBarcode(ctx, item, FieldId(bill, "FShowUnitID", row));
    Resume([&] { bill.SetFieldValue("FBarcode", barcode, row); });
  }
  if (services::IndustryType(ctx) == 1) {
    ApplyIndustrySetup();
    ApplyBillLayout();
  }
  // The grid carries on with the imported rows.
  Resume([&] {
    auto grid = bill.Controls()->Find("grid");
    if (!grid) return;
    std::vector<Variant> none;
    grid->Invoke("SetImportDataFlag", none);
    grid->Invoke("SetFocus", none);
  });
}

void BillEvent_Sale::m_BillInterface_AfterSave(const Variant&) {
  auto& bill = *m_BillInterface;
  // 1. The invoice type is the default of the user's next bill.
  services::SaveUserProfileItem(context(), kInvoiceSection, "InvoiceType",
                                static_cast<long>(FieldNumber(bill, "FInvoiceType")));
  // 2.-4. The contact of the bill goes back to the customer's contacts.
  const std::string contact = vb::Trim(FieldText(bill, "FContact"));
  if (vb::CStr(services::SystemProfileValue(context(), "UpdateRelaxAddrInSale", "IC", "1")) !=
          "1" ||
      contact.empty())
    return;
  const long customer = FieldId(bill, "FCustID");
  const std::string crlf = "\r\n";
  const std::string sql =
      "declare @FItemID    int" + crlf + "declare @FContact   varchar(50)" + crlf +
      "declare @ExistFirst tinyint" + crlf + "Set @FItemID=" + std::to_string(customer) + crlf +
      "Set @FContact=" + services::SqlLiteral(FieldText(bill, "FContact")) + crlf +
      "Select @ExistFirst=Case When Exists(Select * From t_Contact Where FItemID=@FItemID And "
      "FIsFirst=1) Then 1 Else 0 End" +
      crlf + "if Exists(Select * from t_Contact Where FItemID=@FItemID and FContact=@FContact)" +
      crlf + "begin" + crlf +
      "     Select @ExistFirst As FWithFirst,0 As FIsNew,* From t_Contact Where FItemID=@FItemID "
      "and FContact=@FContact" +
      crlf + "end" + crlf + "else" + crlf + "begin" + crlf +
      "     Select @ExistFirst As FWithFirst,1 As FIsNew" + crlf + "end";
  auto rs = services::OpenRecordsetTolerant(context(), sql);
  if (!rs || rs->Eof()) return;
  if (rs->RecordCount() > 1) {
    services::ShowMessage(context(), "反写联系人信息失败!" + crlf + crlf +
                                         "客户资料中存在多个同名联系人 [" +
                                         FieldText(bill, "FContact") + "]'");
    Resume([&] {
      auto tip = context().host().CreateObject(host::progid::kHelpTip).As<host::IHelpTip>();
      if (tip) tip->ShowPopTip(1, "青禾提示", "保存成功！");
    });
    return;
  }
  Resume([&] {
    auto record = context().host().CreateObject(host::progid::kDictionary).As<host::IDictionary>();
    const bool isNew = vb::Val(vb::CStr(rs->Value("FIsNew"))) == 1;
    if (!isNew) {
      for (const char* key : {"FID", "FQQNum", "FPosition", "FPhoto", "FMobilePhone", "FFax",
                              "FEmail", "FDeptName", "FIsFirst"})
        record->SetItem(key, rs->Value(key));
    } else {
      record->SetItem("FID", 0);
      record->SetItem("FIsFirst", vb::Val(vb::CStr(rs->Value("FWithFirst"))) == 0 ? 1 : 0);
    }
    record->SetItem("FItemID", customer);
    record->SetItem("FContact", FieldText(bill, "FContact"));
    record->SetItem("FAddress", FieldText(bill, "FReceiveAddr"));
    record->SetItem("FPhone", FieldText(bill, "FPhone"));
    auto update =
        context().host().CreateObject(host::progid::kBarCodeUpdate).As<host::IBarCodeUpdate>();
    if (update) update->SaveContactData(services::PropsString(context()), record);
  });
}

}  // namespace zov::plugins
