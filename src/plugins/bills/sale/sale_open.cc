// The sales bill when it is created, loaded, copied or filled from source bills, and after it
// was saved.
#include <set>

#include "bills/common/customer.h"
#include "bills/common/row_data.h"
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
  MarkPagesUnmodified(bill);
  calc::ApplyPriceAndTaxRights(context(), bill);
}

void BillEvent_Sale::m_BillInterface_AfterLoadBill() {
  auto& bill = *m_BillInterface;
  const auto form = Form();
  sales::ShowCustomerCredit(form);
  HideFieldsByRights();
  ApplyBillLayout();
  LockPaymentCells();
  ApplyIndustrySetup();
  inventory::LoadSerials(context(), bill);
  MarkPagesUnmodified(bill);
  calc::ApplyPriceAndTaxRights(context(), bill);
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
  // Rows without a composite quantity text get it, stored with the row.
  for (long row = 1, rows = GridRows(bill); row <= rows; ++row)
    if (vb::Trim(FieldText(bill, "FComplexQtyDis", row)).empty())
      sales::UpdateComplexQtyText(form, row, sales::FirstGrid(), true);
}

void BillEvent_Sale::m_BillInterface_AfterCopyBill() {
  auto& bill = *m_BillInterface;
  if (FieldId(bill, "FCustID") > 0) sales::CalcSettleLimitDate(Form());
  if (vb::InStr(FieldText(bill, "FExplanation"), "由网上订单") > 0) {
    Resume([&] { bill.SetFieldValue("FExplanation", "", -1); });
    Resume([&] { bill.SetFieldValue("FNote", "", -1); });
  }
  Resume([&] { bill.SetFieldValue("FInvoiceNO", "", -1); });
  HideFieldsByRights();
  ApplyBillLayout();
  ApplyIndustrySetup();
  inventory::ClearSerials(context(), bill, 0);
  calc::ApplyPriceAndTaxRights(context(), bill);
}

void BillEvent_Sale::m_BillInterface_BeforeSelBills(const Variant&, const Variant&, const Variant&,
                                                    std::string& filter, const Variant&) {
  const SaleKind kind = Kind();
  if (kind == SaleKind::kDelivery)
    filter = "  and  t_BaseBillTypeData2.FName ='销售发货'  " + filter;
  else if (kind == SaleKind::kSettlement)
    filter = "  and  t_BaseBillTypeData2.FName ='委托结算'  " + filter;
}

void BillEvent_Sale::m_BillInterface_AfterSelBillBeforeFillData(const Variant& selection,
                                                                const Variant&) {
  auto& bill = *m_BillInterface;
  const long source = ResumeOr<long>(0, [&] {
    auto dict = selection.ObjectAs<host::IDictionary>();
    return dict ? static_cast<long>(vb::Val(vb::CStr(dict->Item("FSourClassTypeID")))) : 0L;
  });
  if (source == 1030003 || source == 1030001) {
    const SaleKind kind = source == 1030003 ? SaleKind::kSettlement : SaleKind::kDelivery;
    Resume([&] { bill.SetFieldValue("FBillTypeID", static_cast<long>(kind), -1); });
    Resume([&] { bill.SetFieldValue("FInvoiceType", 2020, -1); });
  } else if (source == 1030002) {
    // A return is being made: of a settlement a settlement return, of a delivery a return.
    const SaleKind kind =
        IsSettlementKind(Kind()) ? SaleKind::kSettlementReturn : SaleKind::kReturn;
    Resume([&] { bill.SetFieldValue("FBillTypeID", static_cast<long>(kind), -1); });
  }
  LockSettlementItemColumns();
}

void BillEvent_Sale::m_BillInterface_AfterSelBill(const Variant&) {
  auto& bill = *m_BillInterface;
  if (FieldNumber(bill, "FBillTypeID") == 0)
    Resume([&] { bill.SetFieldValue("FBillTypeID", static_cast<long>(SaleKind::kDelivery), -1); });
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
    // The return of a settlement is a settlement return, that of a delivery a return.
    const auto sourceKind = static_cast<SaleKind>(static_cast<long>(vb::Val(services::FirstValue(
        context(), "Select FBillTypeID From t_cc_stockbill Where FID = " + sourceId))));
    auto setKind = [&](SaleKind kind) {
      Resume([&] { bill.SetFieldValue("FBillTypeID", static_cast<long>(kind), -1); });
    };
    if (sourceKind == SaleKind::kSettlement)
      setKind(SaleKind::kSettlementReturn);
    else if (sourceKind == SaleKind::kDelivery)
      setKind(SaleKind::kReturn);
    Resume([&] { bill.SetBarStatus("mnuBarCode", "Enabled", !IsSettlementKind(Kind())); });
    explanation("由销售单", "t_cc_stockbill");
  } else if (sourceClass == 1030001) {
    explanation("由销售订单", "t_xs_order");
    // Rows of an order: the batch rule, the secondary quantity of the shown quantity, the
    // secondary price of the price.
    for (long row = 1, rows = GridRows(bill); row <= rows; ++row) {
      sales::ApplyRowBatchRule(Form(), row, sales::FirstGrid());
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
      for (long row = 1, rows = GridRows(bill); row <= rows; ++row)
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
  const long rows = GridRows(bill);
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
  sales::ShowCustomerCredit(Form());
  if (Kind() != SaleKind::kReturn && FieldId(bill, "FCustID") >= 1)
    sales::CalcSettleLimitDate(Form());
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
  sales::CompleteFilledRow(Form(), row, sales::FirstGrid());
  if (services::IndustryType(context()) == 1) {
    ApplyIndustrySetup();
    ApplyBillLayout();
  }
  sales::ContinueGridImport(*m_BillInterface);
}

void BillEvent_Sale::m_BillInterface_AfterSave(const Variant&) {
  auto& bill = *m_BillInterface;
  // 1. The invoice type is the default of the user's next bill.
  services::SaveUserProfileItem(context(), kInvoiceSection, "InvoiceType",
                                static_cast<long>(FieldNumber(bill, "FInvoiceType")));
  // 2.-4. The contact of the bill goes back to the customer's contacts.
  sales::WriteBackContact(Form());
}

}  // namespace zov::plugins
