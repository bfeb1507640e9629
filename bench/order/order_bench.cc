// The sales order with its plug-in on the substitute host and the embedded demo database, on
// orders of 100 and 1,000 rows: an item change (with the availability figures of the row), a save
// (its checks, the purchase-link refresh and the order read again), and a copy in the list (the
// availability of every row from the copied cells).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>

#include "list/bill_list.h"
#include "scenario/databases.h"
#include "session/data_connection.h"
#include "session/scripted_ui.h"
#include "zov/vb/datetime.h"

namespace {

using namespace zov;

constexpr long kOrderClass = 1030001;

// A session with a saved order of `rows` rows of C001, and the order list.
struct Order {
  explicit Order(long rows) {
    static const auto databases = sim::MakeScenarioDatabases(
        (std::filesystem::temp_directory_path() / ("zov-order-bench-" + std::to_string(::getpid())))
            .string());
    sim::SessionOptions options;
    options.clock = vb::DateFromParts({2026, 12, 5, 10, 0, 0});
    ui = sim::ScriptedUi::New();
    session = std::make_unique<sim::Session>(sim::ConnectToDatabase(databases.freshCopy("demo")),
                                             databases.templates, options, ui);
    // Room in C001's credit for the large orders: the credit check runs and passes unasked.
    session->Run("UPDATE t_Organization SET FCreditAmount=100000000 WHERE FNumber='C001'");
    form = session->OpenBill(kOrderClass);
    auto& bill = *form.form;
    bill.NewBill();
    bill.Edit("FCustID", -1, "C001");
    const char* items[] = {"I001", "I002", "I009", "I015"};
    for (long r = 1; r <= rows; ++r) {
      if (r > bill.RowCount()) bill.AddRow();
      bill.Edit("FItemID", r, items[r % 4]);
      bill.Edit("FShowQty", r, 1 + r % 5);
    }
    if (!bill.Save())
      throw std::runtime_error("the bench order was not saved: " +
                               (ui->messages().empty() ? "" : ui->messages().back().text));
    list = session->OpenList(kOrderClass);
    list.list->SelectIds({bill.CurBillID()});
  }
  ~Order() {
    list = sim::Session::ListForm{};
    form = sim::OpenForm{};
  }

  vb::Ref<sim::ScriptedUi> ui;
  std::unique_ptr<sim::Session> session;
  sim::OpenForm form;
  sim::Session::ListForm list;
};

// The orders live until main ends them, before the host's own statics go.
std::map<long, std::unique_ptr<Order>>& Orders() {
  static std::map<long, std::unique_ptr<Order>> orders;
  return orders;
}

Order& OrderOf(long rows) {
  auto& o = Orders()[rows];
  if (!o) o = std::make_unique<Order>(rows);
  return *o;
}

void OrderItemChange(benchmark::State& state) {
  auto& o = OrderOf(state.range(0));
  const long row = state.range(0) / 2;
  bool flip = false;
  for (auto _ : state)
    if (!o.form.form->Edit("FItemID", row, (flip = !flip) ? "I002" : "I001"))
      state.SkipWithError("item change refused");
}

void OrderSave(benchmark::State& state) {
  auto& o = OrderOf(state.range(0));
  for (auto _ : state) {
    o.form.form->Edit("FNote", -1, "bench");
    if (!o.form.form->Save()) state.SkipWithError("save refused");
  }
}

void OrderListCopy(benchmark::State& state) {
  auto& o = OrderOf(state.range(0));
  for (auto _ : state)
    if (!o.list.list->CopySelected(false)) state.SkipWithError("copy refused");
}

BENCHMARK(OrderItemChange)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(OrderSave)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(OrderListCopy)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  Orders().clear();
  return 0;
}
