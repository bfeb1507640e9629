#include "zov/vb/error.h"

namespace zov::vb {

void Raise(ErrorNumber number) {
  const char* text = "Application-defined or object-defined error";
  switch (number) {
    case kErrInvalidProcedureCall:
      text = "Invalid procedure call or argument";
      break;
    case kErrOverflow:
      text = "Overflow";
      break;
    case kErrDivisionByZero:
      text = "Division by zero";
      break;
    case kErrTypeMismatch:
      text = "Type mismatch";
      break;
    case kErrObjectVariableNotSet:
      text = "Object variable or With block variable not set";
      break;
    case kErrInvalidUseOfNull:
      text = "Invalid use of Null";
      break;
    case kErrObjectRequired:
      text = "Object required";
      break;
    case kErrKeyAlreadyExists:
      text = "This key is already associated with an element of this collection";
      break;
    case kErrDataAccess:
      text = "Data access error";
      break;
  }
  throw Error(number, text);
}

}  // namespace zov::vb
