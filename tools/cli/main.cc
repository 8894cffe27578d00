// duriduvaze-cli: decode receiver bytes, post event text into a station, load and dump its data files.
#include <CLI/CLI.hpp>

#include "commands.h"

int main(int argc, char** argv) {
  CLI::App app{"DURiduvaze command-line tool"};
  app.require_subcommand(1);
  int exit_code = 0;
  duri::cli::RegisterCommands(app, &exit_code);
  CLI11_PARSE(app, argc, argv);
  return exit_code;
}
