// The browser host's server side on a sales bill of 10, 1,000 and 10,000 rows: what a request
// costs from the window's operation to the JSON text of its answer (the HTTP exchange aside).
// One quantity edit, one row added, a save of one changed row, a save of a new bill of all its
// rows, and opening the stored bill (read, full view). The window works on a thread of its own,
// so the times are wall-clock times and the CPU times those of the whole process.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>

#include "scenario/databases.h"
#include "web_session.h"
#include "zov/vb/convert.h"

namespace {

using namespace zov;
using web::Json;

constexpr long kSale = 1030002;

const sim::ScenarioDatabases& Databases() {
  static const auto dbs = sim::MakeScenarioDatabases(
      (std::filesystem::temp_directory_path() / ("zov-web-bench-" + std::to_string(::getpid())))
          .string());
  return dbs;
}

// Answers every question of an outcome with its first button (Yes, OK) until the operation ends.
Json Finish(web::Window& window, Json outcome) {
  for (int i = 0; outcome.contains("dialog") && i < 50; ++i) {
    const Json& d = outcome["dialog"];
    const int button =
        d.contains("buttons") && !d["buttons"].empty() ? d["buttons"][0].get<int>() : 1;
    outcome = window.Answer(Json{{"result", button}, {"ok", true}, {"ids", Json::array()}});
  }
  return outcome;
}

// A session of admin and a stored sales bill of `rows` rows of plain items: ten rows typed in
// and saved, then copied over in the database until the bill has its rows.
struct Bench {
  explicit Bench(long rows) {
    web::ServerSetup setup;
    setup.database = Databases().freshCopy("demo");
    setup.systemDirectory =
        (std::filesystem::temp_directory_path() / "zov-web-bench-system").string();
    setup.templates = Databases().templates;
    session = std::make_unique<web::WebSession>(setup, "admin");
    auto typing = session->NewBillWindow();
    typing->Open(kSale, 0, {});
    Op(*typing, {{"op", "edit"}, {"key", "FCustID"}, {"row", -1}, {"value", "C001"}});
    const char* items[] = {"I001", "I014", "I015", "I012"};
    const long typed = std::min(rows, 10L);
    Json paste = Json::array();
    for (long r = 1; r <= typed; ++r) paste.push_back(Json::array({items[r % 4], 1 + r % 3}));
    Op(*typing, {{"op", "paste"},
                 {"grid", 1},
                 {"row", 1},
                 {"keys", {"FItemID", "FShowQty"}},
                 {"rows", paste}});
    const Json saved = Op(*typing, {{"op", "tool"}, {"key", "mnuEditFileSave"}});
    billId = saved["view"]["billId"].get<long>();
    if (!saved["result"].value("ok", false) || billId == 0)
      throw std::runtime_error("the bench bill was not saved: " + saved.dump());
    session->CloseWindow(typing->id());
    Multiply(rows, typed);
    // Stock enough for any size: the plug-in's stock check lets every save through.
    session->host().Run("UPDATE t_cc_inventory SET FQty=1000000000");
    Reopen();
    const long shown = window->Current()["view"]["grids"][0]["rowCount"].get<long>();
    if (shown != rows)
      throw std::runtime_error("the bench bill has " + std::to_string(shown) + " rows");
  }

  // The window afresh on the stored bill.
  void Reopen() {
    if (window) session->CloseWindow(window->id());
    window = session->NewBillWindow();
    window->Open(kSale, billId, {});
  }

  Json Op(web::Window& w, const Json& request) { return Finish(w, w.Perform(request)); }
  Json Op(const Json& request) { return Op(*window, request); }

