// The opening consignment bill's tools: the host's menus as the bill needs them, and a table from
// the tool clicked to its command.
#include "bills/common/commands.h"
#include "bills/temp_consign/bill_event_temp_consign.h"
#include "calc/charges.h"
#include "frame/resume.h"

namespace zov::plugins {

void BillEvent_TempConsign::m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {
  Resume([&] { m_BillInterface->SetToolProperty("mnuRelateViewVoucher", "visible", false); });
}

void BillEvent_TempConsign::m_BillInterface_MenuBarClick(const Ref<host::ITool>& tool,
                                                         bool& cancel) {
  static const sales::KeyTable<ToolHandler> kCommands{
      {{"mnuEditFileSave"}, &BillEvent_TempConsign::DropEmptyRow},
      {{"mnuShareByQty", "mnuShareByAmt"}, &BillEvent_TempConsign::ShareCharges},
  };
  ToolClick click(tool, cancel);
  if (const ToolHandler* handler = kCommands.Find(click.key)) (this->**handler)(click);
}

void BillEvent_TempConsign::DropEmptyRow(ToolClick&) { sales::DropEmptyLastRow(*m_BillInterface); }

void BillEvent_TempConsign::ShareCharges(ToolClick& click) {
  calc::AllocateCharges(
      context(),
      click.key == "mnuShareByQty" ? calc::ShareBasis::kQuantity : calc::ShareBasis::kAmount,
      *m_BillInterface, false);
}

// --- the list -----------------------------------------------------------------------------------

void BillEvent_TempConsign::m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {
  for (const char* tool : {"mnuEditCheck", "mnuEditUnCheck", "mnuEditCopy"})
    Resume([&] { m_ListInterface->SetToolProperty(tool, "Visible", true); });
}

void BillEvent_TempConsign::m_ListInterface_MenuBarClick(const Ref<host::ITool>&, bool&) {}

}  // namespace zov::plugins
