// What a database shares between its sessions (the catalog, parsed batch trees) and what each
// session keeps for itself (its engine connection, temporary tables, options, caches).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/database.h"
#include "data/engine/connection.h"
#include "data/tsql/ast/batch.h"
#include "data/tsql/catalog.h"
#include "data/tsql/lexer.h"
#include "data/tsql/translation.h"

namespace zov::data::detail {

class DatabaseState {
 public:
  using Connector = std::function<std::unique_ptr<engine::Connection>()>;
  DatabaseState(std::string location, Connector connect)
      : location(std::move(location)), connect(std::move(connect)) {}

  const std::string location;  // the file, or the server's connection string
  const Connector connect;     // a new connection to the database

  // The catalog of the file as last published, with its generation.
  std::shared_ptr<const tsql::Catalog> Main(std::uint64_t& generation) const;
  // Replaces the catalog after `change` edits a copy of the current one.
  void ChangeMain(const std::function<void(tsql::Catalog&)>& change);
  // Replaces the catalog wholesale (after a reload).
  void PublishMain(tsql::Catalog catalog);
  std::uint64_t Generation() const { return generation_.load(std::memory_order_acquire); }

  // A parsed tree for the batch `shape` whose pinned literals match `texts`, or null.
  std::shared_ptr<const tsql::Batch> FindTree(const std::string& shape,
                                              const std::vector<std::string_view>& texts);
  void AddTree(const std::string& shape, std::shared_ptr<const tsql::Batch> tree);

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<const tsql::Catalog> main_ = std::make_shared<tsql::Catalog>();
  std::atomic<std::uint64_t> generation_{1};
  std::unordered_map<std::string, std::vector<std::shared_ptr<const tsql::Batch>>> trees_;
};

// A translation with its prepared statement, valid while the catalog generation, the temporary
// tables it read and the literals it relied on are unchanged.
struct CachedStatement {
  tsql::Translation translation;
  std::uint64_t generation = 0;
  std::unique_ptr<engine::Statement> statement;  // prepared on first execution
  std::vector<Column> columns;                   // the result columns as a ResultSet describes them
  // A row-by-row assignment's steps (translation.steps), prepared on first execution.
  std::vector<std::unique_ptr<CachedStatement>> steps;
};

struct CachedBatch {
  std::shared_ptr<const tsql::Batch> batch;
  // The catalog generation under which every statement of the batch was last checked before
  // running; a batch checked under the current one is not checked again.
  std::uint64_t checkedGeneration = 0;
  int writeSteps = -1;  // 0 reads only, 1 one writing statement, 2 more (-1: not counted yet)
  bool writesDatabase = false;  // one statement may write a table that is not temporary
  // Per statement or expression node (address * 4 + use), the translations made for it.
  std::unordered_map<std::uintptr_t, std::vector<std::unique_ptr<CachedStatement>>> statements;
};

class SessionState {
 public:
  explicit SessionState(std::shared_ptr<DatabaseState> database);
  ~SessionState();

  // The batch of `shape` cached in this session whose pinned literals match, or null.
  CachedBatch* FindBatch(const std::string& shape, const std::vector<std::string_view>& texts);
  CachedBatch& AddBatch(const std::string& shape, std::shared_ptr<const tsql::Batch> batch);
  // Current catalog of the file (refreshed when another session changed it).
  const tsql::Catalog& Main();
  std::uint64_t MainGeneration() const { return mainGeneration; }
  // Re-reads both catalogs from the connection (after a rollback undid DDL).
  void ReloadCatalogs();
  // A new id for a temporary table (negative, as SQL Server numbers them).
  long long NextTempId() { return --tempIds_; }

  // Temporary tables dropped by T-SQL are emptied and kept out of sight instead: a batch that
  // drops and re-creates #tmp with the same definition (the price look-up does it on every call)
  // then finds the table, and its prepared statements, as they were. Only the catalog moves.
  struct DormantTable {
    std::string createSql;  // the CREATE that made it
    std::shared_ptr<const tsql::TableInfo> table;
  };
  // Drops the temporary table `table` (its catalog entry goes dormant).
  void DropTemp(const std::shared_ptr<const tsql::TableInfo>& table, const std::string& createSql);
  // Brings back a dormant table created by exactly `createSql`; false when there is none.
  bool ReviveTemp(const std::string& name, const std::string& createSql);
  // Really drops a dormant table of this name, if any, before a table of that name is created.
  void ForgetDormant(const std::string& name);
  // Marks and undoes the dormant-table changes of a transaction or savepoint.
  std::size_t TempJournalMark() const { return tempJournal_.size(); }
  void UndoTempJournal(std::size_t mark);
  void ClearTempJournal() { tempJournal_.clear(); }
  // The CREATE statement of a temporary table made by T-SQL ("" when unknown).
  std::map<std::string, std::string> tempCreateSql;
  // Object_Id() for `name` ("Tempdb.dbo.#t", "dbo.t", "t") and an optional type ("U", "V").
  std::optional<long long> ObjectId(std::string_view name, std::string_view type);
  // BEGIN TRANSACTION, COMMIT and ROLLBACK with SQL Server's nesting count.
  void BeginTransaction();
  void CommitTransaction();
  void RollbackTransaction();

  std::shared_ptr<DatabaseState> database;
  std::unique_ptr<engine::Connection> connection;
  const tsql::Dialect* dialect;
  std::shared_ptr<const tsql::Catalog> main;
  std::uint64_t mainGeneration = 0;
  tsql::Catalog temp;

  // SET options and session-wide values.
  bool nocount = false;
  std::string identityInsert;  // Catalog::Key of the table with IDENTITY_INSERT ON
  bool hasIdentity = false;
  long long lastIdentity = 0;
  long long rowCount = 0;

  // Storage the interpreter reuses from batch to batch.
  tsql::LexedBatch lexed;
  std::vector<std::string_view> literalTexts;
  std::vector<tsql::SqlValue> literalValues;

  // Transactions: `depth` counts Begin/BEGIN TRAN; an atomic batch runs inside its own.
  int depth = 0;
  bool inAtomic = false;
  bool ddlInTransaction = false;

 private:
  std::unordered_map<std::string, std::vector<std::unique_ptr<CachedBatch>>> batches_;
  std::size_t batchCount_ = 0;
  long long tempIds_ = -1000;
  struct JournalEntry {
    enum class Kind { Dropped, Revived, Forgotten } kind;
    std::string key;
    DormantTable dormant;
  };
  std::map<std::string, DormantTable> dormant_;
  // DELETE of each dormant-capable table.
  std::map<std::string, std::unique_ptr<engine::Statement>> tempClear_;
  std::vector<JournalEntry> tempJournal_;
};

}  // namespace zov::data::detail
