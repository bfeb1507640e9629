#include "bills/consign/bill_event_consign.h"

#include "bills/common/commands.h"
#include "bills/common/row_data.h"
#include "bills/common/sales_keys.h"
#include "calc/charges.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/serials.h"

namespace zov::plugins {

sales::SalesForm BillEvent_Consign::Form() { return {context(), *m_BillInterface, kSalesClass}; }

ConsignKind BillEvent_Consign::Kind() {
  return static_cast<ConsignKind>(ResumeOr<long>(
      0, [&] { return static_cast<long>(FieldNumber(*m_BillInterface, "FBillTypeID")); }));
}

long BillEvent_Consign::EditState() {
  return ResumeOr<long>(host::kBillView, [&] { return m_BillInterface->BillStatus(); });
}

long BillEvent_Consign::Status() {
  return ResumeOr<long>(
      0, [&] { return static_cast<long>(FieldNumber(*m_BillInterface, "FStatus")); });
}

void BillEvent_Consign::Bar(const char* tool, const char* property, bool value) {
  Resume([&] { m_BillInterface->SetBarStatus(tool, property, value); });
}

// --- rows ---------------------------------------------------------------------------------------

void BillEvent_Consign::m_BillInterface_AddNewRow(const Variant&, long row) {
  inventory::ClearSerials(context(), *m_BillInterface, row);
}

void BillEvent_Consign::m_BillInterface_BeforeDeleteRow(const Variant&, long row, bool& cancel) {
  sales::RefuseUsedSerialRowDelete(context(), *m_BillInterface, row, cancel);
}

void BillEvent_Consign::m_BillInterface_AfterDeleteRow(const Variant&, const Variant&) {
  calc::SyncChargesTotal(context(), *m_BillInterface);
}

// The stock on hand of the row the cursor enters, in status panel 2.
void BillEvent_Consign::m_BillInterface_EntryGridRow(const Variant&, long row, const Variant&,
                                                     const Variant&, const Variant&, const Variant&,
                                                     const Variant&, const Variant&) {
  sales::ShowRowStock(Form(), row, sales::FirstGrid());
}

void BillEvent_Consign::m_BillInterface_AfterSave(const Variant&) {}

}  // namespace zov::plugins
