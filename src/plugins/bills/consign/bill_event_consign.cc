#include "bills/consign/bill_event_consign.h"

#include "calc/charges.h"
#include "frame/menu.h"
#include "frame/resume.h"
#include "inventory/serials.h"
#include "services/messages.h"
#include "services/user_profile.h"

namespace zov::plugins {

void BillEvent_Consign::m_BillInterface_AddNewRow(const Variant&, long row) {
  inventory::ClearSerials(context(), *m_BillInterface, row);
}
void BillEvent_Consign::m_BillInterface_AfterCopyBill() {}
void BillEvent_Consign::m_BillInterface_AfterDeleteRow(const Variant&, const Variant&) {
  calc::SyncChargesTotal(context(), *m_BillInterface);
}
void BillEvent_Consign::m_BillInterface_AfterDoAction2(const Variant&, const Variant&,
                                                       const Variant&, const std::string&,
                                                       const std::string&, const std::string&,
                                                       long) {}
void BillEvent_Consign::m_BillInterface_AfterFillRow(long, const Variant&, const Variant&,
                                                     const Variant&) {}
void BillEvent_Consign::m_BillInterface_AfterLoadBill() {}
void BillEvent_Consign::m_BillInterface_AfterNewBill() {}
void BillEvent_Consign::m_BillInterface_AfterSave(const Variant&) {}
void BillEvent_Consign::m_BillInterface_AfterSelBill(const Variant&) {}
void BillEvent_Consign::m_BillInterface_AfterSelBillBeforeFillData(const Variant&, const Variant&) {
}
void BillEvent_Consign::m_BillInterface_BeforeDeleteRow(const Variant&, long row, bool& cancel) {
  if (!inventory::RowHasUsedSerials(*m_BillInterface, row)) return;
  cancel = true;
  services::ShowMessage(context(), "分录商品中存在已被其他单据使用的S/N号，不能删除！");
}
void BillEvent_Consign::m_BillInterface_BeforeDoAction(const Variant&, const Variant&,
                                                       const Variant&, const std::string&,
                                                       const std::string&, const std::string&,
                                                       bool&) {}
void BillEvent_Consign::m_BillInterface_BeforeDoAction2(const Variant&, const Variant&,
                                                        const Variant&, const std::string&,
                                                        const std::string&, const std::string&,
                                                        bool&, const Variant&) {}
void BillEvent_Consign::m_BillInterface_BeforeSave(bool&) {}
void BillEvent_Consign::m_BillInterface_BeginEdit(const Variant&, const Variant&, const Variant&) {
  ApplyEditState();
}
void BillEvent_Consign::m_BillInterface_BusinessCheck(bool& cancel) {
  if (!CheckAuditState(true, false)) cancel = true;
}
void BillEvent_Consign::m_BillInterface_Change(const Ref<host::IDictionary>&,
                                               const Ref<host::IDictionary>&, long, long, bool&) {}
void BillEvent_Consign::m_BillInterface_EntryGridRow(const Variant&, long row, const Variant&,
                                                     const Variant&, const Variant&, const Variant&,
                                                     const Variant&, const Variant&) {
  ShowRowStock(row);
}
void BillEvent_Consign::m_BillInterface_MenuBarClick(const Ref<host::ITool>& tool, bool& cancel) {
  const std::string key = ResumeOr<std::string>({}, [&] { return tool->Name(); });
  if (key == "mnuDoNotResetPrice") ToggleOption(context(), tool, kClassTypeId, "DoNotResetPrice");
  if (key == "mnuRelate_1030001" || key == "mnuRelate_1030003")
    CustomerChosenForSource(context(), *m_BillInterface, cancel);
}
void BillEvent_Consign::m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>& bar) {
  AddTool(bar, {"mnuQueryConsignAccount", "查询委托结算记录", "mnuRelate", "",
                "mnuRelateViewVoucher", "", 0, ""});
  AddTool(bar, {"mnuQueryConsignReject", "查询委托退货记录", "mnuRelate", "mnuQueryConsignAccount",
                "", "", 0, ""});
  AddTool(bar, {"mnuQueryConsignSale", "查询委托代销记录", "mnuRelate", "mnuQueryConsignReject", "",
                "", 0, ""});
  AddTool(bar, {"mnuQuerySaleOrder", "查询销售订单记录", "mnuRelate", "mnuQueryConsignReject", "",
                "", 0, ""});
  AddSeparator(bar, "mnuRelate", "mnuQueryConsignSale");
  AddSeparator(bar, "mnuRelate", "mnuRelateViewList");
  AddOptionTool(context(), bar, kClassTypeId, "mnuDoNotResetPrice", "修改客户不重新取价",
                "DoNotResetPrice");
  for (const auto& [key, text] : {std::pair{"mnuRelatePushBill_1030003", "生成委托退货单"},
                                  std::pair{"mnuRelatePushBill_1030002", "生成委托结算单"}})
    Resume([&] { m_BillInterface->SetToolProperty(key, "Description", text); });
  PlaceSourceTools(bar);
  for (const auto& [key, tip] : {std::pair{"mnuRelate_1030001", "选择销售订单"},
                                 std::pair{"mnuRelate_1030003", "选择委托代销单"}})
    if (auto t = bar->Tools()->Find(key)) {
      t->SetCaption("选源单");
      t->SetToolTipText(tip);
    }
}
void BillEvent_Consign::m_BillInterface_UnBusinessCheck(bool& cancel) {
  if (!CheckAuditState(false, false)) cancel = true;
}
void BillEvent_Consign::m_ListInterFace_AfterMergeCopyBill(const Variant&) {}
void BillEvent_Consign::m_ListInterface_BusinessCheck(bool&) { CheckAuditState(true, true); }
void BillEvent_Consign::m_ListInterface_MenuBarClick(const Ref<host::ITool>&, bool&) {}
void BillEvent_Consign::m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>&) {
  Resume([&] { m_ListInterface->SetToolProperty("mnuEditCheck", "Visible", true); });
  Resume([&] { m_ListInterface->SetToolProperty("mnuEditUnCheck", "Visible", true); });
  Resume([&] { m_ListInterface->SetToolProperty("mnuEditCopy", "Visible", true); });
}
void BillEvent_Consign::m_ListInterface_UnBusinessCheck(bool&) { CheckAuditState(false, true); }

bool BillEvent_Consign::CheckAuditState(bool, bool) { return true; }
void BillEvent_Consign::ShowRowStock(long) {}
void BillEvent_Consign::ApplyEditState() {}

}  // namespace zov::plugins
