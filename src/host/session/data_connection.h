// The session's connection to the account set's database: the host database's T-SQL session on
// the embedded file or on a PostgreSQL server, and setting a database up with the schema (and
// the demo account set).
//
// A database's location is a file path or a "postgresql://" connection string.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "session/session.h"

namespace zov::data {
class Database;
}

namespace zov::sim {

// A connection of its own to the database at `location`. Raises std::runtime_error naming the
// database when there is none or it is no database; it never creates one.
std::unique_ptr<SqlConnection> ConnectToDatabase(const std::string& location);

// Creates the tables the schema has gained since the database of `db` was set up (a database
// of an earlier version keeps its data and gets the host's newer tables).
void UpgradeDatabase(SqlConnection& db);

// The schema script (T-SQL, "GO"-separated), and the demo account set.
const std::string& SchemaScript();
const std::string& DemoScript();

// Creates the database at `location` (replacing the one that is there, or emptying the server's
// database of that name) with the schema, the demo account set when `demo`, and the plug-in
// library registered in the component registry. `progress` hears about each stage. Raises
// std::runtime_error naming the failing statement.
void InitializeDatabase(const std::string& location, bool demo,
                        const std::function<void(const std::string&)>& progress = {});

}  // namespace zov::sim
