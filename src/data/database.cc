// Database and Session: the public face of the host database.
#include "data/database.h"

#include <fmt/format.h>

#include <filesystem>

#include "data/postgresql/engine.h"
#include "data/session_state.h"
#include "data/sqlite/engine.h"
#include "data/tsql/interpreter.h"
#include "data/tsql/script.h"
#include "data/tsql/translator.h"

namespace zov::data {

namespace detail {

namespace {

constexpr std::size_t kMaxCachedShapes = 1000;

bool PinsMatch(const tsql::Batch& batch, const std::vector<std::string_view>& texts) {
  for (const tsql::PinnedLiteral& p : batch.pinned)
    if (static_cast<std::size_t>(p.slot) >= texts.size() ||
        texts[static_cast<std::size_t>(p.slot)] != p.text)
      return false;
  return true;
}

std::string_view Unbracket(std::string_view part) {
  while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
  while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
  if (part.size() >= 2 &&
      ((part.front() == '[' && part.back() == ']') || (part.front() == '"' && part.back() == '"')))
    part = part.substr(1, part.size() - 2);
  return part;
}

}  // namespace

std::shared_ptr<const tsql::Catalog> DatabaseState::Main(std::uint64_t& generation) const {
  std::lock_guard lock(mutex_);
  generation = generation_.load(std::memory_order_acquire);
  return main_;
}

void DatabaseState::ChangeMain(const std::function<void(tsql::Catalog&)>& change) {
  std::lock_guard lock(mutex_);
  auto copy = std::make_shared<tsql::Catalog>(*main_);
  change(*copy);
  main_ = std::move(copy);
  generation_.fetch_add(1, std::memory_order_acq_rel);
}

void DatabaseState::PublishMain(tsql::Catalog catalog) {
  std::lock_guard lock(mutex_);
  main_ = std::make_shared<tsql::Catalog>(std::move(catalog));
  generation_.fetch_add(1, std::memory_order_acq_rel);
}

std::shared_ptr<const tsql::Batch> DatabaseState::FindTree(
    const std::string& shape, const std::vector<std::string_view>& texts) {
  std::lock_guard lock(mutex_);
  auto it = trees_.find(shape);
  if (it == trees_.end()) return nullptr;
  for (const auto& tree : it->second)
    if (PinsMatch(*tree, texts)) return tree;
  return nullptr;
}

void DatabaseState::AddTree(const std::string& shape, std::shared_ptr<const tsql::Batch> tree) {
  std::lock_guard lock(mutex_);
  if (trees_.size() >= kMaxCachedShapes * 2) trees_.clear();
  auto& list = trees_[shape];
  if (list.size() >= 16) list.erase(list.begin());
  list.push_back(std::move(tree));
}

SessionState::SessionState(std::shared_ptr<DatabaseState> db)
    : database(std::move(db)), connection(database->connect()), dialect(&connection->Dialect()) {
  Main();
}

SessionState::~SessionState() {
  // Prepared statements go before the connection that made them.
  batches_.clear();
  tempClear_.clear();
  if (connection->InTransaction()) {
    try {
      connection->Rollback();
    } catch (...) {
    }
  }
}

CachedBatch* SessionState::FindBatch(const std::string& shape,
                                     const std::vector<std::string_view>& texts) {
  auto it = batches_.find(shape);
  if (it == batches_.end()) return nullptr;
  for (auto& b : it->second)
    if (PinsMatch(*b->batch, texts)) return b.get();
  return nullptr;
}

CachedBatch& SessionState::AddBatch(const std::string& shape,
                                    std::shared_ptr<const tsql::Batch> batch) {
  if (batchCount_ >= kMaxCachedShapes) {
    batches_.clear();
    batchCount_ = 0;
  }
  auto& list = batches_[shape];
  if (list.size() >= 16) list.erase(list.begin());
  auto entry = std::make_unique<CachedBatch>();
  entry->batch = std::move(batch);
  list.push_back(std::move(entry));
  ++batchCount_;
  return *list.back();
}

const tsql::Catalog& SessionState::Main() {
  if (connection->CatalogChangedElsewhere()) database->PublishMain(connection->LoadCatalog(false));
  if (!main || database->Generation() != mainGeneration) main = database->Main(mainGeneration);
  return *main;
}

void SessionState::ReloadCatalogs() {
  database->PublishMain(connection->LoadCatalog(false));
  tsql::Catalog reloaded = connection->LoadCatalog(true);
  // The memory's entries are exact (SQLite's declared types are not); dormant tables stay hidden.
  tsql::Catalog result;
  for (const auto& [key, table] : reloaded.Objects()) {
    if (dormant_.count(key)) continue;
    auto known = temp.Find(key);
    if (known && known->columns.size() == table->columns.size()) {
      result.Put(known);
    } else {
      auto fresh = std::make_shared<tsql::TableInfo>(*table);
      fresh->objectId = NextTempId();
      result.Put(std::move(fresh));
    }
  }
  temp = std::move(result);
  Main();
}

void SessionState::DropTemp(const std::shared_ptr<const tsql::TableInfo>& table,
                            const std::string& createSql) {
  const std::string key = tsql::Catalog::Key(table->name);
  std::unique_ptr<engine::Statement>& clear = tempClear_[key];
  if (!clear)
    clear = connection->Prepare("DELETE FROM " + tsql::Translator::TableSql(*dialect, *table));
  connection->Run(*clear, {}, {}, false);
  DormantTable d{createSql, table};
  if (depth > 0 || inAtomic)
    tempJournal_.push_back(JournalEntry{JournalEntry::Kind::Dropped, key, d});
  dormant_[key] = std::move(d);
  temp.Remove(table->name);
}

bool SessionState::ReviveTemp(const std::string& name, const std::string& createSql) {
  const std::string key = tsql::Catalog::Key(name);
  auto it = dormant_.find(key);
  if (it == dormant_.end() || it->second.createSql != createSql) return false;
  if (it->second.table->IdentityColumn() >= 0) connection->RestartIdentity(*it->second.table, 1);
  // The same definition keeps its id, so that translations made for it stay valid.
  if (depth > 0 || inAtomic)
    tempJournal_.push_back(JournalEntry{JournalEntry::Kind::Revived, key, it->second});
  temp.Put(it->second.table);
  dormant_.erase(it);
  return true;
}

void SessionState::ForgetDormant(const std::string& name) {
  const std::string key = tsql::Catalog::Key(name);
  auto it = dormant_.find(key);
  if (it == dormant_.end()) return;
  tempClear_.erase(key);
  connection->Exec("DROP TABLE " + tsql::Translator::TableSql(*dialect, *it->second.table));
  if (depth > 0 || inAtomic)
    tempJournal_.push_back(JournalEntry{JournalEntry::Kind::Forgotten, key, it->second});
  dormant_.erase(it);
}

void SessionState::UndoTempJournal(std::size_t mark) {
  while (tempJournal_.size() > mark) {
    JournalEntry e = std::move(tempJournal_.back());
    tempJournal_.pop_back();
    switch (e.kind) {
      case JournalEntry::Kind::Dropped:  // the rollback brings the rows back: visible again
        dormant_.erase(e.key);
        temp.Put(e.dormant.table);
        break;
      case JournalEntry::Kind::Revived:  // back out of sight
        temp.Remove(e.key);
        dormant_[e.key] = e.dormant;
        break;
      case JournalEntry::Kind::Forgotten:  // the rollback brings the dropped table back
        dormant_[e.key] = e.dormant;
        break;
    }
  }
}

std::optional<long long> SessionState::ObjectId(std::string_view name, std::string_view type) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= name.size(); ++i) {
    if (i == name.size() || name[i] == '.') {
      parts.push_back(Unbracket(name.substr(start, i - start)));
      start = i + 1;
    }
  }
  const std::string_view object = parts.back();
  const bool isTemp = !object.empty() && object.front() == '#';
  if (isTemp) {
    // SQL Server finds a temporary table only through tempdb.
    if (parts.size() < 3 || tsql::Catalog::Key(parts[0]) != "TEMPDB") return std::nullopt;
  } else if (parts.size() >= 2 && !parts[parts.size() - 2].empty() &&
             tsql::Catalog::Key(parts[parts.size() - 2]) != "DBO") {
    return std::nullopt;
  }
  auto table = isTemp ? temp.Find(object) : Main().Find(object);
  if (!table) return std::nullopt;
  const std::string kind = tsql::Catalog::Key(Unbracket(type));
  if (!kind.empty() && !((kind == "U" && !table->view) || (kind == "V" && table->view)))
    return std::nullopt;
  return table->objectId;
}

