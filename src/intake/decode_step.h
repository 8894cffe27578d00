// The station's decoding step: what a reader pass runs for each complete message of a port. The
// decoders turn the message into event lines; this step counts what they made of it on the port, logs
// what nobody could read and keeps a line from stalling on it.
#ifndef DURIDUVAZE_INTAKE_DECODE_STEP_H_
#define DURIDUVAZE_INTAKE_DECODE_STEP_H_

#include <string>
#include <string_view>

#include "decoders/decoder.h"
#include "receivers/port_state.h"
#include "receivers/receiver_config.h"

namespace duri {

class Station;

// Unrecognised messages in a row on one port after which the next one is stored as an event of its own
// (a receiver resends an unanswered message three times before it gives up on the computer).
inline constexpr int kUnrecognisedInARowStored = 3;

// Capture under the station root, events to station.add_event. Noise and unrecognised messages are
// counted on the port; an unrecognised message is written to the error log, and the
// kUnrecognisedInARowStored-th in a row is posted as the event "0000 UCOMn" on the account of the
// receivers' own reports, its text made printable after the language's "Unreadable receiver message"
// (kStoredUnread), so that a line never stalls on a message this module cannot read.
MessageOutcome DecodeMessage(Station& station, int port, PortState& state, const ReceiverConfig& config);

// The traffic spelling of a message: control characters by name ("<STX>"), byte 255 left out.
std::string PrintableMessage(std::string_view bytes);

// Makes station.decode_message run DecodeMessage for the station.
void InstallDecodeMessage(Station& station);

}  // namespace duri

#endif  // DURIDUVAZE_INTAKE_DECODE_STEP_H_
