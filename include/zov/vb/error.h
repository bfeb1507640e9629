// VB run-time errors: what Err.Raise throws and what "On Error" traps.
#pragma once

#include <stdexcept>
#include <string>

namespace zov::vb {

// VB error numbers the library raises itself.
enum ErrorNumber : int {
  kErrOverflow = 6,
  kErrDivisionByZero = 11,
  kErrTypeMismatch = 13,
  kErrInvalidProcedureCall = 5,
  kErrObjectRequired = 424,
  kErrObjectVariableNotSet = 91,
  kErrKeyAlreadyExists = 457,
  kErrDataAccess = 3001,
  kErrInvalidUseOfNull = 94,
};

// An error raised by the runtime, a host member or a component. `number` is VB's Err.Number,
// `source` the raising component (its ProgID where there is one), `description` the text.
class Error : public std::runtime_error {
 public:
  Error(int number, std::string description, std::string source = {})
      : std::runtime_error(description),
        number_(number),
        description_(std::move(description)),
        source_(std::move(source)) {}

  int number() const { return number_; }
  const std::string& description() const { return description_; }
  const std::string& source() const { return source_; }

 private:
  int number_;
  std::string description_;
  std::string source_;
};

// Throws Error `number` with VB's own description of it ("Overflow", "Type mismatch", ...).
[[noreturn]] void Raise(ErrorNumber number);

}  // namespace zov::vb
