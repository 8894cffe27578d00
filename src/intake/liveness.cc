#include "intake/liveness.h"

#include <algorithm>

#include "intake/periodic_work.h"
#include "intake/receiver_ports.h"

namespace duri {
namespace {

std::string Seconds(int64_t ms) { return std::to_string(ms / 1000) + " s"; }

void Add(std::string& out, const std::string& finding) {
  if (!out.empty()) out += "; ";
  out += finding;
}

}  // namespace

Liveness::Liveness(int64_t stale_after_ms) : stale_after_ms_(std::max(stale_after_ms, kMinStaleMs)) {}

std::function<void()> Liveness::NextUiBeat(int64_t now_ms) {
  if (started_ms_ < 0) started_ms_ = now_ms;
  if (beat_->posted_ms != 0) return {};
  beat_->posted_ms = std::max<int64_t>(now_ms, 1);
  return [beat = beat_] { beat->posted_ms = 0; };
}

std::string Liveness::Stuck(ReceiverPorts& ports, int64_t now_ms) const {
  std::string out;
  const int64_t posted = beat_->posted_ms;
  if (posted != 0 && now_ms - posted > stale_after_ms_) {
    Add(out, "user-interface thread not answering for " + Seconds(now_ms - posted));
  }
  // The first tick comes one period after start-up.
  const int64_t ran = periodic_ran_ms_ >= 0 ? periodic_ran_ms_.load() : started_ms_.load();
  if (ran >= 0 && now_ms - ran > kAutoPhTimerMs + stale_after_ms_) {
    Add(out, "15-second work not run for " + Seconds(now_ms - ran));
  }
  for (int n = 1; n <= kPortCount; ++n) {
    const std::string name = "COM" + std::to_string(n);
    const int64_t pass = ports.Counters(n).pass_started_ms;
    if (pass != 0 && now_ms - pass > stale_after_ms_) Add(out, name + " reader pass running " + Seconds(now_ms - pass));
    TSerialPort& port = ports.Port(n);
    const int64_t seen = port.EventThreadSeenMs();
    if (port.Connected() && seen != 0 && now_ms - seen > stale_after_ms_) {
      Add(out, name + " event thread silent for " + Seconds(now_ms - seen));
    }
  }
  return out;
}

}  // namespace duri
