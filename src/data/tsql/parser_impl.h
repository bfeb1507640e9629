// The recursive-descent parser's state and its productions, one file per part of the grammar:
// tokens, names and types (parser.cc), expressions (parser_expression.cc), queries
// (parser_query.cc), statements (parser_statement.cc) and DDL (parser_ddl.cc).
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/tsql/ast/batch.h"
#include "data/tsql/ast/column_definition.h"
#include "data/tsql/ast/expression.h"
#include "data/tsql/ast/object_name.h"
#include "data/tsql/ast/query.h"
#include "data/tsql/ast/query_node.h"
#include "data/tsql/ast/select_node.h"
#include "data/tsql/ast/statement.h"
#include "data/tsql/ast/table_ref.h"
#include "data/tsql/lexer.h"
#include "data/tsql/text_rules.h"

namespace zov::data::tsql {

// Words that cannot stand as a bare alias or column name (SQL Server's reserved keywords that
// can follow an expression or a table in the statements we read).
bool IsReserved(std::string_view word);
// The T-SQL type of a literal token.
SqlType LiteralType(const Token& t);

class ParserImpl {
 public:
  ParserImpl(std::string_view text, const LexedBatch& lexed) : text_(text), tokens_(lexed.tokens) {
    batch_ = std::make_unique<Batch>();
    batch_->literalCount = lexed.literalCount;
  }

  // The whole batch; throws SqlError at the first error.
  std::unique_ptr<Batch> ParseBatch();

 private:
  // ---- Nesting ---------------------------------------------------------------------------------
  // Every later pass over the tree (translation, checks, running, freeing it) recurses along it,
  // so the parser refuses a batch nested too deeply before anything sees it. `depth_` counts the
  // nested levels (parentheses, subqueries, CASE, blocks) around the one being parsed; `peak_` is
  // the deepest the tree reaches so far, chains of operators included.

  // One level deeper while alive.
  class Level {
   public:
    explicit Level(ParserImpl& parser) : parser_(parser) { parser_.Descend(); }
    ~Level() { --parser_.depth_; }
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

   private:
    ParserImpl& parser_;
  };

  // A left-deep chain of operators (a + b + c): each link puts the operands before it one level
  // deeper, so the chain reaches its links plus its deepest operand.
  class Chain {
   public:
    explicit Chain(ParserImpl& parser) : parser_(parser), base_(parser.depth_) {}
    ~Chain() { parser_.peak_ = std::max(parser_.peak_, base_ + links_ + height_); }
    Chain(const Chain&) = delete;
    Chain& operator=(const Chain&) = delete;

    // Parses one operand with `parse`, measuring how deep it reaches.
    template <class Parse>
    auto Operand(Parse&& parse) {
      const int outer = parser_.peak_;
      parser_.peak_ = base_;
      auto operand = parse();
      height_ = std::max(height_, parser_.peak_ - base_);
      parser_.peak_ = std::max(outer, parser_.peak_);
      parser_.CheckDepth(base_ + links_ + height_);
      return operand;
    }
    // Another operator joins the chain.
    void Link() { parser_.CheckDepth(base_ + ++links_ + height_); }

   private:
    ParserImpl& parser_;
    const int base_;
    int links_ = 0;
    int height_ = 0;
  };

  // One nested level more (Level), and the depth a chain reaches (Chain); both throw SqlError
  // past their limits.
  void Descend();
  void CheckDepth(int depth) const;

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
  std::uint32_t PreviousEnd() const;
  [[noreturn]] void SyntaxError() const;
  [[noreturn]] void Unsupported(std::string_view construct) const;
  void Pin(const Token& t);

  // A name: identifier that is not reserved, or a quoted identifier.
  bool IsName(int ahead = 0) const;
  std::string ExpectName();
  std::string Unquote(const Token& t) const;
  ObjectName ParseObjectName();

  // ---- Variables -------------------------------------------------------------------------------

  int DeclareVariable(const Token& t, const SqlType& type);
  int ResolveVariable(const Token& t) const;

  // ---- Types -----------------------------------------------------------------------------------

  // `inConversion`: CAST/CONVERT, where a length-less char type means 30 instead of 1.
  SqlType ParseType(bool inConversion);

  // ---- Expressions -----------------------------------------------------------------------------

  ExpressionPtr ParseExpression();

  ExpressionPtr ParseOr();
  ExpressionPtr ParseAnd();
  ExpressionPtr ParseNot();
  ExpressionPtr ParsePredicate();
  ExpressionPtr ParseAdditive();
  ExpressionPtr ParseMultiplicative();
  // A left-associative chain of one precedence level: `opOf` gives the operator a token stands
  // for (0 for none, which ends the chain), `next` parses the operands of the level below.
  ExpressionPtr ParseBinaryLevel(char (*opOf)(TokenKind), ExpressionPtr (ParserImpl::*next)());
  ExpressionPtr ParseUnary();
  bool IsQueryStart(int ahead = 0) const;
  ExpressionPtr ParsePrimary();
  ExpressionPtr ParseNameExpression();
  ExpressionPtr ParseFunctionCall(std::uint32_t at, std::string schema, std::string name);
  ExpressionPtr ParseCase();
  ExpressionPtr ParseCast();
  ExpressionPtr ParseConvert();

  // ---- Queries ---------------------------------------------------------------------------------

  QueryPtr ParseQuery();
  bool IsExpressionContinuation(int ahead) const;
  QueryNodePtr ParseUnionTerm();
  QueryNodePtr ParseIntersectTerm();
  QueryNodePtr ParseQueryPrimary();
  QueryNodePtr ParseSelectNode();
  SelectItem ParseSelectItem();
  std::string ParseAlias(bool required);
  std::vector<TableRefPtr> ParseFromList();
  TableRefPtr ParseTableSource();
  void ExpectJoinKeyword();
  TableRefPtr ParseTablePrimary();

  // ---- Statements ------------------------------------------------------------------------------

  StatementPtr ParseStatement();
  StatementPtr ParseStatementBody();
  bool IsStatementStart(int ahead = 0) const;
  StatementPtr ParseSelectStatement();
  StatementPtr ParseInsert();
  StatementPtr ParseUpdate();
  StatementPtr ParseDelete();
  // The end UPDATE and DELETE share: OUTPUT refused, then FROM and WHERE (not CURRENT OF).
  void ParseFromAndWhere(std::vector<TableRefPtr>& from, ExpressionPtr& where);
  StatementPtr ParseDeclare();
  StatementPtr ParseSet();
  StatementPtr ParseIf();
  StatementPtr ParseWhile();
  StatementPtr ParseBegin();

  // ---- DDL -------------------------------------------------------------------------------------

  StatementPtr ParseCreate();
  ColumnDefinition ParseColumnDefinition();
  std::vector<std::string> ParseKeyColumns();
  void SkipStorageOptions();
  StatementPtr ParseCreateTable();
  StatementPtr ParseCreateIndex(bool unique);
  StatementPtr ParseCreateView();
  StatementPtr ParseDrop();
  StatementPtr ParseAlter();

  std::string_view text_;
  const std::vector<Token>& tokens_;
  std::size_t pos_ = 0;
  std::unique_ptr<Batch> batch_;
  std::unordered_map<std::string, int> variables_;
  int depth_ = 0;
  int peak_ = 0;
};

}  // namespace zov::data::tsql
