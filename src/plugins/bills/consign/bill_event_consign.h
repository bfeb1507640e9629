// BillEvent_Consign: the consignment sales bill (bill class 1030003).
#pragma once

#include <string>

#include "frame/bill_event_class.h"

namespace zov::plugins {

class BillEvent_Consign final : public BillEventClass<BillEvent_Consign, host::IUserProfileAccess> {
 public:
  static constexpr const char* kClassName = "BillEvent_Consign";
  static constexpr const char* kProgId = "ZOV_XS_PlugIns.BillEvent_Consign";
  static constexpr long kClassTypeId = 1030003;

  explicit BillEvent_Consign(const Ref<host::IHost>& host) : BillEventClass(host) {}

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
  void m_BillInterface_AfterSelBill(const Variant& v1);
  void m_BillInterface_AfterSelBillBeforeFillData(const Variant& selection, const Variant& data);
  void m_BillInterface_BeforeDeleteRow(const Variant& v1, long row, bool& cancel);
  void m_BillInterface_BeforeDoAction(const Variant& fieldInfo, const Variant& actionData,
                                      const Variant& cell, const std::string& kind,
                                      const std::string& name, const std::string& parameter,
                                      bool& cancel);
  void m_BillInterface_BeforeDoAction2(const Variant& fieldInfo, const Variant& actionData,
                                       const Variant& cell, const std::string& kind,
                                       const std::string& name, const std::string& parameter,
                                       bool& cancel, const Variant& v8);
  void m_BillInterface_BeforeSave(bool& cancel);
  void m_BillInterface_BeginEdit(const Variant& v1, const Variant& v2, const Variant& v3);
  void m_BillInterface_BusinessCheck(bool& cancel);
  void m_BillInterface_Change(const Ref<host::IDictionary>& field,
                              const Ref<host::IDictionary>& change, long col, long row,
                              bool& cancel);
  void m_BillInterface_EntryGridRow(const Variant& v1, long row, const Variant& v3,
                                    const Variant& v4, const Variant& v5, const Variant& v6,
                                    const Variant& v7, const Variant& v8);
  void m_BillInterface_MenuBarClick(const Ref<host::ITool>& tool, bool& cancel);
  void m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>& menuBar);
  void m_BillInterface_UnBusinessCheck(bool& cancel);

  // --- list handlers ---
  void m_ListInterFace_AfterMergeCopyBill(const Variant& data);
  void m_ListInterface_BusinessCheck(bool& cancel);
  void m_ListInterface_MenuBarClick(const Ref<host::ITool>& tool, bool& cancel);
  void m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>& menuBar);
  void m_ListInterface_UnBusinessCheck(bool& cancel);

  // --- public methods ---
  std::string GetUserProfile(std::string_view section, std::string_view key) override;
  void SaveUserProfileItem(std::string_view section, std::string_view key,
                           const Variant& value) override;

 private:
  // The audit check of the bill or of the list's selection; false refuses.
  bool CheckAuditState(bool audit, bool fromList);
  // The stock on hand of the row's item in status panel 2 (the current-row routine).
  void ShowRowStock(long row);
  // Tools that depend on the edit state of the form.
  void ApplyEditState();
};

}  // namespace zov::plugins
