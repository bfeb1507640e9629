// BillEvent_SaleChange: the second sales bill type (bill class 1030005), the sales bill with a
// second entry grid.
#pragma once

#include "bills/common/sales_bill_class.h"

namespace zov::plugins {

class BillEvent_SaleChange final : public sales::SalesBillClass<BillEvent_SaleChange> {
 public:
  ZOV_PLUGIN_NAMES(BillEvent_SaleChange);
  static constexpr long kClassTypeId = 1030005;

  explicit BillEvent_SaleChange(const Ref<host::IHost>& host) : SalesBillClass(host) {}

  ZOV_SALES_BILL_HANDLERS;

  // --- public methods ---
  void checkBillSNErr(const Variant& bill, Variant& result) override;

 private:
  // The audit check of the bill or of the list's selection; false refuses.
  bool CheckAuditState(bool audit, bool fromList);
  // The stock on hand of the row's item in status panel 2 (the current-row routine).
  void ShowRowStock(long row);
  // Serial-number completeness before audit; false refuses.
  bool CheckSerialCompleteness(bool fromList);
  // Tools that depend on the edit state of the form.
  void ApplyEditState();
};

}  // namespace zov::plugins
