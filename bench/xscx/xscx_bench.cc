// The special-price bill with its plug-in on the substitute host and the embedded demo database:
// the row checks of a save over every row, the regular prices of every row fetched again after a
// customer selection, and the batch discount rate, on bills of 100 and 1,000 rows.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>

#include "bill/bill_form.h"
#include "scenario/databases.h"
#include "session/data_connection.h"
#include "session/scripted_ui.h"
#include "zov/vb/datetime.h"

namespace {

using namespace zov;

const sim::ScenarioDatabases& Databases() {
  static const auto dbs = sim::MakeScenarioDatabases(
      (std::filesystem::temp_directory_path() / ("zov-xscx-bench-" + std::to_string(::getpid())))
          .string());
  return dbs;
}

// A session with a special-price bill of `rows` priced rows. The demo set has fewer items than
// rows, so items repeat: the row checks then go through every row and refuse at the end.
struct Bench {
  explicit Bench(long rows) {
    sim::SessionOptions options;
    options.clock = vb::DateFromParts({2026, 12, 5, 10, 0, 0});
    ui = sim::ScriptedUi::New();
    session = std::make_unique<sim::Session>(sim::ConnectToDatabase(Databases().freshCopy("demo")),
                                             Databases().templates, options, ui);
    form = session->OpenBill(1030006);
    form.form->NewBill();
    const char* items[] = {"I001", "I014", "I015", "I002"};
    for (long r = 1; r <= rows; ++r) {
      if (r > form.form->RowCount()) form.form->AddRow();
      form.form->Edit("FItemID", r, items[r % 4]);
      form.form->Edit("FNewPrice", r, 1);
    }
  }
  ~Bench() { form = sim::OpenForm{}; }

  vb::Ref<sim::ScriptedUi> ui;
  std::unique_ptr<sim::Session> session;
  sim::OpenForm form;
};

Bench& For(long rows) {
  static std::map<long, std::unique_ptr<Bench>> benches;
  auto& b = benches[rows];
  if (!b) b = std::make_unique<Bench>(rows);
  return *b;
}

void SaveRowChecks(benchmark::State& state) {
  auto& b = For(state.range(0));
  for (auto _ : state) {
    if (b.form.form->ClickTool("mnuEditFileSave")) state.SkipWithError("the repeated rows passed");
  }
}

void CustomerSelection(benchmark::State& state) {
  auto& b = For(state.range(0));
  bool flip = false;
  for (auto _ : state) {
    b.ui->Queue({(flip = !flip) ? "C002" : "C001,C003"});
    if (!b.form.form->ClickControl("customCtl1")) state.SkipWithError("selection refused");
  }
}

void BatchDiscountRate(benchmark::State& state) {
  auto& b = For(state.range(0));
  for (auto _ : state) {
    b.ui->Queue({"85"});
    if (!b.form.form->ClickTool("mnuDiscountRate")) state.SkipWithError("batch rate refused");
  }
}

BENCHMARK(SaveRowChecks)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(CustomerSelection)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BatchDiscountRate)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
