// Moving one framed message out of a port's ring buffer, with the raw-traffic capture file.
#ifndef DURIDUVAZE_DECODERS_TAKE_MESSAGE_H_
#define DURIDUVAZE_DECODERS_TAKE_MESSAGE_H_

#include <cstdint>
#include <string>

#include "receivers/port_state.h"
#include "store/data_dir.h"
#include "store/dates.h"
#include "store/short_string.h"

namespace duri {

// "\ORBA\" + year + two-digit month + ".Evt\event.txt": every received message of the month.
std::string CaptureFilePath(const DateRecord& today);

// Takes the bytes from the read index up to and including the first terminator, advancing the read
// index past it (1024 wraps to 1). Returns the bytes taken; only the first `capacity` of them are kept
// in the result, the rest are consumed and lost. A read index outside 1..1024 is taken as 1. If no
// terminator is found in one lap of the buffer (the framing never counts such a message), the lap ends
// the message so that the step always ends.
//
// With capture set, the whole message is appended to the month's capture file followed by CR LF; the
// file and its month folder are created when missing. On any failure nothing is captured and the
// message is taken all the same. The directory's last_io_result is kept.
//
// `limit` ends the message after that many bytes when no terminator came first: the Quick Alert reads
// the lines of its reports with terminator NUL and never lets a line run past the report's end.
std::string TakeMessageBytes(PortState& state, uint8_t terminator, size_t capacity, DataDir* capture,
                             const DateRecord& today, int limit = PortState::kRingSize);

// The bytes TakeMessageBytes would take (at most one lap of the buffer, the terminator included),
// without taking them.
std::string PeekMessageBytes(const PortState& state, uint8_t terminator);

// The same into a length-prefixed text of capacity N.
template <int N>
void TakeMessage(ShortString<N>& text, PortState& state, uint8_t terminator, DataDir* capture,
                 const DateRecord& today) {
  text.Assign(TakeMessageBytes(state, terminator, static_cast<size_t>(N), capture, today));
}

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_TAKE_MESSAGE_H_
