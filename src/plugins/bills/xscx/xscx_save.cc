// Saving a special-price bill: the checks in their fixed order before the host saves, and the
// chosen customers stored once it has.
#include <array>
#include <utility>

#include "bills/xscx/bill_event_xscx.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/database.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

void BillEvent_XSCX::m_BillInterface_BeforeSave(bool& cancel) {
  static constexpr std::array<std::pair<const char*, Check>, 2> kChecks{{
      {"the bill date in the start period or after", &BillEvent_XSCX::CheckBillDate},
      {"the rows' prices, items and units", &BillEvent_XSCX::CheckRows},
  }};
  for (const auto& [what, check] : kChecks)
    if (!(this->*check)()) {
      cancel = true;
      return;
    }
  // A customer field left empty means every customer.
  const std::string shown = ResumeOr<std::string>({}, [&] {
    auto cell = m_BillInterface->GetDataFldbyKey(CustomerKey(), -1);
    return cell ? vb::CStr(cell->Item("FFLD")) : std::string();
  });
  if (shown.empty()) ShowAllCustomers(false);
}

void BillEvent_XSCX::m_BillInterface_SaveBillSuccess(const Variant&) {
  auto& ctx = context();
  const std::string billNo = FieldText(*m_BillInterface, "FBillNo");
  const long id = static_cast<long>(vb::Val(services::FirstValue(
      ctx, "select FID from T_LS_CX where FBillNo='" + services::SqlLiteral(billNo, false) + "'")));
  if (id <= 0) return;
  const std::string bill = std::to_string(id);
  // The customers replace those stored before, in one batch: all of them or none.
  std::string sql = "delete T_LS_CX_Customer where FBillID=" + bill;
  if (!customerIds_.empty())
    sql += "\ninsert into T_LS_CX_Customer select " + bill + ",'" + customerIds_ +
           "',FItemClassID,FItemID,FNumber,FNumber + '-' + FName as FShowName from dbo.t_Item "
           "where FItemID in (" +
           customerIds_ + ")";
  Resume([&] { services::ExecuteUpdate(ctx, sql); });
}

}  // namespace zov::plugins
