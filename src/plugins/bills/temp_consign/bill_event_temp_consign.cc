#include "bills/temp_consign/bill_event_temp_consign.h"

#include "bills/common/opening.h"
#include "calc/charges.h"
#include "frame/resume.h"
#include "services/database.h"
#include "zov/host/components.h"

namespace zov::plugins {

void BillEvent_TempConsign::m_BillInterface_AddNewRow(const Variant&, long) {}
void BillEvent_TempConsign::m_BillInterface_AfterCopyBill() {}
void BillEvent_TempConsign::m_BillInterface_AfterDeleteRow(const Variant&, const Variant&) {
  calc::SyncChargesTotal(context(), *m_BillInterface);
}
void BillEvent_TempConsign::m_BillInterface_AfterDoAction2(const Variant&, const Variant&,
                                                           const Variant&, const std::string&,
                                                           const std::string&, const std::string&,
                                                           long) {}
void BillEvent_TempConsign::m_BillInterface_AfterFillRow(long, const Variant&, const Variant&,
                                                         const Variant&) {}
void BillEvent_TempConsign::m_BillInterface_AfterLoadBill() {}
void BillEvent_TempConsign::m_BillInterface_AfterNewBill() {}
void BillEvent_TempConsign::m_BillInterface_AfterSave(const Variant&) {}
void BillEvent_TempConsign::m_BillInterface_BeforeDoAction(const Variant&, const Variant&,
                                                           const Variant&, const std::string&,
                                                           const std::string&, const std::string&,
                                                           bool&) {}
void BillEvent_TempConsign::m_BillInterface_BeforeSave(bool&) {}
void BillEvent_TempConsign::m_BillInterface_BusinessCheck(bool&) { RunServerAudit(true); }
void BillEvent_TempConsign::m_BillInterface_Change(const Ref<host::IDictionary>&,
                                                   const Ref<host::IDictionary>&, long, long,
                                                   bool&) {}
void BillEvent_TempConsign::m_BillInterface_MenuBarClick(const Ref<host::ITool>&, bool&) {}
void BillEvent_TempConsign::m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {
  Resume([&] { m_BillInterface->SetToolProperty("mnuRelateViewVoucher", "visible", false); });
}
void BillEvent_TempConsign::m_BillInterface_UnBusinessCheck(bool&) { RunServerAudit(false); }
void BillEvent_TempConsign::m_ListInterface_BusinessCheck(bool&) { RunServerBatchAudit(true); }
void BillEvent_TempConsign::m_ListInterface_MenuBarClick(const Ref<host::ITool>&, bool&) {}
void BillEvent_TempConsign::m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {
  Resume([&] { m_ListInterface->SetToolProperty("mnuEditCheck", "Visible", true); });
  Resume([&] { m_ListInterface->SetToolProperty("mnuEditUnCheck", "Visible", true); });
  Resume([&] { m_ListInterface->SetToolProperty("mnuEditCopy", "Visible", true); });
}
void BillEvent_TempConsign::m_ListInterface_UnBusinessCheck(bool&) { RunServerBatchAudit(false); }

void BillEvent_TempConsign::RunServerAudit(bool audit) {
  sales::RunOpeningAudit(context(), *m_BillInterface, host::progid::kTempConsignUpdate, audit);
  // The host reads the stored state back on the view state.
  Resume([&] { m_BillInterface->SetBillStatus(host::kBillView); });
}
void BillEvent_TempConsign::RunServerBatchAudit(bool audit) {
  sales::RunOpeningListAudit(context(), *m_ListInterface, host::progid::kTempConsignUpdate, audit);
}

void BillEvent_TempConsign::IsIsVirtualStock(long stockId, Variant& result) {
  auto rs = services::OpenRecordsetTolerant(
      context(),
      "SELECT 'X' FROM t_Stock WHERE FTypeID = 502 AND FItemID = " + std::to_string(stockId));
  result = rs && !rs->Eof();
}

}  // namespace zov::plugins
