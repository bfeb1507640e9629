// The engine a test program's databases live on. A test registered for both engines runs once on
// SQLite files and once, labelled "postgresql", with ZOV_TEST_ENGINE=postgresql on the throw-away
// server scripts/test starts (ZOV_TEST_POSTGRESQL holds its connection string).
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "data/database.h"

namespace zov::testing {

// The PostgreSQL server of this run, or "" when it runs on SQLite files.
inline std::string TestServer() {
  const char* engine = std::getenv("ZOV_TEST_ENGINE");
  if (!engine || std::string(engine) != "postgresql") return "";
  const char* server = std::getenv("ZOV_TEST_POSTGRESQL");
  if (!server || !*server)
    throw std::runtime_error(
        "the PostgreSQL run needs a server: ZOV_TEST_POSTGRESQL names it (scripts/test starts "
        "one)");
  return server;
}

// The location of a new, empty database called `name`: a file in `dir`, or a database of the
// test server (named for this process, so that test programs running at once never meet).
inline std::string FreshDatabase(const std::filesystem::path& dir, const std::string& name) {
  const std::string server = TestServer();
  std::string location;
  if (server.empty()) {
    location = (dir / (name + ".db")).string();
  } else {
    std::string safe = "zov_" + std::to_string(::getpid()) + "_";
    for (char c : name) safe += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    location = data::Database::Named(server, safe.substr(0, 63));
  }
  data::Database::Create(location);
  return location;
}

}  // namespace zov::testing
