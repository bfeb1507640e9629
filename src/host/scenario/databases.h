// Where scenarios (and tests) get their databases: a master of each kind set up once per process
// (a file in a working directory, or a database on a PostgreSQL server), and a private copy of it
// for every scenario.
#pragma once

#include <memory>
#include <string>

#include "scenario/scenario.h"

namespace zov::sim {

// The templates of the host, from ZOV_TEMPLATE_DIR in the environment or the built-in folder.
std::shared_ptr<const TemplateSet> HostTemplates();

// Scenario databases under `workDir` (created when missing). `demoMaster`, when given, is the
// database copied for "demo" instead of one set up from the built-in scripts. With `server` (a
// PostgreSQL server's connection string), or a demo master on a server, the databases are
// databases of that server, dropped when the last copy of the returned set goes.
ScenarioDatabases MakeScenarioDatabases(const std::string& workDir,
                                        const std::string& demoMaster = "",
                                        const std::string& server = "");

}  // namespace zov::sim
