// DDL: CREATE TABLE, INDEX and VIEW, DROP and ALTER TABLE ADD.
#include <fmt/format.h>

#include "data/sql_error.h"
#include "data/tsql/ast/alter_table_statement.h"
#include "data/tsql/ast/create_index_statement.h"
#include "data/tsql/ast/create_table_statement.h"
#include "data/tsql/ast/create_view_statement.h"
#include "data/tsql/ast/drop_statement.h"
#include "data/tsql/parser_impl.h"

namespace zov::data::tsql {

StatementPtr ParserImpl::ParseCreate() {
  ExpectWord("CREATE");
  if (AcceptWord("TABLE")) return ParseCreateTable();
  bool unique = false;
  if (AcceptWord("UNIQUE")) unique = true;
  if (!AcceptWord("CLUSTERED")) AcceptWord("NONCLUSTERED");
  if (AcceptWord("INDEX")) return ParseCreateIndex(unique);
  if (unique) SyntaxError();
  if (AcceptWord("VIEW")) return ParseCreateView();
  if (IsWord("PROC") || IsWord("PROCEDURE")) Unsupported("CREATE PROCEDURE");
  if (IsWord("FUNCTION")) Unsupported("CREATE FUNCTION");
  if (IsWord("TRIGGER")) Unsupported("CREATE TRIGGER");
  if (IsWord("TYPE")) Unsupported("CREATE TYPE");
  if (IsWord("SCHEMA")) Unsupported("CREATE SCHEMA");
  if (IsWord("DATABASE")) Unsupported("CREATE DATABASE");
  SyntaxError();
}

ColumnDefinition ParserImpl::ParseColumnDefinition() {
  ColumnDefinition c;
  c.name = ExpectName();
  if (AcceptWord("AS")) Unsupported("computed columns");
  c.type = ParseType(false);
  for (;;) {
    if (IsWord("NOT") && IsWord("NULL", 1)) {
      Next();
      Next();
      c.nullable = false;
    } else if (AcceptWord("NULL")) {
      c.nullable = true;
    } else if (IsWord("CONSTRAINT")) {
      Next();
      ExpectName();  // the constraint's name is not kept
    } else if (AcceptWord("DEFAULT")) {
      c.defaultValue = ParseUnary();
    } else if (AcceptWord("IDENTITY")) {
      c.identity = true;
      if (Accept(TokenKind::LParen)) {
        const bool negSeed = Accept(TokenKind::Minus);
        const Token& seed = Expect(TokenKind::Integer);
        Pin(seed);
        Expect(TokenKind::Comma);
        const bool negIncrement = Accept(TokenKind::Minus);
        const Token& inc = Expect(TokenKind::Integer);
        Pin(inc);
        Expect(TokenKind::RParen);
        c.identitySeed = LiteralValue(seed).integer * (negSeed ? -1 : 1);
        c.identityIncrement = LiteralValue(inc).integer * (negIncrement ? -1 : 1);
      }
    } else if (IsWord("PRIMARY")) {
      Next();
      ExpectWord("KEY");
      if (!AcceptWord("CLUSTERED")) AcceptWord("NONCLUSTERED");
      c.primaryKey = true;
    } else if (AcceptWord("UNIQUE")) {
      if (!AcceptWord("CLUSTERED")) AcceptWord("NONCLUSTERED");
      c.unique = true;
    } else if (IsWord("COLLATE")) {
      Next();
      const Token& coll = Next();
      if (!EqualsNoCase(coll.text.substr(coll.text.size() >= 6 ? coll.text.size() - 6 : 0),
                        "_CI_AS") &&
          !EqualsNoCase(coll.text.substr(coll.text.size() >= 6 ? coll.text.size() - 6 : 0),
                        "_CI_AI"))
        Unsupported(fmt::format("collation {}", coll.text));
    } else if (IsWord("CHECK")) {
      Unsupported("CHECK constraints");
    } else if (IsWord("REFERENCES") || IsWord("FOREIGN")) {
      Unsupported("FOREIGN KEY constraints");
    } else if (IsWord("ROWGUIDCOL") || IsWord("SPARSE") || IsWord("FILESTREAM")) {
      Unsupported(UpperAscii(Peek().text));
    } else {
      break;
    }
  }
  return c;
}

std::vector<std::string> ParserImpl::ParseKeyColumns() {
  std::vector<std::string> cols;
  Expect(TokenKind::LParen);
  do {
    cols.push_back(ExpectName());
    if (!AcceptWord("ASC")) AcceptWord("DESC");
  } while (Accept(TokenKind::Comma));
  Expect(TokenKind::RParen);
  return cols;
}

void ParserImpl::SkipStorageOptions() {
  if (IsWord("WITH") && Is(TokenKind::LParen, 1)) {
    Next();
    Next();
    int depth = 1;
    while (depth > 0 && !AtEnd()) {
      if (Is(TokenKind::LParen)) ++depth;
      if (Is(TokenKind::RParen)) --depth;
      Next();
    }
  }
  if (AcceptWord("ON")) {
    if (Is(TokenKind::QuotedIdentifier) || Is(TokenKind::Identifier))
      Next();  // [PRIMARY] filegroup
  }
  if (AcceptWord("TEXTIMAGE_ON")) Next();
}

StatementPtr ParserImpl::ParseCreateTable() {
  auto s = std::make_unique<CreateTableStatement>();
  s->name = ParseObjectName();
  Expect(TokenKind::LParen);
  do {
    if (Is(TokenKind::RParen)) break;  // a trailing comma is accepted by SQL Server
    if (IsWord("CONSTRAINT") || IsWord("PRIMARY") || IsWord("UNIQUE")) {
      TableConstraint k;
      if (AcceptWord("CONSTRAINT")) k.name = ExpectName();
      if (AcceptWord("PRIMARY")) {
        ExpectWord("KEY");
        k.primaryKey = true;
      } else if (AcceptWord("UNIQUE")) {
        k.primaryKey = false;
      } else if (IsWord("CHECK")) {
        Unsupported("CHECK constraints");
      } else if (IsWord("FOREIGN")) {
        Unsupported("FOREIGN KEY constraints");
      } else {
        SyntaxError();
      }
      if (!AcceptWord("CLUSTERED")) AcceptWord("NONCLUSTERED");
      k.columns = ParseKeyColumns();
      SkipStorageOptions();
      s->constraints.push_back(std::move(k));
    } else {
      s->columns.push_back(ParseColumnDefinition());
    }
  } while (Accept(TokenKind::Comma));
  Expect(TokenKind::RParen);
  SkipStorageOptions();
  return s;
}

StatementPtr ParserImpl::ParseCreateIndex(bool unique) {
  auto s = std::make_unique<CreateIndexStatement>();
  s->unique = unique;
  s->name = ExpectName();
  ExpectWord("ON");
  s->table = ParseObjectName();
  Expect(TokenKind::LParen);
  do {
    IndexColumn c;
    c.name = ExpectName();
    if (AcceptWord("DESC"))
      c.descending = true;
    else
      AcceptWord("ASC");
    s->columns.push_back(std::move(c));
  } while (Accept(TokenKind::Comma));
  Expect(TokenKind::RParen);
  if (IsWord("INCLUDE")) {
    // Included columns only speed up SQL Server's reads.
    Next();
    ParseKeyColumns();
  }
  if (IsWord("WHERE")) Unsupported("filtered indexes");
  SkipStorageOptions();
  return s;
}

StatementPtr ParserImpl::ParseCreateView() {
  auto s = std::make_unique<CreateViewStatement>();
  s->name = ParseObjectName();
  if (Accept(TokenKind::LParen)) {
    do {
      s->columns.push_back(ExpectName());
    } while (Accept(TokenKind::Comma));
    Expect(TokenKind::RParen);
  }
  if (IsWord("WITH")) Unsupported("view options (WITH SCHEMABINDING/ENCRYPTION)");
  ExpectWord("AS");
  s->query = ParseQuery();
  if (IsWord("WITH")) Unsupported("WITH CHECK OPTION");
  return s;
}

StatementPtr ParserImpl::ParseDrop() {
  ExpectWord("DROP");
  auto s = std::make_unique<DropStatement>();
  if (AcceptWord("TABLE"))
    s->what = DropKind::Table;
  else if (AcceptWord("VIEW"))
    s->what = DropKind::View;
  else if (AcceptWord("INDEX"))
    s->what = DropKind::Index;
  else if (IsWord("PROC") || IsWord("PROCEDURE") || IsWord("FUNCTION") || IsWord("TRIGGER"))
    Unsupported(fmt::format("DROP {}", UpperAscii(Peek().text)));
  else
    SyntaxError();
  if (IsWord("IF") && IsWord("EXISTS", 1)) {
    Next();
    Next();
    s->ifExists = true;
  }
  do {
    ObjectName n = ParseObjectName();
    if (s->what == DropKind::Index && AcceptWord("ON")) {
      ObjectName table = ParseObjectName();
      ObjectName idx;
      idx.schema = table.name;  // table kept in `schema` for DROP INDEX name ON table
      idx.name = n.name;
      n = idx;
    }
    s->names.push_back(std::move(n));
  } while (Accept(TokenKind::Comma));
  return s;
}

StatementPtr ParserImpl::ParseAlter() {
  ExpectWord("ALTER");
  if (!AcceptWord("TABLE")) {
    if (IsWord("VIEW")) Unsupported("ALTER VIEW");
    if (IsWord("PROC") || IsWord("PROCEDURE") || IsWord("FUNCTION"))
      Unsupported("ALTER PROCEDURE/FUNCTION");
    SyntaxError();
  }
  auto s = std::make_unique<AlterTableStatement>();
  s->table = ParseObjectName();
  if (!AcceptWord("ADD")) {
    if (IsWord("DROP")) Unsupported("ALTER TABLE ... DROP");
    if (IsWord("ALTER")) Unsupported("ALTER TABLE ... ALTER COLUMN");
    Unsupported(fmt::format("ALTER TABLE ... {}", Peek().text));
  }
  do {
    if (IsWord("CONSTRAINT") || IsWord("PRIMARY") || IsWord("UNIQUE") || IsWord("FOREIGN") ||
        IsWord("CHECK"))
      Unsupported("ALTER TABLE ... ADD CONSTRAINT");
    s->add.push_back(ParseColumnDefinition());
  } while (Accept(TokenKind::Comma));
  return s;
}

}  // namespace zov::data::tsql
