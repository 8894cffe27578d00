// Which decoder family reads the messages of each receiver type. The type's text and line characters
// are in the receiver catalogue, shared with framing.
#ifndef DURIDUVAZE_DECODERS_RECEIVER_TYPES_H_
#define DURIDUVAZE_DECODERS_RECEIVER_TYPES_H_

#include "decoders/decoder.h"
#include "receivers/receiver_catalogue.h"

namespace duri {

// The decoder family of a type's messages; nullptr for type 0 and any value outside 1..21: no decoder,
// every message decodes to nothing.
const DecoderFamily* DecoderFamilyOf(int type);

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_RECEIVER_TYPES_H_
