// BillEvent_SaleChange: the second sales bill type (bill class 1030005, head records in
// t_cc_Change), the sales bill with a second entry grid whose fields carry the suffix "01". It is
// the sales bill (bills/common/sale_bill.h) under these rules:
//   - both grids: every row branch, row check, row event and field-action hook serves the "01"
//     rows too (the display-unit keys only the first grid's); totals and settlement are the first
//     grid's, and a customer change prices the first grid's rows again, always;
//   - no kinds on the form: the layout follows the state and the invoice type only, the source
//     selection is not narrowed, no item columns are locked, the edit-state tools only open the
//     whole-bill receipt of a saved bill;
//   - no user options (duplicate items, kept prices, gift stocks); a stock change prices a row
//     whenever it has none; row costs follow "StockOutCalCost";
//   - a customer brings address and phone only; a source selection brings the customer's address
//     instead of shelf-life dates, default stocks and the settlement date;
//   - a save checks no stock, no expiry, no credit or overdue receivables, and no source quantities
//     (source dates still); discount rates above 100 are never allowed;
//   - after a save the receive address goes back to the contact or stored delivery address it was
//     chosen from; the invoice type is remembered under "XS1030005";
//   - every kind's rows need their serial numbers before an audit; the list makes no invoices.
#pragma once

#include "bills/common/sales_bill_class.h"

namespace zov::plugins {

class BillEvent_SaleChange final : public sales::SalesBillClass<BillEvent_SaleChange> {
 public:
  ZOV_PLUGIN_NAMES(BillEvent_SaleChange);
  static constexpr long kClassTypeId = 1030005;
  static constexpr sales::SaleBillRules kRules{
      .cls = {kClassTypeId, kProgId, "t_cc_Change", "t_cc_ChangeEntry", true, "FGrid=1"},
      .invoiceSection = "XS1030005",
      .byKind = false,
      .secondGrid = true,
      .userOptions = false,
      .stockPriceConditions = false,
      .costByStockOutOption = true,
      .contactFill = sales::ContactFill::kAddressAndPhone,
      .sourceRowDefaults = false,
      .contactWriteBack = false,
      .over100Option = false,
      .saveDiscountWording = calc::DiscountWording::kPlain,
      .expiryCheck = false,
      .stockCheck = false,
      .sourceQuantities = false,
      .creditControls = false,
      .serialKinds = "",
      .serialCheckByKind = false,
      .invoiceTexts = {"客户资料不存在，请先补充客户相关资料",
                       "客户纳税登记号，请先补充客户相关资料"},
      .listInvoice = false,
  };

  explicit BillEvent_SaleChange(const Ref<host::IHost>& host) : SalesBillClass(host) {}
};

}  // namespace zov::plugins
