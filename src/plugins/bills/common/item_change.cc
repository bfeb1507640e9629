// The item, unit and customer-code branches of a sales-family row.
#include "bills/common/row_changes.h"
#include "calc/locks.h"
#include "calc/quantities.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/batch_numbers.h"
#include "inventory/stock.h"
#include "pricing/client_codes.h"
#include "services/database.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/strings.h"

namespace zov::plugins::sales {

namespace {

std::string Id(long id) { return std::to_string(id); }

// FConverMethod of an item whose secondary unit converts at a fixed rate.
constexpr long kFixedConversion = 1078;

void Set(host::IBillInterface& bill, const std::string& key, const Variant& value, long row) {
  Resume([&] { bill.SetFieldValue(key, value, row); });
}

// The same item on another row: asks whether to go on; false (the item cleared again, the cursor
// on it) when the user does not want it twice.
bool ConfirmDuplicateItem(const SalesForm& form, long row, const SalesRowKeys& keys, long item) {
  auto& bill = form.bill;
  const long rows = GridRows(bill, keys.grid);
  for (long other = 1; other <= rows; ++other) {
    if (other == row || FieldId(bill, keys.item, other) != item) continue;
    if (services::ShowMessage(
            form.ctx,
            "分录中第" + std::to_string(other) + "行已经存在相同的商品,\r\n" + "是否继续添加?",
            host::vbYesNo | host::vbQuestion | host::vbDefaultButton2) == host::vbYes)
      return true;
    Set(bill, vb::UCase(keys.item), "", row);
    Resume([&] { bill.SetActiveCell(keys.item, row); });
    return false;
  }
  return true;
}

// The item's secondary coefficient, the secondary quantity and the shelf life; the production
// date starts at the bill date, the expiry date after the shelf life. Returns the item's secondary
// unit.
long ApplyItemData(const SalesForm& form, long row, const SalesRowKeys& keys, long item) {
  auto& bill = form.bill;
  auto rs = services::OpenRecordsetTolerant(
      form.ctx,
      "select isnull(FSecCoefficient,0) as FSecCoefficient,isnull(FConverMethod,0) as "
      "FConverMethod,isnull(FKFPeriod,0) as FKFPeriod,* from t_icitem Where FItemID=" +
          Id(item));
  if (!rs || rs->Eof()) return 0;
  const double coefficient = vb::Val(vb::CStr(rs->Value("FSecCoefficient")));
  const long period = static_cast<long>(vb::Val(vb::CStr(rs->Value("FKFPeriod"))));
  const long secUnit = static_cast<long>(vb::Val(vb::CStr(rs->Value("FSecUnitID"))));
  Set(bill, keys.qtySecCoefficient, coefficient, row);
  if (coefficient != 0)
    Set(bill, keys.secQty, FieldNumber(bill, keys.showQty, row) / coefficient, row);
  Set(bill, keys.kfPeriod, period, row);
  Resume([&] {
    const Variant date = bill.GetFieldValue("FDate", -1);
    if (date.IsEmpty() || (date.IsString() && vb::Trim(date.AsString()).empty())) return;
    bill.SetFieldValue(keys.kfDate, date, row);
    bill.SetFieldValue(keys.periodDate,
                       vb::DateAdd("d", static_cast<double>(period), vb::CDate(date)), row);
  });
  return secUnit;
}

}  // namespace

void ApplyItemChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                     const ItemChange& rules, bool& cancel) {
  auto& bill = form.bill;
  auto& ctx = form.ctx;
  if (row < 1) return;
  const long item = FieldId(bill, keys.item, row);
  // 1. Batch management of the item.
  const bool batch =
      services::FirstFlag(ctx, "Select FISBatchManager From t_ICItem Where FItemID=" + Id(item));
  Set(bill, keys.batchManaged, batch ? 1 : 0, row);
  calc::LockField(bill, keys.batchNo, !batch, row);
  if (item > 0 &&
      services::FirstFlag(ctx, "Select FAutoGenBatchNo From t_ICItem Where FItemID = " + Id(item)))
    inventory::GenerateBatchNo(ctx, bill, row, keys.grid, keys.item, keys.batchNo);
  // 2. The customer type's discount.
  ApplyCustomerTypeDiscount(form, row, keys);
  // 3. An item cleared takes its units and serial numbers along.
  if (item < 1) {
    for (const std::string* key : {&keys.unit, &keys.secUnit, &keys.serialNo})
      Set(bill, *key, "", row);
    return;
  }
  // 4. The same item twice, when the user wants to be asked.
  if (rules.askDuplicate) {
    if (!ConfirmDuplicateItem(form, row, keys, item)) {
      cancel = true;
      return;
    }
    cancel = false;
  }
  // 5.-6. The default stock; the tax rate on invoices with tax.
  if (FieldId(bill, keys.scStock, row) <= 0)
    inventory::FillDefaultStock(ctx, bill, row, keys.scStock, keys.item);
  const long invoiceType = static_cast<long>(FieldNumber(bill, "FInvoiceType"));
  if (invoiceType == 2020 || invoiceType == 2021) SetRowTaxRate(form, row, keys);
  // 7.-8. The item's data; items without a secondary unit have no secondary cells.
  const long secUnit = ApplyItemData(form, row, keys, item);
  for (const std::string* key :
       {&keys.secCoefficient, &keys.secQty, &keys.secPrice, &keys.qtySecCoefficient}) {
    if (secUnit == 0) Set(bill, *key, "", row);
    calc::LockField(bill, *key, secUnit == 0, row);
  }
  // 9. Unit, quantity, price, cost, customer code, secondary prices, serial numbers, stock.
  ApplyItemUnit(form, row, keys, item, true);
  RefetchRowPrice(form, row, keys, rules.pricing);
  RefreshRowCost(form, row, keys, rules.pricing);
  pricing::GetClientItemCode(ctx, bill, row, keys.clientCode);
  ApplySecondaryPriceAndQty(form, row, keys);
  Set(bill, keys.serialNo, "", row);
  ShowRowStock(form, row, keys);
}

