// The opening supplier bill's layout: its kind, and by its audit state the audit tools and the
// lock of the whole bill; the freight tools by state.
#include "bills/temp_gj/bill_event_temp_gj.h"
#include "calc/charges.h"
#include "frame/bill_access.h"
#include "frame/resume.h"

namespace zov::plugins {

void BillEvent_TempGJ::ApplyOpeningLayout() {
  auto& bill = *m_BillInterface;
  Resume([&] { bill.SetFieldValue("FBillTypeID", kKind, -1); });
  const bool audited = FieldNumber(bill, "FCheckerID") >= 1;
  auto bar = [&](const char* tool, const char* property, bool value) {
    Resume([&] { bill.SetBarStatus(tool, property, value); });
  };
  bar("mnuEditCheck", "Visible", !audited);
  bar("mnuEditUnCheck", "Visible", audited);
  Resume([&] { bill.LockBill(audited); });
  // A locked, audited bill gives new ones by copy.
  bar("mnuEditCopy", "Enabled", audited);
  bar("mnuEditAddRow", "Visible", true);
  bar("mnuCopyRow", "Visible", true);
  const bool normalView = ResumeOr<long>(0, [&] { return bill.BillViewMode(); }) == 0;
  bar("mnuRelate", "Visible", normalView);
  calc::UpdateShareTools(context(), bill);
}

}  // namespace zov::plugins
