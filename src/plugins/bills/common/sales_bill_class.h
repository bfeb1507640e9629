// The frame of the sales bill and its second type, which handle the same events and publish the
// same methods: every event goes to the class's SaleBill (or SaleBillList) made with the class's
// rules (Derived::kRules) and state; the user-profile accessors and the checks other components
// call on stored sales bills are the same for both.
#pragma once

#include "bills/common/sale_bill.h"
#include "frame/bill_event_class.h"
#include "inventory/serials.h"
#include "pricing/sale_price.h"

namespace zov::plugins::sales {

template <class Derived>
class SalesBillClass : public ProfileBillEventClass<Derived, host::ISaleBillChecks> {
 public:
  // --- the bill form's events ---
  void m_BillInterface_AddNewRow(const Variant&, long row) { Bill().AddNewRow(row); }
  void m_BillInterface_AfterCopyBill() { Bill().AfterCopyBill(); }
  void m_BillInterface_AfterDeleteRow(const Variant&, const Variant&) { Bill().AfterDeleteRow(); }
  void m_BillInterface_AfterDoAction2(const Variant& fieldInfo, const Variant&, const Variant&,
                                      const std::string& kind, const std::string& name,
                                      const std::string& parameter, long row) {
    Bill().AfterDoAction2(fieldInfo, kind, name, parameter, row);
  }
  // The host's fourth value names the grid of the filled row.
  void m_BillInterface_AfterFillRow(long row, const Variant&, const Variant&, const Variant& grid) {
    Bill().AfterFillRow(row, grid);
  }
  void m_BillInterface_AfterLoadBill() { Bill().AfterLoadBill(); }
  void m_BillInterface_AfterNewBill() { Bill().AfterNewBill(); }
  void m_BillInterface_AfterSave(const Variant&) { Bill().AfterSave(); }
  void m_BillInterface_AfterSelBill(const Variant&) { Bill().AfterSelBill(); }
  void m_BillInterface_AfterSelBillBeforeFillData(const Variant& selection, const Variant&) {
    Bill().AfterSelBillBeforeFillData(selection);
  }
  // The host's first value names the grid of the row.
  void m_BillInterface_BeforeDeleteRow(const Variant& grid, long row, bool& cancel) {
    Bill().BeforeDeleteRow(grid, row, cancel);
  }
  void m_BillInterface_BeforeDoAction(const Variant& fieldInfo, const Variant& actionData,
                                      const Variant&, const std::string& kind,
                                      const std::string& name, const std::string& parameter,
                                      bool& cancel) {
    Bill().BeforeDoAction(fieldInfo, actionData, kind, name, parameter, cancel);
  }
  void m_BillInterface_BeforeSave(bool& cancel) { Bill().BeforeSave(cancel); }
  void m_BillInterface_BeforeSelBills(const Variant&, const Variant&, const Variant&,
                                      std::string& filter, const Variant&) {
    Bill().BeforeSelBills(filter);
  }
  void m_BillInterface_BeginEdit(const Variant&, const Variant&, const Variant&) {
    Bill().BeginEdit();
  }
  void m_BillInterface_BusinessCheck(bool& cancel) { Bill().BusinessCheck(cancel); }
  void m_BillInterface_Change(const Ref<host::IDictionary>& field,
                              const Ref<host::IDictionary>& change, long, long row, bool& cancel) {
    Bill().Change(field, change, row, cancel);
  }
  // The host's first value names the grid whose row the cursor entered.
  void m_BillInterface_EntryGridRow(const Variant& grid, long row, const Variant&, const Variant&,
                                    const Variant&, const Variant&, const Variant&,
                                    const Variant&) {
    Bill().EntryGridRow(grid, row);
  }
  void m_BillInterface_LostFocus(const std::string&, const Variant&, const Variant&,
                                 const Variant&) {}
  void m_BillInterface_MenuBarClick(const Ref<host::ITool>& tool, bool& cancel) {
    Bill().MenuBarClick(tool, cancel);
  }
  void m_BillInterface_MenuBarInitialize(const Ref<host::IActiveBar>& bar) {
    Bill().MenuBarInitialize(bar);
  }
  void m_BillInterface_UnBusinessCheck(bool& cancel) { Bill().UnBusinessCheck(cancel); }

  // --- the list's events ---
  void m_ListInterFace_AfterMergeCopyBill(const Variant& data) { List().AfterMergeCopyBill(data); }
  // The list's events carry no cancel: a failure is only reported.
  void m_ListInterface_BusinessCheck(bool&) { List().CheckAuditState(true); }
  void m_ListInterface_MenuBarClick(const Ref<host::ITool>& tool, bool& cancel) {
    List().MenuBarClick(tool, cancel);
  }
  void m_ListInterface_MenuBarInitialize(const Ref<host::IActiveBar>& bar) {
    List().MenuBarInitialize(bar);
  }
  void m_ListInterface_UnBusinessCheck(bool&) { List().CheckAuditState(false); }

  // --- public methods ---
  // The stored, unaudited bill `bill` made from an online order has serial numbers that do not
  // match its quantities (shown in a list): `result` true. False for any other bill.
  void checkBillSNErr(const Variant& bill, Variant& result) override {
    result = false;
    if (auto b = bill.ObjectAs<host::IBillInterface>())
      result = inventory::checkBillSNErr(this->context(), *b, Derived::kRules.serialCheckByKind);
  }
  // The stored, unaudited sales bill `billId` has serial-managed rows whose serial numbers do not
  // match their quantity (shown in a list): `result` false.
  void checkXSDBillSNErr(long billId, Variant& result) override {
    result = !inventory::checkXSDBillSNErr(this->context(), billId);
  }
  // The stored bill `billId` has a batch-managed row without batch (its message shown): `result`
  // false.
  void checkXSDBillBatchNoErr(long billId, Variant& result) override {
    result = !inventory::checkXSDBillBatchNoErr(this->context(), billId);
  }
  // The sales price of the item for the invoicing component; `found` when there is one.
  double GetSalePriceForTZE(long itemId, long unitId, long customerId, long stockId,
                            std::string_view batchNo, bool& found) override {
    double discount = 0;
    const double price = pricing::GetSalePrice(this->context(), itemId, unitId, customerId, stockId,
                                               batchNo, discount, false);
    found = price > 0;
    return price;
  }

 protected:
  using ProfileBillEventClass<Derived, host::ISaleBillChecks>::ProfileBillEventClass;

  SaleBill Bill() {
    return SaleBill(this->context(), *this->m_BillInterface, Derived::kRules, state_);
  }
  SaleBillList List() {
    return SaleBillList(this->context(), *this->m_ListInterface, Derived::kRules);
  }

  SaleBillState state_;
};

}  // namespace zov::plugins::sales
