// The account set's users at login: passwords kept as salted hashes, names matched exactly,
// forbidden users and failures counted.
#include "components/user_login.h"

#include <gmock/gmock.h>

#include "host_fixture.h"
#include "zov/vb/convert.h"

namespace zov::testing {
namespace {

using ::testing::HasSubstr;

class UserLoginTest : public HostTest {
 protected:
  void SetUp() override {
    session_ = Open();
    db_ = sim::ConnectToDatabase(path_);
  }
  // The message CheckLogin refuses with, or "" when it lets the user in.
  std::string Refusal(const std::string& user, const std::string& password) {
    try {
      sim::CheckLogin(*db_, user, password);
    } catch (const sim::LoginRefused& e) {
      return e.what();
    }
    return "";
  }
  std::string Stored(const std::string& column, const std::string& user) {
    return vb::CStr(
        db_->Execute("SELECT " + column + " FROM t_User WHERE FNumber='" + user + "'")[0]
            .rows[0][0]);
  }

  std::unique_ptr<sim::Session> session_;
  std::unique_ptr<sim::SqlConnection> db_;
};

TEST_F(UserLoginTest, APasswordIsKeptAsASaltedHashAndChecked) {
  sim::SetPassword(*db_, "admin", "correct horse");
  sim::SetPassword(*db_, "wangxm", "correct horse");
  const std::string hash = Stored("FPassword", "admin");
  EXPECT_EQ(hash.rfind("$argon2id$", 0), 0u) << hash;
  EXPECT_EQ(hash.find("correct horse"), std::string::npos);
  EXPECT_NE(hash, Stored("FPassword", "wangxm")) << "each hash has a salt of its own";

  const sim::LoginUser who = sim::CheckLogin(*db_, "admin", "correct horse");
  EXPECT_EQ(who.id, 1);
  EXPECT_EQ(who.number, "admin");
  EXPECT_EQ(Refusal("admin", "correct horsE"), "用户名或密码不正确。");
  EXPECT_EQ(Refusal("admin", ""), "用户名或密码不正确。");
  // The same answer for a name nobody has, one spelled in another case, and one with a space.
  EXPECT_EQ(Refusal("nobody", "correct horse"), "用户名或密码不正确。");
  EXPECT_EQ(Refusal("Admin", "correct horse"), "用户名或密码不正确。");
  EXPECT_EQ(Refusal("admin ", "correct horse"), "用户名或密码不正确。");
  // A user without a password cannot log in at all.
  EXPECT_EQ(Refusal("lili", ""), "用户名或密码不正确。");
  EXPECT_EQ(Refusal("lili", "anything at all"), "用户名或密码不正确。");
}

TEST_F(UserLoginTest, FailuresAreCountedUntilALoginSucceeds) {
  sim::SetPassword(*db_, "wangxm", "Wangxm@2026");
  Refusal("wangxm", "guess 1");
  Refusal("wangxm", "guess 2");
  EXPECT_EQ(Stored("FLoginFailures", "wangxm"), "2");
  EXPECT_EQ(Refusal("wangxm", "Wangxm@2026"), "");
  EXPECT_EQ(Stored("FLoginFailures", "wangxm"), "0");
}

TEST_F(UserLoginTest, AForbiddenUserIsRefusedEvenWithTheRightPassword) {
  sim::SetPassword(*db_, "sunq", "Sunq@2026");
  db_->Execute("UPDATE t_User SET FForbidden=1 WHERE FNumber='sunq'");
  EXPECT_EQ(Refusal("sunq", "Sunq@2026"), "用户“sunq”已被禁用。");
  EXPECT_EQ(Refusal("sunq", "wrong password"), "用户名或密码不正确。");
}

TEST_F(UserLoginTest, APasswordMustBeLongEnoughAndTheUserKnown) {
  EXPECT_THAT(sim::PasswordProblem("short"), HasSubstr("至少需要 8 个字符"));
  EXPECT_EQ(sim::PasswordProblem("long enough"), "");
  EXPECT_THROW(sim::SetPassword(*db_, "admin", "short"), std::runtime_error);
  EXPECT_THROW(sim::SetPassword(*db_, "ADMIN", "long enough"), std::runtime_error);
  EXPECT_EQ(Stored("FPassword", "admin"), "");
}

TEST_F(UserLoginTest, AnAccountSetWithoutPasswordsGetsTheColumns) {
  EXPECT_FALSE(sim::AddPasswordColumns(*db_));
  // t_User as it was before passwords.
  db_->Execute(
      "SELECT FUserID, FNumber, FName, FIsAdmin, FEmpID, FNeedAuthorize, FAuthItemClassList, "
      "FForbidden INTO t_UserBefore FROM t_User\nDROP TABLE t_User\n"
      "SELECT * INTO t_User FROM t_UserBefore");
  EXPECT_TRUE(sim::AddPasswordColumns(*db_));
  EXPECT_EQ(Stored("FPassword", "admin"), "");
  sim::SetPassword(*db_, "admin", "Admin@2026");
  EXPECT_EQ(Refusal("admin", "Admin@2026"), "");
}

TEST_F(UserLoginTest, ASessionOpensOnlyForTheNameAsStored) {
  EXPECT_THROW(Open("ADMIN"), std::runtime_error);
  EXPECT_EQ(Open("admin")->UserNumber(), "admin");
}

}  // namespace
}  // namespace zov::testing
