#include "bill/formula.h"

#include <cctype>
#include <cmath>
#include <stdexcept>

#include "zov/vb/convert.h"
#include "zov/vb/error.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::sim {

struct Expr {
  enum class Kind { Number, Field, Negate, Add, Subtract, Multiply, Divide, Round } kind;
  double number = 0;
  std::string field;
  std::shared_ptr<const Expr> a, b;
};

namespace {

using ExprPtr = std::shared_ptr<const Expr>;

[[noreturn]] void Bad(std::string_view text, const std::string& what) {
  throw std::runtime_error("formula \"" + std::string(text) + "\": " + what);
}

// expr := term { (+|-) term }; term := factor { (*|/) factor };
// factor := number | field | "(" expr ")" | "-" factor | ROUND "(" expr "," expr ")"
class Parser {
 public:
  Parser(std::string_view text, std::vector<std::string>& inputs) : text_(text), inputs_(inputs) {}

  ExprPtr ParseExpr() {
    ExprPtr left = ParseTerm();
    for (;;) {
      Skip();
      if (Take('+'))
        left = Binary(Expr::Kind::Add, left, ParseTerm());
      else if (Take('-'))
        left = Binary(Expr::Kind::Subtract, left, ParseTerm());
      else
        return left;
    }
  }
  bool AtEnd() {
    Skip();
    return pos_ >= text_.size();
  }

 private:
  ExprPtr ParseTerm() {
    ExprPtr left = ParseFactor();
    for (;;) {
      Skip();
      if (Take('*'))
        left = Binary(Expr::Kind::Multiply, left, ParseFactor());
      else if (Take('/'))
        left = Binary(Expr::Kind::Divide, left, ParseFactor());
      else
        return left;
    }
  }

