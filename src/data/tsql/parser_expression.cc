// Expressions: operators by precedence, predicates, names, function calls, CASE, CAST and CONVERT.
#include <fmt/format.h>

#include "data/sql_error.h"
#include "data/tsql/ast/between_expression.h"
#include "data/tsql/ast/binary_expression.h"
#include "data/tsql/ast/case_expression.h"
#include "data/tsql/ast/cast_expression.h"
#include "data/tsql/ast/column_ref_expression.h"
#include "data/tsql/ast/comparison_expression.h"
#include "data/tsql/ast/constant_expression.h"
#include "data/tsql/ast/exists_expression.h"
#include "data/tsql/ast/function_expression.h"
#include "data/tsql/ast/in_expression.h"
#include "data/tsql/ast/is_null_expression.h"
#include "data/tsql/ast/like_expression.h"
#include "data/tsql/ast/logical_expression.h"
#include "data/tsql/ast/not_expression.h"
#include "data/tsql/ast/star_expression.h"
#include "data/tsql/ast/subquery_expression.h"
#include "data/tsql/ast/unary_expression.h"
#include "data/tsql/ast/variable_expression.h"
#include "data/tsql/parser_impl.h"

namespace zov::data::tsql {

ExpressionPtr ParserImpl::ParseExpression() {
  Level level(*this);
  return ParseOr();
}

ExpressionPtr ParserImpl::ParseOr() {
  Chain chain(*this);
  ExpressionPtr left = chain.Operand([&] { return ParseAnd(); });
  while (IsWord("OR")) {
    const std::uint32_t at = Offset();
    Next();
    chain.Link();
    left = std::make_unique<LogicalExpression>(at, false, std::move(left),
                                               chain.Operand([&] { return ParseAnd(); }));
  }
  return left;
}

ExpressionPtr ParserImpl::ParseAnd() {
  Chain chain(*this);
  ExpressionPtr left = chain.Operand([&] { return ParseNot(); });
  while (IsWord("AND")) {
    const std::uint32_t at = Offset();
    Next();
    chain.Link();
    left = std::make_unique<LogicalExpression>(at, true, std::move(left),
                                               chain.Operand([&] { return ParseNot(); }));
  }
  return left;
}

ExpressionPtr ParserImpl::ParseNot() {
  if (IsWord("NOT")) {
    const std::uint32_t at = Offset();
    Next();
    Level level(*this);
    return std::make_unique<NotExpression>(at, ParseNot());
  }
  return ParsePredicate();
}

ExpressionPtr ParserImpl::ParsePredicate() {
  const std::uint32_t at = Offset();
  if (IsWord("EXISTS")) {
    Next();
    Expect(TokenKind::LParen);
    QueryPtr q = ParseQuery();
    Expect(TokenKind::RParen);
    return std::make_unique<ExistsExpression>(at, std::move(q));
  }
  Chain chain(*this);
  ExpressionPtr left = chain.Operand([&] { return ParseAdditive(); });
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
      chain.Link();
      left = std::make_unique<ComparisonExpression>(opAt, *op, std::move(left),
                                                    chain.Operand([&] { return ParseAdditive(); }));
      continue;
    }
    if (IsWord("IS")) {
      Next();
      const bool negated = AcceptWord("NOT");
      ExpectWord("NULL");
      chain.Link();
      left = std::make_unique<IsNullExpression>(at, std::move(left), negated);
      continue;
    }
    bool negated = false;
    if (IsWord("NOT") && (IsWord("BETWEEN", 1) || IsWord("LIKE", 1) || IsWord("IN", 1))) {
      Next();
      negated = true;
    }
    if (AcceptWord("BETWEEN")) {
      ExpressionPtr low = chain.Operand([&] { return ParseAdditive(); });
      ExpectWord("AND");
      ExpressionPtr high = chain.Operand([&] { return ParseAdditive(); });
      chain.Link();
      left = std::make_unique<BetweenExpression>(at, std::move(left), std::move(low),
                                                 std::move(high), negated);
      continue;
    }
    if (AcceptWord("LIKE")) {
      ExpressionPtr pattern = chain.Operand([&] { return ParseAdditive(); });
      ExpressionPtr escape;
      if (AcceptWord("ESCAPE")) escape = chain.Operand([&] { return ParseAdditive(); });
      chain.Link();
      left = std::make_unique<LikeExpression>(at, std::move(left), std::move(pattern),
                                              std::move(escape), negated);
      continue;
    }
    if (AcceptWord("IN")) {
      Expect(TokenKind::LParen);
      if (IsQueryStart()) {
        QueryPtr q = chain.Operand([&] { return ParseQuery(); });
        Expect(TokenKind::RParen);
        chain.Link();
        left = std::make_unique<InExpression>(at, std::move(left), ExpressionList{}, std::move(q),
                                              negated);
      } else {
        ExpressionList list;
        do {
          list.push_back(chain.Operand([&] { return ParseAdditive(); }));
        } while (Accept(TokenKind::Comma));
        Expect(TokenKind::RParen);
        chain.Link();
        left =
            std::make_unique<InExpression>(at, std::move(left), std::move(list), nullptr, negated);
      }
      continue;
    }
    if (negated) SyntaxError();
    return left;
  }
}

