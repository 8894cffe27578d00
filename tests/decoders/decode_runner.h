// Runs one message through DecodeMessage the way a port reader does, for the decoder families' tests.
#ifndef DURIDUVAZE_TESTS_DECODERS_DECODE_RUNNER_H_
#define DURIDUVAZE_TESTS_DECODERS_DECODE_RUNNER_H_

#include <string>
#include <string_view>

#include "decoders/decode_message.h"
#include "decoders/receiver_types.h"
#include "decoders/ring_loader.h"
#include "platform/clock.h"

namespace duri::testing {

// A port's options: receiver type, receiver-number and line-number flags, prefix, Compress Contact ID.
inline ReceiverConfig PortConfig(int type, bool receiver_number = false, bool line_number = false,
                                 char prefix = '0', bool compress_cid = false) {
  ReceiverConfig config;
  config.receiver_type = static_cast<uint8_t>(type);
  config.receiver_number = receiver_number ? 1 : 0;
  config.line_number = line_number ? 1 : 0;
  config.prefix = prefix;
  config.compress_cid = compress_cid ? 1 : 0;
  return config;
}

struct DecodeRun {
  PortState state;
  DecodedMessage result;
  std::string text() const { return result.text.str(); }
  std::string second() const { return result.second_text.str(); }
};

// Loads `bytes` (one whole message, terminator included) into a fresh port with the type's terminator,
// clears the activity flag and decodes it without capture.
inline DecodeRun RunDecode(const ReceiverConfig& config, std::string_view bytes, Clock& clock) {
  DecodeRun run;
  run.state.terminator = ReceiverTypeOf(config.receiver_type).terminator;
  LoadRing(run.state, bytes);
  run.state.link_activity = 0;
  DecodeHost host;
  host.clock = &clock;
  DecodeMessage(host, run.state, config, run.result);
  return run;
}

}  // namespace duri::testing

#endif  // DURIDUVAZE_TESTS_DECODERS_DECODE_RUNNER_H_
