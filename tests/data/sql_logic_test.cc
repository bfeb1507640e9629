// Every tests/sql/*.test file is one test, run on a database of its own.
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "engines.h"
#include "sql_logic_runner.h"

namespace zov::data::testing {
namespace {

namespace fs = std::filesystem;

fs::path SourceDir() {
  if (const char* dir = std::getenv("ZOV_SOURCE_DIR")) return dir;
  return ZOV_SOURCE_DIR_DEFAULT;
}

std::vector<fs::path> TestFiles() {
  std::vector<fs::path> files;
  const fs::path dir = SourceDir() / "tests" / "sql";
  if (!fs::exists(dir)) return files;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().extension() == ".test") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

class SqlLogicTest : public ::testing::TestWithParam<fs::path> {};

TEST_P(SqlLogicTest, Passes) {
  const fs::path dir = fs::temp_directory_path() /
                       fmt::format("zov-sqllogic-{}-{}", ::getpid(), GetParam().stem().string());
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string location =
      zov::testing::FreshDatabase(dir, "sqllogic_" + GetParam().stem().string());
  const std::vector<std::string> failures = RunSqlLogicFile(GetParam(), location);
  for (const std::string& f : failures) ADD_FAILURE() << f;
  Database::Drop(location);
  fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Files, SqlLogicTest, ::testing::ValuesIn(TestFiles()),
                         [](const ::testing::TestParamInfo<fs::path>& info) {
                           std::string name = info.param.stem().string();
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
}  // namespace zov::data::testing