void ApplyUnitChange(const SalesForm& form, long row, const SalesRowKeys& keys,
                     const PriceLookup& pricing) {
  auto& bill = form.bill;
  auto& ctx = form.ctx;
  const long item = FieldId(bill, keys.item, row);
  if (row < 1 || item <= 0) return;
  const double previous = FieldNumber(bill, keys.coefficient, row);
  const double coefficient = calc::GetUnitCoefficient(ctx, item, FieldId(bill, keys.showUnit, row));
  const double ratio = previous != 0 && coefficient != 0 ? coefficient / previous : 0;
  Set(bill, keys.coefficient, coefficient, row);
  // The base quantity follows the new unit before the row is priced in it.
  calc::SetFieldWithAction(bill, keys.showQty, FieldNumber(bill, keys.showQty, row), row, false);
  if (FieldNumber(bill, keys.entrySrc, row) == 0) {
    RefetchRowPrice(form, row, keys, pricing);
    pricing::GetClientItemCode(ctx, bill, row, keys.clientCode);
  } else if (ratio != 0 && FieldNumber(bill, keys.showQty, row) != 0) {
    // A row taken over from a source bill keeps its price, in the new unit.
    calc::SetFieldWithAction(bill, keys.price, FieldNumber(bill, keys.price, row) * ratio, row,
                             false);
  }
  if (ratio != 0) {
    // In the new unit; a bill without order quantity or cost (the sales order) skips the step.
    Resume([&] {
      bill.SetFieldValue(keys.orderQty, FieldNumber(bill, keys.orderQty, row) / ratio, row);
    });
    Resume([&] {
      bill.SetFieldValue(keys.costPrice, FieldNumber(bill, keys.costPrice, row) * ratio, row);
    });
  }
  ApplyCostAmount(form, row, keys);
  Set(bill, keys.secCoefficient, calc::GetItemSecCoefficient(ctx, item, coefficient), row);
  ApplySecondaryPriceAndQty(form, row, keys);
  if (services::IndustryType(ctx) == 1)
    Set(bill, keys.displayQty, FieldNumber(bill, keys.showQty, row), row);
}

