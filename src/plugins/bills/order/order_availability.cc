// The availability figures of an order's rows: the stock on hand of the row's item and property,
// what audited purchase orders still bring, what audited sales orders still take, and what is
// available of it, in the row's unit and, under industry type 1, in the base unit. They are a
// snapshot taken when the row's item, unit or property changes and when the order is copied.
#include <string_view>

#include "bills/order/bill_event_order.h"
#include "calc/row_cells.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "inventory/stock.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

// Base quantities of one item and property.
struct Availability {
  double stock = 0;    // on hand, in the stocks the user may see
  double onOrder = 0;  // on audited purchase orders, not yet received
  double ordered = 0;  // on audited sales orders, not yet delivered
  double available() const { return stock + onOrder - ordered; }
};

// Under industry type 1 the stock is read in the row's calculation type and unit.
Availability GetAvailability(PluginContext& ctx, long item, long property, long calType,
                             long unit) {
  Availability a;
  const bool weight = services::IndustryType(ctx) == 1;
  a.stock =
      inventory::GetStockQty(ctx, item, property, "", weight ? calType : 0, weight ? unit : 0);
  inventory::GetBookedQty(ctx, 3, item, property, a.onOrder, a.ordered);
  return a;
}

// The four shown-unit columns with their values (base quantities divided by the coefficient).
struct Column {
  std::string_view key;
  double value;
};

}  // namespace

void BillEvent_Order::RefreshRowAvailability(long row, bool withAction) {
  auto& bill = *m_BillInterface;
  auto& ctx = context();
  const long item = FieldId(bill, "FItemID", row);
  if (row < 1 || item <= 0) return;
  const Availability a = GetAvailability(ctx, item, FieldId(bill, "FAuxPropID", row),
                                         static_cast<long>(FieldNumber(bill, "FCalTypeID", row)),
                                         FieldId(bill, "FShowUnitID", row));
  const calc::RowCells cells(bill, row);
  const double coefficient = FieldNumber(bill, "FCoefficient", row);
  const Column shown[] = {{"FTotalQty", a.stock},
                          {"FCgOrderQty", a.onOrder},
                          {"FXsOrderQty", a.ordered},
                          {"FInTotalQty", a.available()}};
  for (const Column& c : shown) {
    // A row without coefficient has no quantity in its unit: the cell stays as it was.
    Resume([&] {
      const double value = calc::Quotient(c.value, coefficient);
      if (withAction)
        calc::SetFieldWithAction(bill, c.key, value, row, false);
      else
        cells.Set(std::string(c.key), value);
    });
  }
  if (services::IndustryType(ctx) != 1) return;
  const Column base[] = {{"FBaseTotalQty", a.stock},
                         {"FBaseCgOrderQty", a.onOrder},
                         {"FBaseXsOrderQty", a.ordered},
                         {"FBaseInTotalQty", a.available()}};
  for (const Column& c : base) Resume([&] { cells.Set(std::string(c.key), c.value); });
}

// A bill copied in the list gets the availability of its rows from the copied cells' stored
// values, before its form opens.
void BillEvent_Order::m_ListInterface_AfterCopyBillCreateData(const Variant&, const Variant& data) {
  auto& ctx = context();
  auto pages = data.ObjectAs<host::IDictionary>();
  auto rows = pages ? ResumeOr<Ref<host::IDictionary>>(
                          {}, [&] { return pages->Item("Page2").ObjectAs<host::IDictionary>(); })
                    : Ref<host::IDictionary>{};
  if (!rows) return;
  for (const auto& r : rows->Keys()) {
    auto cells = rows->Item(r).ObjectAs<host::IDictionary>();
    if (!cells) continue;
    // The cells by key, the letter case ignored.
    auto cell = [&](std::string_view key) -> Ref<host::IDictionary> {
      for (const auto& k : cells->Keys())
        if (k.IsString() && vb::UCase(k.AsString()) == vb::UCase(key))
          return cells->Item(k).ObjectAs<host::IDictionary>();
      return {};
    };
    auto stored = [&](std::string_view key) {
      auto c = cell(key);
      const Variant v = c ? c->Item("FFLD") : Variant{};
      return v.IsEmpty() || v.IsNull() ? 0.0 : vb::Val(vb::CStr(v));
    };
    const long item = static_cast<long>(stored("FITEMID"));
    if (item <= 0) continue;
    const Availability a = GetAvailability(ctx, item, static_cast<long>(stored("FAUXPROPID")),
                                           static_cast<long>(stored("FCalTypeID")),
                                           static_cast<long>(stored("FShowUnitID")));
    const double coefficient = stored("FCoefficient");
    const Column shown[] = {{"FTotalQty", a.stock},
                            {"FCGORDERQTY", a.onOrder},
                            {"FXSORDERQTY", a.ordered},
                            {"FInTotalQty", a.available()}};
    for (const Column& c : shown)
      Resume([&] {
        auto target = cell(c.key);
        if (!target) return;
        const double value = calc::Quotient(c.value, coefficient);
        target->SetItem("FFLD", value);
        target->SetItem("FDSP", vb::CStr(Variant(value)));
      });
  }
}

}  // namespace zov::plugins
