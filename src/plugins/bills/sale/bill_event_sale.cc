#include "bills/sale/bill_event_sale.h"

#include "services/login.h"
#include "services/profile.h"

namespace zov::plugins {

BillEvent_Sale::BillEvent_Sale(const Ref<host::IHost>& host) : SalesBillClass(host) {
  state_.invoiceAmountRight =
      services::AccessCheck(context(), services::PropsString(context()), 15, 2010, 32, "");
}

}  // namespace zov::plugins
