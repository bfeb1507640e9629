// The collation and functions the translated T-SQL calls on a PostgreSQL database
// (runtime.sql), applied by the engine when a database lacks this version of them.
#pragma once

#include <string>

namespace zov::data::postgresql {

const std::string& RuntimeScript();

}  // namespace zov::data::postgresql
