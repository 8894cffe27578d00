// What one port's reader has done since the station started, for the operators and the tools (the
// traffic memo on request, `run --traffic`, the status file, the metrics page). Kept in memory only.
// Every count is atomic: the reader passes and the port's event thread add to them while a tool
// thread reads them.
#ifndef DURIDUVAZE_INTAKE_PORT_COUNTERS_H_
#define DURIDUVAZE_INTAKE_PORT_COUNTERS_H_

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

namespace duri {

// Why a message, or bytes of one, were not turned into events. The order is frozen: the status file
// and the metrics page print the names below in this order.
enum class DropReason : int {
  kLineError = 0,     // the terminator arrived with line errors: the message is discarded unread
  kUnrecognised = 1,  // decoded to no event and not a message that carries none: not acknowledged
  kNoise = 2,         // bytes before the message's valid start (counted in bytes, not messages)
  kOverflow = 3,      // bytes lost when the ring buffer wrapped without a terminator
  kRefused = 4,       // a message the station would not take (cut field, malformed network frame, ...)
};
inline constexpr int kDropReasonCount = 5;
// "line_error", "unrecognised", "noise_bytes", "overflow", "refused".
std::string_view DropReasonName(DropReason reason);

struct PortCounters {
  std::atomic<uint64_t> messages{0};          // messages taken out of the ring buffer
  std::atomic<uint64_t> events{0};            // event lines stored in the history
  std::atomic<uint64_t> acknowledgements{0};  // acknowledgements written to the receiver
  std::atomic<uint64_t> resends_seen{0};      // messages identical to the one acknowledged just before
  std::atomic<uint64_t> failures{0};          // passes ended by a failure (history, lock, flush, port)
  std::array<std::atomic<uint64_t>, kDropReasonCount> drops{};
  // Unrecognised messages since the last message that was read or stored; the decoding step stores the
  // third as an event of its own so that the line moves on.
  std::atomic<int> unrecognised_in_a_row{0};
  // Local time of the last message taken, seconds since the epoch; 0 before the first.
  std::atomic<int64_t> last_message_time{0};
  // Monotonic milliseconds (the station clock's) at which the running reader pass began; 0 while no
  // pass runs. The service's liveness check counts a pass running too long as stuck.
  std::atomic<int64_t> pass_started_ms{0};

  void Drop(DropReason reason, uint64_t n = 1) { drops[static_cast<size_t>(reason)] += n; }
  uint64_t Dropped(DropReason reason) const { return drops[static_cast<size_t>(reason)].load(); }

  // The cause of the last failure, as written to the error log.
  void SetLastFailure(std::string text) {
    std::lock_guard<std::mutex> hold(mutex_);
    last_failure_ = std::move(text);
  }
  std::string LastFailure() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return last_failure_;
  }

 private:
  mutable std::mutex mutex_;
  std::string last_failure_;
};

// One line for an operator: "COM3: 12 messages, 11 events, 12 acknowledgements, 1 failure; dropped:
// line_error 1, unrecognised 0, noise_bytes 5, overflow 0, refused 0; last failure: ...". The last
// failure is left out while there is none.
std::string PortCountersText(int port, const PortCounters& counters);

}  // namespace duri

#endif  // DURIDUVAZE_INTAKE_PORT_COUNTERS_H_
