// The sales bill's field changes.
#include "bills/sale/bill_event_sale.h"

namespace zov::plugins {

void BillEvent_Sale::m_BillInterface_Change(const Ref<host::IDictionary>&,
                                            const Ref<host::IDictionary>&, long, long, bool&) {}

}  // namespace zov::plugins
