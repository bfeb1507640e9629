#include "bills/common/sales_keys.h"

namespace zov::plugins::sales {

namespace {

SalesRowKeys Keys(const calc::RowKeys& line, const inventory::ShelfLifeKeys& shelfLife,
                  const inventory::BatchRowKeys& batch, const pricing::ClientCodeKeys& clientCode) {
  SalesRowKeys keys;
  static_cast<calc::RowKeys&>(keys) = line;
  auto k = [&](const char* key) { return key + line.suffix; };
  keys.unit = k("FUnitID");
  keys.batchNo = k("FBatchNo");
  keys.auxProp = k("FAuxPropID");
  keys.batchManaged = k("FIsBatchNoManage");
  keys.kfDate = k("FKFDate");
  keys.kfPeriod = k("FKFPeriod");
  keys.periodDate = k("FPeriodDate");
  keys.serialNo = k("FSerialNo");
  keys.clientItem = k("FClientItemID");
  keys.barcode = k("FBarcode");
  keys.complexQty = k("FComplexQtyDis");
  keys.costPrice = k("FCostPrice");
  keys.costAmount = k("FCostAmount");
  keys.noDiscAmount = k("FNoDiscAmount");
  keys.discountAmount = k("FDiscountAmount");
  keys.includeTaxPrice = k("FIncludeTaxPrice");
  keys.taxRate = k("FTaxRate");
  keys.entrySrc = k("FEntryID_SRC");
  keys.billNoSrc = k("FBillNo_SRC");
  keys.orderQty = k("FOrderQty");
  keys.shelfLife = shelfLife;
  keys.batch = batch;
  keys.clientCode = clientCode;
  return keys;
}

}  // namespace

const SalesRowKeys& FirstGrid() {
  static const SalesRowKeys keys = Keys(calc::FirstGridKeys(), inventory::kPlainShelfLife,
                                        inventory::kPlainBatchRow, pricing::kClientCodeKeys);
  return keys;
}

const SalesRowKeys& SecondGrid() {
  static const SalesRowKeys keys = Keys(calc::SecondGridKeys(), inventory::kPlainShelfLife01,
                                        inventory::kPlainBatchRow01, pricing::kClientCodeKeys01);
  return keys;
}

}  // namespace zov::plugins::sales
