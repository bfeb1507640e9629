// BillEvent_Consign: the consignment sales bill (bill class 1030003).
#pragma once

#include "frame/bill_event_class.h"

namespace zov::plugins {

class BillEvent_Consign final : public ProfileBillEventClass<BillEvent_Consign> {
 public:
  ZOV_PLUGIN_NAMES(BillEvent_Consign);
  static constexpr long kClassTypeId = 1030003;

  explicit BillEvent_Consign(const Ref<host::IHost>& host) : ProfileBillEventClass(host) {}

  ZOV_BILL_HANDLERS(AddNewRow, AfterCopyBill, AfterDeleteRow, AfterDoAction2, AfterFillRow,
                    AfterLoadBill, AfterNewBill, AfterSave, AfterSelBill,
                    AfterSelBillBeforeFillData, BeforeDeleteRow, BeforeDoAction, BeforeDoAction2,
                    BeforeSave, BeginEdit, BusinessCheck, Change, EntryGridRow, MenuBarClick,
                    MenuBarInitialize, UnBusinessCheck);
  ZOV_LIST_HANDLERS(AfterMergeCopyBill, BusinessCheck, MenuBarClick, MenuBarInitialize,
                    UnBusinessCheck);

 private:
  // The audit check of the bill or of the list's selection; false refuses.
  bool CheckAuditState(bool audit, bool fromList);
  // The stock on hand of the row's item in status panel 2 (the current-row routine).
  void ShowRowStock(long row);
  // Tools that depend on the edit state of the form.
  void ApplyEditState();
};

}  // namespace zov::plugins
