// Every scenario file under tests/scenarios plays without a failed expectation.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "host_fixture.h"

namespace zov::testing {
namespace {

std::vector<std::string> ScenarioFiles() {
  std::vector<std::string> files;
  const auto root = std::filesystem::path(ZOV_SCENARIO_DIR);
  if (!std::filesystem::exists(root)) return files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
    if (entry.path().extension() == ".json")
      files.push_back(std::filesystem::relative(entry.path(), root).string());
  std::sort(files.begin(), files.end());
  return files;
}

class Scenario : public ::testing::TestWithParam<std::string> {};

TEST_P(Scenario, Plays) {
  std::ostringstream out;
  const auto outcome = sim::PlayScenario(
      (std::filesystem::path(ZOV_SCENARIO_DIR) / GetParam()).string(), TestDatabases(), out);
  EXPECT_EQ(outcome.failures, 0) << out.str();
  EXPECT_GT(outcome.steps, 1);
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name;
  for (char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Files, Scenario, ::testing::ValuesIn(ScenarioFiles()), TestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Scenario);

}  // namespace
}  // namespace zov::testing
