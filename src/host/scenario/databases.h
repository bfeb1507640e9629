// Where scenarios (and tests) get their databases: a master file of each kind set up once per
// process in a working directory, and a private copy of it for every scenario.
#pragma once

#include <memory>
#include <string>

#include "scenario/scenario.h"

namespace zov::sim {

// The templates of the host, from ZOV_TEMPLATE_DIR in the environment or the built-in folder.
std::shared_ptr<const TemplateSet> HostTemplates();

// Scenario databases under `workDir` (created when missing). `demoMaster`, when given, is the
// file copied for "demo" instead of one set up from the built-in scripts.
ScenarioDatabases MakeScenarioDatabases(const std::string& workDir,
                                        const std::string& demoMaster = "");

}  // namespace zov::sim
