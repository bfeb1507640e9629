// A session of the substitute host on a fresh copy of the demo account set, for the host's tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engines.h"
#include "scenario/databases.h"
#include "session/data_connection.h"
#include "session/scripted_ui.h"
#include "session/session.h"
#include "zov/vb/datetime.h"

namespace zov::testing {

// The demo database, set up once per test program and copied for every test (on the test
// server when the program runs on PostgreSQL).
inline const sim::ScenarioDatabases& TestDatabases() {
  static const sim::ScenarioDatabases databases = sim::MakeScenarioDatabases(
      (std::filesystem::temp_directory_path() / ("zov-host-test-" + std::to_string(::getpid())))
          .string(),
      "", TestServer());
  return databases;
}

class HostTest : public ::testing::Test {
 protected:
  // A session of `user` on a fresh copy of the demo set, with `templates` (default: the host's).
  std::unique_ptr<sim::Session> Open(const std::string& user = "admin",
                                     std::shared_ptr<const sim::TemplateSet> templates = nullptr,
                                     sim::SessionOptions options = {}) {
    if (path_.empty()) path_ = TestDatabases().freshCopy("demo");
    options.user = user;
    if (!options.clock) options.clock = vb::DateFromParts({2026, 12, 5, 10, 0, 0});
    ui_ = sim::ScriptedUi::New();
    return std::make_unique<sim::Session>(sim::ConnectToDatabase(path_),
                                          templates ? templates : TestDatabases().templates,
                                          options, ui_);
  }
  ~HostTest() override {
    std::error_code ec;
    if (!path_.empty())
      for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path_ + suffix, ec);
  }

  std::string path_;
  vb::Ref<sim::ScriptedUi> ui_;
};

}  // namespace zov::testing
