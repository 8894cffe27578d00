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

}  // namespace duri
