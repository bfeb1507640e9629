// The consignment bill when it is created, loaded or copied, when rows come from source bills or
// an import, and when the form starts editing.
#include "bills/common/customer.h"
#include "bills/common/row_data.h"
#include "bills/consign/bill_event_consign.h"
#include "calc/locks.h"
#include "calc/prices.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/serials.h"
#include "inventory/stock.h"
#include "services/database.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

const sales::SalesRowKeys& Keys() { return sales::FirstGrid(); }

}  // namespace

void BillEvent_Consign::m_BillInterface_AfterNewBill() {
  auto& bill = *m_BillInterface;
  Resume([&] { bill.SetStatusText(3, ""); });
  HideCostByRight();
  ApplyConsignLayout();
  MarkAllCellsUnmodified(bill);
  calc::ApplyPriceAndTaxRights(context(), bill);
}

void BillEvent_Consign::m_BillInterface_AfterLoadBill() {
  auto& bill = *m_BillInterface;
  const auto form = Form();
  // The balance text is asked in the order's name, as the consignment bill always has.
  static constexpr sales::SalesClass kOrderCaller{kClassTypeId, "ZOV_XS_PlugIns.BillEvent_Order",
                                                  "t_CC_StockBill", "t_CC_StockBillEntry", true};
  sales::ShowCustomerCredit({context(), bill, kOrderCaller});
  HideCostByRight();
  ApplyConsignLayout();
  if (services::IndustryType(context()) == 1) calc::ApplyRowLocks(context(), bill);
  inventory::LoadSerials(context(), bill);
  MarkAllCellsUnmodified(bill);
  calc::ApplyPriceAndTaxRights(context(), bill);
  for (long row = 1, rows = GridRows(bill); row <= rows; ++row)
    if (vb::Trim(FieldText(bill, "FComplexQtyDis", row)).empty())
      sales::UpdateComplexQtyText(form, row, Keys(), true);
}

void BillEvent_Consign::m_BillInterface_AfterCopyBill() {
  auto& bill = *m_BillInterface;
  HideCostByRight();
  ApplyConsignLayout();
  if (services::IndustryType(context()) == 1) calc::ApplyRowLocks(context(), bill);
  // The copy's rows have no serial numbers of their own yet.
  inventory::ClearSerials(context(), bill, 0);
  calc::ApplyPriceAndTaxRights(context(), bill);
}

// --- source selection ---------------------------------------------------------------------------

void BillEvent_Consign::m_BillInterface_AfterSelBillBeforeFillData(const Variant& selection,
                                                                   const Variant&) {
  const long source = ResumeOr<long>(0, [&] {
    auto dict = selection.ObjectAs<host::IDictionary>();
    return dict ? static_cast<long>(vb::Val(vb::CStr(dict->Item("FSourClassTypeID")))) : 0L;
  });
  if (source == 1030003 || source == 1030001) {
    const ConsignKind kind = source == 1030003 ? ConsignKind::kReturn : ConsignKind::kDelivery;
    Resume([&] { m_BillInterface->SetFieldValue("FBillTypeID", static_cast<long>(kind), -1); });
    ColourByKind();
  }
  ApplyConsignLayout();
}

void BillEvent_Consign::m_BillInterface_AfterSelBill(const Variant&) {
  auto& bill = *m_BillInterface;
  auto& ctx = context();
  const auto form = Form();
  // 1.-2. The explanation names the source bill.
  const long sourceClass = static_cast<long>(FieldNumber(bill, "FClassID_SRC"));
  const std::string sourceId = std::to_string(static_cast<long>(FieldNumber(bill, "FID_SRC")));
  const bool explain =
      vb::Val(vb::CStr(services::SystemProfileValue(ctx, "IsExpSourceToTarget", "IC", "0"))) != 0;
  auto explanation = [&](const std::string& prefix, const std::string& table) {
    const std::string number =
        services::FirstValue(ctx, "select FBillNo from " + table + " where fid='" + sourceId + "'");
    Resume([&] { bill.SetFieldValue("FExplanation", prefix + number + "生成", -1); });
  };
  if (explain && sourceClass == 1030003) explanation("由委托代销单", "t_cc_stockbill");
  if (explain && sourceClass == 1030001) explanation("由销售订单", "t_xs_order");
  // 3. The rows: shelf-life dates, default stock, batch rule, secondary quantity and price.
  for (long row = 1, rows = GridRows(bill); row <= rows; ++row) {
    sales::StartSourceRowShelfLife(bill, row);
    if (FieldId(bill, "FSCStockID", row) == 0)
      inventory::FillDefaultStock(ctx, bill, row, "FSCStockID");
    sales::ApplyRowBatchRule(form, row, Keys());
    const double coefficient = FieldNumber(bill, "FsecCoefficient", row);
    if (FieldNumber(bill, "FSecQty", row) == 0 && coefficient != 0)
      Resume([&] {
        bill.SetFieldValue("FSecQty", FieldNumber(bill, "FShowQty", row) / coefficient, row);
      });
    Resume([&] {
      bill.SetFieldValue(
          "FSecPrice", FieldNumber(bill, "FPrice", row) * FieldNumber(bill, "FSecCoefficient", row),
          row);
    });
  }
  // 4.-5. The customer's credit and delivery address.
  sales::ShowCustomerCredit(form);
  if (vb::Trim(FieldText(bill, "FAddress")).empty())
    if (const long customer = FieldId(bill, "FCustID"); customer >= 1)
      sales::FillCustomerContact(form, customer, sales::ContactFill::kAddress);
  // 6. Weight industry: the weight of every row.
  if (services::IndustryType(ctx) == 1)
    for (long row = 1, rows = GridRows(bill); row <= rows; ++row)
      Resume([&] {
        const long type = static_cast<long>(FieldNumber(bill, "FCalTypeid", row));
        bill.SetFieldValue("FDisplayWeight", FieldNumber(bill, type == 3 ? "FSecQty" : "FQty", row),
                           row);
      });
}

void BillEvent_Consign::m_BillInterface_AfterFillRow(long row, const Variant&, const Variant&,
                                                     const Variant&) {
  sales::CompleteFilledRow(Form(), row, Keys());
  // The weight industry's imported rows take the row locks and the bill's layout again.
  if (services::IndustryType(context()) == 1) {
    calc::ApplyRowLocks(context(), *m_BillInterface);
    ApplyConsignLayout();
  }
  sales::ContinueGridImport(*m_BillInterface);
}

void BillEvent_Consign::m_BillInterface_BeginEdit(const Variant&, const Variant&, const Variant&) {
  ApplySourceTools();
  // A viewed bill had its freight tools closed; editing it opens them again.
  ApplyFreightByState();
}

}  // namespace zov::plugins
