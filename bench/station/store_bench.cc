// The history writer on a large station: StoreEvent of a new event into a month of a million records,
// with the station's account files beside it. Run with DURI_BENCH_DIR naming where the stations are
// built (default: bench-stations under the current directory).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "events/history.h"
#include "platform/clock.h"
#include "platform/station_view.h"
#include "station/station_generator.h"
#include "store/data_dir.h"

namespace duri::bench {

std::string StationRoot(int accounts) {
  const char* base = std::getenv("DURI_BENCH_DIR");
  return std::string(base != nullptr && *base != '\0' ? base : "bench-stations") + "/station-" +
         std::to_string(accounts);
}

namespace {

void BM_StoreEvent(benchmark::State& st) {
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
  DataDir dir(root, clock, view);
  EventRecord event;
  event.date = clock.Today();
  event.description.Assign("130       Zone 130");
  int n = 0;
  for (auto _ : st) {
    StackEntry entry;
    WriteHistory(dir, event, entry, AccountNumber(n++ % shape.accounts));
  }
  st.SetItemsProcessed(st.iterations());
}
BENCHMARK(BM_StoreEvent)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace duri::bench
