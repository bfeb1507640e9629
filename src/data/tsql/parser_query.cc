// Queries: set operations, SELECT with its clauses, the select list and the FROM clause.
#include "data/sql_error.h"
#include "data/tsql/ast/base_table_ref.h"
#include "data/tsql/ast/constant_expression.h"
#include "data/tsql/ast/derived_table_ref.h"
#include "data/tsql/ast/join_ref.h"
#include "data/tsql/ast/set_operation_node.h"
#include "data/tsql/ast/star_expression.h"
#include "data/tsql/parser_impl.h"

namespace zov::data::tsql {

QueryPtr ParserImpl::ParseQuery() {
  Level level(*this);
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

bool ParserImpl::IsExpressionContinuation(int ahead) const {
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

QueryNodePtr ParserImpl::ParseUnionTerm() {
  Chain chain(*this);
  QueryNodePtr left = chain.Operand([&] { return ParseIntersectTerm(); });
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
    chain.Link();
    left = std::make_unique<SetOperationNode>(type, std::move(left),
                                              chain.Operand([&] { return ParseIntersectTerm(); }));
  }
}

QueryNodePtr ParserImpl::ParseIntersectTerm() {
  Chain chain(*this);
  QueryNodePtr left = chain.Operand([&] { return ParseQueryPrimary(); });
  while (AcceptWord("INTERSECT")) {
    chain.Link();
    left = std::make_unique<SetOperationNode>(SetOperationType::Intersect, std::move(left),
                                              chain.Operand([&] { return ParseQueryPrimary(); }));
  }
  return left;
}

QueryNodePtr ParserImpl::ParseQueryPrimary() {
  if (Accept(TokenKind::LParen)) {
    QueryPtr inner = ParseQuery();
    Expect(TokenKind::RParen);
    if (!inner->orderBy.empty())
      Unsupported("ORDER BY inside a parenthesised query of a set operation");
    return std::move(inner->body);
  }
  return ParseSelectNode();
}

QueryNodePtr ParserImpl::ParseSelectNode() {
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

SelectItem ParserImpl::ParseSelectItem() {
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

std::string ParserImpl::ParseAlias(bool required) {
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

std::vector<TableRefPtr> ParserImpl::ParseFromList() {
  std::vector<TableRefPtr> list;
  do {
    list.push_back(ParseTableSource());
  } while (Accept(TokenKind::Comma));
  return list;
}

TableRefPtr ParserImpl::ParseTableSource() {
  Chain chain(*this);
  TableRefPtr left = chain.Operand([&] { return ParseTablePrimary(); });
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
    chain.Link();
    TableRefPtr right = chain.Operand([&] { return ParseTablePrimary(); });
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

void ParserImpl::ExpectJoinKeyword() {
  if (IsWord("LOOP") || IsWord("HASH") || IsWord("MERGE") || IsWord("REMOTE"))
    Unsupported("join hints");
  ExpectWord("JOIN");
}

TableRefPtr ParserImpl::ParseTablePrimary() {
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
    Level level(*this);
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

}  // namespace zov::data::tsql
