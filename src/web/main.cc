// zov-web: the browser host. A person logs in as a user of the demo account set, opens the
// sales bills and their lists, and works with them while the plug-ins' rules run.
//
//   zov-web [--port N] [--data DIR] [--db LOCATION] [--reset] [--session-idle SECONDS]
//           [--sessions-per-user N]
//
// The data folder holds the plug-ins' log files and, unless --db names another, the account
// set's database (demo.db, created with the demo account set and its users' passwords on first
// start). Without --data it is ~/.local/share/zov-web, or ./zov-web-data when there is no home
// folder. With --db postgresql://... the account set lives on a PostgreSQL server, set up once
// with zov db init; any number of zov-web processes may serve it. What fails in a session (a
// statement, a handler) is written to the standard error, with the user.
#include <signal.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <thread>

#include "components/user_login.h"
#include "data/database.h"
#include "scenario/databases.h"
#include "server.h"
#include "session/data_connection.h"
#include "session/plugin_loader.h"
#include "zov/vb/strings.h"

namespace {

namespace fs = std::filesystem;

std::string DefaultDataDirectory() {
  if (const char* home = std::getenv("HOME"); home && *home)
    return (fs::path(home) / ".local/share/zov-web").string();
  return (fs::current_path() / "zov-web-data").string();
}

// Writes the classes of a plug-in library into the account set's component registry.
class RegistryWriter final : public zov::vb::Implements<zov::host::IComponentRegistry> {
 public:
  explicit RegistryWriter(zov::sim::SqlConnection& db) : db_(db) {}
  std::string TypeName() const override { return "ComponentRegistry"; }
  void RegisterClass(const zov::vb::Guid& clsid, std::string_view progId, std::string_view path,
                     std::string_view description) override {
    auto q = [](std::string_view s) { return "N'" + zov::vb::Replace(s, "'", "''") + "'"; };
    db_.Execute(
        "DELETE FROM t_ComponentRegistry WHERE FProgID=" + q(progId) +
        "\nINSERT INTO t_ComponentRegistry (FProgID, FCLSID, FLibraryPath, FDescription) VALUES (" +
        q(progId) + "," + q(clsid.ToString()) + "," + q(path) + "," + q(description) + ")");
  }
  void UnregisterClass(const zov::vb::Guid&, std::string_view) override {}

 private:
  zov::sim::SqlConnection& db_;
};

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"zov-web: the browser host of the sales plug-ins"};
  int port = 8080;
  std::string data = DefaultDataDirectory();
  bool reset = false;
  app.add_option("--port", port, "the port on 127.0.0.1 (0: any free port)")->capture_default_str();
  app.add_option("--data", data, "the data folder (database and log files)")->capture_default_str();
  std::string database;
  app.add_option("--db", database,
                 "the account set's database: a file, or a postgresql:// connection string "
                 "(default: demo.db in the data folder)");
  app.add_flag("--reset", reset, "set the demo account set up afresh");
  long idle = 30 * 60;
  std::size_t perUser = 5;
  app.add_option("--session-idle", idle, "seconds after which an unused session ends")
      ->check(CLI::Range(1L, 7L * 24 * 3600))
      ->capture_default_str();
  app.add_option("--sessions-per-user", perUser, "sessions a user may hold at once")
      ->check(CLI::Range(1, 1000))
      ->capture_default_str();
  CLI11_PARSE(app, argc, argv);

  // The signals that stop the server are taken by one thread of their own.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  zov::web::ServerSetup setup;
  setup.limits.sessionIdle = std::chrono::seconds(idle);
  setup.limits.windowIdle = std::chrono::seconds(idle);
  setup.limits.sessionsPerUser = perUser;
  // The journal of every session goes to the server's log, statement and all.
  setup.journalLog = [](const std::string& user, const zov::sim::JournalEntry& e) {
    static std::mutex out;
    std::lock_guard hold(out);
    std::cerr << "zov-web: [" << user << "] " << e.kind << " failed"
              << (e.where.empty() ? "" : " in " + e.where) << ": " << e.error << "\n";
    if (!e.text.empty()) std::cerr << "    " << e.text << "\n";
    std::cerr.flush();
  };
  try {
    fs::create_directories(data);
    setup.database = database.empty() ? (fs::path(data) / "demo.db").string() : database;
    setup.systemDirectory = (fs::path(data) / "system").string();
    fs::create_directories(setup.systemDirectory);
    // A server's database is set up once (zov db init), whatever number of processes serve it.
    const bool onServer = zov::data::IsServerLocation(setup.database);
    if (reset || (!onServer && !fs::exists(setup.database))) {
      std::cout << "zov-web: setting up the demo account set in "
                << zov::data::Database::Shown(setup.database) << std::endl;
      zov::sim::InitializeDatabase(setup.database, true);
      zov::sim::SetDemoPasswords(*zov::sim::ConnectToDatabase(setup.database));
    } else {
      // A database of an earlier version gets the host's newer tables and columns.
      auto db = zov::sim::ConnectToDatabase(setup.database);
      zov::sim::UpgradeDatabase(*db);
      if (zov::sim::AddPasswordColumns(*db))
        std::cout << "zov-web: the users of " << zov::data::Database::Shown(setup.database)
                  << " have no passwords yet: set them with zov user passwd" << std::endl;
      // The plug-in library beside this program serves the bills, whichever build set the
      // database up.
      const std::string library = zov::sim::DefaultPluginLibrary();
      if (fs::exists(library)) {
        auto registry = zov::vb::Ref<RegistryWriter>::Adopt(new RegistryWriter(*db));
        zov::sim::RegisterLibrary(library, *registry);
      }
    }
    setup.templates = zov::sim::HostTemplates();
  } catch (const std::exception& e) {
    std::cerr << "zov-web: " << e.what() << std::endl;
    return 1;
  }

  zov::web::WebServer server(setup);
  const int bound = server.Bind(port);
  if (bound <= 0) {
    std::cerr << "zov-web: cannot listen on 127.0.0.1:" << port << std::endl;
    return 1;
  }
  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
  });
  std::cout << "zov-web: http://127.0.0.1:" << bound << "/  (data: " << data
            << ", database: " << zov::data::Database::Shown(setup.database) << ")" << std::endl;
  server.Listen();
  // Whatever ended the serving, the stopper thread ends too: a signal of our own reaches it (or
  // stays pending and blocked when a signal already did).
  kill(getpid(), SIGTERM);
  stopper.join();
  server.CloseSessions();
  std::cout << "zov-web: stopped" << std::endl;
  return 0;
}
