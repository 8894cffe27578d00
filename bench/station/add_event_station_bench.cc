// Event intake on a large station: AddEvent of one receiver line at a time on a station of 10,000 or
// 100,000 accounts (two areas each, a chain of three code tables, a schedule and a user table) with a
// month's history of a million records, a quarter of the lines on unknown accounts and a quarter on
// unknown codes. Every run starts from the generated station (history cut back, stack emptied) and is
// timed once its folders have settled, as a running station's have.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "events/add_event.h"
#include "events/stack.h"
#include "platform/clock.h"
#include "station_settings.h"
#include "station.h"
#include "station/station_generator.h"
#include "store/file_cache.h"

namespace duri::bench {

std::string StationRoot(int accounts);

namespace {

void BM_AddEventLargeStation(benchmark::State& st) {
  StationShape shape;
  shape.accounts = static_cast<int>(st.range(0));
  const std::string root = StationRoot(shape.accounts);
  std::string error;
  if (!PrepareStation(root, shape, &error)) {
    st.SkipWithError(error.c_str());
    return;
  }
  ManualClock clock;
  clock.Set(shape.year, shape.month, 15, 12, 0, 0);
  NullView view;
  Station station(root, clock, view);
  LoadStartupSettings(station);
  InstallEventIntake(station);
  station.notify_event = nullptr;
  const std::vector<std::string> lines = EventLines(shape, 4096, 11);
  size_t n = 0;
  int64_t stacked = 0;
  // The reset above removed files and the first event creates 100EVT.DAT: a running station's folders
  // have long settled, and until they have every lookup of an absent name reads the folder again.
  {
    const LocalDateTime now = clock.Now();
    AddEvent(station.event_context(), now.date, now.time, lines[n++ % lines.size()], "", NoPresetEntry(), 1);
    std::this_thread::sleep_for(std::chrono::nanoseconds(kSettleNs + 100'000'000));
  }
  for (auto _ : st) {
    const LocalDateTime now = clock.Now();
    AddEvent(station.event_context(), now.date, now.time, lines[n++ % lines.size()], "", NoPresetEntry(), 1);
    clock.AdvanceMs(10);
    if (n % 64 == 0) {
      // Lines that wait for an operator would fill the stack; it is emptied as an operator would.
      st.PauseTiming();
      StackTable table;
      ReadStack(station.data, table);
      for (const StackEntry& e : table) stacked += e.in_use() ? 1 : 0;
      if (auto path = station.data.HostPath(kStackFile)) std::remove(path->c_str());
      st.ResumeTiming();
    }
  }
  st.SetItemsProcessed(st.iterations());
  st.counters["stacked"] = static_cast<double>(stacked);
}
BENCHMARK(BM_AddEventLargeStation)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace duri::bench
