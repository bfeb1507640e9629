// BillEvent_XSCX: the special-price bill.
#pragma once

#include <string>

#include "frame/bill_event_class.h"

namespace zov::plugins {

class BillEvent_XSCX final : public BillEventClass<BillEvent_XSCX, host::IPriceValidate> {
 public:
  static constexpr const char* kClassName = "BillEvent_XSCX";
  static constexpr const char* kProgId = "ZOV_XS_PlugIns.BillEvent_XSCX";

  explicit BillEvent_XSCX(const Ref<host::IHost>& host) : BillEventClass(host) {}

  // --- bill handlers ---
  void m_BillInterface_AfterCopyBill();
  void m_BillInterface_AfterLoadBill();
  void m_BillInterface_AfterNewBill();
  void m_BillInterface_BeforeSave(bool& cancel);
  void m_BillInterface_BusinessCheck(bool& cancel);
  void m_BillInterface_Change(const Ref<host::IDictionary>& field,
                              const Ref<host::IDictionary>& change, long col, long row,
                              bool& cancel);
  void m_BillInterface_MenuBarClick(const Ref<host::ITool>& tool, bool& cancel);
  void m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>& menuBar);
  void m_BillInterface_SaveBillSuccess(const Variant& v1);

  // --- list handlers ---
  void m_ListInterface_BusinessCheck(bool& cancel);
  void m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>& menuBar);

  // --- public methods ---
  void ChkPriceValidate(const Ref<host::IBillInterface>& bill, long row, long priceType,
                        Variant& result) override;

 private:
  // The audit of the bill, or of the list's selection; false refuses.
  bool CheckAudit(bool fromList);
};

}  // namespace zov::plugins
