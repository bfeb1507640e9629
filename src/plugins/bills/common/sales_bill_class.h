// The frame of the sales bill and its second type, which handle the same events and publish the
// same methods: the user-profile accessors and the checks other components call on stored sales
// bills. Each class answers checkBillSNErr itself; the other checks are the same for both.
#pragma once

#include "frame/bill_event_class.h"
#include "inventory/serials.h"
#include "pricing/sale_price.h"

namespace zov::plugins::sales {

// The events of the sales bill and its second type, on the form and on the list.
#define ZOV_SALES_BILL_HANDLERS                                                                \
  ZOV_BILL_HANDLERS(AddNewRow, AfterCopyBill, AfterDeleteRow, AfterDoAction2, AfterFillRow,    \
                    AfterLoadBill, AfterNewBill, AfterSave, AfterSelBill,                      \
                    AfterSelBillBeforeFillData, BeforeDeleteRow, BeforeDoAction, BeforeSave,   \
                    BeforeSelBills, BeginEdit, BusinessCheck, Change, EntryGridRow, LostFocus, \
                    MenuBarClick, MenuBarInitialize, UnBusinessCheck);                         \
  ZOV_LIST_HANDLERS(AfterMergeCopyBill, BusinessCheck, MenuBarClick, MenuBarInitialize,        \
                    UnBusinessCheck)

template <class Derived>
class SalesBillClass : public ProfileBillEventClass<Derived, host::ISaleBillChecks> {
 public:
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
};

}  // namespace zov::plugins::sales
