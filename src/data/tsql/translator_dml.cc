// INSERT, UPDATE and DELETE, including SQL Server's UPDATE ... FROM and DELETE ... FROM forms.
#include <fmt/format.h>

#include <cctype>

#include "data/sql_error.h"
#include "data/tsql/text_rules.h"
#include "data/tsql/translator.h"

namespace zov::data::tsql {

Translation Translator::Insert(const InsertStatement& statement) {
  auto table = FindTable(statement.target);
  if (!table) throw SqlError(fmt::format("Invalid object name '{}'.", statement.target.name));
  if (table->view) throw SqlError("Unsupported T-SQL construct: INSERT into a view.");
  std::vector<int> columns;
  bool identity = false;
  if (statement.columns.empty()) {
    for (std::size_t i = 0; i < table->columns.size(); ++i)
      if (!table->columns[i].identity) columns.push_back(static_cast<int>(i));
  } else {
    for (const std::string& name : statement.columns) {
      const int index = table->FindColumn(name);
      if (index < 0) throw SqlError(fmt::format("Invalid column name '{}'.", name));
      for (int c : columns)
        if (c == index)
          throw SqlError(fmt::format(
              "The column name '{}' is specified more than once in the column list of an INSERT.",
              name));
      if (table->columns[static_cast<std::size_t>(index)].identity) identity = true;
      columns.push_back(index);
    }
  }
  std::string sql = "INSERT INTO " + TableSql(*table);
  if (statement.defaultValues) {
    sql += " DEFAULT VALUES";
  } else {
    sql += " (";
    for (std::size_t i = 0; i < columns.size(); ++i)
      sql += (i ? ", " : "") + Quote(table->columns[static_cast<std::size_t>(columns[i])].name);
    sql += ")";
  }
  Scope scope;
  if (!statement.rows.empty()) {
    sql += " VALUES ";
    for (std::size_t r = 0; r < statement.rows.size(); ++r) {
      const ExpressionList& row = statement.rows[r];
      if (row.size() > columns.size())
        throw SqlError(
            "There are fewer columns in the INSERT statement than values specified in the VALUES "
            "clause. The number of values in the VALUES clause must match the number of columns "
            "specified in the INSERT statement.");
      if (row.size() < columns.size())
        throw SqlError(
            "There are more columns in the INSERT statement than values specified in the VALUES "
            "clause. The number of values in the VALUES clause must match the number of columns "
            "specified in the INSERT statement.");
      sql += r ? ", (" : "(";
      for (std::size_t i = 0; i < row.size(); ++i) {
        Emitted v = Value(*row[i], scope);
        v = ForWrite(std::move(v), table->columns[static_cast<std::size_t>(columns[i])].type);
        sql += (i ? ", " : "") + v.sql;
      }
      sql += ")";
    }
  } else if (statement.query) {
    std::vector<ResultColumn> source;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < columns.size(); ++i) names.push_back(fmt::format("_i{}", i + 1));
    // Count the query's columns first so that a mismatch reports SQL Server's message.
    std::vector<ResultColumn> probe;
    std::string sub;
    try {
      sub = QuerySql(*statement.query, nullptr, source, true, false, &names);
    } catch (const SqlError& e) {
      if (e.message().rfind("The number of columns in the column list", 0) == 0)
        throw SqlError(
            "The select list for the INSERT statement contains a different number of items than "
            "the insert list. The number of SELECT values must match the number of INSERT "
            "columns.");
      throw;
    }
    sql += " SELECT ";
    for (std::size_t i = 0; i < columns.size(); ++i) {
      Emitted v;
      v.sql = Quote(names[i]);
      v.type = source[i].type;
      v.column = true;
      v = ForWrite(std::move(v), table->columns[static_cast<std::size_t>(columns[i])].type);
      sql += (i ? ", " : "") + v.sql;
    }
    sql += " FROM (" + sub + ") AS " + NewAlias();
  }
  const int identityColumn = table->IdentityColumn();
  if (identityColumn >= 0 && !in_.dialect->returningIdentity.empty())
    sql += fmt::format(fmt::runtime(in_.dialect->returningIdentity),
                       Quote(table->columns[static_cast<std::size_t>(identityColumn)].name));
  Translation t = Finish(std::move(sql), {});
  t.writesDatabase = !table->temp;
  if (identity) t.identityTable = table->name;
  if (table->IdentityColumn() >= 0) t.insertTable = table->name;
  return t;
}

