#include "data/tsql/parser.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "data/sql_error.h"
#include "data/tsql/ast/alter_table_statement.h"
#include "data/tsql/ast/base_table_ref.h"
#include "data/tsql/ast/between_expression.h"
#include "data/tsql/ast/binary_expression.h"
#include "data/tsql/ast/block_statement.h"
#include "data/tsql/ast/case_expression.h"
#include "data/tsql/ast/cast_expression.h"
#include "data/tsql/ast/column_ref_expression.h"
#include "data/tsql/ast/comparison_expression.h"
#include "data/tsql/ast/constant_expression.h"
#include "data/tsql/ast/control_statement.h"
#include "data/tsql/ast/create_index_statement.h"
#include "data/tsql/ast/create_table_statement.h"
#include "data/tsql/ast/create_view_statement.h"
#include "data/tsql/ast/declare_statement.h"
#include "data/tsql/ast/delete_statement.h"
#include "data/tsql/ast/derived_table_ref.h"
#include "data/tsql/ast/drop_statement.h"
#include "data/tsql/ast/exists_expression.h"
#include "data/tsql/ast/function_expression.h"
#include "data/tsql/ast/if_statement.h"
#include "data/tsql/ast/in_expression.h"
#include "data/tsql/ast/insert_statement.h"
#include "data/tsql/ast/is_null_expression.h"
#include "data/tsql/ast/join_ref.h"
#include "data/tsql/ast/like_expression.h"
#include "data/tsql/ast/logical_expression.h"
#include "data/tsql/ast/not_expression.h"
#include "data/tsql/ast/print_statement.h"
#include "data/tsql/ast/select_node.h"
#include "data/tsql/ast/select_statement.h"
#include "data/tsql/ast/set_operation_node.h"
#include "data/tsql/ast/set_option_statement.h"
#include "data/tsql/ast/set_variable_statement.h"
#include "data/tsql/ast/star_expression.h"
#include "data/tsql/ast/subquery_expression.h"
#include "data/tsql/ast/transaction_statement.h"
#include "data/tsql/ast/truncate_statement.h"
#include "data/tsql/ast/unary_expression.h"
#include "data/tsql/ast/update_statement.h"
#include "data/tsql/ast/variable_expression.h"
#include "data/tsql/ast/while_statement.h"
#include "data/tsql/text_rules.h"

namespace zov::data::tsql {

namespace {

// Words that cannot stand as a bare alias or column name (SQL Server's reserved keywords that
// can follow an expression or a table in the statements we read).
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

class ParserImpl {
 public:
  ParserImpl(std::string_view text, const LexedBatch& lexed) : text_(text), tokens_(lexed.tokens) {
    batch_ = std::make_unique<Batch>();
    batch_->literalCount = lexed.literalCount;
  }

  std::unique_ptr<Batch> ParseBatch() {
    while (!AtEnd()) {
      if (Accept(TokenKind::Semicolon)) continue;
      batch_->statements.push_back(ParseStatement());
    }
    return std::move(batch_);
  }

 private:
  // ---- Token access ---------------------------------------------------------------------------

