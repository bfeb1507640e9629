// CREATE TABLE, CREATE VIEW, CREATE INDEX and ALTER TABLE ADD.
#include <fmt/format.h>

#include <cctype>
#include <cmath>

#include "data/sql_error.h"
#include "data/tsql/ast/constant_expression.h"
#include "data/tsql/ast/function_expression.h"
#include "data/tsql/ast/unary_expression.h"
#include "data/tsql/text_rules.h"
#include "data/tsql/translator.h"

namespace zov::data::tsql {

std::string Translator::DefaultSql(const Expression& e, const SqlType& type) {
  const Expression* x = &e;
  bool negate = false;
  while (x->kind == ExpressionKind::Unary && x->As<UnaryExpression>().op != '~') {
    if (x->As<UnaryExpression>().op == '-') negate = !negate;
    x = x->As<UnaryExpression>().operand.get();
  }
  if (x->kind == ExpressionKind::Constant) {
    const auto& c = x->As<ConstantExpression>();
    if (c.IsNull()) return "NULL";
    SqlValue v = (*in_.literalValues)[static_cast<std::size_t>(c.slot)];
    if (negate) {
      if (v.kind == SqlValue::Kind::Integer)
        v.integer = -v.integer;
      else if (v.kind == SqlValue::Kind::Real)
        v.real = -v.real;
      else
        throw SqlError("Incorrect syntax near '-' in a DEFAULT.");
    }
    return "(" +
           in_.dialect->literal(ConvertValue(v, c.type, type, -1, ConversionContext::Assignment),
                                type) +
           ")";
  }
  if (x->kind == ExpressionKind::Function && !negate) {
    const auto& f = x->As<FunctionExpression>();
    std::string name = f.name;
    for (char& ch : name) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if ((name == "GETDATE" || name == "SYSDATETIME") && f.args.empty() && f.schema.empty() &&
        type.IsDateTime())
      return in_.dialect->defaultNow(type);
  }
  throw SqlError(
      "Unsupported T-SQL construct: a DEFAULT other than a constant or GETDATE() for a date "
      "column.");
}

std::string Translator::ColumnSql(const ColumnDefinition& c, bool asRowId, bool forceNotNull) {
  if (asRowId) return in_.dialect->identityColumn(Quote(c.name), c.type);
  std::string sql = Quote(c.name) + " " + in_.dialect->columnType(c.type);
  if (forceNotNull || (c.nullable.has_value() && !*c.nullable)) sql += " NOT NULL";
  if (c.defaultValue) sql += " DEFAULT " + DefaultSql(*c.defaultValue, c.type);
  if (c.type.IsString()) sql += in_.dialect->collate;
  return sql;
}

CreateTablePlan Translator::CreateTable(const CreateTableStatement& statement) {
  const ObjectName& name = statement.name;
  if (name.IsTemp() && name.name.size() > 1 && name.name[1] == '#')
    throw SqlError(
        fmt::format("Unsupported T-SQL construct: global temporary table {}.", name.name));
  if (!name.IsTemp() && !name.schema.empty() && !EqualsNoCase(name.schema, "dbo"))
    throw SqlError(fmt::format("Unsupported T-SQL construct: schema {}.", name.schema));
  if (FindTable(name))
    throw SqlError(
        fmt::format("There is already an object named '{}' in the database.", name.name));
  if (statement.columns.empty())
    throw SqlError("Incorrect syntax: a table needs at least one column.");

  const auto& cols = statement.columns;
  auto find = [&](const std::string& column) {
    for (std::size_t i = 0; i < cols.size(); ++i)
      if (EqualsNoCase(cols[i].name, column)) return static_cast<int>(i);
    throw SqlError(
        fmt::format("Column name '{}' does not exist in the target table or view.", column));
  };
  int identity = -1;
  std::vector<int> primaryKey;
  std::vector<std::vector<int>> uniques;
  for (std::size_t i = 0; i < cols.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j)
      if (EqualsNoCase(cols[i].name, cols[j].name))
        throw SqlError(
            fmt::format("Column names in each table must be unique. Column name '{}' in table '{}' "
                        "is specified more than once.",
                        cols[i].name, name.name));
    if (cols[i].identity) {
      if (identity >= 0)
        throw SqlError(
            fmt::format("Multiple identity columns specified for table '{}'. Only one identity "
                        "column per table is allowed.",
                        name.name));
      identity = static_cast<int>(i);
      const SqlType& t = cols[i].type;
      if (!(t.IsInteger() && t.id != TypeId::Bit) && !(t.id == TypeId::Decimal && t.scale == 0))
        throw SqlError(fmt::format(
            "Identity column '{}' must be of data type int, bigint, smallint, tinyint, or decimal "
            "or numeric with a scale of 0, and constrained to be nonnullable.",
            cols[i].name));
      if (cols[i].identityIncrement != 1)
        throw SqlError("Unsupported T-SQL construct: an IDENTITY increment other than 1.");
      if (cols[i].defaultValue)
        throw SqlError(
            fmt::format("Defaults cannot be created on columns with an IDENTITY attribute. Table "
                        "'{}', column '{}'.",
                        name.name, cols[i].name));
    }
    if (cols[i].primaryKey) {
      if (!primaryKey.empty())
        throw SqlError(
            fmt::format("Cannot add multiple PRIMARY KEY constraints to table '{}'.", name.name));
      primaryKey.push_back(static_cast<int>(i));
    }
    if (cols[i].unique) uniques.push_back({static_cast<int>(i)});
  }
  for (const TableConstraint& k : statement.constraints) {
    std::vector<int> key;
    for (const std::string& c : k.columns) key.push_back(find(c));
    if (k.primaryKey) {
      if (!primaryKey.empty())
        throw SqlError(
            fmt::format("Cannot add multiple PRIMARY KEY constraints to table '{}'.", name.name));
      primaryKey = key;
    } else {
      uniques.push_back(key);
    }
  }
  for (int k : primaryKey)
    if (cols[static_cast<std::size_t>(k)].nullable.value_or(false))
      throw SqlError(fmt::format(
          "Cannot define PRIMARY KEY constraint on nullable column in table '{}'.", name.name));

