// A session's connection to an account set in an SQLite file.
#pragma once

#include <memory>
#include <string>

#include "data/engine/connection.h"

namespace zov::data::sqlite {

// Opens (creating when missing) the database file at `path`. Throws SqlError when it cannot.
std::unique_ptr<engine::Connection> Connect(const std::string& path);

}  // namespace zov::data::sqlite
