// The session's connection to the account set's database: the host database's T-SQL session on
// the embedded file, and setting a database file up with the schema (and the demo account set).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "session/session.h"

namespace zov::data {
class Database;
}

namespace zov::sim {

// A connection of its own to the database file at `path`. Raises std::runtime_error naming the
// file when there is none or it is no database; it never creates one.
std::unique_ptr<SqlConnection> ConnectToFile(const std::string& path);

// Creates the tables the schema has gained since the database of `db` was set up (a database
// of an earlier version keeps its data and gets the host's newer tables).
void UpgradeDatabase(SqlConnection& db);

// The schema script (T-SQL, "GO"-separated), and the demo account set.
const std::string& SchemaScript();
const std::string& DemoScript();

// Creates the database file at `path` (replacing one that is there) with the schema, the demo
// account set when `demo`, and the plug-in library registered in the component registry.
// `progress` hears about each stage. Raises std::runtime_error naming the failing statement.
void InitializeDatabase(const std::string& path, bool demo,
                        const std::function<void(const std::string&)>& progress = {});

}  // namespace zov::sim
