// duriduvaze-cli dump --station DIR WHAT: prints a station's account-side files as JSON lines.
#include <filesystem>
#include <iostream>
#include <string>

#include <nlohmann/json.hpp>

#include "station_json/station_loader.h"
#include "commands.h"
#include "platform/clock.h"
#include "platform/station_view.h"
#include "store/data_dir.h"

namespace duri::cli {
namespace {

struct DumpOptions {
  std::string station;
  std::string what;
};

int RunDump(const DumpOptions& options) {
  SystemClock clock;
  NullView view;
  DataDir dir(std::filesystem::absolute(options.station).lexically_normal().string(), clock, view);
  std::vector<nlohmann::json> lines;
  std::string error;
  if (!DumpStation(dir, options.what, &lines, &error)) {
    std::cerr << "dump: " << error << "\n";
    return 1;
  }
  for (const auto& line : lines) std::cout << line.dump() << "\n";
  return 0;
}

}  // namespace

void RegisterDumpCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<DumpOptions>();
  CLI::App* cmd = app.add_subcommand("dump", "Print a station's data files as JSON lines");
  cmd->add_option("--station", options->station, "Station directory")->required()->check(CLI::ExistingDirectory);
  std::vector<std::string> kinds;
  for (auto k : DumpKinds()) kinds.emplace_back(k);
  cmd->add_option("what", options->what, "Which file")->required()->check(CLI::IsMember(kinds));
  cmd->callback([options, exit_code] { *exit_code = RunDump(*options); });
}

}  // namespace duri::cli
