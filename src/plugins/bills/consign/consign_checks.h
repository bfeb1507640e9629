// The named checks of the consignment bill's save: each decides, shows its message and places the
// cursor, and returns true when the bill passes; the write steps between them bring cells in
// line. consign_save.cc lists them in their fixed order.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "bills/common/controls.h"
#include "bills/common/sales_form.h"

namespace zov::plugins {

class ConsignChecks {
 public:
  // The checks of one save of `form`; `userSave` when the user asked for it (the stock check).
  ConsignChecks(const sales::SalesForm& form, bool userSave);

  // --- BeforeSave ---
  bool CheckStartDate();      // not before the account set's first day
  bool CheckDiscountRates();  // every row's rate, "第n行折扣率必须大于0小于等于100。"
  bool CheckUnauditedBill();  // an unaudited bill passes CheckConsign (consign_save.cc)
  bool CheckFreight();        // weight industry: the head freight is the rows' total
  bool CheckCalTypes();       // weight industry: weighed rows have a calculation type
  bool CheckStockSufficiency();  // a delivery the user saves has the stock

  // --- CheckConsign ---
  bool CheckBillDate();          // not before the account set's start nor the current period
  void MarkTaxUnmodified();      // the rows' tax amounts count as the host's
  bool CheckRows();              // per row: rate, property, serial numbers, batch
  bool CheckBatchesInStock();    // batches known, and agreeing with the stock on a delivery
  bool CheckExpiry();            // a delivery sends no goods past their expiry date
  void SetFollowUpQty();         // nothing of the rows returned or settled yet
  bool CheckBatchConsistency();  // one batch, one set of dates
  bool CheckSourceRows();        // quantities and dates of the source rows
  void SetAllAmount();           // FAllAmount is the rows' tax-inclusive total
  bool CheckTotal();             // the total is not negative
  bool CheckSaleControls();      // a delivery: price limit, credit and overdue receivables

 private:
  bool Refuse(std::string_view message, std::string_view key = "", long row = -1);
  bool ItemFlag(long item, std::string_view column);
  bool IsReturn() const { return kind_ == 3011; }

  sales::SalesForm form_;
  host::IBillInterface& bill_;
  long kind_;
  bool userSave_;
  bool unaudited_;
  sales::ItemFlags itemFlags_;
};

}  // namespace zov::plugins
