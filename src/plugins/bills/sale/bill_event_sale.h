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
  // Tools, captions, labels, hidden and locked fields by bill kind and form state.
  void ApplyBillLayout();
  // The customer's balance and credit limit in status panel 3 (with the balance right).
  void ShowCustomerCredit();
  // FSettleLimitDate from the customer's payment term and the bill date.
  void CalcSettleLimitDate();
  // Cost fields without the cost right, invoice-amount fields without that right.
  void HideFieldsByRights();
  // The settlement cells of a loaded bill by the payment stored with it.
  void LockPaymentCells();
  // Every cell of the bill data marked unmodified.
  void MarkPagesUnmodified();
  // The composite quantity text of rows that have none (stored back on the entry).
  void FillComplexQtyTexts();
  // The related-records window of query `tool` for records of kind `queryKind` (1020002,
  // 1030001, 5001, or the bill kind 3001..3004 / 3010).
  void ShowRelated(std::string_view caption, std::string_view title, long queryKind);
  Ref<host::IDictionary> BuildTitleDict(long queryKind);
  Ref<host::IDictionary> BuildEntryDict(long queryKind);
  // The settlement amounts after a payment, offset or write-off changed (the whole-bill
  // receipt too): FCurCheckAmount against the bill total, and the account cells it needs.
  void SettleAmounts(bool paymentChanged, bool multiAccount);
  // The bill's total: the column sum of FInTaxAmount.
  double BillTotal();
  // The electronic-invoice data set of the stored bill `billId`; empty (after its message) when a
  // check refuses.
  Ref<host::IDictionary> GetSaleBillMakeTzeInvoiceDict(long billId);
  // The buyer's part of an invoice data set for `customer`; false (after its message) when the
  // customer or the tax number is missing.
  bool AddBuyer(const Ref<host::IDictionary>& invoice, long customer);
  // The seller's part; false (after its message) when the invoicing data are missing.
  bool AddSeller(const Ref<host::IDictionary>& invoice, std::string_view missingMessage);
  // Removes a trailing entry row without item before the host saves.
  void DropEmptyLastRow();
  // The bill validation of a save (`mode` 1) in its fixed order; false after the first failing
  // check's message.
  bool ValidateSaleBill(long mode);
  // The head record handed to the host's check components, and one record per row.
  Ref<host::IDictionary> HeadRecord(bool forAudit);
  Ref<host::IDictionary> RowRecords(bool forStock, std::string_view priceKey);
  // The source-quantity and source-date checks of rows made from orders and sales bills.
  bool CheckSourceRows();
  // Shows `message`, puts the cursor on `key` of `row` and returns false.
  bool Refuse(std::string_view message, std::string_view key = "", long row = -1);
  // The row routines of the field changes.
  void RefetchRowPrice(long row);
  void RefreshRowCost(long row);
  void FillCustomerContact(long customer);
  void FillSalesman(long customer);
  void SetRowDefaultUnit(long row);
  void SetRowTaxRate(long row);
  void ChangeItem(long row, bool& cancel);
  void ChangeShowUnit(long row);
  void ChangeInvoiceType();
  // The batch rule of a row: the batch cell follows the item's batch management, and an item with
  // automatic batch numbers gets one.
  void ApplyRowBatchRule(long row);
  // The price rights of the form (price and tax columns).
  void ApplyPriceRights();
  // The weight industry's set-up of the rows (locks by unit and calculation type).
  void ApplyIndustrySetup();
  // The electronic invoice of the bills selected in the list.
  void MakeListInvoice(const std::vector<long>& ids, bool& cancel);
  // Field helpers of the class.
  long Kind();
  void Bar(const char* tool, const char* property, bool value);

  bool invoiceAmountRight_ = false;  // right 15/2010/32, asked once
  long invoiceType_ = 2020;          // the user's last invoice type
  std::string pendingAction_;        // "SAVE" while a save the user asked for is under way
};

}  // namespace zov::plugins
