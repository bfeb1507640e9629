#include "scenario/databases.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>

#include "session/data_connection.h"

namespace zov::sim {

namespace fs = std::filesystem;

std::shared_ptr<const TemplateSet> HostTemplates() {
  const char* env = std::getenv("ZOV_TEMPLATE_DIR");
  const std::string dir = env && *env ? env : ZOV_TEMPLATE_DIR;
  return std::make_shared<const TemplateSet>(LoadTemplates(dir));
}

ScenarioDatabases MakeScenarioDatabases(const std::string& workDir, const std::string& demoMaster) {
  fs::create_directories(workDir);
  struct Masters {
    std::mutex mutex;
    std::map<std::string, std::string> paths;
    std::atomic<int> copies{0};
  };
  auto masters = std::make_shared<Masters>();
  if (!demoMaster.empty()) masters->paths["demo"] = demoMaster;

  ScenarioDatabases dbs;
  dbs.templates = HostTemplates();
  dbs.connect = [](const std::string& path) { return ConnectToFile(path); };
  dbs.freshCopy = [masters, workDir](const std::string& kind) {
    std::string master;
    {
      std::lock_guard lock(masters->mutex);
      auto it = masters->paths.find(kind);
      if (it == masters->paths.end()) {
        const std::string path = (fs::path(workDir) / (kind + "-master.db")).string();
        InitializeDatabase(path, kind == "demo");
        it = masters->paths.emplace(kind, path).first;
      }
      master = it->second;
    }
    const std::string copy =
        (fs::path(workDir) / (kind + "-" + std::to_string(++masters->copies) + ".db")).string();
    for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(copy + suffix);
    fs::copy_file(master, copy, fs::copy_options::overwrite_existing);
    return copy;
  };
  return dbs;
}

}  // namespace zov::sim
