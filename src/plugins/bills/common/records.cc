#include "bills/common/records.h"

#include <initializer_list>

#include "frame/bill_access.h"
#include "frame/resume.h"

namespace zov::plugins::sales {

Ref<host::IDictionary> HeadRecord(const SalesForm& form, double allAmount) {
  auto& bill = form.bill;
  auto head = NewDictionary(form.ctx);
  head->SetItem("ClassTypeID", form.cls.classTypeId);
  head->SetItem("BillInterID", CurBillId(bill));
  head->SetItem("HeadTableName", std::string(form.cls.headTable));
  head->SetItem("BillNo", FieldText(bill, "FBillNo"));
  head->SetItem("CustOrSupplyID", FieldId(bill, "FCustID"));
  head->SetItem("BillType", static_cast<long>(FieldNumber(bill, "FBillTypeID")));
  head->SetItem("AllAmount", allAmount);
  return head;
}

Ref<host::IDictionary> RowRecords(const SalesForm& form, const SalesRowKeys& keys, RowRecord kind,
                                  std::string_view priceKey) {
  auto& bill = form.bill;
  auto records = NewDictionary(form.ctx);
  const long rows = GridRows(bill, keys.grid);
  // A cell the class's bill does not have counts 0.
  auto number = [&](const std::string& key, long row) {
    return ResumeOr<double>(0, [&] { return FieldNumber(bill, key, row); });
  };
  long n = 0;
  for (long row = 1; row <= rows; ++row) {
    const long item = FieldId(bill, keys.item, row);
    if (item <= 0) continue;
    auto r = NewDictionary(form.ctx);
    r->SetItem("ItemID", item);
    r->SetItem("Index", row);
    r->SetItem("UnitID", FieldId(bill, keys.showUnit, row));
    r->SetItem("Coefficient", number(keys.coefficient, row));
    r->SetItem("StockID", ResumeOr<long>(0, [&] { return FieldId(bill, keys.scStock, row); }));
    r->SetItem("Price", number(std::string(priceKey), row));
    if (kind == RowRecord::kStock) {
      // The record's items are named as the first grid's cells, whichever grid the row is in.
      const SalesRowKeys& names = FirstGrid();
      using Key = std::string SalesRowKeys::*;
      for (Key key : std::initializer_list<Key>{
               &SalesRowKeys::item, &SalesRowKeys::auxProp, &SalesRowKeys::scStock,
               &SalesRowKeys::kfPeriod, &SalesRowKeys::qty, &SalesRowKeys::secQty,
               &SalesRowKeys::secPrice, &SalesRowKeys::price, &SalesRowKeys::coefficient})
        r->SetItem(names.*key, number(keys.*key, row));
      r->SetItem("FBatchNoIndex", number("FBatchNoIndex" + keys.suffix, row));
      r->SetItem(names.batchNo, FieldText(bill, keys.batchNo, row));
      r->SetItem(names.kfDate, bill.GetFieldValue(keys.kfDate, row));
      r->SetItem(names.periodDate, bill.GetFieldValue(keys.periodDate, row));
    }
    records->SetItem(++n, Ref<host::IDictionary>(r));
  }
  return records;
}

}  // namespace zov::plugins::sales