const Translator::Source& Translator::ModifiedSource(const ObjectName& name,
                                                     const std::vector<TableRefPtr>& from,
                                                     const char* verb, const char* of, Scope& scope,
                                                     std::string& fromSql) {
  auto table = FindTable(name);
  const Source* target = nullptr;
  if (from.empty()) {
    if (!table) throw SqlError(fmt::format("Invalid object name '{}'.", name.name));
    AddTableSource(*table, name.name, scope, fromSql);
    target = &scope.sources.front();
  } else {
    fromSql = FromSql(from, scope);
    for (const Source& s : scope.sources)
      if (EqualsNoCase(s.exposed, name.name)) target = &s;
    if (!target) {
      if (!table) throw SqlError(fmt::format("Invalid object name '{}'.", name.name));
      for (const Source& s : scope.sources)
        if (s.table && EqualsNoCase(s.table->name, table->name))
          throw SqlError(
              fmt::format("Unsupported T-SQL construct: {0} of '{1}' while FROM names it under an "
                          "alias; name the alias in {0}.",
                          verb, name.name));
      std::string extra;
      AddTableSource(*table, name.name, scope, extra);
      fromSql += ", " + extra;
      target = &scope.sources.back();
    }
    if (!target->table)
      throw SqlError(fmt::format("Unsupported T-SQL construct: {} {} the derived table '{}'.", verb,
                                 of, name.name));
  }
  if (target->table->view)
    throw SqlError(fmt::format("Unsupported T-SQL construct: {} {} a view.", verb, of));
  return *target;
}

Translation Translator::Update(const UpdateStatement& statement) {
  Scope scope;
  std::string fromSql;
  const Source* target =
      &ModifiedSource(statement.target, statement.from, "UPDATE", "of", scope, fromSql);
  const TableInfo& info = *target->table;

  std::vector<std::string> targets;
  std::vector<std::string> values;
  std::vector<int> seen;
  aggregatesAllowed_ = false;
  for (const SetClause& c : statement.sets) {
    const std::string& name = c.column.back();
    if (c.column.size() >= 2 && !EqualsNoCase(c.column[c.column.size() - 2], target->exposed))
      throw SqlError(fmt::format("The multi-part identifier \"{}.{}\" could not be bound.",
                                 c.column[c.column.size() - 2], name));
    const int index = info.FindColumn(name);
    if (index < 0) throw SqlError(fmt::format("Invalid column name '{}'.", name));
    const ColumnInfo& column = info.columns[static_cast<std::size_t>(index)];
    if (column.identity)
      throw SqlError(fmt::format("Cannot update identity column '{}'.", column.name));
    for (int s : seen)
      if (s == index)
        throw SqlError(fmt::format(
            "The column name '{}' is specified more than once in the SET clause or column list of "
            "an UPDATE. A column cannot be assigned more than one value in the same clause.",
            column.name));
    seen.push_back(index);
    Emitted v = Value(*c.value, scope);
    if (c.op != '=') {
      Emitted current;
      current.sql = target->sqlAlias + "." + Quote(column.name);
      current.type = column.type;
      current.column = true;
      v = Arithmetic(c.op, std::move(current), std::move(v));
    }
    v = ForWrite(std::move(v), column.type);
    targets.push_back(Quote(column.name));
    values.push_back(v.sql);
  }
  std::string where;
  if (statement.where) where = " WHERE " + Predicate(*statement.where, scope).sql;

  std::string sql;
  if (statement.from.empty()) {
    sql = "UPDATE " + TableSql(info) + " AS " + target->sqlAlias + " SET ";
    for (std::size_t i = 0; i < targets.size(); ++i)
      sql += (i ? ", " : "") + targets[i] + " = " + values[i];
    sql += where;
  } else {
    // The joined rows are computed first, then applied to the target by the row's identity.
    const std::string rowId(in_.dialect->rowId);
    std::string sub = "SELECT " + target->sqlAlias + "." + rowId + " AS \"_rid\"";
    for (std::size_t i = 0; i < values.size(); ++i)
      sub += fmt::format(", {} AS \"_v{}\"", values[i], i + 1);
    sub += fromSql + where;
    sql = "UPDATE " + TableSql(info) + " AS \"_u\" SET ";
    for (std::size_t i = 0; i < targets.size(); ++i)
      sql += fmt::format("{}{} = \"_src\".\"_v{}\"", i ? ", " : "", targets[i], i + 1);
    sql += " FROM (" + sub + ") AS \"_src\" WHERE \"_u\"." + rowId + " = \"_src\".\"_rid\"";
  }
  Translation t = Finish(std::move(sql), {});
  t.writesDatabase = !info.temp;
  return t;
}

Translation Translator::Delete(const DeleteStatement& statement) {
  Scope scope;
  std::string fromSql;
  const Source* target =
      &ModifiedSource(statement.target, statement.from, "DELETE", "from", scope, fromSql);
  const TableInfo& info = *target->table;
  aggregatesAllowed_ = false;
  std::string where;
  if (statement.where) where = " WHERE " + Predicate(*statement.where, scope).sql;
  std::string sql;
  if (statement.from.empty()) {
    sql = "DELETE FROM " + TableSql(info) + " AS " + target->sqlAlias + where;
  } else {
    const std::string rowId(in_.dialect->rowId);
    sql = "DELETE FROM " + TableSql(info) + " WHERE " + rowId + " IN (SELECT " + target->sqlAlias +
          "." + rowId + fromSql + where + ")";
  }
  Translation t = Finish(std::move(sql), {});
  t.writesDatabase = !info.temp;
  return t;
}

}  // namespace zov::data::tsql