  // The identity column becomes the table's key (SQLite's rowid); a primary key on other columns
  // stays a unique key.
  const bool identityIsKey = identity >= 0 && primaryKey.size() == 1 && primaryKey[0] == identity;
  if (!primaryKey.empty() && !identityIsKey) uniques.insert(uniques.begin(), primaryKey);
  CreateTablePlan plan;
  if (identity >= 0) plan.uniqueKeys.push_back({identity});
  for (const auto& key : uniques) plan.uniqueKeys.push_back(key);
  plan.sql =
      std::string("CREATE ") + (name.IsTemp() ? "TEMP " : "") + "TABLE " + Quote(name.name) + " (";
  for (std::size_t i = 0; i < cols.size(); ++i) {
    bool inKey = false;
    for (int k : primaryKey)
      if (k == static_cast<int>(i)) inKey = true;
    plan.sql += (i ? ", " : "") + ColumnSql(cols[i], static_cast<int>(i) == identity, inKey);
    ColumnInfo info;
    info.name = cols[i].name;
    info.type = cols[i].type;
    info.identity = cols[i].identity;
    info.nullable =
        !(inKey || cols[i].identity || (cols[i].nullable.has_value() && !*cols[i].nullable));
    plan.columns.push_back(std::move(info));
  }
  for (const auto& key : uniques) {
    plan.sql += ", UNIQUE (";
    for (std::size_t i = 0; i < key.size(); ++i)
      plan.sql += (i ? ", " : "") + Quote(cols[static_cast<std::size_t>(key[i])].name);
    plan.sql += ")";
  }
  plan.sql += ")";
  if (identity >= 0) plan.identitySeed = cols[static_cast<std::size_t>(identity)].identitySeed;
  return plan;
}

CreateTablePlan Translator::CreateTableFor(const ObjectName& name,
                                           const std::vector<ResultColumn>& columns) {
  if (name.IsTemp() && name.name.size() > 1 && name.name[1] == '#')
    throw SqlError(
        fmt::format("Unsupported T-SQL construct: global temporary table {}.", name.name));
  if (FindTable(name))
    throw SqlError(
        fmt::format("There is already an object named '{}' in the database.", name.name));
  CreateTablePlan plan;
  plan.sql =
      std::string("CREATE ") + (name.IsTemp() ? "TEMP " : "") + "TABLE " + Quote(name.name) + " (";
  for (std::size_t i = 0; i < columns.size(); ++i) {
    SqlType t = columns[i].type.IsNull() ? SqlType::Of(TypeId::Int) : columns[i].type;
    plan.sql += (i ? ", " : "") + Quote(columns[i].name) + " " + in_.dialect->columnType(t);
    if (t.IsString()) plan.sql += in_.dialect->collate;
    ColumnInfo info;
    info.name = columns[i].name;
    info.type = t;
    plan.columns.push_back(std::move(info));
  }
  plan.sql += ")";
  return plan;
}

