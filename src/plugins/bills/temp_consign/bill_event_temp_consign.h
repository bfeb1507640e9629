// BillEvent_TempConsign: the opening-balance consignment bill, dated before the start period.
#pragma once

#include "frame/bill_event_class.h"

namespace zov::plugins {

class BillEvent_TempConsign final
    : public BillEventClass<BillEvent_TempConsign, host::IVirtualStockCheck> {
 public:
  ZOV_PLUGIN_NAMES(BillEvent_TempConsign);

  explicit BillEvent_TempConsign(const Ref<host::IHost>& host) : BillEventClass(host) {}

  ZOV_BILL_HANDLERS(AddNewRow, AfterCopyBill, AfterDeleteRow, AfterDoAction2, AfterFillRow,
                    AfterLoadBill, AfterNewBill, AfterSave, BeforeDoAction, BeforeSave,
                    BusinessCheck, Change, MenuBarClick, MenuBarInitialize, UnBusinessCheck);
  ZOV_LIST_HANDLERS(BusinessCheck, MenuBarClick, MenuBarInitialize, UnBusinessCheck);

  // --- public methods ---
  void IsIsVirtualStock(long stockId, Variant& result) override;

 private:
  // The server-side audit (true) or un-audit of the bill; reports, never refuses.
  void RunServerAudit(bool audit);
  // The same for the list's selection.
  void RunServerBatchAudit(bool audit);
};

}  // namespace zov::plugins
