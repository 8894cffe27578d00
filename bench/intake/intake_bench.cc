// Framing throughput, and the time from a receiver's terminator to its acknowledgement on a real
// pseudo-terminal (event thread, user-interface thread, reader pass, decode, ACK).
#include <benchmark/benchmark.h>

#include <string>

#include "intake/framing.h"
#include "intake/receiver_setup.h"
#include "station.h"
#include "support/pty.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

void BM_FrameBytes(benchmark::State& st) {
  std::string bytes;
  while (bytes.size() < 1000) bytes += "5011 18 1E13001003\x14";
  PortState state;
  ReceiverConfig config;
  std::string traffic;
  std::string memo(kTrafficHistory, 'h');
  for (auto _ : st) {
    ResetPortState(state);
    state.terminator = 20;
    state.synchronised = 1;
    FrameBytes(bytes, state, config, [] { return LineErrors{0}; }, traffic, memo);
    benchmark::DoNotOptimize(state.complete_count);
  }
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * bytes.size()));
}
BENCHMARK(BM_FrameBytes);

void BM_MessageToAcknowledgement(benchmark::State& st) {
  EventLoopThread ui;
  testing::TempDir dir;
  ManualClock clock;
  NullView view;
  testing::PseudoTerminal pty;
  Station station(dir.path(), clock, view);
  station.ports.SetDeviceDir(dir.Join("no-dev"));
  station.set_ui_thread(ui);
  station.decode_message = [](int, PortState& s, const ReceiverConfig&) {
    SkipMessage(s);
    --s.complete_count;
    return MessageOutcome::kEvents;
  };
  pty.Link(dir.path(), "COM1");
  station.ports.Config(1).receiver_type = 7;
  ui.Synchronize([&] { OpenReceiverPort(station, 1); });
  pty.Write("sync\x14");
  testing::WaitFor([&] { return station.ports.State(1).synchronised == 1 && station.ports.PortArmed(1); });
  for (auto _ : st) {
    pty.Write("5011 18 1E13001003\x14");
    if (pty.ReadBytes(1) != "\x06") st.SkipWithError("no acknowledgement");
  }
}
BENCHMARK(BM_MessageToAcknowledgement)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace duri
