// duriduvaze-cli load --station DIR FILE.json: writes a station's data files from one JSON description.
#include <fstream>
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

struct LoadOptions {
  std::string station;
  std::string file;
};

int RunLoad(const LoadOptions& options) {
  std::ifstream in(options.file);
  if (!in) {
    std::cerr << "load: cannot read " << options.file << "\n";
    return 1;
  }
  nlohmann::json description;
  try {
    description = nlohmann::json::parse(in);
  } catch (const nlohmann::json::exception& e) {
    std::cerr << "load: " << options.file << ": " << e.what() << "\n";
    return 1;
  }
  SystemClock clock;
  NullView view;
  DataDir dir(std::filesystem::absolute(options.station).lexically_normal().string(), clock, view);
  std::string error;
  if (!LoadStation(dir, description, &error)) {
    std::cerr << "load: " << error << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

void RegisterLoadCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<LoadOptions>();
  CLI::App* cmd = app.add_subcommand("load", "Write a station's data files from a JSON description");
  cmd->add_option("--station", options->station, "Station directory (its data lie in ORBA/)")
      ->required()
      ->check(CLI::ExistingDirectory);
  cmd->add_option("file", options->file, "JSON description (see docs/station-json.md)")->required();
  cmd->callback([options, exit_code] { *exit_code = RunLoad(*options); });
}

}  // namespace duri::cli
