// Tokens, names, variables and types, and the batch as a whole.
#include "data/tsql/parser.h"

#include <fmt/format.h>

#include "data/sql_error.h"
#include "data/tsql/parser_impl.h"

namespace zov::data::tsql {

bool IsReserved(std::string_view word) {
  static const char* const kReserved[] = {
      "ADD",          "ALL",
      "ALTER",        "AND",
      "ANY",          "AS",
      "ASC",          "BEGIN",
      "BETWEEN",      "BREAK",
      "BY",           "CASE",
      "CHECK",        "CLUSTERED",
      "COLLATE",      "COLUMN",
      "COMMIT",       "CONSTRAINT",
      "CONTINUE",     "CREATE",
      "CROSS",        "DECLARE",
      "DEFAULT",      "DELETE",
      "DESC",         "DISTINCT",
      "DROP",         "ELSE",
      "END",          "ESCAPE",
      "EXCEPT",       "EXEC",
      "EXECUTE",      "EXISTS",
      "FOR",          "FOREIGN",
      "FROM",         "FULL",
      "FUNCTION",     "GOTO",
      "GROUP",        "HAVING",
      "IF",           "IN",
      "INDEX",        "INNER",
      "INSERT",       "INTERSECT",
      "INTO",         "IS",
      "JOIN",         "KEY",
      "LEFT",         "LIKE",
      "NOT",          "NULL",
      "OF",           "OFF",
      "ON",           "OPTION",
      "OR",           "ORDER",
      "OUTER",        "PERCENT",
      "PRIMARY",      "PRINT",
      "PROC",         "PROCEDURE",
      "RAISERROR",    "RETURN",
      "RIGHT",        "ROLLBACK",
      "SELECT",       "SET",
      "TABLE",        "THEN",
      "TO",           "TOP",
      "TRAN",         "TRANSACTION",
      "TRUNCATE",     "UNION",
      "UNIQUE",       "UPDATE",
      "VALUES",       "VIEW",
      "WHEN",         "WHERE",
      "WHILE",        "WITH",
      "NONCLUSTERED", "IDENTITY",
      "CONVERT",      "CURRENT_TIMESTAMP",
      "APPLY",        "USE",
      "GO",
  };
  for (const char* r : kReserved)
    if (EqualsNoCase(word, r)) return true;
  return false;
}

SqlType LiteralType(const Token& t) {
  switch (t.kind) {
    case TokenKind::String:
      return SqlType{TypeId::VarChar, -1, 0, 0};
    case TokenKind::NString:
      return SqlType{TypeId::NVarChar, -1, 0, 0};
    case TokenKind::Integer: {
      std::string_view digits = t.text;
      while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
      if (digits.size() < 10 || (digits.size() == 10 && digits <= "2147483647"))
        return SqlType::Of(TypeId::Int);
      return SqlType::Decimal(std::min<int>(38, static_cast<int>(digits.size())), 0);
    }
    case TokenKind::Decimal: {
      int before = 0, after = 0;
      bool point = false;
      for (char c : t.text) {
        if (c == '.')
          point = true;
        else if (point)
          ++after;
        else
          ++before;
      }
      std::string_view whole = t.text.substr(0, static_cast<std::size_t>(before));
      while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
      const int p = std::max<int>(1, static_cast<int>(whole.size()) + after);
      return SqlType::Decimal(std::min(38, std::max(p, after)), std::min(38, after));
    }
    case TokenKind::Float:
      return SqlType::Of(TypeId::Float);
    case TokenKind::Money:
      return SqlType::Of(TypeId::Money);
    default:
      return SqlType::Of(TypeId::Null);
  }
}

namespace {

// Deep enough for any statement a person or a program writes (SQL Server stops nesting subqueries
// at 32 levels and CASE at 10), shallow enough for every pass over the tree on a thread's stack.
// A chain of one operator (a long OR list) costs less stack per link than a nested level.
constexpr int kMaxNesting = 128;
constexpr int kMaxDepth = 1000;

[[noreturn]] void NestedTooDeeply() {
  throw SqlError(
      "Some part of your SQL statement is nested too deeply. Rewrite the query or break it up "
      "into smaller queries.");
}

}  // namespace

void ParserImpl::Descend() {
  if (++depth_ > kMaxNesting) NestedTooDeeply();
  peak_ = std::max(peak_, depth_);
}

void ParserImpl::CheckDepth(int depth) const {
  if (depth > kMaxDepth) NestedTooDeeply();
}

std::unique_ptr<Batch> ParserImpl::ParseBatch() {
  while (!AtEnd()) {
    if (Accept(TokenKind::Semicolon)) continue;
    batch_->statements.push_back(ParseStatement());
  }
  return std::move(batch_);
}

std::uint32_t ParserImpl::PreviousEnd() const {
  if (pos_ == 0) return 0;
  const Token& t = tokens_[pos_ - 1];
  std::uint32_t end = t.offset + static_cast<std::uint32_t>(t.text.size());
  switch (t.kind) {
    case TokenKind::String:
      end += 2;
      break;
    case TokenKind::NString:
      end += 3;
      break;
    case TokenKind::QuotedIdentifier:
      end += 2;
      break;
    default:
      break;
  }
  return end;
}

[[noreturn]] void ParserImpl::SyntaxError() const {
  const Token& t = Peek();
  if (t.kind == TokenKind::End) throw SqlError("Incorrect syntax near the end of the batch.");
  std::string_view shown = text_.substr(t.offset, std::min<std::size_t>(t.text.size() + 2, 40));
  if (t.kind != TokenKind::String && t.kind != TokenKind::NString &&
      t.kind != TokenKind::QuotedIdentifier)
    shown = t.text;
  throw SqlError(fmt::format("Incorrect syntax near '{}'.", shown));
}

[[noreturn]] void ParserImpl::Unsupported(std::string_view construct) const {
  throw SqlError(fmt::format("Unsupported T-SQL construct: {}.", construct));
}

void ParserImpl::Pin(const Token& t) {
  if (t.literal < 0) return;
  for (const PinnedLiteral& p : batch_->pinned)
    if (p.slot == t.literal) return;
  batch_->pinned.push_back(PinnedLiteral{t.literal, std::string(t.text)});
}

bool ParserImpl::IsName(int ahead) const {
  const Token& t = Peek(ahead);
  if (t.kind == TokenKind::QuotedIdentifier) return true;
  return t.kind == TokenKind::Identifier && !IsReserved(t.text);
}

std::string ParserImpl::ExpectName() {
  const Token& t = Peek();
  if (t.kind == TokenKind::QuotedIdentifier) {
    Next();
    return Unquote(t);
  }
  if (t.kind == TokenKind::Identifier && !IsReserved(t.text)) {
    Next();
    return std::string(t.text);
  }
  SyntaxError();
}

std::string ParserImpl::Unquote(const Token& t) const {
  const char close = text_[t.offset] == '[' ? ']' : '"';
  std::string out;
  for (std::size_t i = 0; i < t.text.size(); ++i) {
    out += t.text[i];
    if (t.text[i] == close && i + 1 < t.text.size() && t.text[i + 1] == close) ++i;
  }
  return out;
}

ObjectName ParserImpl::ParseObjectName() {
  std::vector<std::string> parts;
  parts.push_back(ExpectName());
  while (Is(TokenKind::Dot)) {
    Next();
    if (Is(TokenKind::Dot)) {  // db..table
      parts.emplace_back();
      continue;
    }
    parts.push_back(ExpectName());
  }
  if (parts.size() > 3) Unsupported("a four-part object name (linked server)");
  ObjectName n;
  n.name = parts.back();
  if (parts.size() >= 2) n.schema = parts[parts.size() - 2];
  if (parts.size() == 3) n.database = parts[0];
  return n;
}

int ParserImpl::DeclareVariable(const Token& t, const SqlType& type) {
  const std::string key = UpperAscii(t.text);
  if (variables_.count(key))
    throw SqlError(
        fmt::format("The variable name '{}' has already been declared. Variable names must be "
                    "unique within a query batch or stored procedure.",
                    t.text));
  const int slot = static_cast<int>(batch_->variables.size());
  batch_->variables.push_back(VariableInfo{std::string(t.text), type});
  variables_[key] = slot;
  return slot;
}

int ParserImpl::ResolveVariable(const Token& t) const {
  auto it = variables_.find(UpperAscii(t.text));
  if (it == variables_.end())
    throw SqlError(fmt::format("Must declare the scalar variable \"{}\".", t.text));
  return it->second;
}

SqlType ParserImpl::ParseType(bool inConversion) {
  const Token& nameToken = Peek();
  if (nameToken.kind != TokenKind::Identifier && nameToken.kind != TokenKind::QuotedIdentifier)
    SyntaxError();
  Next();
  std::string name = nameToken.kind == TokenKind::QuotedIdentifier ? Unquote(nameToken)
                                                                   : std::string(nameToken.text);
  if (EqualsNoCase(name, "dbo") && Accept(TokenKind::Dot)) {
    const Token& t = Next();
    name = std::string(t.text);
  }
  std::optional<int> a1, a2;
  bool isMax = false;
  if (Accept(TokenKind::LParen)) {
    if (AcceptWord("max")) {
      isMax = true;
    } else {
      const Token& n1 = Expect(TokenKind::Integer);
      Pin(n1);
      a1 = static_cast<int>(LiteralValue(n1).integer);
      if (Accept(TokenKind::Comma)) {
        const Token& n2 = Expect(TokenKind::Integer);
        Pin(n2);
        a2 = static_cast<int>(LiteralValue(n2).integer);
      }
    }
    Expect(TokenKind::RParen);
  }
  static const char* const kKnownUnsupported[] = {
      "uniqueidentifier", "varbinary",   "binary",    "image",          "timestamp",
      "rowversion",       "xml",         "datetime2", "datetimeoffset", "time",
      "sql_variant",      "hierarchyid", "geography", "geometry"};
  for (const char* u : kKnownUnsupported)
    if (EqualsNoCase(name, u)) Unsupported(fmt::format("data type {}", name));
  const bool charType = EqualsNoCase(name, "char") || EqualsNoCase(name, "varchar") ||
                        EqualsNoCase(name, "nchar") || EqualsNoCase(name, "nvarchar") ||
                        EqualsNoCase(name, "character");
  if (charType && !a1 && !isMax) a1 = inConversion ? 30 : 1;
  auto type = TypeFromName(name, a1, a2, isMax);
  if (!type) {
    if (a1 || isMax)
      throw SqlError(fmt::format("Invalid length, precision or scale for data type {}.", name));
    throw SqlError(fmt::format("Cannot find data type {}.", name));
  }
  return *type;
}

std::unique_ptr<Batch> Parser::Parse(std::string_view text, const LexedBatch& lexed) {
  ParserImpl parser(text, lexed);
  return parser.ParseBatch();
}

}  // namespace zov::data::tsql