  const Token& Peek(int ahead = 0) const {
    const std::size_t i = std::min(pos_ + static_cast<std::size_t>(ahead), tokens_.size() - 1);
    return tokens_[i];
  }
  bool AtEnd() const { return Peek().kind == TokenKind::End; }
  const Token& Next() {
    const Token& t = tokens_[pos_];
    if (pos_ + 1 < tokens_.size()) ++pos_;
    return t;
  }
  bool Is(TokenKind kind, int ahead = 0) const { return Peek(ahead).kind == kind; }
  bool IsWord(std::string_view word, int ahead = 0) const {
    const Token& t = Peek(ahead);
    return t.kind == TokenKind::Identifier && EqualsNoCase(t.text, word);
  }
  bool Accept(TokenKind kind) {
    if (!Is(kind)) return false;
    Next();
    return true;
  }
  bool AcceptWord(std::string_view word) {
    if (!IsWord(word)) return false;
    Next();
    return true;
  }
  const Token& Expect(TokenKind kind) {
    if (!Is(kind)) SyntaxError();
    return Next();
  }
  void ExpectWord(std::string_view word) {
    if (!AcceptWord(word)) SyntaxError();
  }
  std::uint32_t Offset() const { return Peek().offset; }
  std::uint32_t PreviousEnd() const {
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

  [[noreturn]] void SyntaxError() const {
    const Token& t = Peek();
    if (t.kind == TokenKind::End) throw SqlError("Incorrect syntax near the end of the batch.");
    std::string_view shown = text_.substr(t.offset, std::min<std::size_t>(t.text.size() + 2, 40));
    if (t.kind != TokenKind::String && t.kind != TokenKind::NString &&
        t.kind != TokenKind::QuotedIdentifier)
      shown = t.text;
    throw SqlError(fmt::format("Incorrect syntax near '{}'.", shown));
  }
  [[noreturn]] void Unsupported(std::string_view construct) const {
    throw SqlError(fmt::format("Unsupported T-SQL construct: {}.", construct));
  }

  void Pin(const Token& t) {
    if (t.literal < 0) return;
    for (const PinnedLiteral& p : batch_->pinned)
      if (p.slot == t.literal) return;
    batch_->pinned.push_back(PinnedLiteral{t.literal, std::string(t.text)});
  }

  // A name: identifier that is not reserved, or a quoted identifier.
  bool IsName(int ahead = 0) const {
    const Token& t = Peek(ahead);
    if (t.kind == TokenKind::QuotedIdentifier) return true;
    return t.kind == TokenKind::Identifier && !IsReserved(t.text);
  }
  std::string ExpectName() {
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
  std::string Unquote(const Token& t) const {
    const char close = text_[t.offset] == '[' ? ']' : '"';
    std::string out;
    for (std::size_t i = 0; i < t.text.size(); ++i) {
      out += t.text[i];
      if (t.text[i] == close && i + 1 < t.text.size() && t.text[i + 1] == close) ++i;
    }
    return out;
  }

  ObjectName ParseObjectName() {
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

  // ---- Variables -------------------------------------------------------------------------------

  int DeclareVariable(const Token& t, const SqlType& type) {
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
  int ResolveVariable(const Token& t) const {
    auto it = variables_.find(UpperAscii(t.text));
    if (it == variables_.end())
      throw SqlError(fmt::format("Must declare the scalar variable \"{}\".", t.text));
    return it->second;
  }

  // ---- Types -----------------------------------------------------------------------------------

  // `inConversion`: CAST/CONVERT, where a length-less char type means 30 instead of 1.
  SqlType ParseType(bool inConversion) {
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

  // ---- Expressions -----------------------------------------------------------------------------

  ExpressionPtr ParseExpression() { return ParseOr(); }

  ExpressionPtr ParseOr() {
    ExpressionPtr left = ParseAnd();
    while (IsWord("OR")) {
      const std::uint32_t at = Offset();
      Next();
      left = std::make_unique<LogicalExpression>(at, false, std::move(left), ParseAnd());
    }
    return left;
  }

  ExpressionPtr ParseAnd() {
    ExpressionPtr left = ParseNot();
    while (IsWord("AND")) {
      const std::uint32_t at = Offset();
      Next();
      left = std::make_unique<LogicalExpression>(at, true, std::move(left), ParseNot());
    }
    return left;
  }

  ExpressionPtr ParseNot() {
    if (IsWord("NOT")) {
      const std::uint32_t at = Offset();
      Next();
      return std::make_unique<NotExpression>(at, ParseNot());
    }
    return ParsePredicate();
  }

  ExpressionPtr ParsePredicate() {
    const std::uint32_t at = Offset();
    if (IsWord("EXISTS")) {
      Next();
      Expect(TokenKind::LParen);
      QueryPtr q = ParseQuery();
      Expect(TokenKind::RParen);
      return std::make_unique<ExistsExpression>(at, std::move(q));
    }
    ExpressionPtr left = ParseAdditive();
    for (;;) {
      const Token& t = Peek();
      std::optional<CompareOp> op;
      switch (t.kind) {
        case TokenKind::Equal:
          op = CompareOp::Equal;
          break;
        case TokenKind::NotEqual:
          op = CompareOp::NotEqual;
          break;
        case TokenKind::Less:
          op = CompareOp::Less;
          break;
        case TokenKind::LessEqual:
        case TokenKind::NotGreater:
          op = CompareOp::LessEqual;
          break;
        case TokenKind::Greater:
          op = CompareOp::Greater;
          break;
        case TokenKind::GreaterEqual:
        case TokenKind::NotLess:
          op = CompareOp::GreaterEqual;
          break;
        default:
          break;
      }
      if (op) {
        const std::uint32_t opAt = t.offset;
        Next();
        if (IsWord("ANY") || IsWord("ALL") || IsWord("SOME"))
          Unsupported(fmt::format("comparison with {}", UpperAscii(Peek().text)));
        left = std::make_unique<ComparisonExpression>(opAt, *op, std::move(left), ParseAdditive());
        continue;
      }
      if (IsWord("IS")) {
        Next();
        const bool negated = AcceptWord("NOT");
        ExpectWord("NULL");
        left = std::make_unique<IsNullExpression>(at, std::move(left), negated);
        continue;
      }
      bool negated = false;
      if (IsWord("NOT") && (IsWord("BETWEEN", 1) || IsWord("LIKE", 1) || IsWord("IN", 1))) {
        Next();
        negated = true;
      }
      if (AcceptWord("BETWEEN")) {
        ExpressionPtr low = ParseAdditive();
        ExpectWord("AND");
        ExpressionPtr high = ParseAdditive();
        left = std::make_unique<BetweenExpression>(at, std::move(left), std::move(low),
                                                   std::move(high), negated);
        continue;
      }
      if (AcceptWord("LIKE")) {
        ExpressionPtr pattern = ParseAdditive();
        ExpressionPtr escape;
        if (AcceptWord("ESCAPE")) escape = ParseAdditive();
        left = std::make_unique<LikeExpression>(at, std::move(left), std::move(pattern),
                                                std::move(escape), negated);
        continue;
      }
      if (AcceptWord("IN")) {
        Expect(TokenKind::LParen);
        if (IsQueryStart()) {
          QueryPtr q = ParseQuery();
          Expect(TokenKind::RParen);
          left = std::make_unique<InExpression>(at, std::move(left), ExpressionList{}, std::move(q),
                                                negated);
        } else {
          ExpressionList list;
          do {
            list.push_back(ParseAdditive());
          } while (Accept(TokenKind::Comma));
          Expect(TokenKind::RParen);
          left = std::make_unique<InExpression>(at, std::move(left), std::move(list), nullptr,
                                                negated);
        }
        continue;
      }
      if (negated) SyntaxError();
      return left;
    }
  }

  ExpressionPtr ParseAdditive() {
    ExpressionPtr left = ParseMultiplicative();
    for (;;) {
      char op = 0;
      switch (Peek().kind) {
        case TokenKind::Plus:
          op = '+';
          break;
        case TokenKind::Minus:
          op = '-';
          break;
        case TokenKind::Ampersand:
          op = '&';
          break;
        case TokenKind::Pipe:
          op = '|';
          break;
        case TokenKind::Caret:
          op = '^';
          break;
        default:
          return left;
      }
      const std::uint32_t at = Offset();
      Next();
      left = std::make_unique<BinaryExpression>(at, op, std::move(left), ParseMultiplicative());
    }
  }

  ExpressionPtr ParseMultiplicative() {
    ExpressionPtr left = ParseUnary();
    for (;;) {
      char op = 0;
      switch (Peek().kind) {
        case TokenKind::Star:
          op = '*';
          break;
        case TokenKind::Slash:
          op = '/';
          break;
        case TokenKind::Percent:
          op = '%';
          break;
        default:
          return left;
      }
      const std::uint32_t at = Offset();
      Next();
      left = std::make_unique<BinaryExpression>(at, op, std::move(left), ParseUnary());
    }
  }

  ExpressionPtr ParseUnary() {
    const std::uint32_t at = Offset();
    if (Accept(TokenKind::Minus)) return std::make_unique<UnaryExpression>(at, '-', ParseUnary());
    if (Accept(TokenKind::Plus)) return std::make_unique<UnaryExpression>(at, '+', ParseUnary());
    if (Accept(TokenKind::Tilde)) return std::make_unique<UnaryExpression>(at, '~', ParseUnary());
    ExpressionPtr e = ParsePrimary();
    if (IsWord("COLLATE")) Unsupported("COLLATE in an expression");
    return e;
  }

  bool IsQueryStart(int ahead = 0) const {
    if (IsWord("SELECT", ahead)) return true;
    if (Is(TokenKind::LParen, ahead)) return IsQueryStart(ahead + 1);
    return false;
  }

  ExpressionPtr ParsePrimary() {
    const Token& t = Peek();
    const std::uint32_t at = t.offset;
    switch (t.kind) {
      case TokenKind::String:
      case TokenKind::NString:
      case TokenKind::Integer:
      case TokenKind::Decimal:
      case TokenKind::Float:
      case TokenKind::Money:
        Next();
        return std::make_unique<ConstantExpression>(at, t.literal, LiteralType(t), LiteralValue(t));
      case TokenKind::Binary:
        Unsupported("binary literal");
      case TokenKind::Variable: {
        Next();
        if (t.text.size() >= 2 && t.text[1] == '@')
          return std::make_unique<VariableExpression>(at, UpperAscii(t.text), -1);
        return std::make_unique<VariableExpression>(at, std::string(t.text), ResolveVariable(t));
      }
      case TokenKind::LParen: {
        if (IsQueryStart(1)) {
          Next();
          QueryPtr q = ParseQuery();
          Expect(TokenKind::RParen);
          return std::make_unique<SubqueryExpression>(at, std::move(q));
        }
        Next();
        ExpressionPtr inner = ParseExpression();
        Expect(TokenKind::RParen);
        return inner;
      }
      case TokenKind::Identifier:
      case TokenKind::QuotedIdentifier:
        return ParseNameExpression();
      default:
        SyntaxError();
    }
  }

  ExpressionPtr ParseNameExpression() {
    const Token& t = Peek();
    const std::uint32_t at = t.offset;
    if (t.kind == TokenKind::Identifier) {
      if (EqualsNoCase(t.text, "NULL")) {
        Next();
        return std::make_unique<ConstantExpression>(at, -1, SqlType::Of(TypeId::Null),
                                                    SqlValue::Null());
      }
      if (EqualsNoCase(t.text, "CASE")) return ParseCase();
      if (EqualsNoCase(t.text, "CAST")) return ParseCast();
      if (EqualsNoCase(t.text, "CONVERT")) return ParseConvert();
      if (EqualsNoCase(t.text, "CURRENT_TIMESTAMP")) {
        Next();
        return std::make_unique<FunctionExpression>(at, "", "GETDATE", ExpressionList{}, false,
                                                    false, "");
      }
      // LEFT and RIGHT are reserved but name functions when a parenthesis follows.
      const bool functionWord = (EqualsNoCase(t.text, "LEFT") || EqualsNoCase(t.text, "RIGHT")) &&
                                Is(TokenKind::LParen, 1);
      if (IsReserved(t.text) && !functionWord) SyntaxError();
    }
    std::vector<std::string> parts;
    for (;;) {
      const Token& p = Next();
      parts.push_back(p.kind == TokenKind::QuotedIdentifier ? Unquote(p) : std::string(p.text));
      if (!Is(TokenKind::Dot)) break;
      Next();
      if (Is(TokenKind::Star)) {
        Next();
        std::string qualifier = parts.back();
        return std::make_unique<StarExpression>(at, qualifier);
      }
      if (!Is(TokenKind::Identifier) && !Is(TokenKind::QuotedIdentifier)) SyntaxError();
    }
    if (Is(TokenKind::LParen)) {
      if (parts.size() > 2) Unsupported("a function name with more than two parts");
      std::string schema = parts.size() == 2 ? parts[0] : "";
      return ParseFunctionCall(at, std::move(schema), parts.back());
    }
    if (parts.size() > 4) SyntaxError();
    return std::make_unique<ColumnRefExpression>(at, std::move(parts));
  }

  ExpressionPtr ParseFunctionCall(std::uint32_t at, std::string schema, std::string name) {
    Expect(TokenKind::LParen);
    ExpressionList args;
    bool distinct = false;
    bool star = false;
    std::string datePart;
    const bool dateFunction = EqualsNoCase(name, "DATEADD") || EqualsNoCase(name, "DATEDIFF") ||
                              EqualsNoCase(name, "DATEPART") || EqualsNoCase(name, "DATENAME") ||
                              EqualsNoCase(name, "DATEDIFF_BIG");
    if (dateFunction && schema.empty()) {
      const Token& p = Peek();
      if (p.kind != TokenKind::Identifier && p.kind != TokenKind::QuotedIdentifier) SyntaxError();
      Next();
      datePart = p.kind == TokenKind::QuotedIdentifier ? Unquote(p) : std::string(p.text);
      if (!Is(TokenKind::RParen)) Expect(TokenKind::Comma);
    }
    if (Is(TokenKind::Star)) {
      Next();
      star = true;
    } else if (!Is(TokenKind::RParen)) {
      if (AcceptWord("DISTINCT"))
        distinct = true;
      else
        AcceptWord("ALL");
      do {
        args.push_back(ParseExpression());
      } while (Accept(TokenKind::Comma));
    }
    Expect(TokenKind::RParen);
    if (IsWord("OVER")) Unsupported("window function (OVER)");
    if (IsWord("WITHIN")) Unsupported("WITHIN GROUP");
    return std::make_unique<FunctionExpression>(at, std::move(schema), std::move(name),
                                                std::move(args), distinct, star,
                                                std::move(datePart));
  }

  ExpressionPtr ParseCase() {
    const std::uint32_t at = Offset();
    ExpectWord("CASE");
    ExpressionPtr operand;
    if (!IsWord("WHEN")) operand = ParseExpression();
    std::vector<CaseWhen> whens;
    while (AcceptWord("WHEN")) {
      CaseWhen w;
      w.when = ParseExpression();
      ExpectWord("THEN");
      w.then = ParseExpression();
      whens.push_back(std::move(w));
    }
    if (whens.empty()) SyntaxError();
    ExpressionPtr otherwise;
    if (AcceptWord("ELSE")) otherwise = ParseExpression();
    ExpectWord("END");
    return std::make_unique<CaseExpression>(at, std::move(operand), std::move(whens),
                                            std::move(otherwise));
  }

  ExpressionPtr ParseCast() {
    const std::uint32_t at = Offset();
    ExpectWord("CAST");
    Expect(TokenKind::LParen);
    ExpressionPtr operand = ParseExpression();
    ExpectWord("AS");
    SqlType type = ParseType(true);
    Expect(TokenKind::RParen);
    return std::make_unique<CastExpression>(at, std::move(operand), type, -1);
  }

  ExpressionPtr ParseConvert() {
    const std::uint32_t at = Offset();
    ExpectWord("CONVERT");
    Expect(TokenKind::LParen);
    SqlType type = ParseType(true);
    Expect(TokenKind::Comma);
    ExpressionPtr operand = ParseExpression();
    int style = -1;
    if (Accept(TokenKind::Comma)) {
      const Token& s = Peek();
      if (s.kind != TokenKind::Integer)
        Unsupported("a CONVERT style that is not an integer literal");
      Next();
      Pin(s);
      style = static_cast<int>(LiteralValue(s).integer);
    }
    Expect(TokenKind::RParen);
    return std::make_unique<CastExpression>(at, std::move(operand), type, style);
  }

  // ---- Queries ---------------------------------------------------------------------------------

  QueryPtr ParseQuery() {
    const std::uint32_t begin = Offset();
    QueryNodePtr body = ParseUnionTerm();
    std::vector<OrderItem> order;
    if (IsWord("ORDER")) {
      Next();
      ExpectWord("BY");
      do {
        OrderItem item;
        const Token& t = Peek();
        if (t.kind == TokenKind::Integer && !IsExpressionContinuation(1))
          Pin(t);  // a select-list position
        item.expression = ParseExpression();
        if (AcceptWord("DESC"))
          item.descending = true;
        else
          AcceptWord("ASC");
        order.push_back(std::move(item));
      } while (Accept(TokenKind::Comma));
      if (IsWord("OFFSET")) Unsupported("OFFSET ... FETCH");
    }
    if (IsWord("FOR")) Unsupported("FOR XML / FOR BROWSE");
    if (IsWord("OPTION")) Unsupported("query hints (OPTION)");
    auto q = std::make_unique<Query>(std::move(body), std::move(order));
    q->begin = begin;
    q->end = PreviousEnd();
    return q;
  }

  bool IsExpressionContinuation(int ahead) const {
    switch (Peek(ahead).kind) {
      case TokenKind::Plus:
      case TokenKind::Minus:
      case TokenKind::Star:
      case TokenKind::Slash:
      case TokenKind::Percent:
        return true;
      default:
        return false;
    }
  }

  QueryNodePtr ParseUnionTerm() {
    QueryNodePtr left = ParseIntersectTerm();
    for (;;) {
      SetOperationType type;
      if (IsWord("UNION")) {
        Next();
        type = AcceptWord("ALL") ? SetOperationType::UnionAll : SetOperationType::Union;
      } else if (IsWord("EXCEPT")) {
        Next();
        type = SetOperationType::Except;
      } else {
        return left;
      }
      left = std::make_unique<SetOperationNode>(type, std::move(left), ParseIntersectTerm());
    }
  }

  QueryNodePtr ParseIntersectTerm() {
    QueryNodePtr left = ParseQueryPrimary();
    while (AcceptWord("INTERSECT"))
      left = std::make_unique<SetOperationNode>(SetOperationType::Intersect, std::move(left),
                                                ParseQueryPrimary());
    return left;
  }

  QueryNodePtr ParseQueryPrimary() {
    if (Accept(TokenKind::LParen)) {
      QueryPtr inner = ParseQuery();
      Expect(TokenKind::RParen);
      if (!inner->orderBy.empty())
        Unsupported("ORDER BY inside a parenthesised query of a set operation");
      return std::move(inner->body);
    }
    return ParseSelectNode();
  }

  QueryNodePtr ParseSelectNode() {
    auto node = std::make_unique<SelectNode>();
    node->offset = Offset();
    ExpectWord("SELECT");
    if (AcceptWord("DISTINCT"))
      node->distinct = true;
    else
      AcceptWord("ALL");
    if (IsWord("TOP")) {
      Next();
      if (Accept(TokenKind::LParen)) {
        if (Is(TokenKind::Integer) && Is(TokenKind::RParen, 1)) Pin(Peek());
        node->top = ParseExpression();
        Expect(TokenKind::RParen);
      } else {
        const Token& n = Peek();
        if (n.kind != TokenKind::Integer && n.kind != TokenKind::Decimal &&
            n.kind != TokenKind::Float)
          SyntaxError();
        Next();
        Pin(n);
        node->top = std::make_unique<ConstantExpression>(n.offset, n.literal, LiteralType(n),
                                                         LiteralValue(n));
      }
      if (IsWord("PERCENT")) Unsupported("TOP ... PERCENT");
      if (IsWord("WITH") && IsWord("TIES", 1)) Unsupported("TOP ... WITH TIES");
    }
    do {
      node->items.push_back(ParseSelectItem());
    } while (Accept(TokenKind::Comma));
    if (AcceptWord("INTO")) {
      node->hasInto = true;
      node->into = ParseObjectName();
    }
    if (AcceptWord("FROM")) node->from = ParseFromList();
    if (AcceptWord("WHERE")) node->where = ParseExpression();
    if (IsWord("GROUP")) {
      Next();
      ExpectWord("BY");
      if (IsWord("ALL")) Unsupported("GROUP BY ALL");
      do {
        node->groupBy.push_back(ParseExpression());
      } while (Accept(TokenKind::Comma));
      if (IsWord("WITH")) Unsupported("GROUP BY ... WITH ROLLUP/CUBE");
    }
    if (AcceptWord("HAVING")) node->having = ParseExpression();
    return node;
  }

  SelectItem ParseSelectItem() {
    SelectItem item;
    const Token& t = Peek();
    // @v = expr, @v += expr
    if (t.kind == TokenKind::Variable && t.text.size() > 1 && t.text[1] != '@') {
      const TokenKind op = Peek(1).kind;
      char assignOp = 0;
      if (op == TokenKind::Equal) assignOp = '=';
      if (op == TokenKind::PlusEqual) assignOp = '+';
      if (op == TokenKind::MinusEqual) assignOp = '-';
      if (op == TokenKind::StarEqual) assignOp = '*';
      if (op == TokenKind::SlashEqual) assignOp = '/';
      if (assignOp) {
        item.assignTo = ResolveVariable(t);
        item.assignOp = assignOp;
        Next();
        Next();
        item.expression = ParseExpression();
        return item;
      }
    }
    // alias = expr
    if ((IsName() || t.kind == TokenKind::String || t.kind == TokenKind::NString) &&
        Is(TokenKind::Equal, 1)) {
      if (t.kind == TokenKind::String || t.kind == TokenKind::NString) {
        Pin(t);
        item.alias = LiteralValue(t).text;
      } else {
        item.alias = t.kind == TokenKind::QuotedIdentifier ? Unquote(t) : std::string(t.text);
      }
      Next();
      Next();
      item.expression = ParseExpression();
      return item;
    }
    if (t.kind == TokenKind::Star) {
      Next();
      item.expression = std::make_unique<StarExpression>(t.offset, "");
      return item;
    }
    item.expression = ParseExpression();
    if (AcceptWord("AS")) {
      item.alias = ParseAlias(true);
    } else if (IsName() || Is(TokenKind::String) || Is(TokenKind::NString)) {
      item.alias = ParseAlias(false);
    }
    return item;
  }

  std::string ParseAlias(bool required) {
    const Token& t = Peek();
    if (t.kind == TokenKind::String || t.kind == TokenKind::NString) {
      Next();
      Pin(t);
      return LiteralValue(t).text;
    }
    if (t.kind == TokenKind::QuotedIdentifier) {
      Next();
      return Unquote(t);
    }
    if (t.kind == TokenKind::Identifier && (!IsReserved(t.text) || !required)) {
      if (IsReserved(t.text)) SyntaxError();
      Next();
      return std::string(t.text);
    }
    SyntaxError();
  }

  std::vector<TableRefPtr> ParseFromList() {
    std::vector<TableRefPtr> list;
    do {
      list.push_back(ParseTableSource());
    } while (Accept(TokenKind::Comma));
    return list;
  }

  TableRefPtr ParseTableSource() {
    TableRefPtr left = ParseTablePrimary();
    for (;;) {
      const std::uint32_t at = Offset();
      std::optional<JoinType> type;
      if (IsWord("JOIN")) {
        Next();
        type = JoinType::Inner;
      } else if (IsWord("INNER")) {
        Next();
        ExpectJoinKeyword();
        type = JoinType::Inner;
      } else if (IsWord("LEFT") || IsWord("RIGHT") || IsWord("FULL")) {
        const bool l = IsWord("LEFT"), r = IsWord("RIGHT");
        Next();
        AcceptWord("OUTER");
        ExpectJoinKeyword();
        type = l ? JoinType::Left : r ? JoinType::Right : JoinType::Full;
      } else if (IsWord("CROSS")) {
        Next();
        if (IsWord("APPLY")) Unsupported("CROSS APPLY");
        ExpectWord("JOIN");
        type = JoinType::Cross;
      } else if (IsWord("OUTER") && IsWord("APPLY", 1)) {
        Unsupported("OUTER APPLY");
      }
      if (!type) return left;
      TableRefPtr right = ParseTablePrimary();
      ExpressionPtr condition;
      if (*type != JoinType::Cross) {
        if (!IsWord("ON")) {
          if (IsWord("JOIN") || IsWord("INNER") || IsWord("LEFT") || IsWord("RIGHT") ||
              IsWord("FULL"))
            Unsupported("nested joins without parentheses (JOIN ... JOIN ... ON ... ON)");
          SyntaxError();
        }
        Next();
        condition = ParseExpression();
      }
      left = std::make_unique<JoinRef>(at, *type, std::move(left), std::move(right),
                                       std::move(condition));
    }
  }

  void ExpectJoinKeyword() {
    if (IsWord("LOOP") || IsWord("HASH") || IsWord("MERGE") || IsWord("REMOTE"))
      Unsupported("join hints");
    ExpectWord("JOIN");
  }

  TableRefPtr ParseTablePrimary() {
    const std::uint32_t at = Offset();
    if (Is(TokenKind::LParen)) {
      if (IsQueryStart(1)) {
        Next();
        QueryPtr q = ParseQuery();
        Expect(TokenKind::RParen);
        AcceptWord("AS");
        if (!IsName())
          throw SqlError("A derived table must have an alias (Incorrect syntax near ')').");
        std::string alias = ExpectName();
        std::vector<std::string> columns;
        if (Is(TokenKind::LParen)) {
          Next();
          do {
            columns.push_back(ExpectName());
          } while (Accept(TokenKind::Comma));
          Expect(TokenKind::RParen);
        }
        return std::make_unique<DerivedTableRef>(at, std::move(q), std::move(alias),
                                                 std::move(columns));
      }
      Next();
      TableRefPtr inner = ParseTableSource();
      Expect(TokenKind::RParen);
      return inner;
    }
    if (Is(TokenKind::Variable)) Unsupported("table variables");
    ObjectName name = ParseObjectName();
    if (Is(TokenKind::LParen)) Unsupported("table-valued functions");
    std::string alias;
    if (AcceptWord("AS"))
      alias = ExpectName();
    else if (IsName() && !IsWord("WITH"))
      alias = ExpectName();
    if (IsWord("WITH") && Is(TokenKind::LParen, 1)) {
      // Table hints (NOLOCK and the like) do not change what a single session reads.
      Next();
      Next();
      while (!Is(TokenKind::RParen) && !AtEnd()) Next();
      Expect(TokenKind::RParen);
    }
    return std::make_unique<BaseTableRef>(at, std::move(name), std::move(alias));
  }

  // ---- Statements ------------------------------------------------------------------------------

  StatementPtr ParseStatement() {
    const std::uint32_t begin = Offset();
    StatementPtr s = ParseStatementBody();
    s->begin = begin;
    s->end = PreviousEnd();
    Accept(TokenKind::Semicolon);
    return s;
  }

  StatementPtr ParseStatementBody() {
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

  bool IsStatementStart(int ahead = 0) const {
    static const char* const kStarts[] = {
        "SELECT", "INSERT", "UPDATE", "DELETE",   "DECLARE", "SET",  "IF",     "WHILE",
        "BEGIN",  "END",    "COMMIT", "ROLLBACK", "CREATE",  "DROP", "ALTER",  "TRUNCATE",
        "PRINT",  "RETURN", "BREAK",  "CONTINUE", "ELSE",    "EXEC", "EXECUTE"};
    for (const char* w : kStarts)
      if (IsWord(w, ahead)) return true;
    return false;
  }

  StatementPtr ParseSelectStatement() {
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

  StatementPtr ParseInsert() {
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

  StatementPtr ParseUpdate() {
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
    if (IsWord("OUTPUT")) Unsupported("OUTPUT clause");
    if (AcceptWord("FROM")) s->from = ParseFromList();
    if (AcceptWord("WHERE")) {
      if (IsWord("CURRENT")) Unsupported("WHERE CURRENT OF");
      s->where = ParseExpression();
    }
    return s;
  }

  StatementPtr ParseDelete() {
    ExpectWord("DELETE");
    if (IsWord("TOP")) Unsupported("DELETE TOP");
    auto s = std::make_unique<DeleteStatement>();
    AcceptWord("FROM");
    if (Is(TokenKind::Variable)) Unsupported("table variables");
    s->target = ParseObjectName();
    if (IsWord("OUTPUT")) Unsupported("OUTPUT clause");
    if (AcceptWord("FROM")) s->from = ParseFromList();
    if (AcceptWord("WHERE")) {
      if (IsWord("CURRENT")) Unsupported("WHERE CURRENT OF");
      s->where = ParseExpression();
    }
    return s;
  }

  StatementPtr ParseDeclare() {
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

  StatementPtr ParseSet() {
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

  StatementPtr ParseIf() {
    ExpectWord("IF");
    ExpressionPtr condition = ParseExpression();
    StatementPtr then = ParseStatement();
    StatementPtr otherwise;
    if (AcceptWord("ELSE")) otherwise = ParseStatement();
    return std::make_unique<IfStatement>(std::move(condition), std::move(then),
                                         std::move(otherwise));
  }

  StatementPtr ParseWhile() {
    ExpectWord("WHILE");
    ExpressionPtr condition = ParseExpression();
    StatementPtr body = ParseStatement();
    return std::make_unique<WhileStatement>(std::move(condition), std::move(body));
  }

  StatementPtr ParseBegin() {
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

  StatementPtr ParseCreate() {
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

  ColumnDefinition ParseColumnDefinition() {
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

  std::vector<std::string> ParseKeyColumns() {
    std::vector<std::string> cols;
    Expect(TokenKind::LParen);
    do {
      cols.push_back(ExpectName());
      if (!AcceptWord("ASC")) AcceptWord("DESC");
    } while (Accept(TokenKind::Comma));
    Expect(TokenKind::RParen);
    return cols;
  }

  void SkipStorageOptions() {
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

  StatementPtr ParseCreateTable() {
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

  StatementPtr ParseCreateIndex(bool unique) {
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

  StatementPtr ParseCreateView() {
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

  StatementPtr ParseDrop() {
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

  StatementPtr ParseAlter() {
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

  std::string_view text_;
  const std::vector<Token>& tokens_;
  std::size_t pos_ = 0;
  std::unique_ptr<Batch> batch_;
  std::unordered_map<std::string, int> variables_;
};

}  // namespace

std::unique_ptr<Batch> Parser::Parse(std::string_view text, const LexedBatch& lexed) {
  ParserImpl parser(text, lexed);
  return parser.ParseBatch();
}

}  // namespace zov::data::tsql
