#include "bills/sale_change/bill_event_sale_change.h"

#include "calc/charges.h"
#include "frame/menu.h"
#include "frame/resume.h"
#include "inventory/serials.h"
#include "services/messages.h"
#include "services/user_profile.h"

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
  if (!inventory::RowHasUsedSerials(*m_BillInterface, row)) return;
  cancel = true;
  services::ShowMessage(context(), "分录商品中存在已被其他单据使用的S/N号，不能删除！");
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
  const MenuTool relate[] = {
      {"mnuQueryPayIn", "查询收款记录", "mnuRelate", "", "mnuRelateViewVoucher", "", 0, ""},
      {"mnuQuerySaleReject", "查询退货记录", "mnuRelate", "mnuQueryPayIn", "", "", 0, ""},
      {"mnuQuerySale", "查询发货记录", "mnuRelate", "mnuQuerySaleReject", "", "", 0, ""},
      {"mnuQueryConsign", "查询委托代销记录", "mnuRelate", "mnuQuerySale", "", "", 0, ""},
      {"mnuQueryConsignReject", "查询委托结算记录", "mnuRelate", "mnuQueryConsign", "", "", 0, ""},
      {"mnuQueryConsignBal", "查询委托结算退货记录", "mnuRelate", "mnuQueryConsignReject", "", "",
       0, ""},
      {"mnuQuerySaleOrder", "查询销售订单记录", "mnuRelate", "mnuQuerySaleReject", "", "", 0, ""},
      {"mnuQueryGH", "查询采购单记录", "mnuRelate", "mnuQuerySaleOrder", "", "", 0, ""},
      {"mnuRelatePushBill_2000001", "生成物流单", "mnuRelate", "mnuRelateViewList", "", "", 0, ""},
      {"mnuQueryLogisticList", "查询物流单", "mnuRelate", "mnuRelateViewList", "", "", 0, ""},
      {"mnuRelatePushBill_3000001", "生成发票", "mnuRelate", "mnuRelatePushBill_1050001", "", "", 0,
       ""},
  };
  for (const auto& tool : relate) AddTool(bar, tool);
  AddSeparator(bar, "mnuRelate", "mnuQueryConsignBal");
  AddSeparator(bar, "mnuRelate", "mnuRelateViewList");
  AddTool(bar, {"mnuReject", "驳回", "mnuEdit", "", "mnuEditCheck", "", 0, ""});
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

std::string BillEvent_SaleChange::GetUserProfile(std::string_view section, std::string_view key) {
  return services::GetUserProfile(context(), section, key);
}

void BillEvent_SaleChange::SaveUserProfileItem(std::string_view section, std::string_view key,
                                               const Variant& value) {
  services::SaveUserProfileItem(context(), section, key, value);
}

void BillEvent_SaleChange::checkBillSNErr(const Variant&, Variant& result) { result = false; }
void BillEvent_SaleChange::checkXSDBillSNErr(long, Variant& result) { result = false; }
void BillEvent_SaleChange::checkXSDBillBatchNoErr(long, Variant& result) { result = false; }
double BillEvent_SaleChange::GetSalePriceForTZE(long, long, long, long, std::string_view,
                                                bool& found) {
  found = false;
  return 0;
}
bool BillEvent_SaleChange::CheckAuditState(bool, bool) { return true; }
bool BillEvent_SaleChange::CheckSerialCompleteness(bool) { return true; }
void BillEvent_SaleChange::ShowRowStock(long) {}
void BillEvent_SaleChange::ApplyEditState() {}

}  // namespace zov::plugins
