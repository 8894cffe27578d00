#include "dc09_runner.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

#include "sim_line.h"
#include "sim_runner.h"
#include "transport/dc09_panel.h"

namespace duri::sim {
namespace {

constexpr int kSilenceMs = 400;  // how long a fault that gets no answer is given
constexpr int kStaleSeconds = 3600;

int64_t UtcNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// The panel's socket: connected TCP or UDP, reopened on demand.
class PanelLink {
 public:
  explicit PanelLink(const Dc09Options& options) : options_(options) {}
  ~PanelLink() { Drop(); }

  bool Ensure(std::string& error) {
    if (fd_ >= 0) return true;
    addrinfo hints{};
    hints.ai_socktype = options_.udp ? SOCK_DGRAM : SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(options_.host.c_str(), std::to_string(options_.port).c_str(), &hints, &found) != 0 || !found) {
      error = "cannot resolve " + options_.host;
      return false;
    }
    fd_ = socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, 0);
    const bool ok = fd_ >= 0 && connect(fd_, found->ai_addr, found->ai_addrlen) == 0;
    freeaddrinfo(found);
    if (!ok) {
      error = "cannot connect to " + options_.host + ":" + std::to_string(options_.port);
      Drop();
    }
    return ok;
  }
  bool Send(const std::string& bytes) {
    return fd_ >= 0 && send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
  }
  // One answer frame within timeout_ms; "" on time-out or loss (then the link is dropped).
  std::string Answer(int timeout_ms, int stop_fd) {
    const int64_t end = MonotonicMs() + timeout_ms;
    for (;;) {
      const size_t lf = buffer_.find('\n');
      const size_t cr = lf == std::string::npos ? lf : buffer_.find('\r', lf);
      if (cr != std::string::npos) {
        std::string frame = buffer_.substr(lf, cr + 1 - lf);
        buffer_.erase(0, cr + 1);
        return frame;
      }
      const int64_t left = end - MonotonicMs();
      if (left <= 0 || fd_ < 0) return {};
      pollfd fds[2] = {{fd_, POLLIN, 0}, {stop_fd, POLLIN, 0}};
      if (poll(fds, stop_fd >= 0 ? 2 : 1, static_cast<int>(left)) <= 0) continue;
      if (fds[1].revents != 0) return {};
      char chunk[2048];
      const ssize_t n = recv(fd_, chunk, sizeof chunk, 0);
      if (n <= 0) {
        Drop();
        return {};
      }
      buffer_.append(chunk, static_cast<size_t>(n));
    }
  }
  void Drop() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    buffer_.clear();
  }

 private:
  const Dc09Options& options_;
  int fd_ = -1;
  std::string buffer_;
};

std::string Digits(int value, int width) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", width, value);
  return text;
}

bool Stopped(int stop_fd) {
  pollfd p{stop_fd, POLLIN, 0};
  return stop_fd >= 0 && poll(&p, 1, 0) > 0;
}

class Panel {
 public:
  Panel(const Dc09Options& options, const std::function<void(const std::string&)>& log)
      : options_(options), link_(options), log_(log), random_(1) {
    if (!options.key_hex.empty()) dc09::ParseKey(options.key_hex, key_);
  }

  dc09::PanelReport Report(const SimEvent& event) {
    dc09::PanelReport report;
    report.sequence = NextSequence();
    report.receiver = options_.receiver;
    report.line = options_.line;
    report.account = event.account;
    report.stamp = UtcNow();
    if (event.kind == CodeKind::kContactId) {
      report.token = std::string(dc09::kAdmCid);
      report.data = std::string(1, event.qualifier == 'R' ? '3' : '1') + event.code + " " +
                    Digits(event.area, 2) + " " + Digits(event.zone, 3);
    } else {
      report.token = std::string(dc09::kSiaDcs);
      report.data = "Nri" + std::to_string(event.area) + "/" + event.code + Digits(event.zone, 2);
    }
    return report;
  }

  int NextSequence() {
    sequence_ = sequence_ % 9999 + 1;
    return sequence_;
  }

  bool Chance(double p) { return p > 0 && std::uniform_real_distribution<double>(0, 1)(random_) < p; }

