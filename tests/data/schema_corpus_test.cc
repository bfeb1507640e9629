// The host schema and the demo account set apply through the T-SQL front end, survive reopening,
// and the plug-ins' statement corpus (tests/sql/corpus) gives the results SQL Server gives.
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/database.h"
#include "engines.h"
#include "sql_logic_runner.h"

namespace zov::data::testing {
namespace {

namespace fs = std::filesystem;

fs::path SourceDir() {
  if (const char* dir = std::getenv("ZOV_SOURCE_DIR")) return dir;
  return ZOV_SOURCE_DIR_DEFAULT;
}

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return std::string(s);
}

// One entry of a corpus file: its title line, its batch and what its last result set must show.
struct Entry {
  int line = 0;
  std::string title;
  std::string batch;
  std::vector<std::string> expectations;
};

std::vector<Entry> ReadCorpus(const fs::path& file) {
  std::vector<Entry> entries;
  std::istringstream in(ReadFile(file));
  Entry current;
  int number = 0;
  auto flush = [&] {
    bool hasStatement = false;
    std::istringstream lines(current.batch);
    for (std::string l; std::getline(lines, l);) {
      const std::string t = Trim(l);
      if (!t.empty() && t.rfind("--", 0) != 0) hasStatement = true;
    }
    if (hasStatement) entries.push_back(current);
    current = Entry{};
  };
  for (std::string line; std::getline(in, line);) {
    ++number;
    const std::string t = Trim(line);
    if (t == "GO" || t == "go") {
      flush();
      continue;
    }
    if (current.title.empty() && t.rfind("--", 0) == 0) {
      current.title = Trim(t.substr(2));
      current.line = number;
    }
    if (t.rfind("-- expect:", 0) == 0) current.expectations.push_back(Trim(t.substr(10)));
    current.batch += line + "\n";
  }
  flush();
  return entries;
}

// Compares a value with the corpus notation: numbers within 1e-6, dates as YYYY-MM-DD with an
// optional time, bits as 1/0, NULL, '' for the empty text, other texts as written.
bool Matches(const vb::Variant& v, const std::string& expected) {
  if (expected == "NULL") return v.IsNull();
  if (v.IsNull()) return false;
  const std::string shown = RenderValue(v);
  switch (v.Type()) {
    case vb::VarType::Boolean:
      return expected == (v.AsBool() ? "1" : "0");
    case vb::VarType::Long:
    case vb::VarType::Double:
    case vb::VarType::Currency: {
      char* end = nullptr;
      const double want = std::strtod(expected.c_str(), &end);
      if (!end || *end != '\0') return false;
      const double got = v.Type() == vb::VarType::Long       ? v.AsLong()
                         : v.Type() == vb::VarType::Currency ? v.AsCurrency().ToDouble()
                                                             : v.AsDouble();
      return std::fabs(got - want) <= 1e-6;
    }
    case vb::VarType::Date:
      return shown.compare(0, expected.size(), expected) == 0;
    case vb::VarType::String:
      if (expected == "''") return v.AsString().empty();
      return v.AsString() == expected;
    default:
      return false;
  }
}

std::vector<std::string> Split(const std::string& s) {
  std::vector<std::string> cells;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= s.size(); ++i)
    if (i == s.size() || s[i] == '|') {
      cells.push_back(Trim(std::string_view(s).substr(start, i - start)));
      start = i + 1;
    }
  return cells;
}

class SchemaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    schema_ = SourceDir() / "src" / "data" / "schema";
    if (!fs::exists(schema_ / "schema.sql")) GTEST_SKIP() << "no host schema yet";
    dir_ = fs::temp_directory_path() /
           fmt::format("zov-schema-{}-{}", ::getpid(),
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    if (!location_.empty()) Database::Drop(location_);
    if (!dir_.empty()) fs::remove_all(dir_);
  }

  std::shared_ptr<Database> Demo() {
    location_ = zov::testing::FreshDatabase(
        dir_, ::testing::UnitTest::GetInstance()->current_test_info()->name());
    auto db = Database::Open(location_);
    auto session = db->NewSession();
    session->ExecuteScript(ReadFile(schema_ / "schema.sql"));
    if (fs::exists(schema_ / "demo.sql")) session->ExecuteScript(ReadFile(schema_ / "demo.sql"));
    return db;
  }

  void RunCorpus(const fs::path& file) {
    if (!fs::exists(file)) GTEST_SKIP() << "no corpus " << file.filename();
    auto db = Demo();
    auto session = db->NewSession();
    const std::vector<Entry> entries = ReadCorpus(file);
    int checked = 0;
    for (const Entry& e : entries) checked += static_cast<int>(e.expectations.size());
    // The corpus is not empty and its expectations are read.
    EXPECT_GT(entries.size(), 10u);
    EXPECT_GT(checked, 10);
    for (const Entry& e : entries) {
      SCOPED_TRACE(fmt::format("{}:{} {}", file.filename().string(), e.line, e.title));
      BatchResult r;
      try {
        r = session->Execute(e.batch);
      } catch (const SqlError& err) {
        ADD_FAILURE() << err.what();
        continue;
      }
      for (const std::string& x : e.expectations) {
        if (r.resultSets.empty()) {
          ADD_FAILURE() << "no result set for: " << x;
          break;
        }
        const ResultSet& rs = r.resultSets.back();
        if (x.rfind("first row", 0) == 0) {
          if (rs.rows.empty()) {
            ADD_FAILURE() << "no rows; expected " << x;
            continue;
          }
          const std::vector<std::string> want = Split(Trim(x.substr(9)));
          const auto& row = rs.rows.front();
          if (want.size() > row.size()) {
            ADD_FAILURE() << "row has " << row.size() << " columns; expected " << x;
            continue;
          }
          for (std::size_t i = 0; i < want.size(); ++i)
            EXPECT_TRUE(Matches(row[i], want[i]))
                << "column " << i + 1 << " (" << rs.columns[i].name << ") is "
                << RenderValue(row[i]) << ", expected " << want[i];
        } else {
          const long long n = std::stoll(x);
          EXPECT_EQ(static_cast<long long>(rs.rows.size()), n) << x;
        }
      }
    }
  }

  fs::path schema_;
  fs::path dir_;
  std::string location_;
};

TEST_F(SchemaTest, AppliesAndKeepsDeclaredTypesAcrossReopening) {
  Demo();
  auto db = Database::Open(location_);
  auto session = db->NewSession();
  // Declared types come back from the catalog of the reopened file.
  BatchResult r = session->Execute("SELECT TOP 1 FItemID, FName FROM t_ICItem");
  ASSERT_EQ(r.resultSets.size(), 1u);
  EXPECT_EQ(r.resultSets[0].columns[0].declaredType, "int");
  EXPECT_EQ(r.resultSets[0].columns[0].type, vb::VarType::Long);
  EXPECT_EQ(r.resultSets[0].columns[1].type, vb::VarType::String);
}

TEST_F(SchemaTest, PluginStatementCorpus) {
  RunCorpus(SourceDir() / "tests" / "sql" / "corpus" / "plugin_statements.sql");
}

TEST_F(SchemaTest, DemoIntegrityCorpus) {
  RunCorpus(SourceDir() / "tests" / "sql" / "corpus" / "demo_integrity.sql");
}

}  // namespace
}  // namespace zov::data::testing
