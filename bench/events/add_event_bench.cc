// Event intake cost: one receiver line through AddEvent into a station built with the loader (client
// lookup, code search, history, last 100, event log, stack), and a two-line message. The history grows
// while the benchmark runs, as it does in a month of traffic.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include <string>

#include "station_json/station_loader.h"
#include "events/add_event.h"
#include "platform/clock.h"
#include "station_settings.h"
#include "station.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

nlohmann::json BenchStation() {
  nlohmann::json entries = nlohmann::json::array();
  for (int i = 0; i < 9; ++i) {
    entries.push_back({{"code_pattern", std::to_string(100 + i)}, {"description", "Other"}, {"type", 10}});
  }
  // Found in the second record of the chain, as a code late in a long table is.
  nlohmann::json found = {{"code_pattern", "E13"}, {"description", "Fire"}, {"type", 10}, {"priority", 1}};
  return {{"clients", {{{"account_number", "1234"}, {"areas", {{{"area_name", "Shop"}, {"code_table_record_number", 0}}}}}}},
          {"code_tables", {{{"record", 0}, {"next_record", 1}, {"entries", entries}},
                           {{"record", 1}, {"entries", {found}}}}}};
}

// flushed: the history files written are flushed to disk after each message, as the reader pass does
// before it acknowledges.
void RunIntake(benchmark::State& st, const std::string& text, bool stacked, bool flushed = false) {
  testing::TempDir dir;
  dir.MakeDir("ORBA");
  ManualClock clock;
  clock.Set(2026, 12, 8, 10, 30, 0);
  NullView view;
  Station station(dir.path(), clock, view);
  std::string error;
  nlohmann::json description = BenchStation();
  if (!stacked) description["company"] = {{"handle_all_automatically", 1}};
  if (!LoadStation(station.data, description, &error)) st.SkipWithError(error.c_str());
  LoadStartupSettings(station);
  InstallEventIntake(station);
  station.notify_event = nullptr;
  for (auto _ : st) {
    AddEvent(station.event_context(), clock.Today(), clock.TimeOfDay(), text, "", NoPresetEntry(), 1);
    if (flushed && station.data.pending_sync.Flush() != 0) st.SkipWithError("flush failed");
    // The operators' application empties the stack; here it is removed so it never fills.
    st.PauseTiming();
    if (stacked) {
      if (auto path = station.data.HostPath("\\ORBA\\EVT.STK")) std::remove(path->c_str());
    }
    st.ResumeTiming();
  }
}

void BM_AddEventOneLineStacked(benchmark::State& st) { RunIntake(st, "01234 E130005  [ri01]\r", true); }
BENCHMARK(BM_AddEventOneLineStacked)->Unit(benchmark::kMicrosecond);

void BM_AddEventOneLineAutomatic(benchmark::State& st) { RunIntake(st, "01234 E130005  [ri01]\r", false); }
BENCHMARK(BM_AddEventOneLineAutomatic)->Unit(benchmark::kMicrosecond);

void BM_AddEventOneLineFlushed(benchmark::State& st) { RunIntake(st, "01234 E130005  [ri01]\r", true, true); }
BENCHMARK(BM_AddEventOneLineFlushed)->Unit(benchmark::kMicrosecond);

void BM_AddEventTwoLines(benchmark::State& st) {
  RunIntake(st, "01234 E130005  [ri01]\r01234 E130006  [ri01]\r", true);
}
BENCHMARK(BM_AddEventTwoLines)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace duri
