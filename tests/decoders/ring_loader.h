// Puts raw receiver bytes into a port's ring buffer the way the framing leaves them, for decoder tests.
#ifndef DURIDUVAZE_TESTS_DECODERS_RING_LOADER_H_
#define DURIDUVAZE_TESTS_DECODERS_RING_LOADER_H_

#include <string_view>

#include "receivers/port_state.h"

namespace duri::testing {

// Stores bytes from position `start` on (wrapping after 1024), sets the read index to start, the write
// index past the last byte, and counts one complete message.
inline void LoadRing(PortState& state, std::string_view bytes, int start = 1) {
  int index = start;
  for (char c : bytes) {
    state.At(index) = static_cast<uint8_t>(c);
    index = index >= PortState::kRingSize ? 1 : index + 1;
  }
  state.read_index = static_cast<int16_t>(start);
  state.write_index = static_cast<int16_t>(index);
  state.complete_count = 1;
}

}  // namespace duri::testing

#endif  // DURIDUVAZE_TESTS_DECODERS_RING_LOADER_H_
