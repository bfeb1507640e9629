// BillEvent_Order: the sales order (bill class 1030001).
#pragma once

#include "frame/bill_event_class.h"

namespace zov::plugins {

class BillEvent_Order final : public ProfileBillEventClass<BillEvent_Order> {
 public:
  ZOV_PLUGIN_NAMES(BillEvent_Order);
  static constexpr long kClassTypeId = 1030001;

  explicit BillEvent_Order(const Ref<host::IHost>& host) : ProfileBillEventClass(host) {}

  ZOV_BILL_HANDLERS(AfterCopyBill, AfterDoAction2, AfterFillRow, AfterLoadBill, AfterNewBill,
                    AfterSave, BeforeDoAction, BeforeSave, BusinessCheck, Change, EntryGridRow,
                    MenuBarClick, MenuBarInitialize, UnBusinessCheck);
  ZOV_LIST_HANDLERS(AfterCopyBillCreateData, BusinessCheck, MenuBarClick, MenuBarInitialize,
                    UnBusinessCheck);

 private:
  // The audit check of the bill or of the list's selection; false refuses.
  bool CheckAuditState(bool audit, bool fromList);
  // The stock on hand of the row's item in status panel 2 (the current-row routine).
  void ShowRowStock(long row);
};

}  // namespace zov::plugins
