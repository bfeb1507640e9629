// Batches at the edge of what the front end takes: nesting deep enough to exhaust a thread's
// stack fails with SQL Server's message and leaves the session working; long chains of one
// operator and long IN lists run, and run in time proportional to their length.
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "data/database.h"
#include "data/postgresql/dialect.h"
#include "data/sqlite/dialect.h"
#include "data/tsql/ast/select_statement.h"
#include "data/tsql/lexer.h"
#include "data/tsql/parser.h"
#include "data/tsql/translator.h"
#include "engines.h"

namespace zov::data {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTooDeep =
    "Some part of your SQL statement is nested too deeply. Rewrite the query or break it up into "
    "smaller queries.";

std::string Repeat(std::string_view s, int n) {
  std::string out;
  out.reserve(s.size() * static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

class LimitsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           fmt::format("zov-limits-{}-{}", ::getpid(),
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    location_ = zov::testing::FreshDatabase(
        dir_, ::testing::UnitTest::GetInstance()->current_test_info()->name());
    db_ = Database::Open(location_);
    session_ = db_->NewSession();
    session_->Execute(
        "CREATE TABLE t_Item (FItemID int NOT NULL PRIMARY KEY, FNumber varchar(20) NOT NULL)");
    std::string insert = "INSERT INTO t_Item VALUES (1, 'A001')";
    for (int i = 2; i <= 200; ++i) insert += fmt::format(", ({}, 'A{:03}')", i, i);
    session_->Execute(insert);
  }
  void TearDown() override {
    session_.reset();
    db_.reset();
    Database::Drop(location_);
    fs::remove_all(dir_);
  }

  // The error message of `batch`, or "" when it ran.
  std::string ErrorOf(const std::string& batch) {
    try {
      session_->Execute(batch);
    } catch (const SqlError& e) {
      return e.message();
    }
    return "";
  }
  long long Count(const std::string& batch) {
    return session_->Execute(batch).resultSets.at(0).rows.at(0).at(0).AsLong();
  }

  fs::path dir_;
  std::string location_;
  std::shared_ptr<Database> db_;
  std::unique_ptr<Session> session_;
};

TEST_F(LimitsTest, DeepNestingFailsWithSqlServersMessage) {
  // Each of these once overflowed the stack.
  const std::string batches[] = {
      "SELECT " + Repeat("(", 3000) + "1" + Repeat(")", 3000),
      "SELECT COUNT(*) FROM t_Item WHERE " + Repeat("NOT ", 3000) + "FItemID = 1",
      "SELECT " + Repeat("- ", 3000) + "1",
      "SELECT " + Repeat("(SELECT ", 3000) + "1" + Repeat(")", 3000),
      "SELECT " + Repeat("CASE WHEN FItemID = 1 THEN ", 3000) + "1" + Repeat(" END", 3000) +
          " FROM t_Item",
      Repeat("IF 1 = 1 ", 3000) + "SELECT 1",
      Repeat("BEGIN ", 3000) + "SELECT 1" + Repeat(" END", 3000),
      "SELECT * FROM " + Repeat("(", 3000) + "t_Item" + Repeat(")", 3000),
      // A chain of one operator nests as deep as it is long.
      "SELECT 1" + Repeat(" + 1", 100000),
      "SELECT COUNT(*) FROM t_Item WHERE FItemID = 0" + Repeat(" OR FItemID = 1", 100000),
      "SELECT 1" + Repeat(" UNION SELECT 1", 100000),
  };
  for (const std::string& batch : batches) {
    SCOPED_TRACE(batch.substr(0, 60));
    EXPECT_EQ(ErrorOf(batch), kTooDeep);
  }
  // The session goes on.
  EXPECT_EQ(Count("SELECT COUNT(*) FROM t_Item"), 200);
}

TEST_F(LimitsTest, LongChainsOfOneOperatorRun) {
  std::string ors = "SELECT COUNT(*) FROM t_Item WHERE FItemID = 1";
  for (int i = 2; i <= 900; ++i) ors += fmt::format(" OR FItemID = {}", i);
  EXPECT_EQ(Count(ors), 200);
  EXPECT_EQ(Count("SELECT 0" + Repeat(" + 1", 900)), 900);
  EXPECT_EQ(
      Count("SELECT COUNT(*) FROM t_Item WHERE FItemID > 0" + Repeat(" AND FNumber <> 'x'", 900)),
      200);
  EXPECT_EQ(session_->Execute("SELECT 'a'" + Repeat(" + 'b'", 500))
                .resultSets.at(0)
                .rows.at(0)
                .at(0)
                .AsString()
                .size(),
            501u);
  // Nesting as deep as SQL Server allows: CASE to 10 levels.
  EXPECT_EQ(Count("SELECT " + Repeat("CASE WHEN FItemID = 7 THEN ", 10) + "1" +
                  Repeat(" ELSE 0 END", 10) + " FROM t_Item WHERE FItemID = 7"),
            1);
}

// 100,000 values, one way or another: integers, texts compared ignoring case, values that
// convert to the operand's type, and variables among literals.
TEST_F(LimitsTest, LongInListsGiveTheirRows) {
  std::string ints = "1";
  for (int i = 2; i <= 100000; ++i) ints += fmt::format(",{}", i);
  EXPECT_EQ(Count("SELECT COUNT(*) FROM t_Item WHERE FItemID IN (" + ints + ")"), 200);
  EXPECT_EQ(Count("SELECT COUNT(*) FROM t_Item WHERE FItemID NOT IN (" + ints + ")"), 0);
  std::string later = "101";
  for (int i = 102; i <= 100100; ++i) later += fmt::format(",{}", i);
  EXPECT_EQ(Count("SELECT COUNT(*) FROM t_Item WHERE FItemID NOT IN (" + later + ")"), 100);

  std::string numbers = "'a001'";
  for (int i = 2; i <= 100000; ++i) numbers += fmt::format(",'a{:03}'", i);
  EXPECT_EQ(Count("SELECT COUNT(*) FROM t_Item WHERE FNumber IN (" + numbers + ")"), 200);

  std::string decimals = "0.5";
  for (int i = 1; i <= 10000; ++i) decimals += fmt::format(",{}.0", i % 50);
  EXPECT_EQ(Count("SELECT COUNT(*) FROM t_Item WHERE FItemID IN (" + decimals + ")"), 49);
  std::string few = "101";
  for (int i = 102; i <= 10100; ++i) few += fmt::format(",{}", i);
  EXPECT_EQ(
      Count("DECLARE @id int = 7\nSELECT COUNT(*) FROM t_Item WHERE FItemID IN (@id, " + few + ")"),
      101);
  // A NULL among the values: NOT IN is never true.
  EXPECT_EQ(Count("SELECT COUNT(*) FROM t_Item WHERE FItemID NOT IN (NULL, " + few + ")"), 0);
}

// Each value of a list once made a parameter of its own, and preparing a statement of 100,000
// parameters took minutes.
TEST(InListTranslation, BindsALongListAsOneParameter) {
  std::string sql = "SELECT FItemID FROM t_Item WHERE FItemID IN (1";
  for (int i = 2; i <= 100000; ++i) sql += fmt::format(", {}", i);
  sql += ")";
  tsql::LexedBatch lexed;
  tsql::Lexer::Read(sql, lexed);
  std::shared_ptr<const tsql::Batch> batch = tsql::Parser::Parse(sql, lexed);
  std::vector<std::string_view> texts(static_cast<std::size_t>(lexed.literalCount));
  std::vector<tsql::SqlValue> values(texts.size());
  for (const tsql::Token& t : lexed.tokens)
    if (t.literal >= 0) {
      texts[static_cast<std::size_t>(t.literal)] = t.text;
      values[static_cast<std::size_t>(t.literal)] = tsql::LiteralValue(t);
    }
  tsql::Catalog main, temp;
  auto table = std::make_shared<tsql::TableInfo>();
  table->name = "t_Item";
  table->columns.push_back({"FItemID", tsql::SqlType::Of(tsql::TypeId::Int), false, false});
  main.Put(table);
  for (const tsql::Dialect* dialect : {&sqlite::Dialect(), &postgresql::Dialect()}) {
    tsql::TranslatorInput in{&main, &temp, batch.get(), &texts, &values, false, dialect};
    const tsql::Translation t =
        tsql::Translator(in).Select(batch->statements.at(0)->As<tsql::SelectStatement>());
    ASSERT_EQ(t.params.size(), 1u) << dialect->name;
    EXPECT_EQ(t.params[0].items.size(), 100000u) << dialect->name;
  }
}

}  // namespace
}  // namespace zov::data
