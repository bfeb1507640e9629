// Runs SQL logic test files (tests/sql/*.test) against a fresh database.
//
// A file is a sequence of records separated by blank lines; lines starting with '#' are comments.
//
//   statement ok [atomic] [script]      the batch must succeed
//   statement count <n> [atomic]        ... and report n rows affected
//   statement error [atomic] [script]   the batch must fail; an optional "----" line is followed
//                                       by a text the error message must contain
//   query <types> [rowsort] [names] [atomic]
//                                       the batch must return result sets whose column kinds are
//                                       <types> (I Long, R Double, C Currency, D Date, T String,
//                                       B Boolean, ? any; sets separated by ','), then "----" and
//                                       the expected rows, cells separated by '|', sets separated
//                                       by a line "====". With "names" the first line of each set
//                                       holds the column names.
//   session <name>                      later records run on this session (created on first use)
//   reopen                              closes every session and the database and opens it again
//   onlyif <engine> / skipif <engine>   as the line before a record's header: the record runs
//                                       only on / not on "sqlite" or "postgresql"; for what the
//                                       engines may rightly do differently, with a comment why
//
// Values print as: NULL; true/false; integers; doubles in their shortest exact form; Currency
// with four decimals; dates as YYYY-MM-DD HH:MM:SS.mmm; texts as they are, '(empty)' for an empty
// one and quoted with ' when they start or end with a space.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "data/database.h"

namespace zov::data::testing {

// Renders one value as the test files write it.
std::string RenderValue(const vb::Variant& v);

// Runs the file against the (empty) database at `location` and returns the failures, each with
// its line number; empty when all passed.
std::vector<std::string> RunSqlLogicFile(const std::filesystem::path& file,
                                         const std::string& location);

}  // namespace zov::data::testing