void SessionState::BeginTransaction() {
  if (depth == 0) {
    connection->Begin(true);
    ddlInTransaction = false;
    ClearTempJournal();
  }
  ++depth;
}

void SessionState::CommitTransaction() {
  if (depth == 0)
    throw SqlError("The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION.");
  if (--depth > 0) return;
  try {
    connection->Commit();
  } catch (...) {
    try {
      if (connection->InTransaction()) connection->Rollback();
    } catch (...) {
    }
    UndoTempJournal(0);
    if (ddlInTransaction) ReloadCatalogs();
    ddlInTransaction = false;
    throw;
  }
  ClearTempJournal();
  ddlInTransaction = false;
}

void SessionState::RollbackTransaction() {
  if (depth == 0)
    throw SqlError("The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION.");
  depth = 0;
  connection->Rollback();
  UndoTempJournal(0);
  if (ddlInTransaction) ReloadCatalogs();
  ddlInTransaction = false;
}

}  // namespace detail

// ---- Session -----------------------------------------------------------------------------------

Session::Session(std::unique_ptr<detail::SessionState> state) : state_(std::move(state)) {}
Session::~Session() = default;

BatchResult Session::Execute(std::string_view batch, Atomic atomic) {
  detail::SessionState& s = *state_;
  engine::Connection& connection = *s.connection;
  tsql::Interpreter interpreter(s);
  interpreter.Load(batch);
  // A batch that only reads, or is a single writing statement, is all or nothing by itself: it
  // needs no transaction (and a read takes no write lock). Where a failed statement spoils the
  // transaction around it, an atomic batch in a transaction always runs under a savepoint, so
  // that its failure undoes the batch alone.
  const bool guard = s.depth > 0 && s.dialect->errorAbortsTransaction;
  if (atomic == Atomic::No || s.inAtomic || (!interpreter.WritesInSteps() && !guard))
    return interpreter.Run();
  const bool own = s.depth == 0;
  if (own) {
    connection.Begin(interpreter.WritesDatabase());
    s.ddlInTransaction = false;
    s.ClearTempJournal();
  } else {
    connection.Savepoint("zov_atomic");
  }
  const std::size_t mark = s.TempJournalMark();
  s.inAtomic = true;
  BatchResult result;
  try {
    result = interpreter.Run();
  } catch (...) {
    s.inAtomic = false;
    try {
      if (own) {
        connection.Rollback();
      } else {
        connection.RollbackTo("zov_atomic");
        connection.Release("zov_atomic");
      }
      s.UndoTempJournal(mark);
      if (s.ddlInTransaction) s.ReloadCatalogs();
    } catch (...) {
    }
    if (own) s.ddlInTransaction = false;
    throw;
  }
  s.inAtomic = false;
  if (!own) {
    connection.Release("zov_atomic");
    return result;
  }
  try {
    connection.Commit();
  } catch (...) {
    try {
      if (connection.InTransaction()) connection.Rollback();
      s.UndoTempJournal(0);
      if (s.ddlInTransaction) s.ReloadCatalogs();
    } catch (...) {
    }
    s.ddlInTransaction = false;
    throw;
  }
  s.ClearTempJournal();
  s.ddlInTransaction = false;
  return result;
}

