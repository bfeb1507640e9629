// BillEvent_TempConsign: the opening-balance consignment bill, dated before the start period.
#pragma once

#include <string>

#include "frame/bill_event_class.h"

namespace zov::plugins {

class BillEvent_TempConsign final
    : public BillEventClass<BillEvent_TempConsign, host::IVirtualStockCheck> {
 public:
  static constexpr const char* kClassName = "BillEvent_TempConsign";
  static constexpr const char* kProgId = "ZOV_XS_PlugIns.BillEvent_TempConsign";

  explicit BillEvent_TempConsign(const Ref<host::IHost>& host) : BillEventClass(host) {}

  // --- bill handlers ---
  void m_BillInterface_AddNewRow(const Variant& v1, long row);
  void m_BillInterface_AfterCopyBill();
  void m_BillInterface_AfterDeleteRow(const Variant& v1, const Variant& v2);
  void m_BillInterface_AfterDoAction2(const Variant& fieldInfo, const Variant& actionData,
                                      const Variant& cell, const std::string& kind,
                                      const std::string& name, const std::string& parameter,
                                      long row);
  void m_BillInterface_AfterFillRow(long row, const Variant& sourceRow, const Variant& sourceData,
                                    const Variant& v4);
  void m_BillInterface_AfterLoadBill();
  void m_BillInterface_AfterNewBill();
  void m_BillInterface_AfterSave(const Variant& v1);
  void m_BillInterface_BeforeDoAction(const Variant& fieldInfo, const Variant& actionData,
                                      const Variant& cell, const std::string& kind,
                                      const std::string& name, const std::string& parameter,
                                      bool& cancel);
  void m_BillInterface_BeforeSave(bool& cancel);
  void m_BillInterface_BusinessCheck(bool& cancel);
  void m_BillInterface_Change(const Ref<host::IDictionary>& field,
                              const Ref<host::IDictionary>& change, long col, long row,
                              bool& cancel);
  void m_BillInterface_MenuBarClick(const Ref<host::ITool>& tool, bool& cancel);
  void m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>& menuBar);
  void m_BillInterface_UnBusinessCheck(bool& cancel);

  // --- list handlers ---
  void m_ListInterface_BusinessCheck(bool& cancel);
  void m_ListInterface_MenuBarClick(const Ref<host::ITool>& tool, bool& cancel);
  void m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>& menuBar);
  void m_ListInterface_UnBusinessCheck(bool& cancel);

  // --- public methods ---
  void IsIsVirtualStock(long stockId, Variant& result) override;

 private:
  // The server-side audit (true) or un-audit of the bill; reports, never refuses.
  void RunServerAudit(bool audit);
  // The same for the list's selection.
  void RunServerBatchAudit(bool audit);
};

}  // namespace zov::plugins