  // Sends frame, returns the answer's token ("" for none).
  std::string Exchange(const std::string& frame, int timeout_ms, int stop_fd, Dc09Result& r) {
    std::string error;
    if (!link_.Ensure(error)) {
      if (options_.verbose) log_(error);
      // No station yet: wait as for an answer, so the resends are paced and a late station is met.
      pollfd p{stop_fd, POLLIN, 0};
      poll(&p, stop_fd >= 0 ? 1 : 0, std::min(timeout_ms, 1000));
      return {};
    }
    if (!link_.Send(frame)) {
      link_.Drop();
      ++r.reconnects;
      return {};
    }
    const std::string answer = link_.Answer(timeout_ms, stop_fd);
    const dc09::PanelAnswer read = dc09::ReadAnswer(answer, key_);
    if (options_.verbose) log_("sent " + frame.substr(dc09::kHeadSize, 40) + " -> " + (read.token.empty() ? "nothing" : read.token));
    if (read.token == dc09::kNakToken) ++r.naks;
    if (read.token == dc09::kDuhToken) ++r.duhs;
    return read.token;
  }

  void Faults(const SimEvent& event, int stop_fd, Dc09Result& r) {
    std::string frame = dc09::PanelFrame(Report(event), key_);
    if (Chance(options_.faults.bad_crc)) {
      std::string bad = frame;
      bad[1] = bad[1] == '0' ? '1' : '0';
      ++r.bad_crc;
      if (!Exchange(bad, kSilenceMs, stop_fd, r).empty()) ++r.wrong_answers;
    }
    if (Chance(options_.faults.wrong_length)) {
      std::string bad = frame;
      bad[8] = bad[8] == '0' ? '1' : '0';
      ++r.wrong_length;
      if (!Exchange(bad, kSilenceMs, stop_fd, r).empty()) ++r.wrong_answers;
      // A length that says more swallows what follows on a stream: start afresh.
      if (!options_.udp) link_.Drop();
    }
    if (Chance(options_.faults.old_stamp)) {
      dc09::PanelReport old = Report(event);
      old.stamp = UtcNow() - kStaleSeconds;
      ++r.old_stamp;
      Exchange(dc09::PanelFrame(old, key_), options_.ack_timeout_ms, stop_fd, r);
    }
    if (!options_.udp && Chance(options_.faults.drop)) {
      std::string error;
      if (link_.Ensure(error)) {
        link_.Send(frame.substr(0, frame.size() / 2));
        link_.Drop();
        ++r.dropped;
      }
    }
  }

  void Event(const SimEvent& event, int stop_fd, Dc09Result& r) {
    Faults(event, stop_fd, r);
    dc09::PanelReport report = Report(event);
    ++r.sent;
    for (int attempt = 0; attempt <= options_.resends && !Stopped(stop_fd); ++attempt) {
      if (attempt > 0) ++r.resent;
      report.stamp = UtcNow();
      const std::string frame = dc09::PanelFrame(report, key_);
      const int64_t start = MonotonicMs();
      const std::string token = Exchange(frame, options_.ack_timeout_ms, stop_fd, r);
      if (token == dc09::kAckToken) {
        ++r.acknowledged;
        r.ack_latency_ms.push_back(MonotonicMs() - start);
        if (Chance(options_.faults.replay)) {
          ++r.replayed;
          if (Exchange(frame, options_.ack_timeout_ms, stop_fd, r) == dc09::kAckToken) ++r.replays_acknowledged;
        }
        last_activity_ = MonotonicMs();
        return;
      }
      if (token.empty()) ++r.unanswered;
    }
    ++r.failed;
  }

  void Supervise(int stop_fd, Dc09Result& r) {
    if (options_.null_interval_ms <= 0 || MonotonicMs() - last_activity_ < options_.null_interval_ms) return;
    dc09::PanelReport report;
    report.token = std::string(dc09::kNull);
    report.sequence = NextSequence();
    report.receiver = options_.receiver;
    report.line = options_.line;
    report.account = account_;
    report.stamp = UtcNow();
    ++r.nulls;
    if (Exchange(dc09::PanelFrame(report, key_), options_.ack_timeout_ms, stop_fd, r) == dc09::kAckToken) {
      ++r.nulls_acknowledged;
    }
    last_activity_ = MonotonicMs();
  }

  std::string account_ = "1234";
  int64_t last_activity_ = MonotonicMs();

