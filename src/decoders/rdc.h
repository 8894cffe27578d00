// Type 14 "RDC".
#ifndef DURIDUVAZE_DECODERS_RDC_H_
#define DURIDUVAZE_DECODERS_RDC_H_

#include "decoders/decoder.h"

namespace duri {

// The one descriptor of the family; receiver_types.cc points the family's types at it.
extern const DecoderFamily kRdcDecoder;

// One taken message (with its terminator) to the event lines in result.
void DecodeRdcText(MessageText& text, DecodeContext& context, DecodedMessage& result);

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_RDC_H_
