// The account set's database file: setting one up, reopening it, and the errors a missing or
// damaged file gives.
#include <gmock/gmock.h>

#include <fstream>

#include "host_fixture.h"
#include "session/plugin_loader.h"
#include "zov/vb/convert.h"

namespace zov::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class DataConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zov-connection-test-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string PathOf(const char* name) const { return (dir_ / name).string(); }
  static long Count(sim::SqlConnection& db, const std::string& sql) {
    return vb::CLng(db.Execute(sql)[0].rows[0][0]);
  }
  // The message `open` raises, or "" when it raises none.
  template <class F>
  static std::string ErrorOf(F&& open) {
    try {
      open();
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }

  fs::path dir_;
};

TEST_F(DataConnectionTest, AnEmptyFolderGetsTheSchemaAndTheRegisteredPlugIns) {
  const std::string path = PathOf("account.db");
  std::vector<std::string> stages;
  sim::InitializeDatabase(path, false, [&](const std::string& s) { stages.push_back(s); });
  ASSERT_TRUE(fs::exists(path));
  ASSERT_TRUE(fs::exists(sim::DefaultPluginLibrary()));
  EXPECT_THAT(stages, ElementsAre("schema", "plug-in library", "done"));

  auto db = sim::ConnectToDatabase(path);
  EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM t_cc_stockbill"), 0);
  EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM t_User"), 0);
  // The seven plug-in classes, each at the library beside this program.
  EXPECT_EQ(Count(*db,
                  "SELECT COUNT(*) FROM t_ComponentRegistry WHERE FProgID LIKE "
                  "'ZOV_XS_PlugIns.BillEvent_%'"),
            7);
  const auto where = db->Execute(
      "SELECT FLibraryPath FROM t_ComponentRegistry WHERE FProgID='ZOV_XS_PlugIns.BillEvent_Sale'");
  EXPECT_EQ(vb::CStr(where[0].rows[0][0]), sim::DefaultPluginLibrary());
  // Schema alone has no user to log in.
  EXPECT_THAT(ErrorOf([&] {
                sim::Session(sim::ConnectToDatabase(path), TestDatabases().templates, {},
                             sim::ScriptedUi::New());
              }),
              HasSubstr("admin"));
}

TEST_F(DataConnectionTest, TheDemoSetIsThereAfterReopeningAndSettingUpAgainReplacesTheFile) {
  const std::string path = PathOf("demo.db");
  std::vector<std::string> stages;
  sim::InitializeDatabase(path, true, [&](const std::string& s) { stages.push_back(s); });
  EXPECT_THAT(stages, ElementsAre("schema", "demo account set", "plug-in library", "done"));
  {
    auto db = sim::ConnectToDatabase(path);
    EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM t_cc_stockbill"), 15);
    db->Begin();
    db->Execute("UPDATE t_cc_stockbill SET FNote=N'kept' WHERE FBillNo='XSD000002'");
    db->Commit();
    db->Begin();
    db->Execute("DELETE FROM t_cc_stockbill");
    db->Rollback();
  }
  {
    auto db = sim::ConnectToDatabase(path);
    EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM t_cc_stockbill"), 15);
    EXPECT_EQ(vb::CStr(db->Execute("SELECT FNote FROM t_cc_stockbill WHERE FBillNo='XSD000002'")[0]
                           .rows[0][0]),
              "kept");
    EXPECT_EQ(db->Location(), path);
  }
  // Two connections to one file see each other's committed work.
  auto first = sim::ConnectToDatabase(path);
  auto second = sim::ConnectToDatabase(path);
  first->Execute("UPDATE t_User SET FName=N'管理员' WHERE FNumber='admin'");
  EXPECT_EQ(
      vb::CStr(second->Execute("SELECT FName FROM t_User WHERE FNumber='admin'")[0].rows[0][0]),
      "管理员");
  first.reset();
  second.reset();

  sim::InitializeDatabase(path, false);
  auto db = sim::ConnectToDatabase(path);
  EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM t_cc_stockbill"), 0);
}

TEST_F(DataConnectionTest, AnOlderDatabaseGetsTheIndexesItLacksAndKeepsItsRows) {
  // The schema as an earlier version set it up: the tables without their indexes.
  const std::string& schema = sim::SchemaScript();
  std::string older;
  for (std::size_t at = 0; at < schema.size();) {
    std::size_t end = schema.find("\nGO", at);
    if (end == std::string::npos) end = schema.size();
    const std::string batch = schema.substr(at, end - at);
    if (("\n" + batch).find("\nCREATE INDEX ") == std::string::npos) older += batch + "\nGO";
    at = end + 3;
  }
  ASSERT_LT(older.size(), schema.size());
  const std::string path = PathOf("older.db");
  {
    auto db = data::Database::Create(path);
    db->NewSession()->ExecuteScript(older, data::Atomic::Yes);
  }
  auto db = sim::ConnectToDatabase(path);
  db->Execute("INSERT INTO t_cc_stockbillentry (FEntryID, lEntryID, FID) VALUES (1, 1, 7)");
  sim::UpgradeDatabase(*db);
  // The upgrade made the index: making it again is refused.
  EXPECT_THAT(
      ErrorOf([&] { db->Execute("CREATE INDEX IX_lEntryID ON t_cc_stockbillentry (lEntryID)"); }),
      HasSubstr("already exists"));
  EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM t_cc_stockbillentry WHERE FID=7 AND lEntryID=1"), 1);
  // Up to date, a database upgrades to itself.
  EXPECT_NO_THROW(sim::UpgradeDatabase(*db));
  EXPECT_THAT(ErrorOf([&] { db->Execute("CREATE INDEX IX_FBillNo ON t_XS_Order (FBillNo)"); }),
              HasSubstr("already exists"));
}

TEST_F(DataConnectionTest, AMissingFileIsNamedAndNotCreated) {
  const std::string path = PathOf("missing.db");
  const std::string error = ErrorOf([&] { sim::ConnectToDatabase(path); });
  EXPECT_THAT(error, HasSubstr(path));
  EXPECT_FALSE(fs::exists(path));
  // Nor can a file be set up in a folder that is not there.
  const std::string nowhere = (dir_ / "no-such-folder" / "a.db").string();
  EXPECT_THAT(ErrorOf([&] { sim::InitializeDatabase(nowhere, false); }), HasSubstr(nowhere));
}

TEST_F(DataConnectionTest, AFileThatIsNoDatabaseIsNamed) {
  const std::string path = PathOf("damaged.db");
  {
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 512; ++i) out << "not a database page ";
  }
  const std::string error = ErrorOf([&] {
    auto db = sim::ConnectToDatabase(path);
    db->Execute("SELECT COUNT(*) FROM t_User");
  });
  EXPECT_THAT(error, AllOf(HasSubstr(path), HasSubstr("not a database")));
}

// Disabled while the embedded engine's connection keeps its handle open when its own set-up
// fails: the error is right, but LeakSanitizer reports the handle.
TEST_F(DataConnectionTest, AFileDamagedPastItsHeaderIsNamed) {
  const std::string path = PathOf("damaged.db");
  {
    std::ofstream out(path, std::ios::binary);
    out.write("SQLite format 3", 16);
    for (int i = 0; i < 512; ++i) out << "not a database page ";
  }
  EXPECT_THAT(
      ErrorOf([&] { sim::ConnectToDatabase(path)->Execute("SELECT COUNT(*) FROM t_User"); }),
      AllOf(HasSubstr(path), HasSubstr("not a database")));
}

}  // namespace
}  // namespace zov::testing
