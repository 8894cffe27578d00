// Runs raw receiver bytes through the decoding step of a receiver type, as a port's reader pass
// does, and keeps what the step produced, for the per-family decoder tests.
#ifndef DURIDUVAZE_TESTS_DECODERS_DECODER_RUN_H_
#define DURIDUVAZE_TESTS_DECODERS_DECODER_RUN_H_

#include <string>
#include <string_view>

#include "decoders/decode_message.h"
#include "decoders/receiver_types.h"
#include "decoders/ring_loader.h"
#include "platform/clock.h"

namespace duri::testing {

struct PortOptions {
  bool receiver_number = false;
  bool line_number = false;
  char prefix = '0';
  bool compress_cid = false;
};

inline ReceiverConfig ConfigFor(int type, const PortOptions& options = {}) {
  ReceiverConfig config;
  config.receiver_type = static_cast<uint8_t>(type);
  config.receiver_number = options.receiver_number ? 1 : 0;
  config.line_number = options.line_number ? 1 : 0;
  config.prefix = options.prefix;
  config.compress_cid = options.compress_cid ? 1 : 0;
  return config;
}

// One decoding step over `bytes` loaded at ring position `start`, with the type's terminator. `data`
// receives the decoders' logs and the capture when given.
struct DecoderRun {
  PortState state;
  DecodedMessage result;
  std::string posted;  // the text handed to intake, empty when nothing was posted
  int posts = 0;

  DecoderRun(int type, std::string_view bytes, Clock& clock, const PortOptions& options = {},
             DataDir* data = nullptr, int start = 1) {
    state.terminator = TerminatorForType(type);
    LoadRing(state, bytes, start);
    EventSink sink = [this](const DateRecord&, const TimeRecord&, std::string_view text, std::string_view) {
      posted = std::string(text);
      ++posts;
    };
    DecodeHost host;
    host.clock = &clock;
    host.capture = data;
    host.data = data;
    host.add_event = &sink;
    DecodeMessage(host, state, ConfigFor(type, options), result);
  }

  std::string text() const { return result.text.str(); }
};

}  // namespace duri::testing

#endif  // DURIDUVAZE_TESTS_DECODERS_DECODER_RUN_H_
