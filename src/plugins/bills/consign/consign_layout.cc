// The consignment bill's layout: the tools by edit state (new, editing, viewing) and kind
// (delivery 3010, return 3011), the audit tools by status, and what a return shows of its rows:
// its colour, the item columns of its source locked and the follow-up quantities hidden.
#include <iterator>
#include <optional>

#include "bills/common/commands.h"
#include "bills/consign/bill_event_consign.h"
#include "calc/charges.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/login.h"
#include "services/profile.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

// A tool's state in one row of the tool table: shown or hidden, enabled or disabled, or left as
// it is.
struct ToolState {
  std::optional<bool> visible;
  std::optional<bool> enabled;
};
constexpr ToolState H{false, {}}, VE{true, true}, VD{true, false}, HD{false, false}, U{{}, {}};

// The tools of the table, in its column order.
constexpr const char* kStateTools[] = {"mnuRelate_1030001",         "mnuRelate_1030003",
                                       "mnuQueryConsignAccount",    "mnuQueryConsignReject",
                                       "mnuQueryConsignSale",       "mnuQuerySaleOrder",
                                       "mnuRelatePushBill_1030003", "mnuRelatePushBill_1030002"};
struct StateRow {
  ToolState tools[8];
};
constexpr StateRow kNewDelivery{{VE, H, VD, VD, H, VD, VD, VD}};
constexpr StateRow kNewReturn{{H, VE, H, H, VE, H, H, U}};
constexpr StateRow kEditDelivery{{HD, H, HD, HD, H, HD, HD, HD}};
constexpr StateRow kEditReturn{{H, VE, H, H, VE, H, H, H}};
constexpr StateRow kViewDelivery{{VD, H, VE, VE, H, VE, VE, VE}};
constexpr StateRow kViewReturn{{H, VD, H, H, VE, H, H, H}};

// The item columns a return takes from its source bill.
constexpr const char* kReturnLocks =
    "FItemID,FClientItemID,FSCStockID,FBatchNo,FAuxPropID,FKFDate,FShowUnitID";
constexpr const char* kReturnHidden =
    "FOrderQty,FRejectQty,FSettleQty,FRejectAuxQty,FSettleAuxQty,FUnRejectQty,FUnSettleQty,"
    "FUnSettleAuxQty,FUnRejectAuxQty";
constexpr const char* kDeliveryHidden = "FOrderQty,FRejectQty,FSettleQty";

}  // namespace

void BillEvent_Consign::SetColumns(std::string_view keys, ColumnProperty property, bool value) {
  for (const std::string& key : vb::Split(keys, ","))
    Resume([&] {
      auto field = m_BillInterface->BillEntrys(1)->QORFields(key);
      if (property == ColumnProperty::kLocked)
        field->SetFieldLock(value);
      else
        field->SetVisible(value);
    });
}

void BillEvent_Consign::HideCostByRight() {
  if (!services::AccessCheck(context(), services::PropsString(context()), 15, 900, 32, kProgId))
    SetColumns("FCostPrice,FCostAmount", ColumnProperty::kVisible, false);
}

void BillEvent_Consign::ApplyConsignLayout() {
  auto& bill = *m_BillInterface;
  const long state = EditState();
  const long status = Status();
  const bool isReturn = Kind() == ConsignKind::kReturn;
  // Always first.
  sales::ApplyFixedTools(bill, state != host::kBillNew);
  // The audit tools: a bill being made or edited is audited; a bill viewed by its status.
  if (state != host::kBillView) {
    Bar("mnuEditCheck", "Visible", true);
    Bar("mnuEditCheck", "Enabled", true);
    Bar("mnuEditUnCheck", "Visible", false);
  } else if (status == 0) {
    Bar("mnuEditCheck", "Visible", true);
  } else if (status == 1) {
    Bar("mnuRelateViewVoucher", "Enabled", true);
    Bar("mnuEditCheck", "Visible", false);
    Bar("mnuEditUnCheck", "Visible", true);
    Bar("mnuEditUnCheck", "Enabled", true);
  }
  // The source, query and push tools by state and kind.
  const StateRow& row = state == host::kBillNew    ? (isReturn ? kNewReturn : kNewDelivery)
                        : state == host::kBillEdit ? (isReturn ? kEditReturn : kEditDelivery)
                                                   : (isReturn ? kViewReturn : kViewDelivery);
  for (std::size_t i = 0; i < std::size(kStateTools); ++i) {
    const ToolState& s = row.tools[i];
    if (s.visible) Bar(kStateTools[i], "Visible", *s.visible);
    if (s.enabled) Bar(kStateTools[i], "Enabled", *s.enabled);
  }
  // What the kind shows of its rows.
  if (isReturn) {
    Bar("mnuEditCopy", "Visible", false);
    Resume([&] { bill.SetEntryCtlProperty("TextColor", bill.GetFieldValue("FTextColor", -1)); });
    SetColumns(kReturnLocks, ColumnProperty::kLocked, true);
    SetColumns(kReturnHidden, ColumnProperty::kVisible, false);
  } else {
    Bar("mnuEditCopy", "Visible", true);
    SetColumns(kDeliveryHidden, ColumnProperty::kVisible, false);
  }
  // Last, the freight tools and fields.
  ApplyFreightByState();
}

void BillEvent_Consign::ApplyFreightByState() {
  calc::ApplyShareToolsByState(context(), *m_BillInterface,
                               EditState() != host::kBillView && Status() == 0);
}

void BillEvent_Consign::ColourByKind() {
  // Red (RGB 255, 0, 0 as the grid reads colours), as stored returns carry it; the rows show the
  // new colour at once, also when a return turns back into a delivery.
  const long colour = Kind() == ConsignKind::kReturn ? 255 : 0;
  Resume([&] { m_BillInterface->SetFieldValue("FTextColor", colour, -1); });
  Resume([&] { m_BillInterface->SetEntryCtlProperty("TextColor", colour); });
}

void BillEvent_Consign::ApplySourceTools() {
  const bool isReturn = Kind() == ConsignKind::kReturn;
  const bool saved = CurBillId(*m_BillInterface) > 0;
  // A return is made from consignment bills whether it is new or stored; a delivery chooses its
  // orders only while it is new.
  Bar("mnuRelate_1030001", "Visible", !isReturn && !saved);
  Bar("mnuRelate_1030001", "Enabled", !isReturn && !saved);
  Bar("mnuRelate_1030003", "Visible", isReturn);
  Bar("mnuRelate_1030003", "Enabled", isReturn);
}

}  // namespace zov::plugins
