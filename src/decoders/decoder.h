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

#include "intake/port_state.h"
#include "intake/receiver_config.h"
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

// The results of one decoder call. The caller presets date and time to now and both texts to empty.
struct DecodedMessage {
  MessageText text;         // event lines, each ended by CR; empty: nothing to post
  MessageText second_text;  // appended to the event's description by intake
  DateRecord date;          // the receiver's stamp where the message has one
  TimeRecord time;
};

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
