// The special-price bill's field changes: the changed field's key picks one small handler, in
// the order the keys are tried.
#include <array>
#include <utility>

#include "bills/xscx/bill_event_xscx.h"
#include "bills/xscx/xscx_prices.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/database.h"
#include "services/messages.h"
#include "zov/vb/convert.h"
#include "zov/vb/format.h"

namespace zov::plugins {

void BillEvent_XSCX::m_BillInterface_Change(const Ref<host::IDictionary>& field,
                                            const Ref<host::IDictionary>&, long, long row,
                                            bool& cancel) {
  static constexpr std::array<std::pair<const char*, ChangeHandler>, 9> kHandlers{{
      {"FPriceType", &BillEvent_XSCX::ChangePriceType},
      {"FItemID", &BillEvent_XSCX::ChangeItem},
      {"FShowUnitID", &BillEvent_XSCX::ChangeUnit},
      {"FNewPrice", &BillEvent_XSCX::ChangeSpecialPrice},
      {"FDifferPrice", &BillEvent_XSCX::ChangeDifference},
      {"FDiscountRate", &BillEvent_XSCX::ChangeDiscountRate},
      {"FTotalLimitQty", &BillEvent_XSCX::ChangeTotalLimit},
      {"FSingleLimitQty", &BillEvent_XSCX::ChangeSingleLimit},
      {"FEmpId", &BillEvent_XSCX::ChangeSalesman},
  }};
  const std::string key = field ? vb::CStr(field->Item("FKey")) : std::string();
  for (const auto& [name, handler] : kHandlers)
    if (key == name) return (this->*handler)(row, cancel);
}

void BillEvent_XSCX::ChangePriceType(long, bool&) { ApplyPriceType(); }

void BillEvent_XSCX::SetRowDefaultUnit(long row) {
  auto& bill = *m_BillInterface;
  calc::RowUnit unit;
  if (!calc::GetDefaultUnit(context(), 0, FieldId(bill, "FItemID", row), "FCustID", unit)) return;
  Resume([&] {
    bill.SetFieldValue("FShowUnitID", unit.id, row);
    auto cell = bill.GetDataFldbyKey("FShowUnitID", row);
    if (!cell) return;
    cell->SetItem("FFLD", unit.id);
    cell->SetItem("FFND", unit.number);
    cell->SetItem("FDSP", unit.name);
    cell->SetItem("FCoefficient", unit.coefficient);
    cell->SetItem("FBarCode", unit.barcode);
    cell->SetItem("FSrcItemId", unit.srcItemId);
    cell->SetItem("FModify", 1);
  });
  // The row shows the barcode of the item in that unit.
  Resume([&] { bill.SetFieldValue("FBarCode", unit.barcode, row); });
}

void BillEvent_XSCX::ChangeItem(long row, bool& cancel) {
  SetRowDefaultUnit(row);
  if (!UpdateRow(row, true)) cancel = true;
}

void BillEvent_XSCX::ChangeUnit(long row, bool& cancel) {
  Variant valid;
  ChkPriceValidate(m_BillInterface, row,
                   static_cast<long>(FieldNumber(*m_BillInterface, "FPriceType")), valid);
  if (!ResumeOr<bool>(false, [&] { return vb::CBool(valid); })) {
    cancel = true;
    return;
  }
  if (!UpdateRow(row, true)) cancel = true;
}

void BillEvent_XSCX::ChangeSpecialPrice(long row, bool&) {
  auto& bill = *m_BillInterface;
  const double regular = FieldNumber(bill, "FOldPrice", row);
  if (regular == 0) return;
  const double difference = regular - FieldNumber(bill, "FNewPrice", row);
  if (difference < 0) WarnSpecialAboveRegular();
  SetDifferenceAndRate(row, regular, difference);
}

void BillEvent_XSCX::ChangeDifference(long row, bool&) {
  auto& bill = *m_BillInterface;
  const double regular = FieldNumber(bill, "FOldPrice", row);
  if (regular == 0) return;
  double difference = FieldNumber(bill, "FDifferPrice", row);
  if (difference < 0) WarnSpecialAboveRegular();
  // The special price goes down to 0, not below.
  if (difference > regular) {
    difference = regular;
    Resume([&] { bill.SetFieldValue("FDifferPrice", difference, row); });
  }
  Resume([&] { bill.SetFieldValue("FNewPrice", regular - difference, row); });
  Resume([&] {
    bill.SetFieldValue("FDiscountRate", xscx::CalcDiscountRate(regular, difference), row);
  });
}

void BillEvent_XSCX::ChangeDiscountRate(long row, bool&) {
  auto& bill = *m_BillInterface;
  const double regular = FieldNumber(bill, "FOldPrice", row);
  if (regular == 0) return;
  const double difference =
      xscx::CalcDifferenceOfRate(regular, FieldNumber(bill, "FDiscountRate", row));
  if (difference < 0) WarnSpecialAboveRegular();
  Resume([&] { bill.SetFieldValue("FDifferPrice", difference, row); });
  Resume([&] { bill.SetFieldValue("FNewPrice", regular - difference, row); });
}

void BillEvent_XSCX::ChangeTotalLimit(long row, bool&) {
  auto& bill = *m_BillInterface;
  const double total = vb::Round(FieldNumber(bill, "FTotalLimitQty", row));
  Resume([&] { bill.SetFieldValue("FTotalLimitQty", total, row); });
  const double single = FieldNumber(bill, "FSingleLimitQty", row);
  if (total != 0 && single != 0 && total < single) {
    services::ShowMessage(context(), "每单限量不能大于总限量！");
    Resume([&] { bill.SetFieldValue("FTotalLimitQty", 0, row); });
  }
}

void BillEvent_XSCX::ChangeSingleLimit(long row, bool&) {
  auto& bill = *m_BillInterface;
  const double single = vb::Round(FieldNumber(bill, "FSingleLimitQty", row));
  Resume([&] { bill.SetFieldValue("FSingleLimitQty", single, row); });
}

void BillEvent_XSCX::ChangeSalesman(long, bool&) {
  auto& bill = *m_BillInterface;
  // The salesman's department becomes the bill's.
  const std::string department = services::FirstValue(
      context(),
      "Select FNumber From t_Department Where FItemID = (Select FDepartmentID From t_Emp Where "
      "FItemID=" +
          std::to_string(FieldId(bill, "FEmpId")) + ")");
  Resume([&] { bill.SetFieldValue("FDeptID", department, -1); });
}

}  // namespace zov::plugins
