// The sales order's hooks on the host's own field actions: amounts do not make prices unless the
// order says so, and after a calculation the tax is kept exact and the composite quantity text
// follows the quantity.
#include "bills/common/field_actions.h"
#include "bills/order/bill_event_order.h"

namespace zov::plugins {

void BillEvent_Order::m_BillInterface_BeforeDoAction(const Variant& fieldInfo, const Variant&,
                                                     const Variant&, const std::string&,
                                                     const std::string&, const std::string&,
                                                     bool& cancel) {
  if (sales::CancelsAmountAction(*m_BillInterface, fieldInfo)) cancel = true;
}

void BillEvent_Order::m_BillInterface_AfterDoAction2(const Variant& fieldInfo, const Variant&,
                                                     const Variant&, const std::string& kind,
                                                     const std::string& name,
                                                     const std::string& parameter, long row) {
  sales::ApplyAfterCalculate(Form(), fieldInfo, kind, name, parameter, row, sales::FirstGrid());
}

}  // namespace zov::plugins
