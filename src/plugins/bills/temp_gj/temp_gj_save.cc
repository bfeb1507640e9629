// The opening supplier bill's save: an unaudited bill passes the named checks below in their
// order; the first that fails refuses the save with its message and the cursor on its cell. What
// the write steps wrote before it (FAllAmount, the unsettled quantities, batch data taken from
// the stock) stays in the bill. An audited bill is saved without checks.
#include "bills/common/opening.h"
#include "bills/common/rule_tables.h"
#include "bills/temp_gj/bill_event_temp_gj.h"
#include "calc/quantities.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/batches.h"
#include "inventory/shelf_life.h"
#include "services/database.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

std::string Row(long row) { return "第" + std::to_string(row) + "行"; }

double Cents(double v) { return vb::Round(v, 2); }

class TempGJChecks : public sales::OpeningChecks {
 public:
  using OpeningChecks::OpeningChecks;

  bool CheckBillDate() { return sales::CheckOpeningBillDate(form_.ctx, bill_); }

  // The rows' amounts make a positive total, which becomes the bill's.
  bool CheckTotal() {
    const double total = ColumnSum(bill_, "FAmount");
    if (total <= 0) return Refuse("总金额必须大于零");
    Resume([&] { bill_.SetFieldValue("FAllAmount", total, -1); });
    return true;
  }

  // Every row up to the last filled one: an item, valid shelf life, a batch where the item is
  // batch-managed agreeing with the stock's, a property where it has them, and an amount; the
  // unsettled quantities start as the row's quantities.
  bool CheckRows() {
    for (long row = 1, rows = GridRows(bill_); row <= rows; ++row) {
      const long item = FieldId(bill_, "FItemID", row);
      if (item <= 0) return Refuse(Row(row) + "没有商品数据", "FItemID", row);
      if (ItemFlag(item, "FISKFPeriod")) {
        std::string message;
        if (!inventory::CheckShelfLife(bill_, row, message, inventory::kPlainShelfLife, true))
          return Refuse(message);
      }
      if (!IsCellLocked(bill_, "FBatchNo", row) && ItemFlag(item, "FISBatchManager")) {
        if (vb::Trim(FieldText(bill_, "FBatchNo", row)).empty())
          return Refuse(Row(row) + "商品需要录入批号。", "FBatchNo", row);
        if (!sales::CheckOpeningRowBatch(form_.ctx, bill_, row, "FDCStockID", "FKFDate"))
          return false;
      }
      if (!IsCellLocked(bill_, "FAuxPropID", row) && ItemFlag(item, "FISAuxi") &&
          FieldId(bill_, "FAuxPropID", row) <= 0)
        return Refuse(Row(row) + "商品需要录入辅助属性", "FAuxPropID", row);
      calc::SetFieldWithAction(bill_, "FUnSettleQty", FieldNumber(bill_, "FShowQty", row), row,
                               false);
      Resume(
          [&] { bill_.SetFieldValue("FUnSettleAuxQty", FieldNumber(bill_, "FSecQty", row), row); });
      if (FieldNumber(bill_, "FAmount", row) == 0)
        return Refuse(Row(row) + "商品金额不能为零", "FAmount", row);
    }
    return true;
  }

  bool CheckBatchConsistency() {
    const bool auxCompared = services::AppType(form_.ctx) != 1;
    if (!inventory::CheckBatchConsistency(
            form_.ctx, bill_,
            auxCompared ? inventory::AuxCompare::Undecided : inventory::AuxCompare::Ignore))
      return true;
    return Refuse(inventory::BatchConsistencyMessage(auxCompared, true));
  }

  // Weight industry: the rows' freight is what we paid plus what the supplier advanced; under
  // application type 1 the rows' total is booked as ours instead.
  bool CheckFreight() {
    if (services::IndustryType(form_.ctx) != 1) return true;
    const double charges = ColumnSum(bill_, "FTranspotationCharges");
    if (Cents(FieldNumber(bill_, "FTranspotationCosts") +
              FieldNumber(bill_, "FTotaladvanceCosts")) == Cents(charges))
      return true;
    if (services::AppType(form_.ctx) != 1)
      return Refuse("表头我方支付运杂费加厂家垫付运杂费之和与表体运杂费合计不相等！");
    Resume([&] { bill_.SetFieldValue("FTranspotationCosts", charges, -1); });
    return true;
  }

  bool CheckCalTypes() {
    return services::IndustryType(form_.ctx) != 1 || calc::CheckCalTypes(form_.ctx, bill_);
  }
};

constexpr sales::CheckStep<TempGJChecks> kSaveChecks[] = {
    sales::Check(&TempGJChecks::CheckBillDate), sales::Check(&TempGJChecks::CheckTotal),
    sales::Check(&TempGJChecks::CheckRows),     sales::Check(&TempGJChecks::CheckBatchConsistency),
    sales::Check(&TempGJChecks::CheckFreight),  sales::Check(&TempGJChecks::CheckCalTypes),
};

}  // namespace

void BillEvent_TempGJ::m_BillInterface_BeforeSave(bool& cancel) {
  auto& bill = *m_BillInterface;
  if (FieldNumber(bill, "FStatus") != 0) return;
  cancel = true;
  try {
    TempGJChecks checks(Form());
    if (sales::RunChecks(checks, kSaveChecks)) cancel = false;
  } catch (const std::exception& e) {
    // A run-time error of a check (a VB error carries its description) refuses the save.
    services::ShowMessage(context(), std::string("保存前数据检查出错，原因：") + e.what());
  }
}

}  // namespace zov::plugins
