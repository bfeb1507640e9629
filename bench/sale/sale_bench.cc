// The sales bill and its second type with their plug-ins on the substitute host and the demo
// database: one row's item change, a customer change that re-prices every row (the second type:
// every row of its first grid), saving (with its validation) and loading, on bills of 100 and 1,000
// rows (the second type's split between its two grids). The third argument is the engine: 0 the
// embedded SQLite file, 1 a PostgreSQL server, whose connection string ZOV_BENCH_POSTGRESQL gives
// (without it those runs are skipped).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <tuple>

#include "scenario/databases.h"
#include "session/data_connection.h"
#include "session/scripted_ui.h"
#include "zov/vb/datetime.h"

namespace {

using namespace zov;

std::string Server() {
  const char* server = std::getenv("ZOV_BENCH_POSTGRESQL");
  return server ? server : "";
}

const sim::ScenarioDatabases& Databases(long engine) {
  static const auto work =
      std::filesystem::temp_directory_path() / ("zov-sale-bench-" + std::to_string(::getpid()));
  static const auto file = sim::MakeScenarioDatabases(work.string());
  static const auto server =
      Server().empty() ? file : sim::MakeScenarioDatabases(work.string(), "", Server());
  return engine == 0 ? file : server;
}

constexpr long kSale = 1030002;
constexpr long kExchange = 1030005;

// A session with a bill of class `classType` of `rows` rows of plain items, saved once.
struct Bench {
  Bench(long classType, long rows, long engine) : twoGrids(classType == kExchange) {
    sim::SessionOptions options;
    options.clock = vb::DateFromParts({2026, 12, 5, 10, 0, 0});
    ui = sim::ScriptedUi::New();
    const auto& databases = Databases(engine);
    session = std::make_unique<sim::Session>(sim::ConnectToDatabase(databases.freshCopy("demo")),
                                             databases.templates, options, ui);
    form = session->OpenBill(classType);
    form.form->NewBill();
    form.form->Edit("FCustID", -1, "C001");
    const char* items[] = {"I001", "I014", "I015", "I012"};
    // The second type's rows go half to each grid.
    const int grids = twoGrids ? 2 : 1;
    for (int grid = 1; grid <= grids; ++grid) {
      const std::string suffix = grid == 2 ? "01" : "";
      for (long r = 1; r <= rows / grids; ++r) {
        if (r > form.form->RowCount(grid)) form.form->AddRow(grid);
        form.form->Edit("FItemID" + suffix, r, items[r % 4]);
        form.form->Edit("FShowQty" + suffix, r, 1 + r % 3);
      }
    }
    ui->Queue(std::vector<std::string>(8, "Yes"));
    if (!form.form->Save()) throw std::runtime_error("the bench bill was not saved");
    billId = form.form->CurBillID();
  }
  ~Bench() { form = sim::OpenForm{}; }

  // The key of the item of the last grid's rows.
  std::string ItemKey() const { return twoGrids ? "FItemID01" : "FItemID"; }

  bool twoGrids;
  vb::Ref<sim::ScriptedUi> ui;
  std::unique_ptr<sim::Session> session;
  sim::OpenForm form;
  long billId = 0;
};

// The bench of the state's class (argument 0), rows (argument 1) and engine (argument 2); null
// (the run skipped) for a server not given.
Bench* For(benchmark::State& state) {
  // Never destroyed: the sessions would end after the host's own statics at exit.
  static auto& benches = *new std::map<std::tuple<long, long, long>, std::unique_ptr<Bench>>;
  const long classType = state.range(0), rows = state.range(1), engine = state.range(2);
  if (engine == 1 && Server().empty()) {
    state.SkipWithError("no PostgreSQL server (ZOV_BENCH_POSTGRESQL)");
    return nullptr;
  }
  auto& b = benches[{classType, rows, engine}];
  if (!b) b = std::make_unique<Bench>(classType, rows, engine);
  return b.get();
}

void ItemChange(benchmark::State& state) {
  Bench* bench = For(state);
  if (!bench) return;
  Bench& b = *bench;
  const long row = state.range(1) / 4;
  bool flip = false;
  for (auto _ : state) {
    if (!b.form.form->Edit(b.ItemKey(), row, (flip = !flip) ? "I001" : "I014"))
      state.SkipWithError("item change refused");
  }
}

void CustomerChange(benchmark::State& state) {
  Bench* bench = For(state);
  if (!bench) return;
  Bench& b = *bench;
  bool flip = false;
  for (auto _ : state) {
    if (!b.form.form->Edit("FCustID", -1, (flip = !flip) ? "C002" : "C001"))
      state.SkipWithError("customer change refused");
  }
}

void Save(benchmark::State& state) {
  Bench* bench = For(state);
  if (!bench) return;
  Bench& b = *bench;
  for (auto _ : state) {
    b.form.form->Edit("FNote", -1, "bench");
    b.ui->Queue({"Yes", "Yes", "Yes"});
    if (!b.form.form->Save()) state.SkipWithError("save refused");
  }
}

void Load(benchmark::State& state) {
  Bench* bench = For(state);
  if (!bench) return;
  Bench& b = *bench;
  for (auto _ : state) {
    if (!b.form.form->LoadBill(b.billId)) state.SkipWithError("load failed");
  }
}

BENCHMARK(ItemChange)
    ->ArgsProduct({{kSale, kExchange}, {100, 1000}, {0, 1}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(CustomerChange)
    ->ArgsProduct({{kSale, kExchange}, {100, 1000}, {0, 1}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(Save)
    ->ArgsProduct({{kSale, kExchange}, {100, 1000}, {0, 1}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(Load)
    ->ArgsProduct({{kSale, kExchange}, {100, 1000}, {0, 1}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
