// Users' passwords and the login check of the account set's users (t_User). A password is kept
// only as a salted, deliberately slow hash (libsodium's crypto_pwhash_str, Argon2id); it is never
// stored or logged as typed.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zov::sim {

class SqlConnection;

// A login refused, with the message the person sees.
struct LoginRefused : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The hash of `password`, salted afresh ("$argon2id$..."). Raises std::runtime_error when the
// memory for it cannot be had.
std::string HashPassword(std::string_view password);
// Whether `password` is the one `hash` was made of; false for a hash that is no hash.
bool VerifyPassword(std::string_view hash, std::string_view password);
// Why `password` cannot be a password (in the system's words), or "" when it can.
std::string PasswordProblem(std::string_view password);

struct LoginUser {
  long id = 0;
  std::string number, name;
};

// Checks a login: `user` must be a user's number exactly as stored, `password` its password, and
// the user not forbidden. A wrong password counts in t_User.FLoginFailures; a good one resets
// the count. Raises LoginRefused; an unknown user and a wrong password get the same answer.
LoginUser CheckLogin(SqlConnection& db, std::string_view user, std::string_view password);

// Sets the password of the user numbered `user` (exactly as stored). Raises std::runtime_error
// for an unknown user or a password that cannot be one.
void SetPassword(SqlConnection& db, std::string_view user, std::string_view password);

// Adds the password columns to the t_User of an account set set up before users had passwords;
// true when it did (its users then have none yet).
bool AddPasswordColumns(SqlConnection& db);

// The demo account set's users with their passwords, as the README lists them.
const std::vector<std::pair<std::string, std::string>>& DemoPasswords();
// Gives the demo account set's users their passwords.
void SetDemoPasswords(SqlConnection& db);

}  // namespace zov::sim
