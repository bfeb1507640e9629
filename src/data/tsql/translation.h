// The SQLite form of one T-SQL statement: its text, where each parameter's value comes from and
// how it converts when bound, the typed result columns, and what the translation depends on.
#pragma once

#include <string>
#include <vector>

#include "data/tsql/ast/batch.h"
#include "data/tsql/conversion.h"
#include "data/tsql/sql_type.h"

namespace zov::data::tsql {

enum class ParameterSource : std::uint8_t {
  Literal,    // the batch literal `index`
  Variable,   // the batch variable `index`
  Identity,   // @@IDENTITY / SCOPE_IDENTITY()
  RowCount,   // @@ROWCOUNT
  Zero,       // @@ERROR (0: a failed statement ends the batch)
  TranCount,  // @@TRANCOUNT
  List,       // the values of `items`, in the dialect's form of a list (a long IN list)
  Null,       // a NULL among the values of a list
  ObjectId,   // Object_Id() of the values of `items` (the name, and the type when given)
  RowValue,   // column `index` of the row a row-by-row assignment is at
};

struct Parameter {
  ParameterSource source = ParameterSource::Literal;
  int index = -1;
  SqlType from;          // the type of the literal or variable
  bool convert = false;  // convert to `to` when bound
  SqlType to;
  int style = -1;
  ConversionContext context = ConversionContext::Explicit;
  bool asReal = false;           // bind a number as a double so that SQLite divides exactly
  std::vector<Parameter> items;  // List, ObjectId: the parameters of the values
};

struct ResultColumn {
  std::string name;  // as SQL Server names it; empty for an expression without alias
  SqlType type;
};

// A temporary table the translation read, by the object id it had (0 when it did not exist).
// A session never gives two temporary tables the same id, and a table keeps its id only while
// its definition stays the same.
struct TempDependency {
  std::string key;  // Catalog::Key of the name
  long long objectId = 0;
};

struct Translation {
  std::string sql;
  std::vector<Parameter> params;  // ?1 .. ?n
  std::vector<ResultColumn> columns;
  std::vector<PinnedLiteral> literalDependencies;  // literal texts the translation relied on
  std::vector<TempDependency> tempDependencies;
  std::string identityTable;    // INSERT names this table's identity column explicitly
  std::string insertTable;      // INSERT into a table with an identity column (sets @@IDENTITY)
  bool writesDatabase = false;  // INSERT, UPDATE or DELETE of a table that is not temporary
  std::vector<int> assignTo;    // SELECT @v = ...: the variable of each result column
  std::vector<char> assignOps;
  // SELECT @v = @v + x ...: per item, the statement that gives its value for one row of this
  // query (which yields the parts of the items that read no assigned variable).
  std::vector<Translation> steps;
};

}  // namespace zov::data::tsql
