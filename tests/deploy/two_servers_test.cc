// Two zov-web processes in front of one account set, as a company runs them on a database server:
// clerks of both save and audit bills at the same moment. Every save lands, every bill number is
// given once, and each process sees the bills the other audited.
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

#include "components/user_login.h"
#include "data/database.h"
#include "engines.h"
#include "session/data_connection.h"

namespace zov::testing {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

constexpr long kPurchase = 1020002;
constexpr int kClerksPerServer = 2;
constexpr int kBillsPerClerk = 6;

// A zov-web process on `database`, stopped when this goes.
class WebProcess {
 public:
  WebProcess(const std::string& database, const fs::path& data) {
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe failed");
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      close(out[0]);
      close(out[1]);
      execl(ZOV_WEB_BINARY, ZOV_WEB_BINARY, "--port", "0", "--data", data.c_str(), "--db",
            database.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(out[1]);
    // The server prints its address once it listens.
    FILE* lines = fdopen(out[0], "r");
    char line[1024];
    while (port_ == 0 && fgets(line, sizeof line, lines)) {
      const char* at = std::strstr(line, "http://127.0.0.1:");
      if (at) port_ = std::atoi(at + std::strlen("http://127.0.0.1:"));
    }
    reader_ = std::thread([lines] {
      char rest[1024];
      while (fgets(rest, sizeof rest, lines)) {
      }
      fclose(lines);
    });
  }
  ~WebProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      int status = 0;
      waitpid(pid_, &status, 0);
    }
    if (reader_.joinable()) reader_.join();
  }
  int port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  std::thread reader_;
};

// One clerk's browser session with a server.
class Clerk {
 public:
  explicit Clerk(int port)
      : client_("127.0.0.1", port), origin_(fmt::format("http://127.0.0.1:{}", port)) {
    client_.set_read_timeout(60, 0);
    auto res = Post("/api/login", Json{{"user", "admin"}, {"password", "Admin@2026"}});
    if (!res || res->status != 200)
      throw std::runtime_error("login failed: " + (res ? res->body : std::string("no answer")));
    const std::string cookie = res->get_header_value("Set-Cookie");
    cookie_ = cookie.substr(0, cookie.find(';'));
  }

  // Saves and audits a new purchase bill; its number, or "" with `error` set.
  std::string SaveAndAuditBill(int quantity, std::string& error) {
    Json opened = Call("/api/windows", Json{{"kind", "bill"}, {"classTypeId", kPurchase}});
    const int window = opened["window"]["id"];
    const std::string op = fmt::format("/api/windows/{}/op", window);
    Call(op, Json{{"op", "edit"}, {"key", "FSupplyID"}, {"row", -1}, {"value", "S001"}});
    Call(op, Json{{"op", "edit"}, {"key", "FItemID"}, {"row", 1}, {"value", "I001"}});
    Call(op, Json{{"op", "edit"}, {"key", "FShowQty"}, {"row", 1}, {"value", quantity}});
    Json saved = Call(op, Json{{"op", "tool"}, {"key", "mnuEditFileSave"}});
    std::string billNo;
    if (saved.contains("result") && saved["result"].value("ok", false)) {
      for (const auto& f : saved["view"]["head"])
        if (f["key"] == "FBillNo") billNo = f["text"];
      Json audited = Call(op, Json{{"op", "tool"}, {"key", "mnuEditCheck"}});
      if (!audited.contains("result") || !audited["result"].value("ok", false))
        error = "audit: " + audited.dump();
    } else {
      error = "save: " + saved.dump();
    }
    Call(fmt::format("/api/windows/{}/close", window), Json::object());
    return billNo;
  }

  // The purchase bill list: bill number to status as the list shows it, as this session sees it.
  std::map<std::string, std::string> ListedBills() {
    Json opened = Call("/api/windows", Json{{"kind", "list"}, {"classTypeId", kPurchase}});
    const Json& view = opened["view"];
    int number = -1, status = -1;
    for (std::size_t i = 0; i < view["columns"].size(); ++i) {
      if (view["columns"][i]["key"] == "FBillNo") number = static_cast<int>(i);
      if (view["columns"][i]["key"] == "FStatus") status = static_cast<int>(i);
    }
    std::map<std::string, std::string> bills;
    for (const auto& row : view["rows"]) {
      const Json& s = row["cells"][status];
      bills[row["cells"][number].get<std::string>()] =
          s.is_string() ? s.get<std::string>() : s.dump();
    }
    return bills;
  }

  Json Journal() {
    auto res = client_.Get("/api/journal", {{"Cookie", cookie_}});
    return res ? Json::parse(res->body) : Json();
  }

