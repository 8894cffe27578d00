// Whether the parts of a running station that must never stop are still going, for the service
// manager's watchdog: the user-interface thread (a beat posted to it comes back), the 15-second work
// (it ran within its period), each open port's event thread (it went round its loop lately) and each
// port's reader pass (none has run longer than the bound; a pass waits without end on a file another
// station holds, by design, so only this check notices it). The service loop asks before every
// watchdog ping and pings only while nothing is stuck, so that the service manager restarts a station
// that hangs.
#ifndef DURIDUVAZE_INTAKE_LIVENESS_H_
#define DURIDUVAZE_INTAKE_LIVENESS_H_

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace duri {

class ReceiverPorts;

class Liveness {
 public:
  // stale_after_ms: how long a beat may stay unanswered, a pass run or an event thread stay silent
  // (at least kMinStaleMs: an idle event thread looks round once a second).
  explicit Liveness(int64_t stale_after_ms);
  static constexpr int64_t kMinStaleMs = 2000;

  int64_t stale_after_ms() const { return stale_after_ms_; }

  // The step to post to the user-interface thread now, or an empty function while the last one has
  // not run yet. The step stays valid after this object is gone.
  std::function<void()> NextUiBeat(int64_t now_ms);
  // The 15-second work ran (on the user-interface thread).
  void PeriodicWorkRan(int64_t now_ms) { periodic_ran_ms_ = now_ms; }

  // "" while everything is alive, else what is stuck ("COM3 reader pass running 47 s", ...), the
  // findings joined by "; ". now_ms: the station clock's monotonic milliseconds (the program's clock
  // is the system's steady clock, the one the ports' event threads stamp their looks with).
  // Any thread; reads only atomics.
  std::string Stuck(ReceiverPorts& ports, int64_t now_ms) const;

 private:
  struct Beat {
    std::atomic<int64_t> posted_ms{0};  // 0: no beat on its way
  };

  int64_t stale_after_ms_;
  std::shared_ptr<Beat> beat_ = std::make_shared<Beat>();
  std::atomic<int64_t> started_ms_{-1};
  std::atomic<int64_t> periodic_ran_ms_{-1};
};

}  // namespace duri

#endif  // DURIDUVAZE_INTAKE_LIVENESS_H_
