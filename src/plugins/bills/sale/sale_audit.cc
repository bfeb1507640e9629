// The sales bill's audit and un-audit checks, from the form and from the list, and the checks
// other components call on stored bills.
#include "bills/common/controls.h"
#include "bills/sale/bill_event_sale.h"
#include "bills/sale/sale_checks.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/serials.h"

namespace zov::plugins {

namespace {

// The kinds whose rows must carry their serial numbers before an audit.
constexpr std::string_view kSerialKinds = "3001,3003";

}  // namespace

void BillEvent_Sale::m_BillInterface_BusinessCheck(bool& cancel) {
  if (!sales::CheckSerialNumbersSet(context(), kSalesClass, {CurBillId(*m_BillInterface)}, false,
                                    kSerialKinds) ||
      !CheckAuditState(true, false))
    cancel = true;
}

void BillEvent_Sale::m_BillInterface_UnBusinessCheck(bool& cancel) {
  if (!CheckAuditState(false, false)) cancel = true;
}

// The list's events carry no cancel: a failure is only reported.
void BillEvent_Sale::m_ListInterface_BusinessCheck(bool&) { CheckAuditState(true, true); }

void BillEvent_Sale::m_ListInterface_UnBusinessCheck(bool&) { CheckAuditState(false, true); }

bool BillEvent_Sale::CheckAuditState(bool audit, bool fromList) {
  auto& ctx = context();
  Ref<host::IDictionary> info;
  std::vector<long> ids;
  if (fromList) {
    info = ResumeOr<Ref<host::IDictionary>>({},
                                            [&] { return m_ListInterface->GetSelectedBillInfo(); });
    ids = ResumeOr<std::vector<long>>({}, [&] { return m_ListInterface->SelectedBillIDs(); });
    if (!info || info->Count() == 0) return true;
  } else {
    info = SaleChecks::HeadRecord(Form(), true);
    ids.push_back(CurBillId(*m_BillInterface));
  }
  if (!audit && !sales::CheckNoRebateBill(ctx, kSalesClass, ids)) return false;
  if (!sales::CheckBillAudit(ctx, info, audit, fromList)) return false;
  return fromList || ids.size() != 1 || sales::CheckNotRejected(ctx, kSalesClass, ids[0], audit);
}

// --- checks on stored bills ---------------------------------------------------------------------

void BillEvent_Sale::checkBillSNErr(const Variant& bill, Variant& result) {
  result = false;
  if (auto b = bill.ObjectAs<host::IBillInterface>())
    result = inventory::checkBillSNErr(context(), *b);
}

}  // namespace zov::plugins
