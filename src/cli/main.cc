// zov: the command-line face of the substitute host: setting a database up, a T-SQL console, the
// scenario runner, and the users' passwords.
#include <termios.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "components/user_login.h"
#include "data/database.h"
#include "scenario/databases.h"
#include "session/data_connection.h"
#include "zov/vb/convert.h"
#include "zov/vb/format.h"

namespace {

using nlohmann::ordered_json;

ordered_json ToJson(const zov::vb::Variant& v) {
  using zov::vb::VarType;
  switch (v.Type()) {
    case VarType::Empty:
    case VarType::Null:
      return nullptr;
    case VarType::Boolean:
      return v.AsBool();
    case VarType::Long:
      return v.AsLong();
    case VarType::Double:
      return v.AsDouble();
    case VarType::Currency:
      return v.AsCurrency().ToDouble();
    case VarType::Date:
      return zov::vb::Format(v, "yyyy-MM-dd HH:mm:ss");
    default:
      return zov::vb::CStr(v);
  }
}

int DbInit(const std::string& location, bool demo) {
  try {
    zov::sim::InitializeDatabase(
        location, demo, [](const std::string& stage) { std::cerr << "  " << stage << "\n"; });
    if (demo) zov::sim::SetDemoPasswords(*zov::sim::ConnectToDatabase(location));
    std::cout << zov::data::Database::Shown(location) << "\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
}

int Sql(const std::string& location, const std::string& file, const std::string& text) {
  std::string batch = text;
  if (!file.empty()) {
    std::ifstream in(file);
    if (!in) {
      std::cerr << "cannot read " << file << "\n";
      return 1;
    }
    std::stringstream s;
    s << in.rdbuf();
    batch = s.str();
  }
  try {
    auto db = zov::data::Database::Open(location);
    auto session = db->NewSession();
    // The whole batch is one transaction: a failure leaves the database unchanged.
    auto result = session->ExecuteScript(batch, zov::data::Atomic::Yes);
    ordered_json out;
    out["resultSets"] = ordered_json::array();
    for (const auto& set : result.resultSets) {
      ordered_json rs;
      rs["columns"] = ordered_json::array();
      for (const auto& c : set.columns) rs["columns"].push_back(c.name);
      rs["rows"] = ordered_json::array();
      for (const auto& row : set.rows) {
        ordered_json r = ordered_json::array();
        for (const auto& v : row) r.push_back(ToJson(v));
        rs["rows"].push_back(std::move(r));
      }
      out["resultSets"].push_back(std::move(rs));
    }
    out["rowsAffected"] = result.rowsAffected;
    std::cout << out.dump() << "\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
}

int Run(const std::string& db, const std::vector<std::string>& files) {
  const auto work =
      std::filesystem::temp_directory_path() / ("zov-run-" + std::to_string(::getpid()));
  int failed = 0, steps = 0;
  try {
    auto databases = zov::sim::MakeScenarioDatabases(work.string(), db);
    for (const auto& file : files) {
      const auto outcome = zov::sim::PlayScenario(file, databases, std::cout);
      steps += outcome.steps;
      if (outcome.failures) {
        ++failed;
        std::cout << file << ": " << outcome.failures << " failed\n";
      } else {
        std::cout << file << ": ok\n";
      }
    }
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    failed = static_cast<int>(files.size());
  }
  std::error_code ec;
  std::filesystem::remove_all(work, ec);
  std::cout << files.size() - failed << " of " << files.size() << " scenarios passed\n";
  return failed == 0 ? 0 : 1;
}

// A line of the standard input; from a terminal without showing what is typed.
std::string ReadSecret(const std::string& prompt) {
  const bool terminal = ::isatty(STDIN_FILENO);
  termios before{};
  if (terminal) {
    std::cerr << prompt << std::flush;
    tcgetattr(STDIN_FILENO, &before);
    termios quiet = before;
    quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
    tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
  }
  std::string line;
  std::getline(std::cin, line);
  if (terminal) {
    tcsetattr(STDIN_FILENO, TCSANOW, &before);
    std::cerr << "\n";
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

int UserPasswd(const std::string& location, const std::string& user) {
  try {
    const std::string password = ReadSecret("新密码：");
    if (::isatty(STDIN_FILENO) && ReadSecret("再输入一次：") != password) {
      std::cerr << "两次输入的密码不一致。\n";
      return 1;
    }
    auto db = zov::sim::ConnectToDatabase(location);
    zov::sim::AddPasswordColumns(*db);
    zov::sim::SetPassword(*db, user, password);
    std::cerr << "用户“" << user << "”的密码已设置。\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "zov: the sales plug-ins' substitute host (database set-up, T-SQL console, scenario runner, "
      "passwords)"};
  app.require_subcommand(1);

  auto* db = app.add_subcommand("db", "set a database up");
  auto* init =
      db->add_subcommand("init", "create a database with the schema (and the demo account set)");
  std::string initPath;
  bool demo = false;
  constexpr const char* kLocation = "the database: a file, or a postgresql:// connection string";
  init->add_option("--db", initPath, kLocation)->required();
  init->add_flag("--demo", demo, "load the demo account set");
  db->require_subcommand(1);

  auto* sql = app.add_subcommand("sql", "run one T-SQL batch and print its result sets as JSON");
  std::string sqlPath, sqlFile, sqlText;
  sql->add_option("--db", sqlPath, kLocation)->required();
  sql->add_option("--file", sqlFile, "read the batch from a file");
  sql->add_option("text", sqlText, "the batch");

  auto* run = app.add_subcommand("run", "play scenario files");
  std::string runDb;
  std::vector<std::string> files;
  run->add_option("--db", runDb,
                  "a database to copy for \"demo\" scenarios (a file, or a postgresql:// "
                  "connection string: every scenario then runs on a copy on that server)");
  run->add_option("files", files, "scenario files")->required();

  auto* user = app.add_subcommand("user", "the account set's users");
  auto* passwd = user->add_subcommand(
      "passwd", "set a user's password, read from the standard input (typed twice on a terminal)");
  std::string passwdPath, passwdUser;
  passwd->add_option("--db", passwdPath, kLocation)->required();
  passwd->add_option("user", passwdUser, "the user's number, as stored (admin)")->required();
  user->require_subcommand(1);

  CLI11_PARSE(app, argc, argv);
  if (*init) return DbInit(initPath, demo);
  if (*passwd) return UserPasswd(passwdPath, passwdUser);
  if (*sql) {
    if (sqlFile.empty() && sqlText.empty()) {
      std::cerr << "zov sql: give the batch as text or with --file\n";
      return 2;
    }
    return Sql(sqlPath, sqlFile, sqlText);
  }
  if (*run) return Run(runDb, files);
  return 0;
}
