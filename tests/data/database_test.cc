// The host database as the substitute host uses it: sessions on threads, the save transaction
// around atomic batches, and the Variant kinds of what comes back.
#include "data/database.h"

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "engines.h"
#include "zov/vb/datetime.h"

namespace zov::data {
namespace {

namespace fs = std::filesystem;

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           fmt::format("zov-db-{}-{}", ::getpid(),
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    location_ = zov::testing::FreshDatabase(
        dir_, ::testing::UnitTest::GetInstance()->current_test_info()->name());
    db_ = Database::Open(location_);
  }
  void TearDown() override {
    db_.reset();
    Database::Drop(location_);
    fs::remove_all(dir_);
  }

  static long long Count(Session& s, const std::string& sql) {
    BatchResult r = s.Execute(sql);
    return r.resultSets.at(0).rows.at(0).at(0).AsLong();
  }

  fs::path dir_;
  std::string location_;
  std::shared_ptr<Database> db_;
};

TEST_F(DatabaseTest, SessionsOnThreadsWriteConcurrently) {
  auto setup = db_->NewSession();
  setup->Execute(
      "CREATE TABLE t_Stock (FItemID int NOT NULL PRIMARY KEY, FQty decimal(28,10) NOT NULL)");
  setup->Execute("INSERT INTO t_Stock VALUES (1, 0)");
  setup->Execute("CREATE TABLE t_Log (FThread int NOT NULL, FNo int NOT NULL)");

  constexpr int kThreads = 4;
  constexpr int kSaves = 25;
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      auto session = db_->NewSession();
      for (int i = 0; i < kSaves; ++i) {
        try {
          // A save: read, then write two tables in one transaction.
          session->Begin();
          session->Execute(fmt::format("INSERT INTO t_Log VALUES ({}, {})", t, i));
          session->Execute("UPDATE t_Stock SET FQty = FQty + 0.1 WHERE FItemID = 1", Atomic::Yes);
          session->Commit();
          Count(*session, "SELECT COUNT(*) FROM t_Log");
        } catch (const SqlError& e) {
          ++failures;
          ADD_FAILURE() << e.what();
          if (session->InTransaction()) session->Rollback();
        }
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(Count(*setup, "SELECT COUNT(*) FROM t_Log"), kThreads * kSaves);
  BatchResult r = setup->Execute("SELECT FQty FROM t_Stock");
  EXPECT_DOUBLE_EQ(r.resultSets[0].rows[0][0].AsDouble(), kThreads * kSaves * 0.1);
}

TEST_F(DatabaseTest, FailedAtomicBatchInsideSaveKeepsTheEarlierWork) {
  auto s = db_->NewSession();
  s->Execute("CREATE TABLE t_Bill (FID int NOT NULL PRIMARY KEY, FBillNo varchar(10) NOT NULL)");
  s->Begin();
  s->Execute("INSERT INTO t_Bill VALUES (1, 'B1')");
  EXPECT_THROW(
      s->Execute("INSERT INTO t_Bill VALUES (2, 'B2') INSERT INTO t_Bill VALUES (1, 'dup')",
                 Atomic::Yes),
      SqlError);
  EXPECT_TRUE(s->InTransaction());
  s->Commit();
  EXPECT_EQ(Count(*s, "SELECT COUNT(*) FROM t_Bill"), 1);

  // A rollback of the host's transaction undoes everything since Begin.
  s->Begin();
  s->Execute("INSERT INTO t_Bill VALUES (3, 'B3')");
  s->Execute("UPDATE t_Bill SET FBillNo = 'X' WHERE FID = 1", Atomic::Yes);
  s->Rollback();
  EXPECT_FALSE(s->InTransaction());
  BatchResult r = s->Execute("SELECT FID, FBillNo FROM t_Bill");
  ASSERT_EQ(r.resultSets[0].rows.size(), 1u);
  EXPECT_EQ(r.resultSets[0].rows[0][1].AsString(), "B1");
  EXPECT_THROW(s->Commit(), SqlError);
  EXPECT_THROW(s->Rollback(), SqlError);
}

TEST_F(DatabaseTest, AtomicReadsDoNotWaitForAWriter) {
  auto writer = db_->NewSession();
  auto reader = db_->NewSession();
  writer->Execute("CREATE TABLE t_R (a int)");
  writer->Execute("INSERT INTO t_R VALUES (1)");
  writer->Begin();
  writer->Execute("INSERT INTO t_R VALUES (2)");
  // The reader sees the committed row at once, whether or not it asks for an atomic batch.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Count(*reader, "SELECT COUNT(*) FROM t_R"), 1);
  BatchResult r =
      reader->Execute("DECLARE @n int SELECT @n = COUNT(*) FROM t_R SELECT @n", Atomic::Yes);
  EXPECT_EQ(r.resultSets.at(0).rows.at(0).at(0).AsLong(), 1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  writer->Commit();
  EXPECT_EQ(Count(*reader, "SELECT COUNT(*) FROM t_R"), 2);
}

TEST_F(DatabaseTest, TablesAnotherProcessCreatesAreSeenWithoutRestarting) {
  if (zov::testing::TestServer().empty())
    GTEST_SKIP() << "processes on one file read its catalog when they open it";
  auto other = Database::Open(location_);  // as another zov-web process holds it
  auto mine = db_->NewSession();
  auto theirs = other->NewSession();
  const std::string known = "SELECT CASE WHEN OBJECT_ID('t_Added') IS NULL THEN 0 ELSE 1 END";
  EXPECT_EQ(Count(*theirs, known), 0);
  mine->Begin();
  mine->Execute("CREATE TABLE t_Added (a int)");
  mine->Execute("INSERT INTO t_Added VALUES (5)");
  // Not before it commits.
  EXPECT_EQ(Count(*theirs, known), 0);
  mine->Commit();
  // The announcement reaches the other process with its next round trip at the latest.
  long long seen = 0;
  for (int i = 0; i < 100 && !seen; ++i) {
    seen = Count(*theirs, known);
    if (!seen) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_EQ(seen, 1);
  EXPECT_EQ(Count(*theirs, "SELECT SUM(a) FROM t_Added"), 5);
  theirs->Execute("INSERT INTO t_Added VALUES (6)");
  EXPECT_EQ(Count(*mine, "SELECT SUM(a) FROM t_Added"), 11);
}

TEST_F(DatabaseTest, ValuesComeBackAsTheirVariantKinds) {
  auto s = db_->NewSession();
  s->Execute(
      "CREATE TABLE t_V (i int, sm smallint, b bit, d decimal(18,4), m money, f float, dt "
      "datetime, v varchar(10), n nvarchar(10), big bigint)");
  s->Execute(
      "INSERT INTO t_V VALUES (-5, 7, 1, 2.5, 12.3456, 0.25, '2026-12-05 10:30:15.500', 'abc', "
      "N'中文', 5000000000)");
  s->Execute("INSERT INTO t_V (i) VALUES (NULL)");
  BatchResult r = s->Execute("SELECT * FROM t_V ORDER BY i DESC");
  const ResultSet& rs = r.resultSets.at(0);
  ASSERT_EQ(rs.rows.size(), 2u);
  const auto& row = rs.rows[0];
  EXPECT_EQ(row[0], vb::Variant(-5));
  EXPECT_EQ(row[1], vb::Variant(7));
  EXPECT_EQ(row[2], vb::Variant(true));
  EXPECT_EQ(row[3], vb::Variant(2.5));
  EXPECT_EQ(row[4], vb::Variant(vb::Currency::FromScaled(123456)));
  EXPECT_EQ(row[5], vb::Variant(0.25));
  const vb::Date expected{vb::DateFromParts({2026, 12, 5, 10, 30, 15}).serial + 0.5 / 86400.0};
  ASSERT_EQ(row[6].Type(), vb::VarType::Date);
  EXPECT_NEAR(row[6].AsDate().serial, expected.serial, 1e-9);
  EXPECT_EQ(row[7], vb::Variant("abc"));
  EXPECT_EQ(row[8], vb::Variant("中文"));
  EXPECT_EQ(row[9], vb::Variant(5000000000.0));  // beyond Long, as VB widens it
  for (const vb::Variant& v : rs.rows[1]) EXPECT_TRUE(v.IsNull());

  const std::vector<std::pair<vb::VarType, std::string>> kinds = {
      {vb::VarType::Long, "int"},
      {vb::VarType::Long, "smallint"},
      {vb::VarType::Boolean, "bit"},
      {vb::VarType::Double, "decimal(18,4)"},
      {vb::VarType::Currency, "money"},
      {vb::VarType::Double, "float"},
      {vb::VarType::Date, "datetime"},
      {vb::VarType::String, "varchar(10)"},
      {vb::VarType::String, "nvarchar(10)"},
      {vb::VarType::Long, "bigint"}};
  ASSERT_EQ(rs.columns.size(), kinds.size());
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    EXPECT_EQ(rs.columns[i].type, kinds[i].first) << rs.columns[i].name;
    EXPECT_EQ(rs.columns[i].declaredType, kinds[i].second) << rs.columns[i].name;
  }
}

TEST_F(DatabaseTest, ErrorsCarryTheFailingStatement) {
  auto s = db_->NewSession();
  s->Execute("CREATE TABLE t_E (a int)");
  try {
    s->Execute("INSERT INTO t_E VALUES (1)\nSELECT a / 0 FROM t_E\nSELECT 2");
    FAIL() << "no error";
  } catch (const SqlError& e) {
    EXPECT_EQ(e.message(), "Divide by zero error encountered.");
    EXPECT_EQ(e.statement(), "SELECT a / 0 FROM t_E");
  }
}

TEST_F(DatabaseTest, ScriptsSplitOnGoAndStopAtTheFirstFailure) {
  auto s = db_->NewSession();
  BatchResult r = s->ExecuteScript(
      "CREATE TABLE t_G (a int)\nGO\nINSERT INTO t_G VALUES (1)\ngo\nSELECT a FROM t_G\nGO\n");
  ASSERT_EQ(r.resultSets.size(), 1u);
  EXPECT_EQ(r.rowsAffected, 1);
  EXPECT_THROW(s->ExecuteScript("INSERT INTO t_G VALUES (2)\nGO\nSELECT nope FROM t_G\nGO\nINSERT "
                                "INTO t_G VALUES (3)\nGO"),
               SqlError);
  EXPECT_EQ(Count(*s, "SELECT COUNT(*) FROM t_G"), 2);
  // As one unit, the whole script or nothing.
  EXPECT_THROW(s->ExecuteScript("INSERT INTO t_G VALUES (4)\nGO\nSELECT 1/0\nGO", Atomic::Yes),
               SqlError);
  EXPECT_EQ(Count(*s, "SELECT COUNT(*) FROM t_G"), 2);
}

}  // namespace
}  // namespace zov::data
