// The named checks of the save of the sales bill and its second type: each decides, shows its
// message and places the cursor, and returns true when the bill passes (or when the class's rules
// leave the check out); the write steps between them bring cells in line. sale_bill_save.cc lists
// them in their fixed order. The row checks run over every grid of the bill; totals and settlement
// are the first grid's.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bills/common/controls.h"
#include "bills/common/sale_bill.h"

namespace zov::plugins::sales {

class SaleBillChecks {
 public:
  // The checks of one save of `form`; `userSave` when the user asked for it (the stock check).
  SaleBillChecks(const SalesForm& form, const SaleBillRules& rules, SaleKind kind, bool userSave);

  // --- BeforeSave ---
  bool CheckDiscountRates();     // every row's rate, "...必须大于0且小于等于100。"
  bool CheckZeroPricedRows();    // a row priced 0 with an amount: the user is asked
  void TrimFax();                // an unaudited bill's FFax without blanks
  bool CheckUnauditedBill();     // an unaudited bill passes the validation (sale_bill_save.cc)
  void SetPayer();               // an unaudited bill's payer is its customer
  bool CheckFreight();           // weight industry: the head freight is the rows' total
  bool CheckCalTypes();          // weight industry: weighed rows have a calculation type
  bool CheckStockSufficiency();  // a delivery the user saves has the stock

  // --- the validation of an unaudited bill ---
  bool CheckBillDate();           // not before the account set's start nor the current period
  bool CheckSettleLimitDate();    // not before the bill date
  bool CheckSettleAccount();      // a payment needs its account
  void MarkTaxUnmodified();       // the rows' tax amounts count as the host's
  bool CheckRows();               // per row: rate, property, serial numbers, batch
  bool CheckBatchesInStock();     // batches agree with the stock (not on returns)
  bool CheckExpiry();             // goods past their expiry are not sold
  void SetUnreturnedQty();        // nothing of the rows returned yet
  bool CheckDirectDelivery();     // no more than the purchase row still holds
  bool CheckBatchConsistency();   // one batch, one set of dates
  bool CheckSourceRows();         // quantities and dates of the source rows
  bool CheckTotal();              // the total is not negative
  void SetHeadTotals();           // FAllAmount, FCheckAmount, FUnCheckAmount
  bool CheckSettlementAmounts();  // payment, offset and write-off against the total
  bool CheckDiscountAccount();    // a settlement discount needs its account
  bool CheckSaleControls();       // price limit, credit and overdue receivables
  bool CheckPayment();            // no negative payment

  // The head record the host's check components take: the bill total for a save, the amount not
  // yet written off (with the offset) for an audit.
  static Ref<host::IDictionary> HeadRecord(const SalesForm& form, bool forAudit);

 private:
  // The rows of one grid, each row's item read once per save: the checks do not change items.
  struct Grid {
    const SalesRowKeys* keys;
    long rows;
    std::vector<long> items;  // by row, 1..rows
    long Item(long row) const { return items[static_cast<std::size_t>(row)]; }
  };

  bool Refuse(std::string_view message, std::string_view key = "", long row = -1);
  // The direct-delivery check of one row of a purchase bill.
  bool CheckDirectDeliveryRow(const SalesRowKeys& keys, long row);
  // The item's flag `column` of t_ICItem, read once per item and save.
  bool ItemFlag(long item, std::string_view column);
  std::string BillDate();

  SalesForm form_;
  host::IBillInterface& bill_;
  const SaleBillRules& rules_;
  SaleKind kind_;
  bool userSave_;
  bool unaudited_;
  bool over100_;
  std::vector<Grid> grids_;
  ItemFlags itemFlags_;
};

}  // namespace zov::plugins::sales
