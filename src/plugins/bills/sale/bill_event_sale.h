// BillEvent_Sale: the sales bill (bill class 1030002) with its kinds delivery (3001), return
// (3002), consignment settlement (3003) and its return (3004). What it does is what the sales
// bill and its second type share (bills/common/sale_bill.h), under the sales bill's rules: the
// kinds shape its form, the user's options govern its prices, its saves check stock, credit and
// source quantities, and its contacts go back to the customer.
#pragma once

#include "bills/common/sales_bill_class.h"

namespace zov::plugins {

class BillEvent_Sale final : public sales::SalesBillClass<BillEvent_Sale> {
 public:
  ZOV_PLUGIN_NAMES(BillEvent_Sale);
  static constexpr long kClassTypeId = 1030002;
  static constexpr sales::SaleBillRules kRules{
      .cls = {kClassTypeId, kProgId, "t_CC_StockBill", "t_CC_StockBillEntry"},
      .invoiceSection = "XS1030002",
  };

  // Class_Initialize: evaluates the invoice-amount right once.
  explicit BillEvent_Sale(const Ref<host::IHost>& host);
};

}  // namespace zov::plugins
