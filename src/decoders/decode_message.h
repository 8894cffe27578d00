// The decoding step of a port: one complete message out of the ring buffer, through the decoder of the
// port's receiver type, into event intake.
#ifndef DURIDUVAZE_DECODERS_DECODE_MESSAGE_H_
#define DURIDUVAZE_DECODERS_DECODE_MESSAGE_H_

#include <functional>
#include <string>
#include <string_view>

#include "decoders/decoder.h"
#include "platform/clock.h"

namespace duri {

class Station;

// Event intake for the decoders' output: date, time, event text, second text.
using EventSink = std::function<void(const DateRecord& date, const TimeRecord& time, std::string_view text,
                                     std::string_view second_text)>;

// What the decoding step needs from its surroundings.
struct DecodeHost {
  Clock* clock = nullptr;
  // Root of the monthly capture file; nullptr: capture is off.
  DataDir* capture = nullptr;
  // Receives every non-empty event text; nullptr or empty: nothing is posted.
  const EventSink* add_event = nullptr;
  std::string_view voice_mode_notice = kVoiceModeNotice;
  // The station's data directory for the decoders' logs; nullptr: nothing is logged.
  DataDir* data = nullptr;
};

// Presets the result (date and time now, texts empty), runs the decoder of config.receiver_type (type 0
// and unknown types take nothing and decode nothing), normalises the date (two-digit years widened,
// day of week recomputed), hands a non-empty event text to the sink, and decrements the port's
// complete-message count, also when the sink throws. REQUIRES: a counted message waits in the buffer.
// Returns kEvents, kNoEvent, kUnrecognised or kBlank; `message` receives the framed bytes as received.
MessageOutcome DecodeMessage(const DecodeHost& host, PortState& state, const ReceiverConfig& config,
                             DecodedMessage& result, std::string* message = nullptr);

// Unrecognised messages in a row on one port after which the next one is stored as an event of its own
// (a receiver resends an unanswered message three times before it gives up on the computer).
inline constexpr int kUnrecognisedInARowStored = 3;

// The station's decoding step: capture under the station root, events to station.add_event. Noise and
// unrecognised messages are counted on the port; an unrecognised message is written to the error log,
// and the kUnrecognisedInARowStored-th in a row is posted as the event "0000 UCOMn" on the account of
// the receivers' own reports, its text made printable after the language's "Unreadable receiver
// message" (kStoredUnread), so that a line never stalls on a message this module cannot read.
MessageOutcome DecodeMessage(Station& station, int port, PortState& state, const ReceiverConfig& config);

// The traffic spelling of a message: control characters by name ("<STX>"), byte 255 left out.
std::string PrintableMessage(std::string_view bytes);

// Makes station.decode_message run DecodeMessage for the station.
void InstallDecodeMessage(Station& station);

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_DECODE_MESSAGE_H_
