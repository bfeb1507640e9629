#include "calc/recalc.h"

#include <string>
#include <utility>

#include "calc/bill_types.h"
#include "calc/row_cells.h"
#include "calc/row_keys.h"
#include "calc/units.h"
#include "frame/resume.h"
#include "zov/vb/strings.h"

namespace zov::plugins::calc {

namespace {

// One step of the engine: a failure skips it and the next one runs.
template <class F>
void Step(F&& step) {
  Resume(std::forward<F>(step));
}

// What the steps branch on: the item's weight calculation and the row's calculation type.
struct RowState {
  long item = 0;
  bool gc = false;
  long calType = 0;
};

RowState StateOf(PluginContext& ctx, const RowCells& cells, const RowKeys& keys) {
  RowState state;
  state.item = ResumeOr<long>(0, [&] { return cells.Id(keys.item); });
  state.gc = IsGCItem(ctx, state.item);
  state.calType = ResumeOr<long>(0, [&] { return cells.Id(keys.calType); });
  return state;
}

// The price forms a displayed price is routed to. Without weight calculation the shown-unit
// price takes it, and the secondary price follows through `secCoefficient` when there is one.
struct PriceForms {
  std::string display, base, shown, sec, secCoefficient;
};

PriceForms PricesOf(const RowKeys& keys) {
  return {keys.displayPrice, keys.basePrice, keys.price, keys.secPrice, keys.secCoefficient};
}

// The in- and out-prices of the bill that carries both on one row.
const PriceForms kInPrices{"FDisplayInPrice", "FBaseInPrice", "FInPrice", "FSecInPrice", ""};
const PriceForms kOutPrices{"FDisplayOutPrice", "FBaseOutPrice", "FOutPrice", "FSecOutPrice", ""};

void RoutePrice(const RowCells& c, const RowState& s, const PriceForms& p) {
  if (s.gc) {
    switch (s.calType) {
      case 1:
        Step([&] { c.Set(p.base, c.Number(p.display)); });
        Step([&] { c.Act(p.base); });
        Step([&] { c.Set(p.sec, c.Number(p.base)); });
        return;
      case 2:
        Step([&] { c.Set(p.shown, c.Number(p.display)); });
        Step([&] { c.Act(p.shown); });
        Step([&] { c.Set(p.sec, c.Number(p.base)); });
        return;
      case 3:
        Step([&] { c.Set(p.sec, c.Number(p.display)); });
        Step([&] { c.Act(p.sec); });
        return;
      default:
        return;  // a type the engine does not know writes nothing
    }
  }
  Step([&] { c.Set(p.shown, c.Number(p.display)); });
  Step([&] { c.Act(p.shown); });
  if (!p.secCoefficient.empty())
    Step([&] { c.Set(p.sec, Product(c.Number(p.shown), c.Number(p.secCoefficient))); });
}

// The base quantity from the weight, for the types that weigh in base terms (1 and 2).
void WeightInBaseTerms(PluginContext& ctx, const RowCells& c, const RowState& s, const RowKeys& k) {
  Step([&] { c.Set(k.qty, c.Number(k.displayWeight)); });
  Step([&] { c.Set(k.showQty, Quotient(c.Number(k.qty), c.Number(k.coefficient))); });
  Step([&] { c.Set(k.displayQty, c.Number(k.showQty)); });
  Step([&] {
    c.Set(k.secCoefficient, GetItemSecCoefficient(ctx, s.item, c.Number(k.coefficient)));
  });
  Step([&] { c.Act(k.qty); });
}

// The displayed price of an in- or out-amount over the weight, when the amount is not 0.
void PriceFromAmount(const RowCells& c, const RowKeys& k, const std::string& amount,
                     const PriceForms& p) {
  Step([&] {
    const double value = c.Number(amount);
    if (value == 0) return;
    const double price = Quotient(value, c.Number(k.displayWeight));
    c.Set(p.display, price);
    c.Set(p.sec, price);
  });
}

void RecalcWeight(PluginContext& ctx, const RowCells& c, const RowState& s, const RowKeys& k,
                  bool inOutBill) {
  if (!s.gc) {
    Step([&] { c.Set(k.secQty, c.Number(k.displayWeight)); });
    Step([&] { c.Set(k.showQty, Product(c.Number(k.displayWeight), c.Number(k.secCoefficient))); });
    Step([&] { c.Act(k.showQty); });
    Step([&] { c.Set(k.displayQty, c.Number(k.showQty)); });
    return;
  }
  if (s.calType == 1 || s.calType == 2) return WeightInBaseTerms(ctx, c, s, k);
  if (s.calType != 3) return;
  Step([&] { c.Set(k.secQty, c.Number(k.displayWeight)); });
  Step([&] { c.Act(k.secQty); });
  Step([&] { c.Set(k.qty, Product(c.Number(k.showQty), c.Number(k.coefficient))); });
  Step([&] { c.Set(k.qtySecCoefficient, Quotient(c.Number(k.showQty), c.Number(k.secQty))); });
  if (inOutBill) {
    PriceFromAmount(c, k, "FInAmount", kInPrices);
    PriceFromAmount(c, k, "FOutAmount", kOutPrices);
    return;
  }
  Step([&] { c.Act(k.qty); });
  Step([&] {
    c.Set(k.price,
          Quotient(Product(c.Number(k.secQty), c.Number(k.secPrice)), c.Number(k.showQty)));
  });
  Step([&] { c.ActUnmarked(k.price); });
}

// The secondary in- or out-price from the shown one, written with action, and shown.
void SecondaryFromShown(const RowCells& c, const RowKeys& k, const PriceForms& p) {
  Step([&] { c.Set(p.sec, Product(c.Number(p.shown), c.Number(k.qtySecCoefficient))); });
  Step([&] { c.Act(p.sec); });
  Step([&] { c.Set(p.display, c.Number(p.sec)); });
}

void RecalcQty(const RowCells& c, const RowState& s, const RowKeys& k, bool inOutBill) {
  if (!s.gc || s.calType == 1 || s.calType == 2) {
    Step([&] { c.Set(k.showQty, c.Number(k.displayQty)); });
    Step([&] { c.Act(k.showQty); });
    Step([&] { c.Set(k.displayWeight, c.Number(s.gc ? k.qty : k.secQty)); });
    return;
  }
  if (s.calType != 3) return;
  Step([&] { c.Set(k.showQty, c.Number(k.displayQty)); });
  Step([&] {
    const double secQty = c.Number(k.secQty);
    if (secQty != 0) c.Set(k.secCoefficient, Quotient(c.Number(k.showQty), secQty));
  });
  Step([&] { c.Set(k.qty, Product(c.Number(k.showQty), c.Number(k.coefficient))); });
  if (inOutBill) {
    Step([&] { c.Act(k.qty); });
    SecondaryFromShown(c, k, kInPrices);
    SecondaryFromShown(c, k, kOutPrices);
    return;
  }
  Step([&] { c.Set(k.price, Quotient(c.Number(k.secPrice), c.Number(k.qtySecCoefficient))); });
  Step([&] { c.Act(k.price); });
  Step([&] { c.Act(k.qty); });
}

}  // namespace

void RecalcDisplayedField(PluginContext& ctx, host::IBillInterface& bill, long row,
                          std::string_view changedKey) {
  const std::string changed = vb::UCase(changedKey);
  auto is = [&](std::string_view key) { return !key.empty() && changed == vb::UCase(key); };
  const RowCells cells(bill, row);
  const RowKeys& first = FirstGridKeys();
  const RowKeys& component = ComponentGridKeys();
  auto state = [&](const RowKeys& keys) { return StateOf(ctx, cells, keys); };
  auto inOutBill = [&] {
    return ResumeOr<long>(0, [&] { return bill.FID(); }) == billtype::kInOutPriceBill;
  };

  if (is(first.displayPrice)) {
    RoutePrice(cells, state(first), PricesOf(first));
  } else if (is(first.displayWeight)) {
    RecalcWeight(ctx, cells, state(first), first, inOutBill());
  } else if (is(first.displayQty)) {
    RecalcQty(cells, state(first), first, inOutBill());
  } else if (is(kInPrices.display)) {
    RoutePrice(cells, state(first), kInPrices);
  } else if (is(kOutPrices.display)) {
    RoutePrice(cells, state(first), kOutPrices);
  } else if (is(component.displayPrice)) {
    RoutePrice(cells, state(component), PricesOf(component));
  } else if (is(component.displayWeight)) {
    // The component grid has no in- and out-prices: the ordinary weight steps.
    RecalcWeight(ctx, cells, state(component), component, false);
  } else if (is(component.displayQty)) {
    RecalcQty(cells, state(component), component, false);
  }
}

}  // namespace zov::plugins::calc
