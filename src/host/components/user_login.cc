#include "components/user_login.h"

#include <sodium.h>

#include <mutex>
#include <optional>
#include <semaphore>

#include "session/session.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::sim {

namespace {

constexpr std::size_t kMinPasswordLength = 8;
constexpr std::size_t kMaxPasswordLength = 128;
constexpr const char* kBadLogin = "用户名或密码不正确。";

// Each hash takes a fair amount of memory and time: a burst of logins waits for a slot instead
// of taking the server's memory.
std::counting_semaphore<2>& HashSlots() {
  static std::counting_semaphore<2> slots(2);
  return slots;
}

struct SlotHold {
  SlotHold() { HashSlots().acquire(); }
  ~SlotHold() { HashSlots().release(); }
  SlotHold(const SlotHold&) = delete;
  SlotHold& operator=(const SlotHold&) = delete;
};

void InitSodium() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (sodium_init() < 0) throw std::runtime_error("the password library cannot start");
  });
}

std::string Quote(std::string_view text) { return "N'" + vb::Replace(text, "'", "''") + "'"; }

struct StoredUser {
  LoginUser user;
  bool forbidden = false;
  std::string hash;
};

// The user numbered exactly `number`: the database compares without case, the login does not.
std::optional<StoredUser> FindUser(SqlConnection& db, std::string_view number) {
  if (number.empty() || number.size() > 50) return std::nullopt;
  const auto sets = db.Execute(
      "SELECT FUserID, FNumber, FName, FForbidden, FPassword FROM t_User WHERE FNumber=" +
      Quote(number));
  if (sets.empty()) return std::nullopt;
  for (const auto& r : sets[0].rows) {
    if (r[1].IsNull() || vb::CStr(r[1]) != number) continue;
    StoredUser found;
    found.user.id = vb::CLng(r[0]);
    found.user.number = vb::CStr(r[1]);
    found.user.name = r[2].IsNull() ? found.user.number : vb::CStr(r[2]);
    found.forbidden = !r[3].IsNull() && vb::CBool(r[3]);
    found.hash = r[4].IsNull() ? std::string() : vb::CStr(r[4]);
    return found;
  }
  return std::nullopt;
}

// A hash of no one's password, so that an unknown user costs what a known one costs.
const std::string& DecoyHash() {
  static const std::string hash = HashPassword("no such user, no such password");
  return hash;
}

}  // namespace

std::string HashPassword(std::string_view password) {
  InitSodium();
  char hash[crypto_pwhash_STRBYTES];
  SlotHold hold;
  if (crypto_pwhash_str(hash, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
    throw std::runtime_error("密码无法加密保存（内存不足）。");
  return hash;
}

bool VerifyPassword(std::string_view hash, std::string_view password) {
  InitSodium();
  if (hash.empty() || hash.size() >= crypto_pwhash_STRBYTES) return false;
  const std::string terminated(hash);
  SlotHold hold;
  return crypto_pwhash_str_verify(terminated.c_str(), password.data(), password.size()) == 0;
}

std::string PasswordProblem(std::string_view password) {
  const auto length = static_cast<std::size_t>(vb::Len(password));
  if (length < kMinPasswordLength)
    return "密码至少需要 " + std::to_string(kMinPasswordLength) + " 个字符。";
  if (password.size() > kMaxPasswordLength)
    return "密码不能超过 " + std::to_string(kMaxPasswordLength) + " 个字节。";
  return {};
}

LoginUser CheckLogin(SqlConnection& db, std::string_view user, std::string_view password) {
  if (password.size() > kMaxPasswordLength) throw LoginRefused(kBadLogin);
  const auto found = FindUser(db, user);
  if (!found || found->hash.empty()) {
    VerifyPassword(DecoyHash(), password);
    throw LoginRefused(kBadLogin);
  }
  if (!VerifyPassword(found->hash, password)) {
    db.Execute("UPDATE t_User SET FLoginFailures = FLoginFailures + 1 WHERE FUserID=" +
               std::to_string(found->user.id));
    throw LoginRefused(kBadLogin);
  }
  if (found->forbidden) throw LoginRefused("用户“" + found->user.number + "”已被禁用。");
  db.Execute("UPDATE t_User SET FLoginFailures = 0 WHERE FUserID=" +
             std::to_string(found->user.id) + " AND FLoginFailures <> 0");
  return found->user;
}

void SetPassword(SqlConnection& db, std::string_view user, std::string_view password) {
  if (const std::string problem = PasswordProblem(password); !problem.empty())
    throw std::runtime_error(problem);
  const auto found = FindUser(db, user);
  if (!found) throw std::runtime_error("用户“" + std::string(user) + "”不存在。");
  db.Execute("UPDATE t_User SET FPassword='" + HashPassword(password) +
             "', FLoginFailures = 0 WHERE FUserID=" + std::to_string(found->user.id));
}

bool AddPasswordColumns(SqlConnection& db) {
  try {
    db.Execute("SELECT TOP 1 FPassword, FLoginFailures FROM t_User");
    return false;
  } catch (const std::exception&) {
    db.Execute(
        "ALTER TABLE t_User ADD FPassword varchar(255) NOT NULL DEFAULT '', FLoginFailures int "
        "NOT NULL DEFAULT 0");
    return true;
  }
}

const std::vector<std::pair<std::string, std::string>>& DemoPasswords() {
  static const std::vector<std::pair<std::string, std::string>> passwords = {
      {"admin", "Admin@2026"},
      {"wangxm", "Wangxm@2026"},
      {"lili", "Lili@2026"},
      {"sunq", "Sunq@2026"},
  };
  return passwords;
}

void SetDemoPasswords(SqlConnection& db) {
  for (const auto& [user, password] : DemoPasswords()) SetPassword(db, user, password);
}

}  // namespace zov::sim
