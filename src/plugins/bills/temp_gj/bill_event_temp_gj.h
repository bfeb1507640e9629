// BillEvent_TempGJ: the opening-balance bill of the purchase-price kind, dated before the start
// period.
#pragma once

#include "frame/bill_event_class.h"

namespace zov::plugins {

class BillEvent_TempGJ final : public BillEventClass<BillEvent_TempGJ> {
 public:
  ZOV_PLUGIN_NAMES(BillEvent_TempGJ);

  explicit BillEvent_TempGJ(const Ref<host::IHost>& host) : BillEventClass(host) {}

  ZOV_BILL_HANDLERS(AddNewRow, AfterCopyBill, AfterDeleteRow, AfterDoAction2, AfterFillRow,
                    AfterLoadBill, AfterNewBill, BeforeDoAction, BeforeSave, BeforLoadBillFillData,
                    BusinessCheck, Change, MenuBarClick, MenuBarInitialize, UnBusinessCheck);
  ZOV_LIST_HANDLERS(BusinessCheck, MenuBarClick, MenuBarInitialize, UnBusinessCheck);

 private:
  // The server-side audit (true) or un-audit of the bill; reports, never refuses.
  void RunServerAudit(bool audit);
  // The same for the list's selection.
  void RunServerBatchAudit(bool audit);
};

}  // namespace zov::plugins
