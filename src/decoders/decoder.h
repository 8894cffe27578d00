// What every receiver decoder shares: the result of one decoded message, the inputs a decoder gets, and
// the descriptor each decoder family exports.
//
// A decoder takes exactly one framed message out of the port's ring buffer (TakeMessage) and turns it
// into event lines. An event line is the account, a space, the code, then optional free text, ended by
// CR; the free text may carry the area marker "  [ri" n "]". Several lines may follow each other in one
// event text. An empty event text means that nothing is posted. Decoders keep no state between
// messages: all of it lives in the port state record (read index, link-activity flag).
#ifndef DURIDUVAZE_DECODERS_DECODER_H_
#define DURIDUVAZE_DECODERS_DECODER_H_

#include <cstdint>
#include <string_view>

#include "receivers/port_state.h"
#include "receivers/receiver_config.h"
#include "store/data_dir.h"
#include "store/dates.h"
#include "store/short_string.h"

namespace duri {

// Message texts are string[255].
using MessageText = ShortString<255>;

// Line end of every event line.
inline constexpr char kLineEnd = '\r';
// Codes holding this character are the text and voice reports of SIA blocks.
inline constexpr char kTextEventMark = static_cast<char>(253);
// English wording of the voice-mode notice of SIA voice blocks.
inline constexpr std::string_view kVoiceModeNotice = "Vocal mode for ";

// What a message that gave no event line was. The acknowledgement promises the receiver that its
// message is stored, so only a message the decoder recognised as one that carries no event is answered
// without an event line; anything else is left unanswered and the receiver sends it again.
enum class MessageKind : uint8_t {
  kUnrecognised = 0,  // fits none of the model's layouts
  kNoEvent,           // one of the model's messages without an event: link test, heartbeat, receiver
                      // status, answer to a poll
};

// The results of one decoder call. The caller presets date and time to now, both texts to empty, the
// kind to unrecognised and the noise count to 0.
struct DecodedMessage {
  MessageText text;         // event lines, each ended by CR; empty: nothing to post
  MessageText second_text;  // appended to the event's description by intake
  DateRecord date;          // the receiver's stamp where the message has one
  TimeRecord time;
  MessageKind kind = MessageKind::kUnrecognised;  // read only when text is empty
  int noise_bytes = 0;  // bytes before the message's valid start, dropped unread
};

// What became of one message, for the reader pass's acknowledgement and the port's counters.
enum class MessageOutcome : uint8_t {
  kEvents,        // event lines went to intake
  kNoEvent,       // recognised as carrying no event
  kUnrecognised,  // counted, logged, not acknowledged: the receiver sends it again
  kStoredUnread,  // unrecognised again and again: stored as an event of its own so the line moves on
  kBlank,         // nothing but the terminator and blanks: line noise, not answered
};

// The outcomes after which the receiver may be told its message is stored.
constexpr bool Acknowledged(MessageOutcome outcome) {
  return outcome == MessageOutcome::kEvents || outcome == MessageOutcome::kNoEvent ||
         outcome == MessageOutcome::kStoredUnread;
}

// The inputs of one decoder call. Decoders may change the port state (read index, activity flag).
struct DecodeContext {
  PortState& state;
  const ReceiverConfig& config;
  int type;  // the receiver type the call was dispatched on
  // Where the monthly capture file "event.txt" is written; nullptr: capture is off.
  DataDir* capture = nullptr;
  // Today's date for the capture file's month folder.
  DateRecord today;
  // Language text of the voice-mode notice.
  std::string_view voice_mode_notice = kVoiceModeNotice;
  // The station's data directory, for the logs a decoder keeps (the SK9000's "\ORBA\error.log");
  // nullptr: nothing is logged.
  DataDir* data = nullptr;
};

// One decoder family: the receivers that share one message format.
struct DecoderFamily {
  // Short name, used in logs and by the capture folders of the tests.
  const char* name;
  // Takes one message with TakeMessage and fills the result. Must end and stay in bounds on any bytes.
  void (*decode)(DecodeContext& context, DecodedMessage& result);
};

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_DECODER_H_
