// A session's connection to an account set on a PostgreSQL server, through libpq.
//
// Transactions behave as SQLite's do for the front end: a transaction that writes takes the
// database's write lock when it begins (a transaction-level advisory lock), as does a single
// writing statement outside one, so writers serialise while readers go on. What the front end
// reads next within the transaction is therefore what the writers before it committed.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "data/engine/connection.h"

namespace zov::data::postgresql {

// Connects to the database named by `location` (a "postgresql://" connection string). Throws
// SqlError naming the database when it cannot.
std::unique_ptr<engine::Connection> Connect(const std::string& location);

// `location` with its database name replaced by `name`.
std::string WithDatabase(const std::string& location, std::string_view name);
// The database name of `location`.
std::string DatabaseName(const std::string& location);
// `location` as it may be shown: without a password.
std::string Shown(const std::string& location);

// Creates the database of `location` when the server has none of that name, empties it of
// every table, view and function otherwise.
void CreateEmpty(const std::string& location);
// Creates the database `to` as a copy of `from` (on the same server; nothing may be connected
// to `from`).
void Copy(const std::string& from, const std::string& to);
// Drops the database of `location`, if there is one.
void Drop(const std::string& location);

}  // namespace zov::data::postgresql
