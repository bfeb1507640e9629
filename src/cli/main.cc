// zov: the command-line face of the substitute host.
#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
  CLI::App app{"zov: the sales plug-ins' substitute host (database set-up, T-SQL console, scenario runner)"};
  app.require_subcommand(0);
  CLI11_PARSE(app, argc, argv);
  if (argc == 1) std::puts(app.help().c_str());
  return 0;
}
