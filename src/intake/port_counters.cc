#include "intake/port_counters.h"

namespace duri {

std::string_view DropReasonName(DropReason reason) {
  switch (reason) {
    case DropReason::kLineError: return "line_error";
    case DropReason::kUnrecognised: return "unrecognised";
    case DropReason::kNoise: return "noise_bytes";
    case DropReason::kOverflow: return "overflow";
    case DropReason::kRefused: return "refused";
  }
  return "unknown";
}

std::string PortCountersText(int port, const PortCounters& c) {
  auto count = [](uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
  };
  std::string text = "COM" + std::to_string(port) + ": " + count(c.messages, "message", "messages") + ", " +
                     count(c.events, "event", "events") + ", " +
                     count(c.acknowledgements, "acknowledgement", "acknowledgements") + ", " +
                     count(c.failures, "failure", "failures") + "; dropped:";
  for (int i = 0; i < kDropReasonCount; ++i) {
    const auto reason = static_cast<DropReason>(i);
    text += (i == 0 ? " " : ", ") + std::string(DropReasonName(reason)) + " " + std::to_string(c.Dropped(reason));
  }
  const std::string last = c.LastFailure();
  if (!last.empty()) text += "; last failure: " + last;
  return text;
}

}  // namespace duri
