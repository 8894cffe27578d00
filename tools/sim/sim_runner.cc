#include "sim_runner.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <thread>

#include "platform/clock.h"
#include "receiver_messages.h"

namespace duri::sim {
namespace {

constexpr int kBitsPerCharacter = 10;  // start bit, eight data bits (or seven and parity), stop bit
constexpr int kMaxWaitMs = 200;

void SleepMs(int64_t ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

SimRunner::SimRunner(RunOptions options, Scenario scenario)
    : options_(std::move(options)), scenario_(std::move(scenario)), random_(scenario_.seed) {
  options_.link.window = std::max(1, options_.faults.burst);
}

std::string SimRunner::Open() {
  const std::string& where = !options_.tcp.empty() ? options_.tcp : options_.listen;
  if (where.empty()) return line_.Open(options_.station, options_.port);
  std::string host;
  int port = 0;
  if (!SplitHostPort(where, &host, &port)) return "\"" + where + "\" is not HOST:PORT";
  return !options_.tcp.empty() ? line_.OpenTcp(host, port) : line_.OpenListen(host, port);
}

bool SplitHostPort(const std::string& text, std::string* host, int* port) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return false;
  *host = text.substr(0, colon);
  if (host->size() > 2 && host->front() == '[' && host->back() == ']') *host = host->substr(1, host->size() - 2);
  try {
    size_t used = 0;
    *port = std::stoi(text.substr(colon + 1), &used);
    if (used != text.size() - colon - 1) return false;
  } catch (const std::exception&) {
    return false;
  }
  return *port >= 1 && *port <= 65535;
}

bool SimRunner::Chance(double p) { return p > 0 && std::uniform_real_distribution<double>(0, 1)(random_) < p; }

bool SimRunner::WritePaced(const std::string& bytes, int stop_fd) {
  if (options_.full_speed || options_.baud <= 0) {
    bytes_sent_ += static_cast<int64_t>(bytes.size());
    return line_.Write(bytes, stop_fd);
  }
  // Characters are due one character time apart; whatever is due goes out in one write.
  const double char_ms = 1000.0 * kBitsPerCharacter / options_.baud;
  const int64_t start = MonotonicMs();
  size_t written = 0;
  while (written < bytes.size()) {
    const double elapsed = static_cast<double>(MonotonicMs() - start);
    size_t due = std::min(bytes.size(), static_cast<size_t>(elapsed / char_ms) + 1);
    if (due > written) {
      if (!line_.Write(std::string_view(bytes).substr(written, due - written), stop_fd)) return false;
      bytes_sent_ += static_cast<int64_t>(due - written);
      written = due;
    }
    if (written < bytes.size()) {
      SleepMs(std::max<int64_t>(1, static_cast<int64_t>(std::ceil(written * char_ms - elapsed))));
    }
  }
  return true;
}

bool SimRunner::Send(const std::string& message, int stop_fd, bool faults) {
  std::string bytes = message;
  if (faults && Chance(options_.faults.noise)) {
    const uint8_t terminator = TerminatorOf(options_.type);
    int n = std::uniform_int_distribution<int>(1, 6)(random_);
    std::string noise;
    while (static_cast<int>(noise.size()) < n) {
      auto b = static_cast<uint8_t>(std::uniform_int_distribution<int>(1, 255)(random_));
      if (b != terminator) noise += static_cast<char>(b);
    }
    if (!WritePaced(noise, stop_fd)) return false;
  }
  if (faults && Chance(options_.faults.no_terminator) && !bytes.empty()) bytes.pop_back();
  if (faults && Chance(options_.faults.split) && bytes.size() > 1) {
    // Two to four pieces with a pause between them, as a line with gaps delivers them.
    int pieces = std::uniform_int_distribution<int>(2, 4)(random_);
    size_t at = 0;
    for (int i = 1; i < pieces && at < bytes.size() - 1; ++i) {
      size_t cut = std::uniform_int_distribution<size_t>(at + 1, bytes.size() - 1)(random_);
      if (!WritePaced(bytes.substr(at, cut - at), stop_fd)) return false;
      SleepMs(std::uniform_int_distribution<int>(5, 40)(random_));
      at = cut;
    }
    return WritePaced(bytes.substr(at), stop_fd);
  }
  return WritePaced(bytes, stop_fd);
}

RunResult SimRunner::Run(int stop_fd) {
  const int64_t start = MonotonicMs();
  RunResult r = options_.replay_file.empty() ? RunScenario(stop_fd) : RunReplay(stop_fd);
  r.bytes_sent = bytes_sent_;
  r.elapsed_ms = MonotonicMs() - start;
  return r;
}

RunResult SimRunner::RunScenario(int stop_fd) {
  RunResult result;
  const int type = options_.type;
  EventSource source(scenario_, type);
  if (!source.error().empty()) {
    result.error = source.error();
    return result;
  }
  SystemClock clock;
  LinkProtocol protocol(
      AckOf(type), TraitsOf(type).answers_status_poll && options_.answer_polls, options_.link,
      [&] { return BuildHeartbeat(type, clock.Now()); }, [&] { return BuildStatusReport(type, clock.Now()); });
  protocol.on_event_ack = [&](int id, int64_t latency) {
    ++result.events[static_cast<size_t>(id)].acks;
    if (log && options_.verbose) log("ack event " + std::to_string(id) + " after " + std::to_string(latency) + " ms");
  };

  if (options_.sync_first && !WritePaced(std::string(1, static_cast<char>(TerminatorOf(type))), stop_fd)) {
    return result;
  }
  const int64_t start = MonotonicMs();
  const double interval_ms = 1000.0 / scenario_.rate;
  double next_event = static_cast<double>(start);
  bool giving = true;
  bool stopped = false;
  while (!stopped) {
    int64_t now = MonotonicMs();
    if (options_.duration_s > 0 && now - start >= static_cast<int64_t>(options_.duration_s * 1000)) break;
    while (giving && now >= static_cast<int64_t>(next_event)) {
      SimEvent e;
      if (!source.Next(&e)) {
        giving = false;
        break;
      }
      e.stamp = clock.Now();
      const int id = static_cast<int>(result.events.size());
      result.events.push_back({e, ExpectedDecode(type, e), 0});
      protocol.QueueEvent(BuildEventMessage(type, e), id);
      next_event += interval_ms;
    }
    if (!giving && protocol.EventsDone()) break;
    while (const OutMessage* m = protocol.NextToSend(now)) {
      if (log && options_.verbose) {
        log(std::string(m->kind == MessageKind::kEvent ? "event " + std::to_string(m->id)
                         : m->kind == MessageKind::kHeartbeat ? "heartbeat"
                                                                : "status report") +
            (m->attempts > 0 ? " again" : ""));
      }
      stopped = !Send(m->bytes, stop_fd, m->kind == MessageKind::kEvent);
      protocol.Sent(MonotonicMs());
      if (stopped) break;
      now = MonotonicMs();
    }
    if (!stopped) {
      int64_t deadline = protocol.NextDeadline(now);
      if (giving) deadline = std::min(deadline, static_cast<int64_t>(next_event));
      int wait = static_cast<int>(std::clamp<int64_t>(deadline - now, 0, kMaxWaitMs));
      std::string in;
      stopped = !line_.Read(&in, wait, stop_fd);
      if (!in.empty()) protocol.OnReceived(in, MonotonicMs());
    }
  }
  result.counts = protocol.counts();
  result.failed = protocol.EventsPending();
  return result;
}

RunResult SimRunner::RunReplay(int stop_fd) {
  RunResult result;
  std::ifstream in(options_.replay_file, std::ios::binary);
  if (!in) {
    result.error = "cannot read " + options_.replay_file;
    return result;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const uint8_t ack = AckOf(options_.type);
  auto count_acks = [&](const std::string& got) {
    result.replay_acks += static_cast<int>(std::count(got.begin(), got.end(), static_cast<char>(ack)));
  };
  // A chunk at a time, so that acknowledgements are read while the capture plays.
  constexpr size_t kChunk = 64;
  for (size_t at = 0; at < bytes.size(); at += kChunk) {
    if (!WritePaced(bytes.substr(at, kChunk), stop_fd)) return result;
    std::string got;
    if (!line_.Read(&got, 0, stop_fd)) return result;
    count_acks(got);
  }
  // The last acknowledgements come after the last byte.
  const int64_t end = MonotonicMs() + options_.link.ack_timeout_ms;
  while (MonotonicMs() < end) {
    std::string got;
    if (!line_.Read(&got, static_cast<int>(end - MonotonicMs()), stop_fd)) break;
    count_acks(got);
  }
  return result;
}

int64_t Percentile(std::vector<int64_t> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  size_t rank = static_cast<size_t>(std::ceil(p / 100.0 * static_cast<double>(values.size())));
  rank = std::clamp<size_t>(rank, 1, values.size());
  return values[rank - 1];
}

std::string SummaryText(const RunResult& r) {
  const LinkCounts& c = r.counts;
  if (c.sent == 0 && r.replay_acks > 0) {
    return "replayed " + std::to_string(r.bytes_sent) + " bytes, " + std::to_string(r.replay_acks) +
           " acknowledgements\n";
  }
  std::string s = "sent " + std::to_string(c.sent) + ", acknowledged " + std::to_string(c.acknowledged) +
                  ", resent " + std::to_string(c.resent) + ", failed " + std::to_string(r.failed) + "\n";
  s += "heartbeats " + std::to_string(c.heartbeats_sent) + " (" + std::to_string(c.heartbeats_acknowledged) +
       " acknowledged), status reports " + std::to_string(c.status_sent) + ", computer fail " +
       std::to_string(c.computer_fail) + ", unexpected acknowledgements " + std::to_string(c.unexpected_acks) + "\n";
  s += "ACK latency ms: p50 " + std::to_string(Percentile(c.ack_latency_ms, 50)) + ", p99 " +
       std::to_string(Percentile(c.ack_latency_ms, 99)) + ", max " + std::to_string(Percentile(c.ack_latency_ms, 100)) +
       "\n";
  return s;
}

std::string SummaryJson(const RunResult& r, int type) {
  const LinkCounts& c = r.counts;
  nlohmann::json j = {
      {"receiver", type},
      {"sent", c.sent},
      {"acknowledged", c.acknowledged},
      {"resent", c.resent},
      {"failed", r.failed},
      {"computer_fail", c.computer_fail},
      {"heartbeats_sent", c.heartbeats_sent},
      {"heartbeats_acknowledged", c.heartbeats_acknowledged},
      {"status_sent", c.status_sent},
      {"status_acknowledged", c.status_acknowledged},
      {"unexpected_acks", c.unexpected_acks},
      {"bytes_sent", r.bytes_sent},
      {"replay_acks", r.replay_acks},
      {"elapsed_ms", r.elapsed_ms},
      {"ack_latency_ms",
       {{"p50", Percentile(c.ack_latency_ms, 50)},
        {"p99", Percentile(c.ack_latency_ms, 99)},
        {"max", Percentile(c.ack_latency_ms, 100)}}},
  };
  // Which events the receiver may delete: each acknowledged one with the line the station should have
  // made of it, so that a checker can find it in the history and on the stack message by message.
  nlohmann::json acknowledged = nlohmann::json::array();
  for (size_t id = 0; id < r.events.size(); ++id) {
    const EventOutcome& e = r.events[id];
    if (e.acks == 0) continue;
    acknowledged.push_back({{"id", id}, {"account", e.expected.account}, {"code", e.expected.code},
                            {"area", e.expected.area}});
  }
  j["acknowledged_events"] = std::move(acknowledged);
  return j.dump();
}

}  // namespace duri::sim
