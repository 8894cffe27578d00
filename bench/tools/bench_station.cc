// bench-station --root DIR [--accounts N] [--history N] [--receiver-type T --ports P]: builds (or reuses)
// a benchmark station under DIR, and with --receiver-type gives ports COM1..COMP that receiver type, for
// the whole-path run with the simulators.
#include <cstdio>
#include <string>

#include <CLI/CLI.hpp>

#include "intake/receiver_file.h"
#include "platform/clock.h"
#include "platform/station_view.h"
#include "station/station_generator.h"
#include "store/data_dir.h"

int main(int argc, char** argv) {
  CLI::App app{"Builds a benchmark station"};
  std::string root;
  duri::bench::StationShape shape;
  int receiver_type = 0;
  int ports = 16;
  app.add_option("--root", root, "station root")->required();
  app.add_option("--accounts", shape.accounts, "accounts");
  app.add_option("--history", shape.history_records, "records in the month's history");
  app.add_option("--receiver-type", receiver_type, "receiver type of the ports (0: leave the setup)");
  app.add_option("--ports", ports, "ports COM1.. given the receiver type")->check(CLI::Range(1, 16));
  CLI11_PARSE(app, argc, argv);
  std::string error;
  if (!duri::bench::PrepareStation(root, shape, &error)) {
    std::fprintf(stderr, "bench-station: %s\n", error.c_str());
    return 1;
  }
  if (receiver_type > 0) {
    duri::SystemClock clock;
    duri::NullView view;
    duri::DataDir dir(root, clock, view);
    duri::ReceiverConfigs configs;
    for (int p = 0; p < ports; ++p) configs[p].receiver_type = static_cast<uint8_t>(receiver_type);
    if (duri::SaveReceiverConfigs(dir, configs) != 0) {
      std::fprintf(stderr, "bench-station: cannot write the receiver setup\n");
      return 1;
    }
  }
  return 0;
}