  // Copies the bill's rows in the database until it has `rows`, each with an entry ID of its own.
  void Multiply(long rows, long have) {
    auto& host = session->host();
    const auto columns = host.Run("SELECT * FROM t_CC_StockBillEntry WHERE 1=0")[0].columns;
    while (have < rows) {
      const long more = std::min(have, rows - have);
      const long top =
          vb::CLng(host.Run("SELECT MAX(FEntryID) FROM t_CC_StockBillEntry")[0].rows[0][0]);
      std::string names, values;
      for (const auto& c : columns) {
        names += (names.empty() ? "" : ",") + c.name;
        const std::string& n = c.name;
        values += values.empty() ? "" : ",";
        if (n == "FEntryID" || n == "lEntryID")  // a saved row's lEntryID repeats its entry ID
          values += "FEntryID + " + std::to_string(top);
        else if (n == "FIndex")
          values += "FIndex + " + std::to_string(have);
        else
          values += n;
      }
      host.Run("INSERT INTO t_CC_StockBillEntry (" + names + ") SELECT TOP " +
               std::to_string(more) + " " + values + " FROM t_CC_StockBillEntry WHERE FID=" +
               std::to_string(billId) + " ORDER BY FIndex");
      have += more;
    }
  }

  std::unique_ptr<web::WebSession> session;
  std::shared_ptr<web::BillWindow> window;
  long billId = 0;
};

// The bills of each size, made once; gone before main returns, while the plug-ins their windows
// hold are still loaded.
std::map<long, std::unique_ptr<Bench>> benches;

Bench& For(long rows) {
  auto& b = benches[rows];
  if (!b) b = std::make_unique<Bench>(rows);
  return *b;
}

void Edit(benchmark::State& state) {
  auto& b = For(state.range(0));
  const long row = std::max(1L, static_cast<long>(state.range(0)) / 2);
  int n = 0;
  for (auto _ : state) {
    const Json out =
        b.Op({{"op", "edit"}, {"key", "FShowQty"}, {"row", row}, {"value", 2 + (n++ % 5)}});
    benchmark::DoNotOptimize(out.dump());
    if (!out["result"].value("ok", false)) {
      state.SkipWithError("edit refused");
      break;
    }
  }
}

void AddRow(benchmark::State& state) {
  auto& b = For(state.range(0));
  for (auto _ : state) {
    const Json out = b.Op({{"op", "addRow"}, {"grid", 1}});
    benchmark::DoNotOptimize(out.dump());
    state.PauseTiming();
    b.Op({{"op", "deleteRow"}, {"grid", 1}, {"row", out["result"]["row"]}});
    state.ResumeTiming();
  }
}

// A stored bill with one row changed: the save writes that row.
void Save(benchmark::State& state) {
  auto& b = For(state.range(0));
  int n = 0;
  for (auto _ : state) {
    state.PauseTiming();
    b.Op({{"op", "edit"}, {"key", "FShowQty"}, {"row", 1}, {"value", 2 + (n++ % 5)}});
    state.ResumeTiming();
    const Json out = b.Op({{"op", "tool"}, {"key", "mnuEditFileSave"}});
    benchmark::DoNotOptimize(out.dump());
    if (!out["result"].value("ok", false)) {
      state.SkipWithError("save refused");
      break;
    }
  }
}

// A new bill of all the rows (a copy of the stored one): the save writes every row.
void SaveNew(benchmark::State& state) {
  auto& b = For(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    b.Reopen();
    b.Op({{"op", "tool"}, {"key", "mnuEditCopy"}});
    state.ResumeTiming();
    const Json out = b.Op({{"op", "tool"}, {"key", "mnuEditFileSave"}});
    benchmark::DoNotOptimize(out.dump());
    if (!out["result"].value("ok", false)) {
      state.SkipWithError("save refused");
      break;
    }
  }
  b.Reopen();
}

// Opening the stored bill in a window: read, and its view in full.
void Open(benchmark::State& state) {
  auto& b = For(state.range(0));
  for (auto _ : state) {
    auto window = b.session->NewBillWindow();
    const Json out = window->Open(kSale, b.billId, {});
    benchmark::DoNotOptimize(out.dump());
    state.PauseTiming();
    b.session->CloseWindow(window->id());
    state.ResumeTiming();
  }
}

void Sizes(benchmark::internal::Benchmark* bench) {
  bench->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(Edit)
    ->Apply(Sizes)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(AddRow)
    ->Apply(Sizes)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(Save)->Apply(Sizes)->Iterations(10)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(SaveNew)->Apply(Sizes)->Iterations(3)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(Open)->Apply(Sizes)->Iterations(3)->UseRealTime()->MeasureProcessCPUTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  benches.clear();
  return 0;
}
