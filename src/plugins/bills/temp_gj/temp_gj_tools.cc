// The opening supplier bill's tools: the host's menus as the bill needs them, and a table from
// the tool clicked to its command.
#include "bills/common/commands.h"
#include "bills/temp_gj/bill_event_temp_gj.h"
#include "calc/charges.h"
#include "frame/resume.h"
#include "zov/host/components.h"

namespace zov::plugins {

void BillEvent_TempGJ::m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {
  Resume([&] { m_BillInterface->SetToolProperty("mnuRelateViewVoucher", "visible", false); });
}

void BillEvent_TempGJ::m_BillInterface_MenuBarClick(const Ref<host::ITool>& tool, bool& cancel) {
  static const sales::KeyTable<ToolHandler> kCommands{
      {{"mnuEditFileSave", "mnuEditCheck"}, &BillEvent_TempGJ::DropEmptyRow},
      {{"mnuShareByQty", "mnuShareByAmt"}, &BillEvent_TempGJ::ShareCharges},
      {{"mnuDataViewPrice"}, &BillEvent_TempGJ::ShowPriceWindow},
  };
  ToolClick click(tool, cancel);
  if (const ToolHandler* handler = kCommands.Find(click.key)) (this->**handler)(click);
}

void BillEvent_TempGJ::DropEmptyRow(ToolClick&) { sales::DropEmptyLastRow(*m_BillInterface); }

void BillEvent_TempGJ::ShareCharges(ToolClick& click) {
  calc::AllocateCharges(
      context(),
      click.key == "mnuShareByQty" ? calc::ShareBasis::kQuantity : calc::ShareBasis::kAmount,
      *m_BillInterface, false);
}

void BillEvent_TempGJ::ShowPriceWindow(ToolClick&) {
  auto window = context().host().CreateObject(host::progid::kPriceMgr).As<host::IPriceMgr>();
  if (window) window->Show();
}

// --- the list -----------------------------------------------------------------------------------

void BillEvent_TempGJ::m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {
  for (const char* tool : {"mnuEditCheck", "mnuEditUnCheck", "mnuEditCopy"})
    Resume([&] { m_ListInterface->SetToolProperty(tool, "Visible", true); });
}

void BillEvent_TempGJ::m_ListInterface_MenuBarClick(const Ref<host::ITool>&, bool&) {}

}  // namespace zov::plugins
