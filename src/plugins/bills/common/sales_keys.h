// The row keys of a sales-family entry grid: the line calculation's keys, with the batch, shelf
// life, serial-number, customer-code, cost and source keys the sales rules read. A routine written
// once over a key set serves the first grid and the second grid of the second sales bill type (its
// "01" keys).
#pragma once

#include <string>

#include "calc/row_keys.h"
#include "inventory/batches.h"
#include "inventory/shelf_life.h"
#include "pricing/client_codes.h"

namespace zov::plugins::sales {

struct SalesRowKeys : calc::RowKeys {
  std::string unit;  // FUnitID, the base unit
  std::string batchNo, auxProp, batchManaged, kfDate, kfPeriod, periodDate;
  std::string serialNo, clientItem, barcode, complexQty;
  std::string costPrice, costAmount, noDiscAmount, discountAmount, includeTaxPrice, taxRate;
  std::string entrySrc, billNoSrc, orderQty;
  inventory::ShelfLifeKeys shelfLife;
  inventory::BatchRowKeys batch;
  pricing::ClientCodeKeys clientCode;
};

// The first grid's keys, as the host spells them.
const SalesRowKeys& FirstGrid();
// The second grid of the second sales bill type: the first grid's keys with "01".
const SalesRowKeys& SecondGrid();

}  // namespace zov::plugins::sales
