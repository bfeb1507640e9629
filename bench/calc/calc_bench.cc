// The line calculation engine on bill forms of the substitute host, on the demo account set:
//   AllocateCharges/<rows>              one allocation by quantity over a sales bill of that many
//                                       rows, every tenth in the gift stock: one pass reading the
//                                       rows, one writing the shares, the host's column sum;
//                                       per_row_ns is the time per row
//   RecalcDisplayedField/Price/<rows>   a displayed price edited on a plain row: the shown price
//                                       written with the host's actions, the secondary price
//   RecalcDisplayedField/Weight/<rows>  a displayed weight edited on a weight-calculated row of
//                                       type 3: quantities, coefficient and price with actions
// The row count of a recalculation is the size of the bill it runs on (the edited row cycles
// through it), not work it does.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>

#include "bill/bill_form.h"
#include "calc/charges.h"
#include "calc/recalc.h"
#include "frame/plugin_context.h"
#include "scenario/databases.h"
#include "session/data_connection.h"
#include "session/scripted_ui.h"
#include "session/session.h"

namespace {

using namespace zov;
using nlohmann::json;

constexpr long kSaleBill = 1030002;
constexpr long kCup = 101, kRebar = 104, kMainStock = 601, kGiftStock = 603;

// A sales bill whose rows carry the quantity, price and freight families with amount actions.
std::shared_ptr<const sim::BillTemplate> SaleTemplate() {
  auto number = [](const char* key, const char* formula = nullptr) {
    json field{{"key", key}, {"type", "number"}};
    if (formula) field["actions"] = json::array({{{"name", "Calculate"}, {"parameter", formula}}});
    return field;
  };
  auto base = [](const char* key, const char* table) {
    return json{{"key", key}, {"type", "base"}, {"base", {{"table", table}}}};
  };
  const json tmpl = {
      {"classTypeId", kSaleBill},
      {"tables", {{"head", "t_cc_stockbill"}, {"entry", "t_cc_stockbillentry"}}},
      {"head", json::array({number("FTranspotationCosts"), number("FTotaladvanceCosts")})},
      {"grids",
       json::array(
           {{{"fields",
              json::array(
                  {base("FItemID", "t_ICItem"),
                   base("FCalTypeID", "t_CalType"),
                   base("FSCStockID", "t_Stock"),
                   number("FCoefficient"),
                   number("FShowQty", "FQty=FShowQty*FCoefficient;FAmount=FShowQty*FPrice"),
                   number("FQty", "FAmount=FQty*FBasePrice"),
                   number("FSecQty"),
                   number("FSecCoefficient"),
                   number("FsecCoefficient"),
                   number("FDisplayQty"),
                   number("FDisplayWeight"),
                   number("FBasePrice"),
                   number("FPrice", "FBasePrice=FPrice/FCoefficient;FAmount=FShowQty*FPrice"),
                   number("FSecPrice"),
                   number("FDisplayPrice"),
                   number("FTaxRate"),
                   number("FAmount",
                          "FTaxAmount=FAmount*FTaxRate/100;FInTaxAmount=FAmount+FTaxAmount"),
                   number("FTaxAmount"),
                   number("FInTaxAmount"),
                   number("FTranspotationCharges")})}}})}};
  return sim::ParseTemplate(tmpl.dump(), "calc bench template");
}

// One session on a private copy of the demo account set, with industry type 1.
struct Host {
  Host() {
    const auto dir =
        std::filesystem::temp_directory_path() / ("zov-calc-bench-" + std::to_string(::getpid()));
    databases = sim::MakeScenarioDatabases(dir.string());
    tmpl = SaleTemplate();
    auto templates = std::make_shared<sim::TemplateSet>();
    (*templates)[kSaleBill] = tmpl;
    sim::SessionOptions options;
    options.bag["IndustryType"] = 1;
    session = std::make_unique<sim::Session>(sim::ConnectToDatabase(databases.freshCopy("demo")),
                                             templates, options, sim::ScriptedUi::New());
    ctx = plugins::PluginContext::For(session->Host());
  }
  ~Host() {
    if (!session->journal().empty())
      std::fprintf(stderr, "the session journaled failed statements\n");
  }

  // A new sales bill of `rows` rows of `item`, every tenth in the gift stock.
  vb::Ref<sim::BillForm> Bill(long rows, long item) {
    auto form = sim::BillForm::New(tmpl, *session);
    form->NewBill();
    for (long row = 1; row <= rows; ++row) {
      if (row > 1) form->AddRow(1);
      form->SetFieldValue("FItemID", item, row);
      form->SetFieldValue("FSCStockID", row % 10 == 0 ? kGiftStock : kMainStock, row);
      form->SetFieldValue("FCoefficient", item == kRebar ? 0.0288 : 1.0, row);
      form->SetFieldValue("FShowQty", static_cast<double>(1 + row % 7), row);
      form->SetFieldValue("FQty", (1 + row % 7) * (item == kRebar ? 0.0288 : 1.0), row);
      form->SetFieldValue("FSecPrice", 4300.0, row);
      form->SetFieldValue("FSecCoefficient", 2.0, row);
      if (item == kRebar) form->SetFieldValue("FCalTypeID", 3, row);
    }
    form->SetFieldValue("FTranspotationCosts", 1000.0, -1);
    return form;
  }

  sim::ScenarioDatabases databases;
  std::shared_ptr<const sim::BillTemplate> tmpl;
  std::unique_ptr<sim::Session> session;
  vb::Ref<plugins::PluginContext> ctx;
};

Host& TheHost() {
  static Host host;
  return host;
}

void BM_AllocateCharges(benchmark::State& state) {
  Host& host = TheHost();
  auto form = host.Bill(state.range(0), kCup);
  for (auto _ : state) plugins::calc::AllocateCharges(*host.ctx, 1L, *form, false);
  state.SetComplexityN(state.range(0));
  state.counters["per_row_ns"] = benchmark::Counter(
      static_cast<double>(state.range(0)),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  benchmark::DoNotOptimize(form->Sum(form->FieldInfo("FTranspotationCharges")));
}
BENCHMARK(BM_AllocateCharges)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Arg(30000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void Recalc(benchmark::State& state, long item, const char* key) {
  Host& host = TheHost();
  const long rows = state.range(0);
  auto form = host.Bill(rows, item);
  long row = 0;
  double value = 1;
  for (auto _ : state) {
    row = row % rows + 1;
    value = value < 9 ? value + 1 : 1;
    form->SetFieldValue(key, value, row);
    plugins::calc::RecalcDisplayedField(*host.ctx, *form, row, key);
  }
}

void BM_RecalcPrice(benchmark::State& state) { Recalc(state, kCup, "FDisplayPrice"); }
void BM_RecalcWeight(benchmark::State& state) { Recalc(state, kRebar, "FDisplayWeight"); }
BENCHMARK(BM_RecalcPrice)
    ->Name("RecalcDisplayedField/Price")
    ->Arg(1)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecalcWeight)
    ->Name("RecalcDisplayedField/Weight")
    ->Arg(1)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