BatchResult Session::ExecuteScript(std::string_view script, Atomic atomic) {
  std::vector<std::string_view> batches;
  try {
    batches = tsql::SplitBatches(script);
  } catch (const SqlError& e) {
    throw e.WithStatement(std::string(script));
  }
  BatchResult all;
  auto run = [&] {
    for (std::string_view b : batches) {
      BatchResult r = Execute(b);
      all.rowsAffected += r.rowsAffected;
      for (ResultSet& rs : r.resultSets) all.resultSets.push_back(std::move(rs));
    }
  };
  if (atomic == Atomic::No) {
    run();
    return all;
  }
  Begin();
  try {
    run();
  } catch (...) {
    if (state_->depth > 0) {
      try {
        Rollback();
      } catch (...) {
      }
    }
    throw;
  }
  Commit();
  return all;
}

void Session::Begin() { state_->BeginTransaction(); }
void Session::Commit() { state_->CommitTransaction(); }
void Session::Rollback() { state_->RollbackTransaction(); }
bool Session::InTransaction() const { return state_->depth > 0; }

// ---- Database ----------------------------------------------------------------------------------

Database::Database(std::shared_ptr<detail::DatabaseState> state) : state_(std::move(state)) {}
Database::~Database() = default;

bool IsServerLocation(std::string_view location) {
  return location.rfind("postgresql://", 0) == 0 || location.rfind("postgres://", 0) == 0;
}

std::shared_ptr<Database> Database::Open(const std::string& location) {
  detail::DatabaseState::Connector connect;
  if (IsServerLocation(location))
    connect = [location] { return postgresql::Connect(location); };
  else
    connect = [location] { return sqlite::Connect(location); };
  std::unique_ptr<engine::Connection> first = connect();
  first->PrepareCatalog();
  auto state = std::make_shared<detail::DatabaseState>(location, std::move(connect));
  state->PublishMain(first->LoadCatalog(false));
  return std::shared_ptr<Database>(new Database(std::move(state)));
}

std::shared_ptr<Database> Database::Create(const std::string& location) {
  if (IsServerLocation(location)) {
    postgresql::CreateEmpty(location);
  } else {
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
      std::filesystem::remove(location + suffix, ec);
  }
  return Open(location);
}

void Database::Copy(const std::string& from, const std::string& to) {
  if (IsServerLocation(from)) {
    postgresql::Copy(from, to);
    return;
  }
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(to + suffix);
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
}

void Database::Drop(const std::string& location) {
  if (IsServerLocation(location)) {
    postgresql::Drop(location);
    return;
  }
  std::error_code ec;
  for (const char* suffix : {"", "-wal", "-shm", "-journal"})
    std::filesystem::remove(location + suffix, ec);
}

std::string Database::Named(const std::string& location, std::string_view name) {
  if (IsServerLocation(location)) return postgresql::WithDatabase(location, name);
  return (std::filesystem::path(location).parent_path() / (std::string(name) + ".db")).string();
}

std::string Database::Shown(const std::string& location) {
  return IsServerLocation(location) ? postgresql::Shown(location) : location;
}

std::unique_ptr<Session> Database::NewSession() {
  return std::unique_ptr<Session>(new Session(std::make_unique<detail::SessionState>(state_)));
}

const std::string& Database::location() const { return state_->location; }

}  // namespace zov::data
