// Audit and invalidation of special-price bills: both are done by the special-price server
// component, after the person confirmed; neither can be undone.
#include "bills/xscx/bill_event_xscx.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/login.h"
#include "services/messages.h"
#include "zov/host/components.h"

namespace zov::plugins {

namespace {

// FID and FClassTypeID of one bill, as the server component takes them.
Ref<host::IDictionary> BillRecord(PluginContext& ctx, long billId, long classTypeId) {
  auto record = ctx.host().CreateObject(host::progid::kDictionary).As<host::IDictionary>();
  record->SetItem("FID", billId);
  record->SetItem("FClassTypeID", classTypeId);
  return record;
}

Ref<host::ICXUpdate> Component(PluginContext& ctx) {
  auto component = ctx.host().CreateObject(host::progid::kCXUpdate).As<host::ICXUpdate>();
  if (!component) throw vb::Error(vb::kErrTypeMismatch, "Type mismatch", host::progid::kCXUpdate);
  return component;
}

}  // namespace

bool BillEvent_XSCX::CheckAudit(bool fromList) {
  auto& ctx = context();
  const std::string question =
      std::string("是否确认审核") + (fromList ? "选择" : "当前") + "单据，审核后不允许再反审核！";
  if (services::ShowMessage(ctx, question, host::vbYesNo | host::vbQuestion) != host::vbYes)
    return false;
  auto component = Component(ctx);
  const std::string props = services::PropsString(ctx);
  bool audited = true;
  if (fromList) {
    // Bill by bill; what the component says of each is shown together.
    std::vector<std::string> messages;
    const long classTypeId = m_ListInterface->FID();
    for (long id : m_ListInterface->SelectedBillIDs()) {
      std::string message;
      if (!component->CheckBill(props, BillRecord(ctx, id, classTypeId), message)) audited = false;
      if (!message.empty()) messages.push_back(message);
    }
    services::ShowMessageList(ctx, messages);
    return audited;
  }
  auto& bill = *m_BillInterface;
  std::string message;
  audited = component->CheckBill(props, BillRecord(ctx, bill.CurBillID(), bill.FID()), message);
  if (!message.empty()) services::ShowMessage(ctx, message);
  // The form shows the bill as the component left it.
  Resume([&] { bill.SetBillStatus(host::kBillView); });
  ApplyToolState();
  return audited;
}

void BillEvent_XSCX::InvalidateBill() {
  auto& ctx = context();
  auto& bill = *m_BillInterface;
  if (services::ShowMessage(ctx, "是否确认失效当前单据，失效后不允许再反失效！",
                            host::vbYesNo | host::vbQuestion) != host::vbYes)
    return;
  auto record = BillRecord(ctx, bill.CurBillID(), bill.FID());
  record->SetItem("FPriceType", static_cast<long>(FieldNumber(bill, "FPriceType")));
  std::string message;
  const long result = Component(ctx)->InvalidBill(services::PropsString(ctx), record, message);
  if (result == -1) services::ShowMessage(ctx, message);
  if (result == 1) {
    Resume([&] { bill.SetBillStatus(host::kBillView); });
    ApplyToolState();
  }
}

}  // namespace zov::plugins