Translation Translator::CreateView(const CreateViewStatement& statement) {
  const ObjectName& name = statement.name;
  if (name.IsTemp())
    throw SqlError(
        "Views or functions are not allowed on temporary tables. Table names that begin with '#' "
        "denote temporary tables.");
  if (FindTable(name))
    throw SqlError(
        fmt::format("There is already an object named '{}' in the database.", name.name));
  std::vector<ResultColumn> columns;
  std::string sql = QuerySql(*statement.query, nullptr, columns, true, true,
                             statement.columns.empty() ? nullptr : &statement.columns);
  if (!tempDependencies_.empty())
    throw SqlError(
        "Views or functions are not allowed on temporary tables. Table names that begin with '#' "
        "denote temporary tables.");
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].name.empty())
      throw SqlError(fmt::format(
          "Create View or Function failed because no column name was specified for column {}.",
          i + 1));
    for (std::size_t j = 0; j < i; ++j)
      if (EqualsNoCase(columns[i].name, columns[j].name))
        throw SqlError(
            fmt::format("Column names in each view or function must be unique. Column name '{}' in "
                        "view or function '{}' is specified more than once.",
                        columns[i].name, name.name));
  }
  sql = InlineLiterals(sql);
  params_.clear();
  return Finish("CREATE VIEW " + Quote(name.name) + " AS " + sql, std::move(columns));
}

std::string Translator::CreateIndex(const CreateIndexStatement& statement) {
  auto table = FindTable(statement.table);
  if (!table)
    throw SqlError(fmt::format(
        "Cannot find the object \"{}\" because it does not exist or you do not have permissions.",
        statement.table.name));
  if (table->view) throw SqlError("Unsupported T-SQL construct: an index on a view.");
  std::string key;
  for (std::size_t i = 0; i < statement.columns.size(); ++i) {
    const int index = table->FindColumn(statement.columns[i].name);
    if (index < 0)
      throw SqlError(fmt::format("Column name '{}' does not exist in the target table or view.",
                                 statement.columns[i].name));
    key += (i ? ", " : "") + Quote(table->columns[static_cast<std::size_t>(index)].name);
    if (statement.columns[i].descending) key += " DESC";
  }
  // An index's name is the table's and its own: SQL Server's index names are per table.
  return fmt::format(
      fmt::runtime(table->temp ? in_.dialect->createTempIndex : in_.dialect->createIndex),
      statement.unique ? "UNIQUE " : "", Quote(table->name + "." + statement.name),
      Quote(table->name), key);
}

std::vector<std::string> Translator::AddColumns(const ObjectName& name,
                                                const std::vector<ColumnDefinition>& columns,
                                                std::vector<ColumnInfo>& added) {
  auto table = FindTable(name);
  if (!table)
    throw SqlError(fmt::format(
        "Cannot find the object \"{}\" because it does not exist or you do not have permissions.",
        name.name));
  if (table->view)
    throw SqlError(fmt::format("'{}' is not a user table. Cannot perform ALTER TABLE.", name.name));
  std::vector<std::string> out;
  for (const ColumnDefinition& c : columns) {
    if (table->FindColumn(c.name) >= 0)
      throw SqlError(
          fmt::format("Column names in each table must be unique. Column name '{}' in table '{}' "
                      "is specified more than once.",
                      c.name, table->name));
    if (c.identity)
      throw SqlError("Unsupported T-SQL construct: ALTER TABLE ADD of an IDENTITY column.");
    if (c.primaryKey || c.unique)
      throw SqlError(
          "Unsupported T-SQL construct: ALTER TABLE ADD of a PRIMARY KEY or UNIQUE column.");
    if (c.nullable.has_value() && !*c.nullable && !c.defaultValue)
      throw SqlError(
          "ALTER TABLE only allows columns to be added that can contain nulls, or have a DEFAULT "
          "definition specified.");
    if (c.defaultValue && c.defaultValue->kind == ExpressionKind::Function)
      throw SqlError("Unsupported T-SQL construct: ALTER TABLE ADD with a GETDATE() default.");
    out.push_back("ALTER TABLE " + TableSql(*table) + " ADD COLUMN " + ColumnSql(c, false, false));
    ColumnInfo info;
    info.name = c.name;
    info.type = c.type;
    info.nullable = !(c.nullable.has_value() && !*c.nullable);
    added.push_back(std::move(info));
  }
  return out;
}

}  // namespace zov::data::tsql
