// Type 8 "FBI CP220".
#ifndef DURIDUVAZE_DECODERS_FBI_CP220_H_
#define DURIDUVAZE_DECODERS_FBI_CP220_H_

#include "decoders/decoder.h"

namespace duri {

// The one descriptor of the family; receiver_types.cc points the family's types at it.
extern const DecoderFamily kFbiCp220Decoder;

// One taken message (with its terminator) to the event lines in result.
void DecodeFbiCp220Text(MessageText& text, DecodeContext& context, DecodedMessage& result);

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_FBI_CP220_H_
