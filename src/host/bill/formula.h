// The field actions of the templates, compiled once: "Calculate" formulas ("FQty=FShowQty*
// FCoefficient;FAmount=FQty*FPrice") and "LockField" rules ("ME.FTrack<>80,FBatchNo=1,
// FBatchNo=0").
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "zov/vb/variant.h"

namespace zov::sim {

// Reads a field's number for a formula (the row's field, else the header's).
using FieldReader = std::function<double(std::string_view key)>;
// Reads a property for a condition: "ME.X" (the chosen record's X) or a field key.
using ValueReader = std::function<vb::Variant(std::string_view name)>;

struct Expr;

struct Assignment {
  std::string target;
  std::shared_ptr<const Expr> expr;
  std::vector<std::string> inputs;  // the field keys the expression reads
};

// A "Calculate" parameter: assignments run left to right.
struct Formula {
  std::vector<Assignment> assignments;
};

// A "LockField" parameter: lock TARGET with `whenTrue` when the condition holds, else `whenFalse`.
struct LockRule {
  std::string left, op, right;  // the condition operands as written ("ME.FTrack", "<>", "80")
  std::string target;
  bool whenTrue = false;
  bool whenFalse = false;
};

// Compiles a formula; raises std::runtime_error with the text and what is wrong.
Formula CompileFormula(std::string_view text);
// Evaluates one assignment's expression. A division by zero raises vb::Error 11.
double Evaluate(const Expr& expr, const FieldReader& read);

LockRule CompileLockRule(std::string_view text);
// Whether the rule's condition holds.
bool ConditionHolds(const LockRule& rule, const ValueReader& read);

}  // namespace zov::sim
