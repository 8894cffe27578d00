// The receiver catalogue: for each receiver type (the index in the receiver list) its catalogue text,
// the line characters the port gets, and the decoder family that reads its messages.
#ifndef DURIDUVAZE_DECODERS_RECEIVER_TYPES_H_
#define DURIDUVAZE_DECODERS_RECEIVER_TYPES_H_

#include <cstdint>

#include "decoders/decoder.h"

namespace duri {

inline constexpr int kReceiverTypeCount = 22;  // 0 (none) and the 21 models
inline constexpr uint8_t kDc4 = 20;
inline constexpr uint8_t kEot = 4;

struct ReceiverType {
  // The catalogue item; type 0's text comes from the language table and is empty here.
  const char* catalogue_text;
  uint8_t terminator;       // byte that ends a message on the port
  uint8_t acknowledgement;  // byte written back after a pass that decoded a message
  // The decoder family of the type's messages; nullptr: no decoder, every message decodes to nothing.
  const DecoderFamily* decoder;
};

// The entry of a type; type 0 and any value outside 1..21 give an entry without decoder, with the
// default line characters CR and ACK.
const ReceiverType& ReceiverTypeOf(int type);

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_RECEIVER_TYPES_H_
