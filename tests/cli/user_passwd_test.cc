// zov user passwd: a user's password, read from the standard input, stored as a hash only.
#include <gmock/gmock.h>
#include <sys/wait.h>

#include <cstdio>

#include "../host/host_fixture.h"
#include "components/user_login.h"
#include "zov/vb/convert.h"

namespace zov::testing {
namespace {

using ::testing::HasSubstr;

class UserPasswdTest : public HostTest {
 protected:
  void SetUp() override { Open(); }
  // Runs `zov user passwd` for `user` with `input` on its standard input; its exit status and
  // what it wrote.
  std::pair<int, std::string> Passwd(const std::string& user, const std::string& input) {
    const std::string command = "printf '%s\\n' '" + input + "' | " + ZOV_BIN_DIR +
                                "/zov user passwd --db '" + path_ + "' '" + user + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[512];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
  }
};

TEST_F(UserPasswdTest, SetsThePasswordOfAUserAsStored) {
  auto [status, out] = Passwd("wangxm", "a new secret");
  EXPECT_EQ(status, 0) << out;
  EXPECT_THAT(out, HasSubstr("wangxm"));
  auto db = sim::ConnectToDatabase(path_);
  EXPECT_EQ(sim::CheckLogin(*db, "wangxm", "a new secret").number, "wangxm");
  const std::string stored =
      vb::CStr(db->Execute("SELECT FPassword FROM t_User WHERE FNumber='wangxm'")[0].rows[0][0]);
  EXPECT_EQ(stored.find("a new secret"), std::string::npos);

  std::tie(status, out) = Passwd("WANGXM", "another secret");
  EXPECT_EQ(status, 1);
  EXPECT_THAT(out, HasSubstr("不存在"));
  std::tie(status, out) = Passwd("wangxm", "short");
  EXPECT_EQ(status, 1);
  EXPECT_THAT(out, HasSubstr("至少需要 8 个字符"));
  EXPECT_EQ(sim::CheckLogin(*db, "wangxm", "a new secret").number, "wangxm") << "unchanged";
}

}  // namespace
}  // namespace zov::testing
