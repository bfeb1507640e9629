// The sales bill when it is created, loaded, copied or filled from source bills.
#include "bills/sale/bill_event_sale.h"

namespace zov::plugins {

void BillEvent_Sale::m_BillInterface_AfterNewBill() {}
void BillEvent_Sale::m_BillInterface_AfterLoadBill() {}
void BillEvent_Sale::m_BillInterface_AfterCopyBill() {}
void BillEvent_Sale::m_BillInterface_BeforeSelBills(const Variant&, const Variant&, const Variant&,
                                                    std::string&, const Variant&) {}
void BillEvent_Sale::m_BillInterface_AfterSelBillBeforeFillData(const Variant&, const Variant&) {}
void BillEvent_Sale::m_BillInterface_AfterSelBill(const Variant&) {}
void BillEvent_Sale::m_BillInterface_AfterFillRow(long, const Variant&, const Variant&,
                                                  const Variant&) {}
void BillEvent_Sale::m_BillInterface_AfterSave(const Variant&) {}
void BillEvent_Sale::ShowRowStock(long) {}
void BillEvent_Sale::ApplyEditState() {}

}  // namespace zov::plugins