void ApplyClientItemCode(const SalesForm& form, long row, const SalesRowKeys& keys,
                         const PriceLookup& pricing) {
  auto& bill = form.bill;
  if (!pricing::FindItemByClientCode(form.ctx, bill, row, keys.clientCode)) {
    Set(bill, keys.clientItem, "", row);
    return;
  }
  // The item and the unit go through the host's chain as typed ones do, so that their own
  // branches run: units, quantities, batch rule, tax rate, cost.
  const long unit = FieldId(bill, keys.showUnit, row);
  calc::SetFieldWithAction(bill, keys.item, FieldId(bill, keys.item, row), row, false);
  if (unit > 0 && FieldId(bill, keys.showUnit, row) != unit) {
    Set(bill, keys.showUnit, unit, row);  // shown by its number and name, as typed
    calc::SetFieldWithAction(bill, keys.showUnit, unit, row, false);
  }
  RefetchRowPrice(form, row, keys, pricing);
}

long BeginItemChange(const SalesForm& form, const Ref<host::IDictionary>& field, long row,
                     const SalesRowKeys& keys, bool clearSerialNo) {
  auto& bill = form.bill;
  if (row < 1) return 0;
  const long item = FieldId(bill, "FItemID", row);
  // 1. The batch of a batch-managed item is typed in the row.
  const bool batch = ResumeOr<bool>(false, [&] {
    const Variant managed = field->Item("FIsBatchNoManage");
    return !managed.IsEmpty() && !managed.IsNull() && vb::CBool(managed);
  });
  if (batch) calc::LockField(bill, "FBatchNo", false, row);
  // 2. The customer type's discount.
  ApplyCustomerTypeDiscount(form, row, keys);
  // 3. An item cleared takes its units along and frees the cells its item locked.
  if (item >= 1) return item;
  Set(bill, "FUnitID", "", row);
  Set(bill, "FSecUnitID", "", row);
  if (clearSerialNo) Set(bill, "FSerialNo", "", row);
  for (const char* key : {"FAuxPropID", "FsecCoefficient", "FSecQty"})
    calc::LockField(bill, key, false, row);
  ShowRowStock(form, row, keys);
  return 0;
}

void ApplyItemUnit(const SalesForm& form, long row, const SalesRowKeys& keys, long item,
                   bool atLeastOne) {
  auto& bill = form.bill;
  auto& ctx = form.ctx;
  if (services::IndustryType(ctx) == 1) {
    calc::ApplyItemChosen(ctx, bill, row, keys);
    if (calc::IsGCItem(ctx, item))
      calc::ApplyCalTypeLocks(ctx, bill, row, FieldId(bill, keys.calType, row), keys);
  } else {
    SetRowDefaultUnit(form, row, keys);
    if (!atLeastOne) return;
    const double qty = FieldNumber(bill, keys.showQty, row);
    calc::SetFieldWithAction(bill, keys.showQty, qty == 0 ? 1.0 : qty, row, false);
  }
}

void ApplyItemSecondaryData(const SalesForm& form, long row, long item) {
  auto& bill = form.bill;
  auto rs = services::OpenRecordsetTolerant(
      form.ctx,
      "select FSecCoefficient,FConverMethod,* from t_icitem Where FItemID=" + std::to_string(item));
  if (!rs || rs->Eof()) return;
  auto number = [&](const char* column) {
    return ResumeOr<double>(0, [&] {
      const Variant v = rs->Value(column);
      return v.IsNull() ? 0.0 : vb::Val(vb::CStr(v));
    });
  };
  const double coefficient = number("FSecCoefficient");
  const long secUnit = static_cast<long>(number("FSecUnitID"));
  Set(bill, "FsecCoefficient", coefficient, row);
  if (coefficient != 0) Set(bill, "FSecQty", FieldNumber(bill, "FShowQty", row) / coefficient, row);
  Set(bill, "FSecUnitID", secUnit > 0 ? Variant(secUnit) : Variant(""), row);
  // Without a secondary unit the row has no secondary quantity or price; a fixed conversion
  // leaves the price factor to the item.
  for (const char* key : {"FSecQty", "FSecPrice", "FsecCoefficient"})
    calc::LockField(bill, key, secUnit == 0, row);
  calc::LockField(bill, "FSecCoefficient",
                  secUnit == 0 || number("FConverMethod") == kFixedConversion, row);
}

}  // namespace zov::plugins::sales
