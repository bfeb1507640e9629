#include "scenario/databases.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>

#include "data/database.h"
#include "session/data_connection.h"

namespace zov::sim {

namespace fs = std::filesystem;

std::shared_ptr<const TemplateSet> HostTemplates() {
  const char* env = std::getenv("ZOV_TEMPLATE_DIR");
  const std::string dir = env && *env ? env : ZOV_TEMPLATE_DIR;
  return std::make_shared<const TemplateSet>(LoadTemplates(dir));
}

ScenarioDatabases MakeScenarioDatabases(const std::string& workDir, const std::string& demoMaster,
                                        const std::string& server) {
  fs::create_directories(workDir);
  // On a server, masters and copies are databases of their own, dropped with the last user of
  // this set; in files, they live in the working directory.
  const std::string host = !server.empty()                      ? server
                           : data::IsServerLocation(demoMaster) ? demoMaster
                                                                : "";
  struct Masters {
    std::mutex mutex;
    std::map<std::string, std::string> paths;
    std::atomic<int> copies{0};
    std::vector<std::string> made;  // server databases to drop
    ~Masters() {
      for (const std::string& location : made) {
        try {
          data::Database::Drop(location);
        } catch (...) {
        }
      }
    }
  };
  auto masters = std::make_shared<Masters>();
  if (!demoMaster.empty()) masters->paths["demo"] = demoMaster;
  const std::string prefix = "zov_" + std::to_string(::getpid()) + "_";
  auto place = [workDir, host, prefix](const std::string& name) {
    return host.empty() ? (fs::path(workDir) / (name + ".db")).string()
                        : data::Database::Named(host, prefix + name);
  };

  ScenarioDatabases dbs;
  dbs.templates = HostTemplates();
  dbs.connect = [](const std::string& location) { return ConnectToDatabase(location); };
  dbs.freshCopy = [masters, place, host](const std::string& kind) {
    std::string master;
    {
      std::lock_guard lock(masters->mutex);
      auto it = masters->paths.find(kind);
      if (it == masters->paths.end()) {
        const std::string location = place(kind + "-master");
        if (!host.empty()) masters->made.push_back(location);
        InitializeDatabase(location, kind == "demo");
        it = masters->paths.emplace(kind, location).first;
      }
      master = it->second;
    }
    const std::string copy = place(kind + "-" + std::to_string(++masters->copies));
    if (!host.empty()) {
      std::lock_guard lock(masters->mutex);
      masters->made.push_back(copy);
    }
    data::Database::Copy(master, copy);
    return copy;
  };
  return dbs;
}

}  // namespace zov::sim
