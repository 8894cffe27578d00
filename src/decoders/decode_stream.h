// Raw receiver bytes through framing and decoding, as a port would see them, for the command-line
// decode tool, its capture files and the fuzz target.
#ifndef DURIDUVAZE_DECODERS_DECODE_STREAM_H_
#define DURIDUVAZE_DECODERS_DECODE_STREAM_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "decoders/decode_message.h"

namespace duri {

// Called after every decoding step with its result and the port's link-activity flag after the step.
using DecodeObserver = std::function<void(const DecodedMessage& result, uint8_t activity)>;

// Frames bytes with the terminator of config.receiver_type on a port that starts synchronised and has
// no line errors: each byte is stored in the ring buffer, and after each terminator is stored and
// counted, every counted message is decoded (link-activity flag cleared before each step) before the
// next byte is stored. Bytes after the last terminator stay in the buffer undecoded.
void DecodeStream(std::string_view bytes, const ReceiverConfig& config, const DecodeHost& host,
                  const DecodeObserver& observer);

// One decoding step as one JSON object on one line, without line end:
// {"text":T,"second":S,"date":[y,m,d,dow],"time":[h,mi,s,ms],"activity":A}
// Texts are bytes taken as characters of the same code: '"' and '\' escaped, \b \f \n \r \t, other
// bytes outside 32..126 as \u00xx in lower-case hex.
std::string DecodeJsonLine(const DecodedMessage& result, uint8_t activity);

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_DECODE_STREAM_H_
