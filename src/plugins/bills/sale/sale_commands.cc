// The sales bill's tools on the form and on the list.
#include "bills/sale/bill_event_sale.h"

namespace zov::plugins {

void BillEvent_Sale::m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {}
void BillEvent_Sale::m_BillInterface_MenuBarClick(const Ref<host::ITool>&, bool&) {}
void BillEvent_Sale::m_ListInterFace_AfterMergeCopyBill(const Variant&) {}
void BillEvent_Sale::m_ListInterface_MenuBarClick(const Ref<host::ITool>&, bool&) {}
void BillEvent_Sale::m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {}
double BillEvent_Sale::GetSalePriceForTZE(long, long, long, long, std::string_view, bool& found) {
  found = false;
  return 0;
}

}  // namespace zov::plugins