 private:
  httplib::Result Post(const std::string& path, const Json& body) {
    httplib::Headers headers{{"Origin", origin_}};
    if (!cookie_.empty()) headers.emplace("Cookie", cookie_);
    return client_.Post(path, headers, body.dump(), "application/json");
  }
  Json Call(const std::string& path, const Json& body) {
    auto res = Post(path, body);
    if (!res) throw std::runtime_error("no answer to " + path);
    return Json::parse(res->body);
  }

  httplib::Client client_;
  std::string origin_;
  std::string cookie_;
};

TEST(TwoServers, ConcurrentSavesGetUniqueNumbersAndAllLand) {
  const fs::path dir = fs::temp_directory_path() / fmt::format("zov-two-servers-{}", ::getpid());
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string database = FreshDatabase(dir, "two_servers");
  sim::InitializeDatabase(database, true);
  sim::SetDemoPasswords(*sim::ConnectToDatabase(database));
  std::set<std::string> before;
  {
    auto db = data::Database::Open(database);
    auto s = db->NewSession();
    const data::BatchResult existing =
        s->Execute("SELECT FBillNo FROM t_cc_stockbill WHERE FClassTypeID = 1020002");
    for (const auto& row : existing.resultSets.at(0).rows) before.insert(row[0].AsString());
  }

  {
    WebProcess first(database, dir / "first");
    WebProcess second(database, dir / "second");
    ASSERT_GT(first.port(), 0);
    ASSERT_GT(second.port(), 0);

    std::mutex mutex;
    std::vector<std::string> numbers;
    std::vector<std::string> errors;
    std::vector<std::thread> clerks;
    std::atomic<int> ready{0};
    for (int server = 0; server < 2; ++server)
      for (int c = 0; c < kClerksPerServer; ++c)
        clerks.emplace_back([&, server] {
          try {
            Clerk clerk(server == 0 ? first.port() : second.port());
            // Everyone starts saving at once.
            ++ready;
            while (ready < 2 * kClerksPerServer) std::this_thread::yield();
            for (int i = 0; i < kBillsPerClerk; ++i) {
              std::string error;
              const std::string no = clerk.SaveAndAuditBill(i + 1, error);
              std::lock_guard lock(mutex);
              if (!no.empty()) numbers.push_back(no);
              if (!error.empty()) errors.push_back(error);
            }
            const Json journal = clerk.Journal();
            if (journal.value("count", -1) != 0) {
              std::lock_guard lock(mutex);
              errors.push_back("journal: " + journal.dump());
            }
          } catch (const std::exception& e) {
            std::lock_guard lock(mutex);
            errors.push_back(e.what());
          }
        });
    for (auto& t : clerks) t.join();

    for (const std::string& e : errors) ADD_FAILURE() << e;
    const int total = 2 * kClerksPerServer * kBillsPerClerk;
    ASSERT_EQ(static_cast<int>(numbers.size()), total);
    const std::set<std::string> unique(numbers.begin(), numbers.end());
    EXPECT_EQ(unique.size(), numbers.size()) << "a bill number was given twice";
    std::cout << fmt::format("two servers: {} bills saved and audited, {} numbers, {} errors\n",
                             numbers.size(), unique.size(), errors.size());

    // Each process lists every bill, audited, whichever process saved it.
    for (int server = 0; server < 2; ++server) {
      Clerk reader(server == 0 ? first.port() : second.port());
      const auto listed = reader.ListedBills();
      for (const std::string& no : unique) {
        auto it = listed.find(no);
        ASSERT_NE(it, listed.end()) << no << " missing from the list of server " << server + 1;
        EXPECT_EQ(it->second, "已审核")
            << no << " not audited in the list of server " << server + 1;
      }
    }
  }

  // And the database holds them whole: a head and its row each.
  auto db = data::Database::Open(database);
  auto s = db->NewSession();
  const auto rows =
      s->Execute(
           "SELECT h.FBillNo, h.FStatus, COUNT(e.FEntryID) FROM t_cc_stockbill h LEFT JOIN "
           "t_cc_stockbillentry e ON e.FID = h.FID WHERE h.FClassTypeID = 1020002 GROUP BY "
           "h.FBillNo, h.FStatus")
          .resultSets.at(0)
          .rows;
  int fresh = 0;
  for (const auto& row : rows) {
    if (before.count(row[0].AsString())) continue;
    ++fresh;
    EXPECT_EQ(row[1].AsLong(), 1) << row[0].AsString();
    EXPECT_EQ(row[2].AsLong(), 1) << row[0].AsString();
  }
  EXPECT_EQ(fresh, 2 * kClerksPerServer * kBillsPerClerk);
  db.reset();
  s.reset();
  data::Database::Drop(database);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace zov::testing
