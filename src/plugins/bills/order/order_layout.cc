// The sales order's layout: the caption by edit state, the web-order fields and head locks by kind
// (ordinary 3031, online 3032), and the tools by business status and edit state.
#include <iterator>
#include <optional>
#include <string_view>

#include "bills/order/bill_event_order.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

// The head fields an online order brings from its web shop.
constexpr const char* kWebFields =
    "FWebTradeID,FWebshopID,FMobilePhone,FWebBillAmount,FWebBillDiscountAmount,"
    "FWebBillTransAmount,FWebBillReceAmount,FReceiverCity";
// The head cells of an online order, locked: what the web shop took stays as it was taken.
constexpr const char* kOnlineHeadLocks =
    "FFetchStyle,FAddress,FFetchDate,FFax,FXSDeposit,FCustID,FContact,FPhone,FDate,FUserDefine1,"
    "FUserDefine2,FUserDefine3,FUserDefine4,FUserDefine5,FUserDefine6,FWebTradeID,FWebshopID,"
    "FMobilePhone,FWebBillAmount,FWebBillDiscountAmount,FWebBillTransAmount,FWebBillReceAmount,"
    "FReceiverCity";

// The push tools of the order: consignment, delivery, purchase order, advance receipt.
constexpr const char* kPushTools[] = {"mnuRelatePushBill_1030003", "mnuRelatePushBill_1030002",
                                      "mnuRelatePushBill_1020001", "mnuRelatePushBill_1050001"};

// A tool's state in one row of the tool table: shown or hidden, enabled or disabled, or left as
// it is.
struct ToolState {
  std::optional<bool> visible;
  std::optional<bool> enabled;
};
constexpr ToolState V{true, {}}, H{false, {}}, VE{true, true}, VD{true, false}, E{{}, true},
    D{{}, false};

// The tools of the table, in its column order.
constexpr const char* kStateTools[] = {"mnuEditCheck",   "mnuEditUnCheck",    "mnuEditClose",
                                       "mnuEditUnClose", "mnuExecuteProcess", "mnuQueryGHOrder",
                                       "push",           "mnuReject"};
struct StateRow {
  ToolState tools[8];
};
constexpr StateRow kClosed{{H, VD, H, VE, E, E, D, H}};
constexpr StateRow kNewOrder{{VE, H, H, H, D, D, D, H}};
constexpr StateRow kEditing{{VE, H, H, H, D, E, D, V}};
constexpr StateRow kUnaudited{{VE, H, H, H, D, E, D, H}};
constexpr StateRow kAudited{{H, VE, VE, H, E, E, E, H}};
constexpr StateRow kExecuting{{H, V, VE, H, VE, VE, D, H}};

}  // namespace

std::string BillEvent_Order::GetEditModeText() {
  switch (EditState()) {
    case host::kBillEdit:
      return "[修改]";
    case host::kBillNew:
      return "[新增]";
    default:
      return "[查看]";
  }
}

void BillEvent_Order::ApplyOrderLayout() {
  auto& bill = *m_BillInterface;
  const OrderKind kind = Kind();
  const bool ordinary = kind == OrderKind::kOrdinary || static_cast<long>(kind) == 0;
  if (!ordinary) LockOnlineOrderHead();
  for (const std::string& key : vb::Split(kWebFields, ","))
    Resume([&] { bill.BillHeads()->QORFields(key)->SetVisible(!ordinary); });
  Resume([&] { bill.SetFormCaption(GetEditModeText() + "销售订单"); });
  Resume([&] { bill.SetBillTitle("销售订单"); });
  // An online order takes no goods of its own and is not copied; it is not made here either.
  Bar("mnuImportGoods", "Enabled", ordinary);
  Bar("mnuBarCode", "Enabled", ordinary);
  Bar("mnuEditCopy", "Enabled", ordinary && EditState() != host::kBillNew);
  Bar("mnuEditFileNew", "Visible", ordinary);
}

void BillEvent_Order::LockOnlineOrderHead() {
  for (const std::string& key : vb::Split(kOnlineHeadLocks, ","))
    calc::LockField(*m_BillInterface, key, true, -1);
}

void BillEvent_Order::ApplyOrderToolStates() {
  const long state = EditState();
  const long status = Status();
  // Always first.
  Bar("mnuRelateViewVoucher", "Visible", false);
  Bar("mnuEditFileSave", "Visible", true);
  Bar("mnuEditFileSave", "Enabled", true);
  Bar("mnuEditCopy", "Visible", true);
  Bar("mnuReject", "Visible", false);
  Bar("mnuEditCopy", "Enabled", state != host::kBillNew);
  // Then by status and edit state.
  const StateRow& row = status == kOrderClosed     ? kClosed
                        : state == host::kBillNew  ? kNewOrder
                        : state == host::kBillEdit ? kEditing
                        : status == 0              ? kUnaudited
                        : status == 1              ? kAudited
                                                   : kExecuting;
  auto apply = [&](const char* tool, const ToolState& s) {
    if (s.visible) Bar(tool, "Visible", *s.visible);
    if (s.enabled) Bar(tool, "Enabled", *s.enabled);
  };
  for (std::size_t i = 0; i < std::size(kStateTools); ++i) {
    const std::string_view tool = kStateTools[i];
    if (tool != "push") {
      apply(kStateTools[i], row.tools[i]);
      continue;
    }
    for (const char* push : kPushTools) apply(push, row.tools[i]);
  }
  // An audited order asks for an advance receipt only when it holds a deposit.
  if (&row == &kAudited)
    Bar("mnuRelatePushBill_1050001", "Enabled", FieldNumber(*m_BillInterface, "FXSDeposit") != 0);
}

void BillEvent_Order::ApplyRejectedTools() {
  Bar("mnuEditCheck", "Visible", false);
  Bar("mnuEditFileDelete", "Visible", false);
  Bar("mnuEditCopy", "Enabled", false);
  // The tool bar's buttons of the two as well.
  for (const char* key : {"mnuEditCopy", "mnuEditFileDelete"})
    Resume([&] {
      auto band = m_BillInterface->ToolBar()->Band("BandToolBar");
      auto tools = band ? band->Tools() : Ref<host::IBandTools>{};
      const long at = tools ? tools->IndexOf(key) : -1;
      if (at >= 0) tools->Item(at)->SetEnabled(false);
    });
}

}  // namespace zov::plugins
