// The regular price of a special-price row, from the sales price look-up, and the difference
// and rate that follow it.
#include "bills/xscx/xscx_prices.h"

#include "bills/xscx/bill_event_xscx.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "pricing/sale_price.h"
#include "services/database.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/vb/convert.h"

namespace zov::plugins {

long BillEvent_XSCX::RegularPriceCustomer() {
  // Customer prices (agreements, customer levels, last prices) hold for one customer only.
  if (customerIds_.empty()) return 0;
  auto rs = services::OpenRecordsetTolerant(
      context(),
      "select FItemID from t_Item where FDetail<>0 and  FItemID in (" + customerIds_ + ")");
  return ResumeOr<long>(0, [&]() -> long {
    if (!rs || rs->Eof()) return 0;
    const long customer = vb::CLng(rs->Value("FItemID"));
    rs->MoveNext();
    return rs->Eof() ? customer : 0;
  });
}

double BillEvent_XSCX::FetchRegularPrice(long row, long customer) {
  auto& bill = *m_BillInterface;
  double discount = 0;
  const double price =
      pricing::GetSalePrice(context(), FieldId(bill, "FItemID", row),
                            FieldId(bill, "FShowUnitID", row), customer, 0, "", discount);
  Resume([&] { bill.SetFieldValue("FOldPrice", price > 0 ? Variant(price) : Variant(""), row); });
  return price > 0 ? price : 0;
}

void BillEvent_XSCX::SetDifferenceAndRate(long row, double regular, double difference) {
  auto& bill = *m_BillInterface;
  Resume([&] { bill.SetFieldValue("FDifferPrice", difference, row); });
  if (regular != 0)
    Resume([&] {
      bill.SetFieldValue("FDiscountRate", xscx::CalcDiscountRate(regular, difference), row);
    });
}

bool BillEvent_XSCX::UpdateRow(long row, bool keepFlags) {
  auto& bill = *m_BillInterface;
  // 1. The row's item.
  const long item = FieldId(bill, "FItemID", row);
  if (item > 0) {
    // 2. The regular price again; the special price is entered anew.
    const double regular = FetchRegularPrice(row, RegularPriceCustomer());
    Resume([&] { bill.SetFieldValue("FNewPrice", "", row); });
    SetDifferenceAndRate(row, regular, regular - FieldNumber(bill, "FNewPrice", row));
    if (!keepFlags && ResumeOr<long>(0, [&] { return bill.BillStatus(); }) == host::kBillNew)
      MarkAllCellsUnmodified(*m_BillInterface);
  } else {
    // 3. No item: nothing of one stays.
    for (const char* key : {"FItemID", "FOldPrice", "FBarCode"})
      Resume([&] { bill.SetFieldValue(key, "", row); });
  }
  // 4.
  return true;
}

void BillEvent_XSCX::RepriceRows(bool needSpecial) {
  auto& bill = *m_BillInterface;
  const long customer = RegularPriceCustomer();
  for (long row = 1; row <= RowCount(); ++row) {
    if (FieldId(bill, "FItemID", row) <= 0) continue;
    const double regular = FetchRegularPrice(row, customer);
    const double special = FieldNumber(bill, "FNewPrice", row);
    if (needSpecial && (regular == 0 || special == 0)) continue;
    SetDifferenceAndRate(row, regular, regular - special);
  }
}

void BillEvent_XSCX::ApplyPriceType() {
  auto& bill = *m_BillInterface;
  // The total limits start again, and price type 3 takes none.
  for (long row = 1; row <= RowCount(); ++row)
    Resume([&] { bill.SetFieldValue("FTotalLimitQty", "", row); });
  const bool lock = static_cast<long>(FieldNumber(bill, "FPriceType")) == 3;
  Resume([&] { bill.BillEntrys(1)->QORFields("FTotalLimitQty")->SetFieldLock(lock); });
  RepriceRows(true);
}

void BillEvent_XSCX::WarnSpecialAboveRegular() {
  services::ShowMessage(context(), services::IndustryType(context()) == 1 ? "特价大于原理论单价！"
                                                                          : "特价大于原价！");
}

}  // namespace zov::plugins
