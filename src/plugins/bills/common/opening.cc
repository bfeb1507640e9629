#include "bills/common/opening.h"

#include "bills/common/controls.h"
#include "bills/common/sales_form.h"
#include "calc/locks.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/batches.h"
#include "inventory/shelf_life.h"
#include "pricing/client_codes.h"
#include "services/database.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/error.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins::sales {

namespace {

Ref<host::ITempBillUpdate> Component(PluginContext& ctx, const char* progId) {
  auto component = ctx.host().CreateObject(progId).As<host::ITempBillUpdate>();
  if (!component) throw vb::Error(vb::kErrTypeMismatch, "Type mismatch", progId);
  return component;
}

}  // namespace

std::string OpeningStartDate(PluginContext& ctx) {
  const std::string start = services::FirstValue(
      ctx,
      " SELECT FStartDate FROM t_PeriodDate WHERE \r\n FYear =(SELECT CONVERT(INT, FValue) FROM "
      "t_SystemProfile WHERE FCategory = 'IC' AND FKey = 'StartYear' ) AND  FPeriod =(SELECT "
      "CONVERT(INT, FValue) FROM t_SystemProfile WHERE FCategory = 'IC' AND FKey = "
      "'StartPeriod') ");
  return vb::Trim(start).empty() ? std::string() : CellDateText(Variant(start));
}

void ApplyOpeningBillDate(PluginContext& ctx, host::IBillInterface& bill) {
  const std::string start = OpeningStartDate(ctx);
  if (start.empty()) return;
  Resume([&] {
    const vb::Date dayBefore = vb::DateAdd("d", -1, vb::CDate(Variant(start)));
    bill.SetFieldValue("FDate", vb::Format(Variant(dayBefore), "YYYY-MM-DD"), -1);
  });
}

bool CheckOpeningBillDate(PluginContext& ctx, host::IBillInterface& bill) {
  const std::string start = OpeningStartDate(ctx);
  if (start.empty() || CellDateText(bill.GetFieldValue("FDate", -1)) < start) return true;
  return Refuse(ctx, bill, "只能录入启用期间以前的单据", "FDate");
}

void RunOpeningAudit(PluginContext& ctx, host::IBillInterface& bill, const char* progId,
                     bool audit) {
  std::string message;
  const bool done = Component(ctx, progId)
                        ->CheckBill(services::PropsString(ctx), CurBillId(bill), audit, message);
  if (audit ? !done : !message.empty()) services::ShowMessage(ctx, message);
}

void RunOpeningListAudit(PluginContext& ctx, host::IListInterface& list, const char* progId,
                         bool audit) {
  auto bills = list.GetSelectedBillInfo();
  if (!bills || bills->Count() == 0) return;
  auto results = NewDictionary(ctx);
  Component(ctx, progId)->BatchOperate(services::PropsString(ctx), bills, results, audit ? 2 : 3);
  services::ShowMessageList(ctx, results);
}

bool CheckOpeningRowBatch(PluginContext& ctx, host::IBillInterface& bill, long row,
                          std::string_view stockKey, std::string_view cursorKey) {
  const long stock = FieldId(bill, stockKey, row);
  if (stock <= 0) return true;
  inventory::BatchSources sources;
  sources.stockBalance = true;
  sources.documents = true;
  inventory::AuxCompare aux = inventory::AuxCompare::Undecided;
  return inventory::CheckRowBatchInStockOf(ctx, bill, row, stock, sources, CurBillId(bill), aux,
                                           cursorKey);
}

void ShowOpeningBill(PluginContext& ctx, host::IBillInterface& bill, OpeningShown how,
                     const std::function<void()>& applyLayout) {
  if (how == OpeningShown::kNew) ApplyOpeningBillDate(ctx, bill);
  applyLayout();
  if (how != OpeningShown::kNew && services::IndustryType(ctx) == 1) calc::ApplyRowLocks(ctx, bill);
  if (how != OpeningShown::kCopied) MarkAllCellsUnmodified(bill);
}

void FinishOpeningFilledRow(PluginContext& ctx, host::IBillInterface& bill, long row) {
  const long item = FieldId(bill, "FItemID", row);
  if (item > 0)
    Resume([&] {
      bill.SetFieldValue(
          "FBarcode", pricing::GetUnitBarcode(ctx, item, FieldId(bill, "FShowUnitID", row)), row);
    });
  if (services::IndustryType(ctx) == 1) calc::ApplyRowLocks(ctx, bill);
}

void ApplyOpeningShelfLife(const SalesForm& form, long row, long item) {
  auto& bill = form.bill;
  const std::string id = std::to_string(item);
  const std::string period = services::FirstValue(
      form.ctx, "select isnull(FKFPeriod,0) from t_ICItem where FItemID=" + id);
  Resume([&] { bill.SetFieldValue("FKFPeriod", vb::Val(period), row); });
  if (!services::FirstFlag(form.ctx, "Select FISKFPeriod From t_ICItem Where FItemID=" + id))
    return;
  if (vb::Trim(FieldText(bill, "FKFDate", row)).empty())
    Resume([&] { bill.SetFieldValue("FKFDate", bill.GetFieldValue("FDate", -1), row); });
  inventory::RecalcShelfLife(bill, "FKFDate", row, inventory::kPlainShelfLife);
}

}  // namespace zov::plugins::sales