 private:
  const Dc09Options& options_;
  PanelLink link_;
  const std::function<void(const std::string&)>& log_;
  std::mt19937 random_;
  dc09::Key key_;
  int sequence_ = 0;
};

}  // namespace

Dc09Result RunDc09Panel(const Dc09Options& options, const Scenario& scenario, int stop_fd,
                        const std::function<void(const std::string&)>& log) {
  Dc09Result r;
  dc09::Key key;
  if (!options.key_hex.empty() && !dc09::ParseKey(options.key_hex, key)) {
    r.error = "--key must be 32, 48 or 64 hex digits";
    return r;
  }
  Scenario events = scenario;
  events.weight_pulse = 0;  // a DC-09 panel reports Contact ID or SIA
  EventSource source(events, 7);
  if (!source.error().empty()) {
    r.error = source.error();
    return r;
  }
  Panel panel(options, log);
  const int64_t start = MonotonicMs();
  const double interval_ms = scenario.rate > 0 ? 1000.0 / scenario.rate : 0;
  int64_t next_due = start;
  SimEvent event;
  bool more = true;
  while (!Stopped(stop_fd)) {
    if (options.duration_s > 0 && MonotonicMs() - start >= options.duration_s * 1000) break;
    if (more && MonotonicMs() >= next_due) {
      more = source.Next(&event);
      if (more) {
        panel.account_ = event.account;
        panel.Event(event, stop_fd, r);
        next_due += static_cast<int64_t>(interval_ms);
      }
      continue;
    }
    if (!more && options.duration_s <= 0 && options.null_interval_ms <= 0) break;
    panel.Supervise(stop_fd, r);
    pollfd p{stop_fd, POLLIN, 0};
    poll(&p, stop_fd >= 0 ? 1 : 0, 20);
  }
  r.elapsed_ms = MonotonicMs() - start;
  return r;
}

std::string Dc09SummaryText(const Dc09Result& r) {
  std::string s = "sent " + std::to_string(r.sent) + ", acknowledged " + std::to_string(r.acknowledged) +
                  ", resent " + std::to_string(r.resent) + ", failed " + std::to_string(r.failed) + "\n";
  s += "NAK " + std::to_string(r.naks) + ", DUH " + std::to_string(r.duhs) + ", no answer " +
       std::to_string(r.unanswered) + ", NULL " + std::to_string(r.nulls) + " (" + std::to_string(r.nulls_acknowledged) +
       " acknowledged)\n";
  s += "faults: bad CRC " + std::to_string(r.bad_crc) + ", wrong length " + std::to_string(r.wrong_length) +
       ", old time stamp " + std::to_string(r.old_stamp) + ", dropped connection " + std::to_string(r.dropped) +
       ", replayed sequence " + std::to_string(r.replayed) + " (" + std::to_string(r.replays_acknowledged) +
       " acknowledged), answered faults " + std::to_string(r.wrong_answers) + "\n";
  s += "ACK latency ms: p50 " + std::to_string(Percentile(r.ack_latency_ms, 50)) + ", p99 " +
       std::to_string(Percentile(r.ack_latency_ms, 99)) + ", max " + std::to_string(Percentile(r.ack_latency_ms, 100)) +
       "\n";
  return s;
}

std::string Dc09SummaryJson(const Dc09Result& r) {
  nlohmann::json j = {
      {"protocol", "dc09"}, {"sent", r.sent}, {"acknowledged", r.acknowledged}, {"resent", r.resent},
      {"failed", r.failed}, {"naks", r.naks}, {"duhs", r.duhs}, {"unanswered", r.unanswered},
      {"nulls", r.nulls}, {"nulls_acknowledged", r.nulls_acknowledged}, {"bad_crc", r.bad_crc},
      {"wrong_length", r.wrong_length}, {"old_stamp", r.old_stamp}, {"dropped", r.dropped},
      {"replayed", r.replayed}, {"replays_acknowledged", r.replays_acknowledged}, {"wrong_answers", r.wrong_answers}, {"elapsed_ms", r.elapsed_ms},
      {"ack_latency_ms",
       {{"p50", Percentile(r.ack_latency_ms, 50)},
        {"p99", Percentile(r.ack_latency_ms, 99)},
        {"max", Percentile(r.ack_latency_ms, 100)}}},
  };
  return j.dump();
}

}  // namespace duri::sim
