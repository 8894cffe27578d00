// Type 17 "Universal": a printer-port interface that passes on the printed lines of any receiver.
#ifndef DURIDUVAZE_DECODERS_UNIVERSAL_H_
#define DURIDUVAZE_DECODERS_UNIVERSAL_H_

#include "decoders/decoder.h"

namespace duri {

// The one descriptor of the family; receiver_types.cc points the family's types at it.
extern const DecoderFamily kUniversalDecoder;

// One taken message (with its terminator) to the event lines in result.
void DecodeUniversalText(MessageText& text, DecodeContext& context, DecodedMessage& result);

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_UNIVERSAL_H_
