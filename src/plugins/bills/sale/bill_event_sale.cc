#include "bills/sale/bill_event_sale.h"

#include "calc/charges.h"
#include "inventory/serials.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "services/user_profile.h"

namespace zov::plugins {

BillEvent_Sale::BillEvent_Sale(const Ref<host::IHost>& host) : BillEventClass(host) {
  invoiceAmountRight_ =
      services::AccessCheck(context(), services::PropsString(context()), 15, 2010, 32, "");
}

// --- rows -------------------------------------------------------------------------------------

void BillEvent_Sale::m_BillInterface_AddNewRow(const Variant&, long row) {
  inventory::ClearSerials(context(), *m_BillInterface, row);
}

void BillEvent_Sale::m_BillInterface_BeforeDeleteRow(const Variant&, long row, bool& cancel) {
  if (!inventory::RowHasUsedSerials(*m_BillInterface, row)) return;
  cancel = true;
  services::ShowMessage(context(), "分录商品中存在已被其他单据使用的S/N号，不能删除！");
}

void BillEvent_Sale::m_BillInterface_AfterDeleteRow(const Variant&, const Variant&) {
  calc::SyncChargesTotal(context(), *m_BillInterface);
}

void BillEvent_Sale::m_BillInterface_EntryGridRow(const Variant&, long row, const Variant&,
                                                  const Variant&, const Variant&, const Variant&,
                                                  const Variant&, const Variant&) {
  ShowRowStock(row);
}

void BillEvent_Sale::m_BillInterface_BeginEdit(const Variant&, const Variant&, const Variant&) {
  ApplyEditState();
}

void BillEvent_Sale::m_BillInterface_LostFocus(const std::string&, const Variant&, const Variant&,
                                               const Variant&) {}

// --- audit ------------------------------------------------------------------------------------

void BillEvent_Sale::m_BillInterface_BusinessCheck(bool& cancel) {
  if (!CheckSerialCompleteness(false)) {
    cancel = true;
    return;
  }
  if (!CheckAuditState(true, false)) cancel = true;
}

void BillEvent_Sale::m_BillInterface_UnBusinessCheck(bool& cancel) {
  if (!CheckAuditState(false, false)) cancel = true;
}

void BillEvent_Sale::m_ListInterface_BusinessCheck(bool&) { CheckAuditState(true, true); }

void BillEvent_Sale::m_ListInterface_UnBusinessCheck(bool&) { CheckAuditState(false, true); }

// --- public methods
// -------------------------------------------------------------------------------

std::string BillEvent_Sale::GetUserProfile(std::string_view section, std::string_view key) {
  return services::GetUserProfile(context(), section, key);
}

void BillEvent_Sale::SaveUserProfileItem(std::string_view section, std::string_view key,
                                         const Variant& value) {
  services::SaveUserProfileItem(context(), section, key, value);
}

}  // namespace zov::plugins
