// The records of a bill that the host's check components take: the head record and one record per
// row with an item.
#pragma once

#include <string_view>

#include "bills/common/sales_form.h"
#include "bills/common/sales_keys.h"

namespace zov::plugins::sales {

// "ClassTypeID", "BillInterID", "HeadTableName", "BillNo", "CustOrSupplyID" (FCustID), "BillType"
// (FBillTypeID) and "AllAmount" := `allAmount`. A class adds the items of its own.
Ref<host::IDictionary> HeadRecord(const SalesForm& form, double allAmount);

// What a row record carries.
enum class RowRecord {
  kControls,  // "ItemID", "Index", "UnitID", "Coefficient", "StockID", "Price" (the price limit)
  kStock,     // the same with the row's batch, dates and quantities (the stock sufficiency check)
};

// One record per row with an item, keyed 1, 2, ...; "Price" is the cell of `priceKey`.
Ref<host::IDictionary> RowRecords(const SalesForm& form, const SalesRowKeys& keys, RowRecord kind,
                                  std::string_view priceKey);

}  // namespace zov::plugins::sales
