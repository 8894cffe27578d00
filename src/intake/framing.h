// Framing of a port's byte stream: every received byte goes into the port's 1024-byte ring buffer, and
// the receiver model's terminator completes a message, which is counted for decoding. The traffic memo
// shows each message on its own line, newest first, with control characters spelled out.
#ifndef DURIDUVAZE_INTAKE_FRAMING_H_
#define DURIDUVAZE_INTAKE_FRAMING_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "intake/port_counters.h"
#include "receivers/port_state.h"
#include "receivers/receiver_config.h"
#include "transport/port_link.h"

namespace duri {

// History kept below the newest message in a traffic memo.
inline constexpr size_t kTrafficHistory = 3500;
inline constexpr char kSynchroMark[] = "<Synchro>\r\n";

// "<NUL>" .. "<US>" for 0..31 ("<NP>" for 12), "" for 255, the character itself otherwise.
std::string ControlCharName(uint8_t code);

// Frames bytes into state. traffic: the text of the message not yet terminated (PendingTraffic), in and
// out. memo: the traffic memo's text. line_errors: the port's line-error set, asked when a terminator
// arrives on a synchronised port. Returns true when the memo's text changed.
//
// A message whose terminator arrives with line errors is dropped from the ring buffer (the write index
// goes back to where it began), so the next message decodes on time; the receiver gets no
// acknowledgement for it and sends it again.
//
// counters, when given, count each such message as a line-error drop, and each byte written over one
// not yet decoded (more than the ring holds without a terminator, or a decoder far behind) as an
// overflow drop.
bool FrameBytes(std::string_view bytes, PortState& state, const ReceiverConfig& config,
                const std::function<LineErrors()>& line_errors, std::string& traffic, std::string& memo,
                PortCounters* counters = nullptr);

// ReadAndFrame: reads everything waiting on the port (InputCount, then ReadStr) and frames it.
bool ReadAndFrame(PortLink& port, PortState& state, const ReceiverConfig& config, std::string& traffic,
                  std::string& memo, PortCounters* counters = nullptr);

// Moves the read index past the next message without decoding it (a port with no decoder).
void SkipMessage(PortState& state);

}  // namespace duri

#endif  // DURIDUVAZE_INTAKE_FRAMING_H_