  ExprPtr ParseFactor() {
    Skip();
    if (Take('(')) {
      ExprPtr inner = ParseExpr();
      Skip();
      if (!Take(')')) Bad(text_, "missing )");
      return inner;
    }
    if (Take('-')) {
      auto e = std::make_shared<Expr>();
      e->kind = Expr::Kind::Negate;
      e->a = ParseFactor();
      return e;
    }
    if (pos_ < text_.size() &&
        (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.')) {
      const std::size_t start = pos_;
      while (pos_ < text_.size() &&
             (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.'))
        ++pos_;
      auto e = std::make_shared<Expr>();
      e->kind = Expr::Kind::Number;
      e->number = vb::Val(text_.substr(start, pos_ - start));
      return e;
    }
    const std::string name = Name();
    if (name.empty()) Bad(text_, "a number, a field or ( expected");
    Skip();
    if (vb::UCase(name) == "ROUND" && Take('(')) {
      auto e = std::make_shared<Expr>();
      e->kind = Expr::Kind::Round;
      e->a = ParseExpr();
      Skip();
      if (!Take(',')) Bad(text_, "ROUND needs two arguments");
      e->b = ParseExpr();
      Skip();
      if (!Take(')')) Bad(text_, "missing ) after ROUND");
      return e;
    }
    auto e = std::make_shared<Expr>();
    e->kind = Expr::Kind::Field;
    e->field = name;
    inputs_.push_back(name);
    return e;
  }

  std::string Name() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_'))
      ++pos_;
    return std::string(text_.substr(start, pos_ - start));
  }

  static ExprPtr Binary(Expr::Kind kind, ExprPtr a, ExprPtr b) {
    auto e = std::make_shared<Expr>();
    e->kind = kind;
    e->a = std::move(a);
    e->b = std::move(b);
    return e;
  }
  bool Take(char c) {
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  void Skip() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }

  std::string_view text_;
  std::vector<std::string>& inputs_;
  std::size_t pos_ = 0;
};

}  // namespace

Formula CompileFormula(std::string_view text) {
  Formula formula;
  for (const std::string& piece : vb::Split(text, ";")) {
    if (vb::Trim(piece).empty()) continue;
    const auto eq = piece.find('=');
    if (eq == std::string::npos) Bad(text, "\"" + piece + "\" is not TARGET=EXPR");
    Assignment a;
    a.target = vb::Trim(piece.substr(0, eq));
    if (a.target.empty()) Bad(text, "an assignment without target");
    const std::string expression = piece.substr(eq + 1);
    Parser parser(expression, a.inputs);
    a.expr = parser.ParseExpr();
    if (!parser.AtEnd()) Bad(text, "unexpected text in \"" + expression + "\"");
    formula.assignments.push_back(std::move(a));
  }
  if (formula.assignments.empty()) Bad(text, "no assignment");
  return formula;
}

double Evaluate(const Expr& e, const FieldReader& read) {
  switch (e.kind) {
    case Expr::Kind::Number:
      return e.number;
    case Expr::Kind::Field:
      return read(e.field);
    case Expr::Kind::Negate:
      return -Evaluate(*e.a, read);
    case Expr::Kind::Add:
      return Evaluate(*e.a, read) + Evaluate(*e.b, read);
    case Expr::Kind::Subtract:
      return Evaluate(*e.a, read) - Evaluate(*e.b, read);
    case Expr::Kind::Multiply:
      return Evaluate(*e.a, read) * Evaluate(*e.b, read);
    case Expr::Kind::Divide: {
      const double d = Evaluate(*e.b, read);
      if (d == 0) throw vb::Error(vb::kErrDivisionByZero, "Division by zero");
      return Evaluate(*e.a, read) / d;
    }
    case Expr::Kind::Round:
      return vb::FormatToPlaces(Evaluate(*e.a, read), static_cast<int>(Evaluate(*e.b, read)))
          .ToDouble();
  }
  return 0;
}

LockRule CompileLockRule(std::string_view text) {
  const auto parts = vb::Split(text, ",");
  if (parts.size() != 3)
    throw std::runtime_error("lock rule \"" + std::string(text) +
                             "\": CONDITION,TARGET=L1,TARGET=L2 expected");
  LockRule rule;
  const std::string condition = vb::Trim(parts[0]);
  std::size_t opAt = std::string::npos, opLen = 0;
  for (const char* op : {"<>", "<=", ">=", "=", "<", ">"}) {
    const auto at = condition.find(op);
    if (at != std::string::npos && (opAt == std::string::npos || at < opAt)) {
      opAt = at;
      opLen = std::char_traits<char>::length(op);
    }
  }
  if (opAt == std::string::npos)
    throw std::runtime_error("lock rule \"" + std::string(text) + "\": no comparison");
  rule.left = vb::Trim(condition.substr(0, opAt));
  rule.op = condition.substr(opAt, opLen);
  rule.right = vb::Trim(condition.substr(opAt + opLen));
  auto target = [&](const std::string& piece, bool& lock) {
    const auto eq = piece.find('=');
    if (eq == std::string::npos)
      throw std::runtime_error("lock rule \"" + std::string(text) + "\": TARGET=0|1 expected");
    const std::string key = vb::Trim(piece.substr(0, eq));
    if (!rule.target.empty() && key != rule.target)
      throw std::runtime_error("lock rule \"" + std::string(text) + "\": two different targets");
    rule.target = key;
    lock = vb::Val(piece.substr(eq + 1)) != 0;
  };
  target(parts[1], rule.whenTrue);
  target(parts[2], rule.whenFalse);
  return rule;
}

bool ConditionHolds(const LockRule& rule, const ValueReader& read) {
  auto operand = [&](const std::string& text) -> vb::Variant {
    if (!text.empty() && text.front() == '\'')
      return vb::Replace(text.substr(1, text.size() - 2), "''", "'");
    if (vb::IsNumeric(vb::Variant(text))) return vb::Val(text);
    return read(text);
  };
  const vb::Variant a = operand(rule.left), b = operand(rule.right);
  int c;
  if (a.IsString() || b.IsString()) {
    c = vb::StrComp(vb::CStr(a.IsNull() ? vb::Variant("") : a),
                    vb::CStr(b.IsNull() ? vb::Variant("") : b), vb::CompareMethod::Text);
  } else {
    auto number = [](const vb::Variant& v) {
      return v.IsEmpty() || v.IsNull() ? 0.0 : vb::CDbl(v);
    };
    const double x = number(a), y = number(b);
    c = x < y ? -1 : (x > y ? 1 : 0);
  }
  if (rule.op == "=") return c == 0;
  if (rule.op == "<>") return c != 0;
  if (rule.op == "<") return c < 0;
  if (rule.op == ">") return c > 0;
  if (rule.op == "<=") return c <= 0;
  return c >= 0;
}

}  // namespace zov::sim
