// One DC-09 port serving 2,000 panels at once on loopback: every panel holds its TCP connection and
// reports Contact ID events one after another, each sent when the previous one's ACK came. The
// station's side is the port's intake as a reader pass drives it: the bytes are read, the Sur-Gard
// message is decoded for receiver type 7, and the acknowledgement byte is written. The history write
// and its flush are left out (they are measured by the intake benchmarks): this measures the port's
// one event loop, its queue and the one-report-at-a-time hand-over.
// Reported: messages per second, and the ACK latency (from the report's sending to its ACK) p50/p99.
#include <benchmark/benchmark.h>

#include <asio.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

#include "decoders/surgard.h"
#include "transport/dc09_panel.h"
#include "transport/dc09_port.h"

namespace duri {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPanels = 2000;
constexpr int kReportsPerPanel = 5;

int64_t UtcNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

struct BenchPanel : std::enable_shared_from_this<BenchPanel> {
  BenchPanel(asio::io_context& io, int number, std::vector<int64_t>& latency_list, std::atomic<int>& finished)
      : socket(io), id(number), latencies(latency_list), done(finished) {}

  void Start(const asio::ip::tcp::endpoint& station) {
    socket.async_connect(station, [self = shared_from_this()](const asio::error_code& ec) {
      if (ec) {
        ++self->done;
        return;
      }
      self->Next();
    });
  }

  void Next() {
    if (sent == kReportsPerPanel) {
      ++done;
      return;
    }
    dc09::PanelReport report;
    report.token = std::string(dc09::kAdmCid);
    report.sequence = ++sent;
    report.account = std::to_string(1000 + id % 9000);
    report.data = "1130 01 " + std::to_string(100 + sent);
    report.stamp = UtcNow();
    frame = dc09::PanelFrame(report);
    started = Clock::now();
    asio::async_write(socket, asio::buffer(frame), [self = shared_from_this()](const asio::error_code& ec, size_t) {
      if (ec) {
        ++self->done;
        return;
      }
      self->Read();
    });
  }

  void Read() {
    socket.async_read_some(asio::buffer(chunk), [self = shared_from_this()](const asio::error_code& ec, size_t n) {
      if (ec) {
        ++self->done;
        return;
      }
      self->answer.append(self->chunk.data(), n);
      if (self->answer.empty() || self->answer.back() != dc09::kFrameEnd) return self->Read();
      if (dc09::ReadAnswer(self->answer).token == dc09::kAckToken) {
        self->latencies.push_back(
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - self->started).count());
      }
      self->answer.clear();
      self->Next();
    });
  }

  asio::ip::tcp::socket socket;
  int id;
  int sent = 0;
  std::string frame, answer;
  std::array<char, 512> chunk{};
  Clock::time_point started;
  std::vector<int64_t>& latencies;
  std::atomic<int>& done;
};

// The station's side: read, decode as type 7, acknowledge; until stop.
void Intake(Dc09Port& port, std::atomic<bool>& stop, std::atomic<int64_t>& decoded) {
  PortState state;
  state.terminator = 20;
  ReceiverConfig config;
  std::string pending;
  while (!stop) {
    std::string bytes;
    port.ReadStr(bytes, port.InputCount());
    if (bytes.empty()) {
      std::this_thread::sleep_for(std::chrono::microseconds(50));
      continue;
    }
    pending += bytes;
    size_t end;
    while ((end = pending.find('\x14')) != std::string::npos) {
      const std::string message = pending.substr(0, end + 1);
      pending.erase(0, end + 1);
      if (message.size() <= 1) continue;  // the synchronisation
      MessageText text(message);
      DecodeContext context{state, config, 7};
      DecodedMessage result;
      DecodeSurGardText(text, context, result);
      benchmark::DoNotOptimize(result);
      ++decoded;
      port.WriteStr("\x06");
    }
  }
}

int64_t Percentile(std::vector<int64_t> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t rank = static_cast<size_t>(std::max(1.0, std::ceil(p / 100.0 * static_cast<double>(values.size()))));
  return values[std::min(values.size(), rank) - 1];
}

void BM_Dc09TwoThousandPanels(benchmark::State& state) {
  for (auto _ : state) {
    Dc09Settings settings;
    settings.address = "127.0.0.1";
    Dc09Port port(settings);
    port.Open();
    std::atomic<bool> stop{false};
    std::atomic<int64_t> decoded{0};
    std::thread intake(Intake, std::ref(port), std::ref(stop), std::ref(decoded));

    asio::io_context io;
    std::vector<int64_t> latencies;
    latencies.reserve(kPanels * kReportsPerPanel);
    std::atomic<int> done{0};
    const asio::ip::tcp::endpoint station(asio::ip::make_address("127.0.0.1"), port.bound_port());
    const auto start = Clock::now();
    for (int i = 0; i < kPanels; ++i) std::make_shared<BenchPanel>(io, i, latencies, done)->Start(station);
    io.run();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    stop = true;
    intake.join();
    state.counters["panels"] = kPanels;
    state.counters["acked"] = static_cast<double>(latencies.size());
    state.counters["msgs_per_s"] = static_cast<double>(latencies.size()) / seconds;
    state.counters["ack_p50_ms"] = static_cast<double>(Percentile(latencies, 50)) / 1000.0;
    state.counters["ack_p99_ms"] = static_cast<double>(Percentile(latencies, 99)) / 1000.0;
    state.counters["refused"] = static_cast<double>(port.counters().refused_connections.load());
  }
}
BENCHMARK(BM_Dc09TwoThousandPanels)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
}  // namespace duri
