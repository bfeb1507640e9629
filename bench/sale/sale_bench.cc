// The sales bill and its second type with their plug-ins on the substitute host and the embedded
// demo database: one row's item change, a customer change that re-prices every row (the second
// type: every row of its first grid), saving (with its validation) and loading, on bills of 100
// and 1,000 rows (the second type's split between its two grids).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>

#include "scenario/databases.h"
#include "session/data_connection.h"
#include "session/scripted_ui.h"
#include "zov/vb/datetime.h"

namespace {

using namespace zov;

const sim::ScenarioDatabases& Databases() {
  static const auto dbs = sim::MakeScenarioDatabases(
      (std::filesystem::temp_directory_path() / ("zov-sale-bench-" + std::to_string(::getpid())))
          .string());
  return dbs;
}

constexpr long kSale = 1030002;
constexpr long kExchange = 1030005;

// A session with a bill of class `classType` of `rows` rows of plain items, saved once.
struct Bench {
  Bench(long classType, long rows) : twoGrids(classType == kExchange) {
    sim::SessionOptions options;
    options.clock = vb::DateFromParts({2026, 12, 5, 10, 0, 0});
    ui = sim::ScriptedUi::New();
    session = std::make_unique<sim::Session>(sim::ConnectToFile(Databases().freshCopy("demo")),
                                             Databases().templates, options, ui);
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

// The bench of the state's class (argument 0) and rows (argument 1).
Bench& For(const benchmark::State& state) {
  // Never destroyed: the sessions would end after the host's own statics at exit.
  static auto& benches = *new std::map<std::pair<long, long>, std::unique_ptr<Bench>>;
  auto& b = benches[{state.range(0), state.range(1)}];
  if (!b) b = std::make_unique<Bench>(state.range(0), state.range(1));
  return *b;
}

void ItemChange(benchmark::State& state) {
  auto& b = For(state);
  const long row = state.range(1) / 4;
  bool flip = false;
  for (auto _ : state) {
    if (!b.form.form->Edit(b.ItemKey(), row, (flip = !flip) ? "I001" : "I014"))
      state.SkipWithError("item change refused");
  }
}

void CustomerChange(benchmark::State& state) {
  auto& b = For(state);
  bool flip = false;
  for (auto _ : state) {
    if (!b.form.form->Edit("FCustID", -1, (flip = !flip) ? "C002" : "C001"))
      state.SkipWithError("customer change refused");
  }
}

void Save(benchmark::State& state) {
  auto& b = For(state);
  for (auto _ : state) {
    b.form.form->Edit("FNote", -1, "bench");
    b.ui->Queue({"Yes", "Yes", "Yes"});
    if (!b.form.form->Save()) state.SkipWithError("save refused");
  }
}

void Load(benchmark::State& state) {
  auto& b = For(state);
  for (auto _ : state) {
    if (!b.form.form->LoadBill(b.billId)) state.SkipWithError("load failed");
  }
}

BENCHMARK(ItemChange)
    ->ArgsProduct({{kSale, kExchange}, {100, 1000}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(CustomerChange)
    ->ArgsProduct({{kSale, kExchange}, {100, 1000}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(Save)
    ->ArgsProduct({{kSale, kExchange}, {100, 1000}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(Load)
    ->ArgsProduct({{kSale, kExchange}, {100, 1000}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
