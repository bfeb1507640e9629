// The one error the host database raises: SQL Server's message and the statement it came from.
#pragma once

#include <stdexcept>
#include <string>

namespace zov::data {

class SqlError : public std::runtime_error {
 public:
  // `message` is the error as SQL Server words it; `statement` the T-SQL text that failed (may
  // be empty while the error travels up to the statement that owns it).
  explicit SqlError(std::string message, std::string statement = {})
      : std::runtime_error(Compose(message, statement)),
        message_(std::move(message)),
        statement_(std::move(statement)) {}

  // The error text without the statement.
  const std::string& message() const { return message_; }
  // The statement (or batch) text that raised the error.
  const std::string& statement() const { return statement_; }
  // The same error attached to `statement`, unless it already names one.
  SqlError WithStatement(std::string statement) const {
    if (!statement_.empty()) return *this;
    return SqlError(message_, std::move(statement));
  }

 private:
  static std::string Compose(const std::string& message, const std::string& statement) {
    return statement.empty() ? message : message + "\nStatement: " + statement;
  }

  std::string message_;
  std::string statement_;
};

}  // namespace zov::data
