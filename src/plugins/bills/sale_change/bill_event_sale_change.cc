#include "bills/sale_change/bill_event_sale_change.h"

#include "bills/common/commands.h"
#include "calc/charges.h"
#include "frame/menu.h"
#include "frame/resume.h"
#include "inventory/serials.h"

namespace zov::plugins {

void BillEvent_SaleChange::m_BillInterface_AddNewRow(const Variant&, long row) {
  inventory::ClearSerials(context(), *m_BillInterface, row);
}
void BillEvent_SaleChange::m_BillInterface_AfterCopyBill() {}
void BillEvent_SaleChange::m_BillInterface_AfterDeleteRow(const Variant&, const Variant&) {
  calc::SyncChargesTotal(context(), *m_BillInterface);
}
void BillEvent_SaleChange::m_BillInterface_AfterDoAction2(const Variant&, const Variant&,
                                                          const Variant&, const std::string&,
                                                          const std::string&, const std::string&,
                                                          long) {}
void BillEvent_SaleChange::m_BillInterface_AfterFillRow(long, const Variant&, const Variant&,
                                                        const Variant&) {}
void BillEvent_SaleChange::m_BillInterface_AfterLoadBill() {}
void BillEvent_SaleChange::m_BillInterface_AfterNewBill() {}
void BillEvent_SaleChange::m_BillInterface_AfterSave(const Variant&) {}
void BillEvent_SaleChange::m_BillInterface_AfterSelBill(const Variant&) {}
void BillEvent_SaleChange::m_BillInterface_AfterSelBillBeforeFillData(const Variant&,
                                                                      const Variant&) {}
void BillEvent_SaleChange::m_BillInterface_BeforeDeleteRow(const Variant&, long row, bool& cancel) {
  sales::RefuseUsedSerialRowDelete(context(), *m_BillInterface, row, cancel);
}
void BillEvent_SaleChange::m_BillInterface_BeforeDoAction(const Variant&, const Variant&,
                                                          const Variant&, const std::string&,
                                                          const std::string&, const std::string&,
                                                          bool&) {}
void BillEvent_SaleChange::m_BillInterface_BeforeSave(bool&) {}
void BillEvent_SaleChange::m_BillInterface_BeforeSelBills(const Variant&, const Variant&,
                                                          const Variant&, std::string&,
                                                          const Variant&) {}
void BillEvent_SaleChange::m_BillInterface_BeginEdit(const Variant&, const Variant&,
                                                     const Variant&) {
  ApplyEditState();
}
void BillEvent_SaleChange::m_BillInterface_BusinessCheck(bool& cancel) {
  if (!CheckSerialCompleteness(false)) {
    cancel = true;
    return;
  }
  if (!CheckAuditState(true, false)) cancel = true;
}
void BillEvent_SaleChange::m_BillInterface_Change(const Ref<host::IDictionary>&,
                                                  const Ref<host::IDictionary>&, long, long,
                                                  bool&) {}
void BillEvent_SaleChange::m_BillInterface_EntryGridRow(const Variant&, long row, const Variant&,
                                                        const Variant&, const Variant&,
                                                        const Variant&, const Variant&,
                                                        const Variant&) {
  ShowRowStock(row);
}
void BillEvent_SaleChange::m_BillInterface_LostFocus(const std::string&, const Variant&,
                                                     const Variant&, const Variant&) {}
void BillEvent_SaleChange::m_BillInterface_MenuBarClick(const Ref<host::ITool>& tool,
                                                        bool& cancel) {
  const std::string key = ResumeOr<std::string>({}, [&] { return tool->Name(); });
  if (key == "mnuRelate_1030001" || key == "mnuRelate_1030002" || key == "mnuRelate_1030003")
    CustomerChosenForSource(context(), *m_BillInterface, cancel);
}
void BillEvent_SaleChange::m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>& bar) {
  sales::AddSaleRelateTools(bar);
  PlaceSourceTools(bar);
}
void BillEvent_SaleChange::m_BillInterface_UnBusinessCheck(bool& cancel) {
  if (!CheckAuditState(false, false)) cancel = true;
}
void BillEvent_SaleChange::m_ListInterFace_AfterMergeCopyBill(const Variant&) {}
void BillEvent_SaleChange::m_ListInterface_BusinessCheck(bool&) { CheckAuditState(true, true); }
void BillEvent_SaleChange::m_ListInterface_MenuBarClick(const Ref<host::ITool>&, bool&) {}
void BillEvent_SaleChange::m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>& bar) {
  Resume([&] { m_ListInterface->SetToolProperty("mnuEditCheck", "Visible", true); });
  Resume([&] { m_ListInterface->SetToolProperty("mnuEditUnCheck", "Visible", true); });
  Resume([&] { m_ListInterface->SetToolProperty("mnuEditCopy", "Visible", true); });
  Resume([&] { m_ListInterface->SetToolProperty("mnuKddPrint", "Visible", true); });
  AddTool(bar, {"mnuGenLogic", "生成物流单", "BandToolBar", "mnuEditUnCheck", "", "", 0, ""});
  AddTool(bar,
          {"mnuQueryLogisticList", "查询物流单", "mnuView", "mnuQORViewVoucher", "", "", 0, ""});
}
void BillEvent_SaleChange::m_ListInterface_UnBusinessCheck(bool&) { CheckAuditState(false, true); }

void BillEvent_SaleChange::checkBillSNErr(const Variant&, Variant& result) { result = false; }
bool BillEvent_SaleChange::CheckAuditState(bool, bool) { return true; }
bool BillEvent_SaleChange::CheckSerialCompleteness(bool) { return true; }
void BillEvent_SaleChange::ShowRowStock(long) {}
void BillEvent_SaleChange::ApplyEditState() {}

}  // namespace zov::plugins
