// The consignment bill's list: its tools, the guard of its copy commands (a return is made from
// its consignment bill only) and the merged copy, a new delivery.
#include "bills/common/commands.h"
#include "bills/consign/bill_event_consign.h"
#include "frame/resume.h"

namespace zov::plugins {

void BillEvent_Consign::m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {
  for (const char* tool : {"mnuEditCheck", "mnuEditUnCheck", "mnuEditCopy"})
    Resume([&] { m_ListInterface->SetToolProperty(tool, "Visible", true); });
}

void BillEvent_Consign::m_ListInterface_MenuBarClick(const Ref<host::ITool>& tool, bool& cancel) {
  static const sales::KeyTable<ToolHandler> kCommands{
      {{"mnuEditCopy", "mnuEditCopyEntry"}, &BillEvent_Consign::RefuseReturnCopy},
  };
  ToolClick click(tool, cancel);
  if (const ToolHandler* handler = kCommands.Find(click.key)) (this->**handler)(click);
}

void BillEvent_Consign::RefuseReturnCopy(ToolClick& click) {
  sales::RefuseSelectedBills(context(), *m_ListInterface, kSalesClass, "FBillTypeID",
                             static_cast<long>(ConsignKind::kReturn),
                             "你选择的单据包含委托退货单，不允许复制，请重新选择。", click.cancel);
}

void BillEvent_Consign::m_ListInterFace_AfterMergeCopyBill(const Variant& data) {
  sales::ResetMergedCopy(data, "3010");
}

}  // namespace zov::plugins