namespace {

char AdditiveOperator(TokenKind kind) {
  switch (kind) {
    case TokenKind::Plus:
      return '+';
    case TokenKind::Minus:
      return '-';
    case TokenKind::Ampersand:
      return '&';
    case TokenKind::Pipe:
      return '|';
    case TokenKind::Caret:
      return '^';
    default:
      return 0;
  }
}

char MultiplicativeOperator(TokenKind kind) {
  switch (kind) {
    case TokenKind::Star:
      return '*';
    case TokenKind::Slash:
      return '/';
    case TokenKind::Percent:
      return '%';
    default:
      return 0;
  }
}

}  // namespace

ExpressionPtr ParserImpl::ParseBinaryLevel(char (*opOf)(TokenKind),
                                           ExpressionPtr (ParserImpl::*next)()) {
  Chain chain(*this);
  ExpressionPtr left = chain.Operand([&] { return (this->*next)(); });
  while (const char op = opOf(Peek().kind)) {
    const std::uint32_t at = Offset();
    Next();
    chain.Link();
    left = std::make_unique<BinaryExpression>(at, op, std::move(left),
                                              chain.Operand([&] { return (this->*next)(); }));
  }
  return left;
}

ExpressionPtr ParserImpl::ParseAdditive() {
  return ParseBinaryLevel(AdditiveOperator, &ParserImpl::ParseMultiplicative);
}

ExpressionPtr ParserImpl::ParseMultiplicative() {
  return ParseBinaryLevel(MultiplicativeOperator, &ParserImpl::ParseUnary);
}

ExpressionPtr ParserImpl::ParseUnary() {
  const std::uint32_t at = Offset();
  char op = 0;
  if (Accept(TokenKind::Minus))
    op = '-';
  else if (Accept(TokenKind::Plus))
    op = '+';
  else if (Accept(TokenKind::Tilde))
    op = '~';
  if (op) {
    Level level(*this);
    return std::make_unique<UnaryExpression>(at, op, ParseUnary());
  }
  ExpressionPtr e = ParsePrimary();
  if (IsWord("COLLATE")) Unsupported("COLLATE in an expression");
  return e;
}

bool ParserImpl::IsQueryStart(int ahead) const {
  if (IsWord("SELECT", ahead)) return true;
  if (Is(TokenKind::LParen, ahead)) return IsQueryStart(ahead + 1);
  return false;
}

ExpressionPtr ParserImpl::ParsePrimary() {
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

ExpressionPtr ParserImpl::ParseNameExpression() {
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
      return std::make_unique<FunctionExpression>(at, "", "GETDATE", ExpressionList{}, false, false,
                                                  "");
    }
    // LEFT and RIGHT are reserved but name functions when a parenthesis follows.
    const bool functionWord =
        (EqualsNoCase(t.text, "LEFT") || EqualsNoCase(t.text, "RIGHT")) && Is(TokenKind::LParen, 1);
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

ExpressionPtr ParserImpl::ParseFunctionCall(std::uint32_t at, std::string schema,
                                            std::string name) {
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
                                              std::move(args), distinct, star, std::move(datePart));
}

ExpressionPtr ParserImpl::ParseCase() {
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

ExpressionPtr ParserImpl::ParseCast() {
  const std::uint32_t at = Offset();
  ExpectWord("CAST");
  Expect(TokenKind::LParen);
  ExpressionPtr operand = ParseExpression();
  ExpectWord("AS");
  SqlType type = ParseType(true);
  Expect(TokenKind::RParen);
  return std::make_unique<CastExpression>(at, std::move(operand), type, -1);
}

ExpressionPtr ParserImpl::ParseConvert() {
  const std::uint32_t at = Offset();
  ExpectWord("CONVERT");
  Expect(TokenKind::LParen);
  SqlType type = ParseType(true);
  Expect(TokenKind::Comma);
  ExpressionPtr operand = ParseExpression();
  int style = -1;
  if (Accept(TokenKind::Comma)) {
    const Token& s = Peek();
    if (s.kind != TokenKind::Integer) Unsupported("a CONVERT style that is not an integer literal");
    Next();
    Pin(s);
    style = static_cast<int>(LiteralValue(s).integer);
  }
  Expect(TokenKind::RParen);
  return std::make_unique<CastExpression>(at, std::move(operand), type, style);
}

}  // namespace zov::data::tsql
