// The special-price bill's commands: the tool's key picks one handler, in the order the keys are
// tried; the host's own tools run after unless a handler cancels.
#include <array>
#include <utility>

#include "bills/xscx/bill_event_xscx.h"
#include "bills/xscx/xscx_prices.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/messages.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

void BillEvent_XSCX::m_BillInterface_MenuBarClick(const Ref<host::ITool>& tool, bool& cancel) {
  using ToolHandler = void (BillEvent_XSCX::*)(bool& cancel);
  static constexpr std::array<std::pair<const char*, ToolHandler>, 9> kTools{{
      {"mnuEditFileSave", &BillEvent_XSCX::RunRowChecks},
      {"mnuDataPre2", &BillEvent_XSCX::RunRowChecks},
      {"mnuDataNext2", &BillEvent_XSCX::RunRowChecks},
      {"mnuEditCheck", &BillEvent_XSCX::RunRowChecks},
      {"mnuEditCopy", &BillEvent_XSCX::CopyBillRows},
      {"mnuCopyRow", &BillEvent_XSCX::RefuseCopyRow},
      {"mnuBatchFillField", &BillEvent_XSCX::RefuseItemFill},
      {"mnuDiscountRate", &BillEvent_XSCX::BatchDiscountRate},
      {"mnuInvalidBill", &BillEvent_XSCX::InvalidBillTool},
  }};
  const std::string key = tool ? tool->Name() : std::string();
  for (const auto& [name, handler] : kTools)
    if (key == name) return (this->*handler)(cancel);
}

void BillEvent_XSCX::RunRowChecks(bool& cancel) {
  // The rows are checked before the host saves, audits or moves to another bill.
  if (!CheckRows()) cancel = true;
}

void BillEvent_XSCX::CopyBillRows(bool&) {
  // A copy starts without total limits, at today's regular prices.
  ApplyPriceType();
}

void BillEvent_XSCX::RefuseCopyRow(bool& cancel) { cancel = true; }

void BillEvent_XSCX::RefuseItemFill(bool& cancel) {
  // Every row has an item of its own: the item column is never filled down.
  const std::string key = ResumeOr<std::string>({}, [&] {
    auto grid = m_BillInterface->Controls()->Find("grid");
    if (!grid) return std::string();
    std::vector<Variant> args{grid->Property("ActiveCol")};
    return vb::CStr(grid->Invoke("ColID", args));
  });
  if (key.empty()) return;
  const std::string column = ResumeOr<std::string>({}, [&] {
    auto info = m_BillInterface->GetFieldInfoByKey(key);
    return info ? vb::CStr(info->Item("FFieldName")) : std::string();
  });
  if (column == "FItemID") cancel = true;
}

void BillEvent_XSCX::BatchDiscountRate(bool& cancel) {
  auto& ctx = context();
  auto& bill = *m_BillInterface;
  // 1. Nothing to set on a bill without items.
  const long rows = RowCount();
  if (rows == 1 && FieldId(bill, "FItemID", 1) <= 0) {
    cancel = true;
    return;
  }
  // 2. The rate, asked until it is above 0; an empty answer gives up.
  double rate = 0;
  for (;;) {
    const std::string typed =
        ctx.host().Ui()->InputBox("请输入批量设置特价折扣率%：", services::kInfoTitle, "100");
    if (vb::Trim(typed).empty()) return;
    rate = vb::Val(typed);
    if (rate > 0) break;
    services::ShowMessage(ctx, "请输入大于零的数值！");
  }
  // 3. Every row with an item at that rate of its regular price.
  for (long row = 1; row <= rows; ++row) {
    if (FieldId(bill, "FItemID", row) <= 0) continue;
    const double regular = FieldNumber(bill, "FOldPrice", row);
    const double special = xscx::CalcSpecialOfRate(regular, rate);
    Resume([&] { bill.SetFieldValue("FNewPrice", special, row); });
    Resume([&] { bill.SetFieldValue("FDifferPrice", regular - special, row); });
    Resume([&] { bill.SetFieldValue("FDiscountRate", rate, row); });
  }
}

void BillEvent_XSCX::InvalidBillTool(bool&) { InvalidateBill(); }

}  // namespace zov::plugins
