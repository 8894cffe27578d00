// One port's framing state: the 1024-byte ring buffer with its 1-based indices, the count of complete
// messages waiting, the line characters and the link-supervision bytes.
#ifndef DURIDUVAZE_RECEIVERS_PORT_STATE_H_
#define DURIDUVAZE_RECEIVERS_PORT_STATE_H_

#include <array>
#include <cstddef>
#include <cstdint>

namespace duri {

inline constexpr uint8_t kCr = 13;
inline constexpr uint8_t kAck = 6;

struct PortState {
  static constexpr int kRingSize = 1024;

  // Position i (1..1024) is ring[i - 1]. Not cleared by a reset.
  std::array<uint8_t, kRingSize> ring{};
  int16_t write_index = 1;
  int16_t read_index = 1;
  uint8_t complete_count = 0;
  uint8_t terminator = kCr;
  uint8_t acknowledgement = kAck;
  uint8_t synchronised = 0;   // 0 until the first terminator after a reset has been seen
  uint8_t link_activity = 0;  // set by decoders for each message taken, cleared by link supervision
  uint8_t link_alarm = 1;     // 1 while a loss is reported or supervision is not armed
  // Bytes framed since the last terminator (at most kRingSize): a message under way.
  int16_t partial_length = 0;

  uint8_t& At(int position) { return ring[static_cast<size_t>(position - 1)]; }
  uint8_t At(int position) const { return ring[static_cast<size_t>(position - 1)]; }
};

// Reset values; the ring buffer keeps its bytes.
inline void ResetPortState(PortState& state) {
  state.write_index = 1;
  state.read_index = 1;
  state.complete_count = 0;
  state.terminator = kCr;
  state.acknowledgement = kAck;
  state.synchronised = 0;
  state.link_activity = 0;
  state.link_alarm = 1;
  state.partial_length = 0;
}

}  // namespace duri

#endif  // DURIDUVAZE_RECEIVERS_PORT_STATE_H_
