#include "calc/quantities.h"

#include <string>

#include "calc/locks.h"
#include "calc/row_cells.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/database.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins::calc {

namespace {

long ItemOf(const RowCells& cells, const RowKeys& keys) {
  return ResumeOr<long>(0, [&] { return cells.Id(keys.item); });
}

long CalTypeOf(const RowCells& cells, const RowKeys& keys) {
  return ResumeOr<long>(0, [&] { return cells.Id(keys.calType); });
}

}  // namespace

void RefreshDisplayPrice(PluginContext& ctx, host::IBillInterface& bill, long row,
                         const RowKeys& keys) {
  if (services::IndustryType(ctx) != 1) return;
  const RowCells cells(bill, row);
  const std::string* from = &keys.price;
  if (IsGCItem(ctx, ItemOf(cells, keys))) {
    switch (CalTypeOf(cells, keys)) {
      case 1:
        from = &keys.basePrice;
        break;
      case 2:
        from = &keys.price;
        break;
      case 3:
        from = &keys.secPrice;
        break;
      default:
        return;
    }
  }
  Resume([&] { cells.Set(keys.displayPrice, cells.Number(*from)); });
}

void SetDefaultCalType(PluginContext& ctx, host::IBillInterface& bill, long row,
                       const RowKeys& keys) {
  Resume([&] {
    auto rs = services::OpenRecordset(
        ctx, std::string("select FItemID,FNumber,FName from t_CalType where FName='") +
                 kDefaultCalTypeName + "'");
    if (!rs || rs->Eof()) return;
    const Variant id = rs->Value(0L), number = rs->Value(1L), name = rs->Value(2L);
    const RowCells cells(bill, row);
    Resume([&] { cells.Set(keys.calType, id); });
    // The grid shows the number and name of a base-data cell from its members.
    Resume([&] {
      auto cell = bill.GetDataFldbyKey(keys.calType, row);
      if (!cell) return;
      cell->SetItem("FFLD", id);
      cell->SetItem("FFND", number.IsNull() ? Variant("") : number);
      cell->SetItem("FDSP", name.IsNull() ? Variant("") : name);
    });
  });
}

bool CheckCalTypes(PluginContext& ctx, host::IBillInterface& bill, const RowKeys& keys) {
  const long rows =
      ResumeOr<long>(0, [&] { return bill.BillEntrys(keys.grid)->GridMaxDataRowNum(); });
  for (long row = 1; row <= rows; ++row) {
    const RowCells cells(bill, row);
    if (!IsGCItem(ctx, ItemOf(cells, keys))) continue;
    const std::string calType =
        ResumeOr<std::string>("", [&] { return vb::Trim(FieldText(bill, keys.calType, row)); });
    if (!calType.empty()) continue;
    services::ShowMessage(ctx, "第" + std::to_string(row) + "行计算方式不能为空。");
    Resume([&] { bill.SetActiveCell(keys.calType, row); });
    return false;
  }
  return true;
}

void CopyBaseToSecondary(PluginContext&, host::IBillInterface& bill, long row,
                         const RowKeys& keys) {
  const RowCells cells(bill, row);
  Resume([&] { cells.Set(keys.secQty, cells.Number(keys.qty)); });
  Resume([&] { cells.Set(keys.secPrice, cells.Number(keys.basePrice)); });
  Resume([&] {
    const double secQty = cells.Number(keys.secQty), showQty = cells.Number(keys.showQty);
    if (secQty != 0 && showQty != 0) cells.Set(keys.qtySecCoefficient, Quotient(showQty, secQty));
  });
}

void ApplyItemChosen(PluginContext& ctx, host::IBillInterface& bill, long row,
                     const RowKeys& keys) {
  const RowCells cells(bill, row);
  const long item = ItemOf(cells, keys);
  const bool industry = services::IndustryType(ctx) == 1;

  // 1. The unit locks first, so that a weight-calculated item's unit is in place.
  if (industry) ApplyUnitLocks(ctx, bill, row, item, keys);

  // 2. The customer's default unit, with the members the grid and the unit's action read.
  const long customer = ResumeOr<long>(0, [&] { return FieldId(bill, "FCustID"); });
  RowUnit unit;
  if (GetDefaultUnit(ctx, customer, item, "FCustID", unit)) PutRowUnit(bill, row, unit, keys);

  // 3. At least one of the unit.
  Resume([&] {
    if (cells.Number(keys.showQty) == 0) cells.Set(keys.showQty, 1);
  });
  Resume([&] { cells.ActUnmarked(keys.showQty); });

  // 4. The secondary coefficient of the item in the row's unit.
  Resume([&] {
    cells.Set(keys.secCoefficient,
              GetItemSecCoefficient(ctx, item, cells.Number(keys.coefficient)));
  });

  // 5. The weight-calculation fields.
  if (!industry) return;
  if (IsGCItem(ctx, item)) {
    SetDefaultCalType(ctx, bill, row, keys);
    CopyBaseToSecondary(ctx, bill, row, keys);
  } else {
    Resume([&] { cells.Set(keys.calType, ""); });
  }
  Resume([&] { cells.Set(keys.displayQty, cells.Number(keys.showQty)); });
  Resume([&] { cells.Set(keys.displayWeight, cells.Number(keys.secQty)); });
}

void ApplyShowQtyAction(PluginContext& ctx, host::IBillInterface& bill, long row,
                        const RowKeys& keys) {
  if (services::IndustryType(ctx) != 1) return;
  const RowCells cells(bill, row);
  if (CalTypeOf(cells, keys) != 3) return;
  Resume([&] {
    const double secQty = cells.Number(keys.secQty);
    if (secQty != 0)
      cells.Set(keys.qtySecCoefficient, Quotient(cells.Number(keys.showQty), secQty));
  });
}

}  // namespace zov::plugins::calc
