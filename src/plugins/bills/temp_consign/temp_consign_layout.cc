// The opening consignment bill's tools by edit state and audit state, and its audit through the
// server component, after which the form shows the stored state.
#include "bills/common/opening.h"
#include "bills/temp_consign/bill_event_temp_consign.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "zov/host/components.h"

namespace zov::plugins {

void BillEvent_TempConsign::ApplyOpeningLayout() {
  auto& bill = *m_BillInterface;
  auto bar = [&](const char* tool, const char* property, bool value) {
    Resume([&] { bill.SetBarStatus(tool, property, value); });
  };
  bar("mnuRelateViewVoucher", "Visible", false);
  bar("mnuEditFileSave", "Visible", true);
  bar("mnuEditFileSave", "Enabled", true);
  bar("mnuEditClose", "Visible", false);
  bar("mnuEditUnClose", "Visible", false);
  bar("mnuEditCopy", "Visible", true);
  bar("mnuEditCopy", "Enabled", true);
  // A new or edited bill is audited next; a bill shown by its stored state.
  const long state = ResumeOr<long>(host::kBillView, [&] { return bill.BillStatus(); });
  const bool audited = state == host::kBillView && FieldNumber(bill, "FStatus") == 1;
  bar("mnuEditCheck", "Visible", !audited);
  bar("mnuEditCheck", "Enabled", !audited);
  bar("mnuEditUnCheck", "Visible", audited);
  bar("mnuEditUnCheck", "Enabled", audited);
  const bool normalView = ResumeOr<long>(0, [&] { return bill.BillViewMode(); }) == 0;
  bar("mnuRelate", "Visible", normalView);
}

void BillEvent_TempConsign::m_BillInterface_BusinessCheck(bool&) { RunServerAudit(true); }

void BillEvent_TempConsign::m_BillInterface_UnBusinessCheck(bool&) { RunServerAudit(false); }

void BillEvent_TempConsign::m_ListInterface_BusinessCheck(bool&) { RunServerBatchAudit(true); }

void BillEvent_TempConsign::m_ListInterface_UnBusinessCheck(bool&) { RunServerBatchAudit(false); }

void BillEvent_TempConsign::RunServerAudit(bool audit) {
  sales::RunOpeningAudit(context(), *m_BillInterface, host::progid::kTempConsignUpdate, audit);
  // The host reads the stored state back on the view state; the tools follow it.
  Resume([&] { m_BillInterface->SetBillStatus(host::kBillView); });
  ApplyOpeningLayout();
}

void BillEvent_TempConsign::RunServerBatchAudit(bool audit) {
  sales::RunOpeningListAudit(context(), *m_ListInterface, host::progid::kTempConsignUpdate, audit);
}

}  // namespace zov::plugins
