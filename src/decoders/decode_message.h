// Decoding one message: one complete message out of a port's ring buffer, through the decoder of the
// port's receiver type, into an event sink. The station's own step around it (counting, logging,
// storing what nobody could read) is intake's (intake/decode_step.h).
#ifndef DURIDUVAZE_DECODERS_DECODE_MESSAGE_H_
#define DURIDUVAZE_DECODERS_DECODE_MESSAGE_H_

#include <functional>
#include <string>
#include <string_view>

#include "decoders/decoder.h"
#include "platform/clock.h"

namespace duri {

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

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_DECODE_MESSAGE_H_
