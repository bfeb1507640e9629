#include "session/data_connection.h"

#include <filesystem>
#include <string_view>

#include "data/database.h"
#include "session/plugin_loader.h"
#include "zov/vb/strings.h"

namespace zov::sim {

namespace {

RecordData ToRecords(data::ResultSet set) {
  RecordData records;
  records.columns.reserve(set.columns.size());
  for (auto& c : set.columns) records.columns.push_back({std::move(c.name), c.type});
  records.rows = std::move(set.rows);
  return records;
}

class DatabaseConnection final : public SqlConnection {
 public:
  explicit DatabaseConnection(const std::string& location)
      : database_(data::Database::Open(location)), session_(database_->NewSession()) {}

  std::vector<RecordData> Execute(std::string_view tsql) override {
    auto result = session_->Execute(tsql, data::Atomic::Yes);
    std::vector<RecordData> sets;
    sets.reserve(result.resultSets.size());
    for (auto& set : result.resultSets) sets.push_back(ToRecords(std::move(set)));
    return sets;
  }
  void Begin() override { session_->Begin(); }
  void Commit() override { session_->Commit(); }
  void Rollback() override {
    if (session_->InTransaction()) session_->Rollback();
  }
  std::string Location() const override { return data::Database::Shown(database_->location()); }

 private:
  std::shared_ptr<data::Database> database_;
  std::unique_ptr<data::Session> session_;
};

// Writes the classes of a plug-in library into t_ComponentRegistry.
class TableRegistry final : public vb::Implements<host::IComponentRegistry> {
 public:
  explicit TableRegistry(data::Session& session) : session_(session) {}
  std::string TypeName() const override { return "ComponentRegistry"; }
  void RegisterClass(const vb::Guid& clsid, std::string_view progId, std::string_view path,
                     std::string_view description) override {
    auto q = [](std::string_view s) { return "N'" + vb::Replace(s, "'", "''") + "'"; };
    session_.Execute(
        "DELETE FROM t_ComponentRegistry WHERE FProgID=" + q(progId) +
        "\nINSERT INTO t_ComponentRegistry (FProgID, FCLSID, FLibraryPath, FDescription) VALUES (" +
        q(progId) + "," + q(clsid.ToString()) + "," + q(path) + "," + q(description) + ")");
  }
  void UnregisterClass(const vb::Guid&, std::string_view progId) override {
    session_.Execute("DELETE FROM t_ComponentRegistry WHERE FProgID=N'" +
                     vb::Replace(progId, "'", "''") + "'");
  }

 private:
  data::Session& session_;
};

}  // namespace

std::unique_ptr<SqlConnection> ConnectToDatabase(const std::string& location) {
  const std::string shown = data::Database::Shown(location);
  if (!data::IsServerLocation(location)) {
    // Opening would create an empty file, and the session would fail later on a missing table.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(location, ec) ||
        std::filesystem::file_size(location, ec) == 0)
      throw std::runtime_error("no database file at \"" + location +
                               "\" (zov db init sets one up)");
  }
  std::unique_ptr<DatabaseConnection> connection;
  try {
    // Only the database engine opens the file. Its locks are the process's: any other open and
    // close of the file (a look at its header) would drop them, and another process could then
    // take the live write-ahead log away. A file that is no database fails here, when the engine
    // first reads it.
    connection = std::make_unique<DatabaseConnection>(location);
  } catch (const std::exception& e) {
    const std::string what = e.what();
    if (what.find(shown) != std::string::npos) throw;
    throw std::runtime_error("cannot open the database \"" + shown + "\": " + what);
  }
  return connection;
}

namespace {

// Creates the index unless the database has it. The T-SQL front end cannot list a table's
// indexes, so the engine's own refusal ("already exists", on either engine) tells that it is
// there; any other failure is the upgrade's.
void AddIndex(SqlConnection& db, const std::string& statement) {
  try {
    db.Execute(statement);
  } catch (const std::exception& e) {
    if (std::string_view(e.what()).find("already exists") == std::string_view::npos) throw;
  }
}

}  // namespace

void UpgradeDatabase(SqlConnection& db) {
  const std::string& script = SchemaScript();
  std::size_t at = 0;
  while (at < script.size()) {
    std::size_t end = script.find("\nGO", at);
    if (end == std::string::npos) end = script.size();
    const std::string batch = script.substr(at, end - at);
    at = end + 3;
    // A batch that creates an index: the index of a table that an earlier version created
    // without it is added.
    if (const std::size_t index = ("\n" + batch).find("\nCREATE INDEX ");
        index != std::string::npos) {
      AddIndex(db, batch.substr(index));
      continue;
    }
    // A batch that creates a table starts a line with it, after its comment lines.
    const std::string kCreate = "\nCREATE TABLE ";
    const std::size_t create = ("\n" + batch).find(kCreate);
    if (create == std::string::npos) continue;
    const std::size_t nameAt = create + kCreate.size() - 1;
    const std::size_t nameEnd = batch.find_first_of(" (\r\n", nameAt);
    const std::string table = batch.substr(nameAt, nameEnd - nameAt);
    const auto found = db.Execute("SELECT OBJECT_ID(N'" + vb::Replace(table, "'", "''") + "')");
    if (!found.empty() && !found[0].rows.empty() && !found[0].rows[0][0].IsNull()) continue;
    db.Execute(batch);
  }
}

void InitializeDatabase(const std::string& location, bool demo,
                        const std::function<void(const std::string&)>& progress) {
  auto say = [&](const std::string& what) {
    if (progress) progress(what);
  };
  auto database = data::Database::Create(location);
  auto session = database->NewSession();
  say("schema");
  session->ExecuteScript(SchemaScript(), data::Atomic::Yes);
  if (demo) {
    say("demo account set");
    session->ExecuteScript(DemoScript(), data::Atomic::Yes);
  }
  const std::string library = DefaultPluginLibrary();
  if (std::filesystem::exists(library)) {
    say("plug-in library");
    auto registry = vb::Ref<TableRegistry>::Adopt(new TableRegistry(*session));
    RegisterLibrary(library, *registry);
  }
  say("done");
}

}  // namespace zov::sim
