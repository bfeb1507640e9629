// The named checks of the sales order's save and close: each decides, shows its message and
// places the cursor, and returns true when the order passes; the write steps between them bring
// cells in line. order_save.cc lists them in their fixed order.
#pragma once

#include "bills/common/sales_form.h"

namespace zov::plugins {

class OrderChecks {
 public:
  explicit OrderChecks(const sales::SalesForm& form);

  // --- BeforeSave ---
  bool CheckDiscountRates();  // every row's rate, "第n行折扣率必须大于0小于等于100。"
  bool CheckUnauditedOrder();  // an unaudited order passes the save checks (order_save.cc)
  bool CheckCalTypes();        // weight industry: weighed rows have a calculation type
  void SetOrdinaryKind();      // an order saved without kind is an ordinary one

  // --- the save of an unaudited order (CheckOrder mode 1) ---
  bool CheckFetchDate();      // the delivery date is not before the bill date
  void SetAllAmount();        // FAllAmount is the rows' tax-inclusive total
  bool CheckSaleControls();   // price limit, credit and overdue receivables
  bool CheckRowsToDeliver();  // per row: the discount rate, then the whole row still to deliver

  // --- close (CheckOrder mode 5) ---
  bool CheckNotFullyDelivered();  // a row of the stored order is still to be delivered

 private:
  sales::SalesForm form_;
  host::IBillInterface& bill_;
  bool unaudited_;
};

}  // namespace zov::plugins
