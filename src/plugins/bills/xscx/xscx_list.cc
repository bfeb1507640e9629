// The special-price bill list: audit and copy shown; audit goes through the bill's own handler
// (bill_event_xscx.cc).
#include "bills/xscx/bill_event_xscx.h"
#include "frame/resume.h"

namespace zov::plugins {

void BillEvent_XSCX::m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {
  Resume([&] { m_ListInterface->SetToolProperty("mnuEditCheck", "Visible", true); });
  Resume([&] { m_ListInterface->SetToolProperty("mnuEditCopy", "Visible", true); });
}

}  // namespace zov::plugins
