// What differs in the SQL the translator emits for each engine: one table per engine, filled in
// by its back end (sqlite/dialect.cc, postgresql/dialect.cc). The translator and the interpreter
// stay one; wherever the engines part ways they read the table.
//
// Templates take their arguments as {0}, {1}, ... (fmt syntax).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/tsql/sql_type.h"
#include "data/tsql/sql_value.h"

namespace zov::data::tsql {

struct Dialect {
  std::string_view name;  // "SQLite", "PostgreSQL"

  // ---- Names
  std::string_view tempSchema;  // before the name of a temporary table: "temp."
  std::string_view rowId;       // a row's identity within a statement (UPDATE/DELETE ... FROM)
  std::string_view collate;     // after a text operand: compare as SQL Server's CI collation

  // ---- Parameters and literals
  // How parameter n (1-based) of final type `type` is written (`list`: the one parameter of a
  // long IN list, whose values have that type); null when "?n" stands as it is.
  std::string (*parameter)(int n, const SqlType& type, bool list);
  // A value written into SQL text (a view keeps no parameters).
  std::string (*literal)(const SqlValue& value, const SqlType& type);
  // The one parameter a long IN list binds: its values, each of type `element`.
  std::string (*listParameter)(const std::vector<SqlValue>& values, const SqlType& element);
  // x [NOT] IN that list: {0} the operand, {1} the parameter.
  std::string_view inList;
  std::string_view notInList;

  // ---- Conversions
  // `sql` of type `from` converted to `to` with SQL Server's rules (CONVERT's `style`, -1 for
  // none; `assignment`: writing to a column, where overlong text is an error).
  std::string (*convert)(const std::string& sql, const SqlType& from, const SqlType& to, int style,
                         bool assignment);
  std::string_view toFloat;   // an exact number {0} as a double
  std::string_view truncate;  // a double {0} truncated to a bigint
  // YEAR, MONTH or DAY (`part`) of the datetime `sql`, as an int.
  std::string (*datePart)(const std::string& sql, std::string_view part);
  std::string_view trimBoth;  // the function that trims both ends, as trim(x, ' ')

  // ---- Order
  // After an ORDER BY key: NULL sorts first ascending and last descending, as in SQL Server.
  std::string_view ascending;
  std::string_view descending;
  // A UNION, EXCEPT or INTERSECT without ORDER BY comes back sorted, as where duplicates are
  // removed by sorting (the engine would hash them away in any order).
  bool orderDistinctSets = false;

  // ---- Tables
  // The engine's declared type of a column of T-SQL type `type`.
  std::string (*columnType)(const SqlType& type);
  // The definition of identity column `name` (quoted) of T-SQL type `type`;
  // it is the table's key. The engine's connection sets a seed other than 1 afterwards.
  std::string (*identityColumn)(const std::string& name, const SqlType& type);
  // The default of a datetime column of type `type` that takes GETDATE().
  std::string (*defaultNow)(const SqlType& type);
  // CREATE [UNIQUE] INDEX: {0} "UNIQUE " or "", {1} the index's name, {2} the table, {3} the
  // key columns; `temp` when the table is temporary.
  std::string_view createIndex;
  std::string_view createTempIndex;
  // After an INSERT into a table with an identity column {0}: the clause that gives back the
  // generated values as the statement's rows ("" when the engine reports them otherwise).
  std::string_view returningIdentity;

  // ---- Transactions
  // A failed statement spoils the transaction around it until it is rolled back (PostgreSQL):
  // statements in a transaction then run inside savepoints of their own.
  bool errorAbortsTransaction = false;
};

}  // namespace zov::data::tsql
