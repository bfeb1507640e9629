// BillEvent_Sale: the sales bill (bill class 1030002) with its kinds delivery (3001), return
// (3002), consignment settlement (3003) and its return (3004).
#pragma once

#include <string>

#include "frame/bill_event_class.h"

namespace zov::plugins {

class BillEvent_Sale final
    : public BillEventClass<BillEvent_Sale, host::IUserProfileAccess, host::ISaleBillChecks> {
 public:
  static constexpr const char* kClassName = "BillEvent_Sale";
  static constexpr const char* kProgId = "ZOV_XS_PlugIns.BillEvent_Sale";
  static constexpr long kClassTypeId = 1030002;

  // Class_Initialize: evaluates the invoice-amount right once.
  explicit BillEvent_Sale(const Ref<host::IHost>& host);

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
  void m_BillInterface_BeforeSave(bool& cancel);
  void m_BillInterface_BeforeSelBills(const Variant& v1, const Variant& v2, const Variant& v3,
                                      std::string& filter, const Variant& v5);
  void m_BillInterface_BeginEdit(const Variant& v1, const Variant& v2, const Variant& v3);
  void m_BillInterface_BusinessCheck(bool& cancel);
  void m_BillInterface_Change(const Ref<host::IDictionary>& field,
                              const Ref<host::IDictionary>& change, long col, long row,
                              bool& cancel);
  void m_BillInterface_EntryGridRow(const Variant& v1, long row, const Variant& v3,
                                    const Variant& v4, const Variant& v5, const Variant& v6,
                                    const Variant& v7, const Variant& v8);
  void m_BillInterface_LostFocus(const std::string& v1, const Variant& v2, const Variant& v3,
                                 const Variant& v4);
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
  void checkBillSNErr(const Variant& bill, Variant& result) override;
  void checkXSDBillSNErr(long billId, Variant& result) override;
  void checkXSDBillBatchNoErr(long billId, Variant& result) override;
  double GetSalePriceForTZE(long itemId, long unitId, long customerId, long stockId,
                            std::string_view batchNo, bool& found) override;

 private:
  // The audit check of the bill or of the list's selection; false refuses.
  bool CheckAuditState(bool audit, bool fromList);
  // Serial-number completeness before audit; false refuses.
  bool CheckSerialCompleteness(bool fromList);
  // The stock on hand of the row's item, stock, attribute and batch in status panel 2.
  void ShowRowStock(long row);
  // Tools that depend on the edit state of the form.
  void ApplyEditState();

  bool invoiceAmountRight_ = false;  // right 15/2010/32, asked once
  long invoiceType_ = 2020;          // the user's last invoice type
  std::string pendingAction_;        // "SAVE" while a save the user asked for is under way
};

}  // namespace zov::plugins
