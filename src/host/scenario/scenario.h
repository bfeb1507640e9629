// Scenario files: user stories played against the substitute host (open a bill, type into fields,
// click tools, answer message boxes, save, audit) with expectations on what the user sees and
// what the database holds. The format is documented in the README.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "session/session.h"

namespace zov::sim {

// Makes the database a scenario plays on: a fresh file of the demo account set ("demo") or of the
// schema alone ("empty"), and a connection to it.
struct ScenarioDatabases {
  // Returns the path of a new private copy of database `kind`.
  std::function<std::string(const std::string& kind)> freshCopy;
  std::function<std::unique_ptr<SqlConnection>(const std::string& path)> connect;
  std::shared_ptr<const TemplateSet> templates;
};

struct ScenarioOutcome {
  std::string file;
  int steps = 0;
  int failures = 0;  // failed expectations; a malformed file or a crash counts one
};

// Plays one scenario file; prints each step and each failed expectation (file, step number,
// expected and actual) to `out`.
ScenarioOutcome PlayScenario(const std::string& path, const ScenarioDatabases& databases,
                             std::ostream& out);

// The same for a scenario given as JSON text; `name` stands for the file in messages.
ScenarioOutcome PlayScenarioText(const std::string& json, const std::string& name,
                                 const ScenarioDatabases& databases, std::ostream& out);

}  // namespace zov::sim
