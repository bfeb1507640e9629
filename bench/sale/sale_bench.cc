// The sales bill with its plug-in on the substitute host and the embedded demo database: one
// row's item change, a customer change that re-prices every row, saving (with its validation)
// and loading, on bills of 100 and 1,000 rows.
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

// A session with a sales bill of `rows` rows of plain items, saved once.
struct Bench {
  explicit Bench(long rows) {
    sim::SessionOptions options;
    options.clock = vb::DateFromParts({2026, 12, 5, 10, 0, 0});
    ui = sim::ScriptedUi::New();
    session = std::make_unique<sim::Session>(sim::ConnectToDatabase(Databases().freshCopy("demo")),
                                             Databases().templates, options, ui);
    form = session->OpenBill(1030002);
    form.form->NewBill();
    form.form->Edit("FCustID", -1, "C001");
    const char* items[] = {"I001", "I014", "I015", "I012"};
    for (long r = 1; r <= rows; ++r) {
      if (r > form.form->RowCount()) form.form->AddRow();
      form.form->Edit("FItemID", r, items[r % 4]);
      form.form->Edit("FShowQty", r, 1 + r % 3);
    }
    ui->Queue(std::vector<std::string>(8, "Yes"));
    if (!form.form->Save()) throw std::runtime_error("the bench bill was not saved");
    billId = form.form->CurBillID();
  }
  ~Bench() { form = sim::OpenForm{}; }

  vb::Ref<sim::ScriptedUi> ui;
  std::unique_ptr<sim::Session> session;
  sim::OpenForm form;
  long billId = 0;
};

Bench& For(long rows) {
  static std::map<long, std::unique_ptr<Bench>> benches;
  auto& b = benches[rows];
  if (!b) b = std::make_unique<Bench>(rows);
  return *b;
}

void ItemChange(benchmark::State& state) {
  auto& b = For(state.range(0));
  const long row = state.range(0) / 2;
  bool flip = false;
  for (auto _ : state) {
    if (!b.form.form->Edit("FItemID", row, (flip = !flip) ? "I001" : "I014"))
      state.SkipWithError("item change refused");
  }
}

void CustomerChange(benchmark::State& state) {
  auto& b = For(state.range(0));
  bool flip = false;
  for (auto _ : state) {
    if (!b.form.form->Edit("FCustID", -1, (flip = !flip) ? "C002" : "C001"))
      state.SkipWithError("customer change refused");
  }
}

void Save(benchmark::State& state) {
  auto& b = For(state.range(0));
  for (auto _ : state) {
    b.form.form->Edit("FNote", -1, "bench");
    b.ui->Queue({"Yes", "Yes", "Yes"});
    if (!b.form.form->Save()) state.SkipWithError("save refused");
  }
}

void Load(benchmark::State& state) {
  auto& b = For(state.range(0));
  for (auto _ : state) {
    if (!b.form.form->LoadBill(b.billId)) state.SkipWithError("load failed");
  }
}

BENCHMARK(ItemChange)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(CustomerChange)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(Save)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(Load)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
