// The opening consignment bill's save: an unaudited bill passes the named checks below in their
// order; the first that fails refuses the save with its message and the cursor on its cell. What
// the write steps wrote before it (the follow-up quantities, batch data taken from the stock)
// stays in the bill. An audited bill only gets the weight industry's calculation-type check.
#include "bills/common/opening.h"
#include "bills/common/row_data.h"
#include "bills/common/rule_tables.h"
#include "bills/temp_consign/bill_event_temp_consign.h"
#include "calc/prices.h"
#include "calc/quantities.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/shelf_life.h"
#include "services/database.h"
#include "services/profile.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

std::string Row(long row) { return "第" + std::to_string(row) + "行"; }

// CheckOpeningConsign, mode 1.
class OpeningConsignChecks : public sales::OpeningChecks {
 public:
  using OpeningChecks::OpeningChecks;

  bool CheckBillDate() { return sales::CheckOpeningBillDate(form_.ctx, bill_); }

  // Every filled row with an item: its tax counts as the host's; a property and a batch where
  // the item has them, valid shelf life, the batch agreeing with the source stock's, a discount
  // rate, and a cost unless the row keeps none; the follow-up quantities start as the row's.
  bool CheckRows() {
    for (long row = 1, rows = GridRows(bill_); row <= rows; ++row) {
      const long item = FieldId(bill_, "FItemID", row);
      if (item <= 0) continue;
      MarkCell(bill_, "FTaxAmount", row, false);
      if (!IsCellLocked(bill_, "FAuxPropID", row) && ItemFlag(item, "FISAuxi") &&
          FieldId(bill_, "FAuxPropID", row) <= 0)
        return Refuse(Row(row) + "商品需要录入辅助属性", "FAuxPropID", row);
      const bool batch = ItemFlag(item, "FISBatchManager");
      if (batch && vb::Trim(FieldText(bill_, "FBatchNo", row)).empty())
        return Refuse(Row(row) + "商品需要录入批号", "FBatchNo", row);
      if (ItemFlag(item, "FISKFPeriod")) {
        std::string message;
        if (!inventory::CheckShelfLife(bill_, row, message, inventory::kPlainShelfLife))
          return Refuse(message);
      }
      if (batch && !sales::CheckOpeningRowBatch(form_.ctx, bill_, row, "FSCStockID", "FBatchNo"))
        return false;
      if (!calc::CheckRowDiscountRate(form_.ctx, bill_, row, false)) return false;
      if (!IsCellLocked(bill_, "FCostPrice", row) && FieldNumber(bill_, "FCostPrice", row) <= 0)
        return Refuse(Row(row) + "商品的成本单价必须大于零", "FCostPrice", row);
      if (!IsCellLocked(bill_, "FCostAmount", row) && FieldNumber(bill_, "FCostAmount", row) <= 0)
        return Refuse(Row(row) + "商品的成本金额必须大于零", "FCostAmount", row);
      sales::StartConsignFollowUpQty(bill_, row);
    }
    return true;
  }

  // A total of 0 is an opening bill too (goods given on consignment free of charge).
  bool CheckTotal() { return ColumnSum(bill_, "FInTaxAmount") >= 0 || Refuse("总金额不能小于零"); }

  // Weight industry: the head freight is the rows' total; under application type 1 the rows'
  // total is written to the head instead.
  bool CheckFreight() {
    if (services::IndustryType(form_.ctx) != 1) return true;
    const double charges = ColumnSum(bill_, "FTranspotationCharges");
    if (vb::Round(FieldNumber(bill_, "FTranspotationCosts"), 2) == vb::Round(charges, 2))
      return true;
    if (services::AppType(form_.ctx) != 1)
      return Refuse("表头我方支付运杂费数据不等于表体运杂费合计！");
    Resume([&] { bill_.SetFieldValue("FTranspotationCharges", charges, -1); });
    return true;
  }
};

constexpr sales::CheckStep<OpeningConsignChecks> kSaveChecks[] = {
    sales::Check(&OpeningConsignChecks::CheckBillDate),
    sales::Check(&OpeningConsignChecks::CheckRows),
    sales::Check(&OpeningConsignChecks::CheckTotal),
    sales::Check(&OpeningConsignChecks::CheckFreight),
};

}  // namespace

void BillEvent_TempConsign::m_BillInterface_BeforeSave(bool& cancel) {
  auto& bill = *m_BillInterface;
  if (FieldNumber(bill, "FStatus") == 0) {
    OpeningConsignChecks checks(Form());
    if (!sales::RunChecks(checks, kSaveChecks)) {
      cancel = true;
      return;
    }
    Resume([&] { bill.SetFieldValue("FAllAmount", ColumnSum(bill, "FInTaxAmount"), -1); });
  }
  if (services::IndustryType(context()) == 1 && !calc::CheckCalTypes(context(), bill))
    cancel = true;
}

}  // namespace zov::plugins
