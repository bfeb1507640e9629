// Statements: SELECT, INSERT, UPDATE, DELETE, DECLARE, SET, IF, WHILE, blocks and transactions.
#include <fmt/format.h>

#include "data/sql_error.h"
#include "data/tsql/ast/block_statement.h"
#include "data/tsql/ast/control_statement.h"
#include "data/tsql/ast/declare_statement.h"
#include "data/tsql/ast/delete_statement.h"
#include "data/tsql/ast/if_statement.h"
#include "data/tsql/ast/insert_statement.h"
#include "data/tsql/ast/print_statement.h"
#include "data/tsql/ast/select_statement.h"
#include "data/tsql/ast/set_operation_node.h"
#include "data/tsql/ast/set_option_statement.h"
#include "data/tsql/ast/set_variable_statement.h"
#include "data/tsql/ast/transaction_statement.h"
#include "data/tsql/ast/truncate_statement.h"
#include "data/tsql/ast/update_statement.h"
#include "data/tsql/ast/while_statement.h"
#include "data/tsql/parser_impl.h"

namespace zov::data::tsql {

StatementPtr ParserImpl::ParseStatement() {
  Level level(*this);
  const std::uint32_t begin = Offset();
  StatementPtr s = ParseStatementBody();
  s->begin = begin;
  s->end = PreviousEnd();
  Accept(TokenKind::Semicolon);
  return s;
}

StatementPtr ParserImpl::ParseStatementBody() {
  const Token& t = Peek();
  if (t.kind == TokenKind::LParen && IsQueryStart()) return ParseSelectStatement();
  if (t.kind != TokenKind::Identifier) SyntaxError();
  const std::string word = UpperAscii(t.text);
  if (word == "SELECT") return ParseSelectStatement();
  if (word == "INSERT") return ParseInsert();
  if (word == "UPDATE") return ParseUpdate();
  if (word == "DELETE") return ParseDelete();
  if (word == "DECLARE") return ParseDeclare();
  if (word == "SET") return ParseSet();
  if (word == "IF") return ParseIf();
  if (word == "WHILE") return ParseWhile();
  if (word == "BEGIN") return ParseBegin();
  if (word == "COMMIT" || word == "ROLLBACK") {
    Next();
    if (!AcceptWord("TRAN") && !AcceptWord("TRANSACTION")) AcceptWord("WORK");
    if (IsName() && !IsStatementStart()) Next();  // transaction name
    return std::make_unique<TransactionStatement>(word == "COMMIT" ? TransactionKind::Commit
                                                                   : TransactionKind::Rollback);
  }
  if (word == "CREATE") return ParseCreate();
  if (word == "DROP") return ParseDrop();
  if (word == "ALTER") return ParseAlter();
  if (word == "TRUNCATE") {
    Next();
    ExpectWord("TABLE");
    auto s = std::make_unique<TruncateStatement>();
    s->table = ParseObjectName();
    return s;
  }
  if (word == "BREAK") {
    Next();
    return std::make_unique<ControlStatement>(ControlKind::Break);
  }
  if (word == "CONTINUE") {
    Next();
    return std::make_unique<ControlStatement>(ControlKind::Continue);
  }
  if (word == "RETURN") {
    Next();
    if (!AtEnd() && !IsStatementStart() && !Is(TokenKind::Semicolon))
      Unsupported("RETURN with a value");
    return std::make_unique<ControlStatement>(ControlKind::Return);
  }
  if (word == "PRINT") {
    Next();
    return std::make_unique<PrintStatement>(ParseExpression());
  }
  if (word == "EXEC" || word == "EXECUTE")
    Unsupported("EXECUTE (stored procedures and dynamic SQL)");
  if (word == "WITH") Unsupported("common table expressions (WITH)");
  if (word == "MERGE") Unsupported("MERGE");
  if (word == "GOTO") Unsupported("GOTO");
  if (word == "USE") Unsupported("USE database");
  if (word == "RAISERROR" || word == "THROW") Unsupported(word);
  if (word == "GO") throw SqlError("Incorrect syntax near 'GO'.");
  SyntaxError();
}

bool ParserImpl::IsStatementStart(int ahead) const {
  static const char* const kStarts[] = {
      "SELECT", "INSERT", "UPDATE", "DELETE",   "DECLARE", "SET",  "IF",     "WHILE",
      "BEGIN",  "END",    "COMMIT", "ROLLBACK", "CREATE",  "DROP", "ALTER",  "TRUNCATE",
      "PRINT",  "RETURN", "BREAK",  "CONTINUE", "ELSE",    "EXEC", "EXECUTE"};
  for (const char* w : kStarts)
    if (IsWord(w, ahead)) return true;
  return false;
}

StatementPtr ParserImpl::ParseSelectStatement() {
  QueryPtr q = ParseQuery();
  auto s = std::make_unique<SelectStatement>(std::move(q));
  // Variable assignment and INTO belong to the outermost SELECT only.
  const QueryNode* first = s->query->body.get();
  while (first->kind == QueryNodeKind::SetOperation)
    first = first->As<SetOperationNode>().left.get();
  const auto& core = first->As<SelectNode>();
  int assigned = 0;
  for (const SelectItem& item : core.items)
    if (item.assignTo >= 0) ++assigned;
  if (assigned > 0 && assigned != static_cast<int>(core.items.size()))
    throw SqlError(
        "A SELECT statement that assigns a value to a variable must not be combined with "
        "data-retrieval operations.");
  s->assigns = assigned > 0;
  s->into = core.hasInto;
  if (s->assigns && s->query->body->kind == QueryNodeKind::SetOperation)
    Unsupported("variable assignment in a set operation");
  return s;
}

StatementPtr ParserImpl::ParseInsert() {
  ExpectWord("INSERT");
  if (IsWord("TOP")) Unsupported("INSERT TOP");
  AcceptWord("INTO");
  auto s = std::make_unique<InsertStatement>();
  if (Is(TokenKind::Variable)) Unsupported("table variables");
  s->target = ParseObjectName();
  if (Is(TokenKind::LParen) && !IsQueryStart()) {
    Next();
    do {
      s->columns.push_back(ExpectName());
    } while (Accept(TokenKind::Comma));
    Expect(TokenKind::RParen);
  }
  if (IsWord("OUTPUT")) Unsupported("OUTPUT clause");
  if (AcceptWord("VALUES")) {
    do {
      Expect(TokenKind::LParen);
      ExpressionList row;
      do {
        if (IsWord("DEFAULT")) Unsupported("DEFAULT in a VALUES list");
        row.push_back(ParseExpression());
      } while (Accept(TokenKind::Comma));
      Expect(TokenKind::RParen);
      s->rows.push_back(std::move(row));
    } while (Accept(TokenKind::Comma));
  } else if (IsWord("DEFAULT")) {
    Next();
    ExpectWord("VALUES");
    s->defaultValues = true;
  } else if (IsQueryStart()) {
    s->query = ParseQuery();
  } else if (IsWord("EXEC") || IsWord("EXECUTE")) {
    Unsupported("INSERT ... EXECUTE");
  } else {
    SyntaxError();
  }
  return s;
}

StatementPtr ParserImpl::ParseUpdate() {
  ExpectWord("UPDATE");
  if (IsWord("TOP")) Unsupported("UPDATE TOP");
  auto s = std::make_unique<UpdateStatement>();
  if (Is(TokenKind::Variable)) Unsupported("table variables");
  s->target = ParseObjectName();
  if (IsWord("WITH") && Is(TokenKind::LParen, 1)) {
    Next();
    Next();
    while (!Is(TokenKind::RParen) && !AtEnd()) Next();
    Expect(TokenKind::RParen);
  }
  ExpectWord("SET");
  do {
    SetClause c;
    if (Is(TokenKind::Variable)) Unsupported("SET @variable inside UPDATE");
    c.column.push_back(ExpectName());
    while (Accept(TokenKind::Dot)) c.column.push_back(ExpectName());
    switch (Peek().kind) {
      case TokenKind::Equal:
        c.op = '=';
        break;
      case TokenKind::PlusEqual:
        c.op = '+';
        break;
      case TokenKind::MinusEqual:
        c.op = '-';
        break;
      case TokenKind::StarEqual:
        c.op = '*';
        break;
      case TokenKind::SlashEqual:
        c.op = '/';
        break;
      default:
        SyntaxError();
    }
    Next();
    if (IsWord("DEFAULT")) Unsupported("SET column = DEFAULT");
    c.value = ParseExpression();
    s->sets.push_back(std::move(c));
  } while (Accept(TokenKind::Comma));
  ParseFromAndWhere(s->from, s->where);
  return s;
}

void ParserImpl::ParseFromAndWhere(std::vector<TableRefPtr>& from, ExpressionPtr& where) {
  if (IsWord("OUTPUT")) Unsupported("OUTPUT clause");
  if (AcceptWord("FROM")) from = ParseFromList();
  if (AcceptWord("WHERE")) {
    if (IsWord("CURRENT")) Unsupported("WHERE CURRENT OF");
    where = ParseExpression();
  }
}

StatementPtr ParserImpl::ParseDelete() {
  ExpectWord("DELETE");
  if (IsWord("TOP")) Unsupported("DELETE TOP");
  auto s = std::make_unique<DeleteStatement>();
  AcceptWord("FROM");
  if (Is(TokenKind::Variable)) Unsupported("table variables");
  s->target = ParseObjectName();
  ParseFromAndWhere(s->from, s->where);
  return s;
}

StatementPtr ParserImpl::ParseDeclare() {
  ExpectWord("DECLARE");
  auto s = std::make_unique<DeclareStatement>();
  do {
    const Token& v = Peek();
    if (v.kind != TokenKind::Variable || (v.text.size() > 1 && v.text[1] == '@')) SyntaxError();
    Next();
    AcceptWord("AS");
    if (IsWord("TABLE")) Unsupported("table variables");
    if (IsWord("CURSOR")) Unsupported("cursors");
    SqlType type = ParseType(false);
    ExpressionPtr initial;
    if (Accept(TokenKind::Equal)) initial = ParseExpression();
    // The variable exists from here on; its initial value cannot refer to itself.
    VariableDeclaration d;
    d.variable = DeclareVariable(v, type);
    d.type = type;
    d.initial = std::move(initial);
    s->variables.push_back(std::move(d));
  } while (Accept(TokenKind::Comma));
  return s;
}

StatementPtr ParserImpl::ParseSet() {
  ExpectWord("SET");
  const Token& t = Peek();
  if (t.kind == TokenKind::Variable) {
    if (t.text.size() > 1 && t.text[1] == '@') SyntaxError();
    const int slot = ResolveVariable(t);
    Next();
    char op = 0;
    switch (Peek().kind) {
      case TokenKind::Equal:
        op = '=';
        break;
      case TokenKind::PlusEqual:
        op = '+';
        break;
      case TokenKind::MinusEqual:
        op = '-';
        break;
      case TokenKind::StarEqual:
        op = '*';
        break;
      case TokenKind::SlashEqual:
        op = '/';
        break;
      default:
        SyntaxError();
    }
    Next();
    return std::make_unique<SetVariableStatement>(slot, op, ParseExpression());
  }
  if (t.kind != TokenKind::Identifier) SyntaxError();
  auto s = std::make_unique<SetOptionStatement>();
  s->option = UpperAscii(t.text);
  Next();
  if (s->option == "IDENTITY_INSERT") s->table = ParseObjectName();
  if (s->option == "TRANSACTION") Unsupported("SET TRANSACTION ISOLATION LEVEL");
  if (s->option == "DATEFORMAT" || s->option == "LANGUAGE" || s->option == "DATEFIRST" ||
      s->option == "ROWCOUNT" || s->option == "TEXTSIZE" || s->option == "LOCK_TIMEOUT" ||
      s->option == "DEADLOCK_PRIORITY" || s->option == "CONTEXT_INFO")
    Unsupported(fmt::format("SET {}", s->option));
  // SET a, b, c ON is legal for the ANSI options.
  while (Accept(TokenKind::Comma)) {
    if (!Is(TokenKind::Identifier)) SyntaxError();
    const std::string more = UpperAscii(Next().text);
    if (more != s->option) Unsupported("SET of several different options in one statement");
  }
  if (AcceptWord("ON"))
    s->on = true;
  else if (AcceptWord("OFF"))
    s->on = false;
  else
    SyntaxError();
  return s;
}

StatementPtr ParserImpl::ParseIf() {
  ExpectWord("IF");
  ExpressionPtr condition = ParseExpression();
  StatementPtr then = ParseStatement();
  StatementPtr otherwise;
  if (AcceptWord("ELSE")) otherwise = ParseStatement();
  return std::make_unique<IfStatement>(std::move(condition), std::move(then), std::move(otherwise));
}

StatementPtr ParserImpl::ParseWhile() {
  ExpectWord("WHILE");
  ExpressionPtr condition = ParseExpression();
  StatementPtr body = ParseStatement();
  return std::make_unique<WhileStatement>(std::move(condition), std::move(body));
}

StatementPtr ParserImpl::ParseBegin() {
  ExpectWord("BEGIN");
  if (AcceptWord("TRAN") || AcceptWord("TRANSACTION")) {
    if (IsName() && !IsStatementStart()) Next();
    return std::make_unique<TransactionStatement>(TransactionKind::Begin);
  }
  if (IsWord("TRY") || IsWord("CATCH")) Unsupported("TRY ... CATCH");
  if (IsWord("DISTRIBUTED")) Unsupported("distributed transactions");
  StatementList body;
  for (;;) {
    if (Accept(TokenKind::Semicolon)) continue;
    if (IsWord("END")) {
      Next();
      break;
    }
    if (AtEnd()) SyntaxError();
    body.push_back(ParseStatement());
  }
  return std::make_unique<BlockStatement>(std::move(body));
}

}  // namespace zov::data::tsql
