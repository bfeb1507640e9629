#include "bills/sale/bill_event_sale.h"

#include "bills/common/commands.h"
#include "calc/charges.h"
#include "frame/bill_access.h"
#include "frame/menu.h"
#include "frame/resume.h"
#include "inventory/serials.h"
#include "services/login.h"
#include "services/profile.h"

namespace zov::plugins {

BillEvent_Sale::BillEvent_Sale(const Ref<host::IHost>& host) : SalesBillClass(host) {
  invoiceAmountRight_ =
      services::AccessCheck(context(), services::PropsString(context()), 15, 2010, 32, "");
}

sales::SalesForm BillEvent_Sale::Form() { return {context(), *m_BillInterface, kSalesClass}; }

SaleKind BillEvent_Sale::Kind() {
  return static_cast<SaleKind>(ResumeOr<long>(
      0, [&] { return static_cast<long>(FieldNumber(*m_BillInterface, "FBillTypeID")); }));
}

sales::PriceLookup BillEvent_Sale::Pricing() {
  sales::PriceLookup lookup;
  lookup.giftStockOption = OptionChecked(context(), kClassTypeId, "DoNotGetSalePriceWhenGiftStock");
  return lookup;
}

// --- rows ---------------------------------------------------------------------------------------

void BillEvent_Sale::m_BillInterface_AddNewRow(const Variant&, long row) {
  inventory::ClearSerials(context(), *m_BillInterface, row);
}

void BillEvent_Sale::m_BillInterface_BeforeDeleteRow(const Variant&, long row, bool& cancel) {
  sales::RefuseUsedSerialRowDelete(context(), *m_BillInterface, row, cancel);
}

void BillEvent_Sale::m_BillInterface_AfterDeleteRow(const Variant&, const Variant&) {
  calc::SyncChargesTotal(context(), *m_BillInterface);
}

void BillEvent_Sale::m_BillInterface_EntryGridRow(const Variant&, long row, const Variant&,
                                                  const Variant&, const Variant&, const Variant&,
                                                  const Variant&, const Variant&) {
  sales::ShowRowStock(Form(), row, sales::FirstGrid());
}

void BillEvent_Sale::m_BillInterface_BeginEdit(const Variant&, const Variant&, const Variant&) {
  ApplyEditState();
}

void BillEvent_Sale::m_BillInterface_LostFocus(const std::string&, const Variant&, const Variant&,
                                               const Variant&) {}

}  // namespace zov::plugins
