// Type 13 "Adcor".
#ifndef DURIDUVAZE_DECODERS_ADCOR_H_
#define DURIDUVAZE_DECODERS_ADCOR_H_

#include "decoders/decoder.h"

namespace duri {

// The one descriptor of the family; receiver_types.cc points the family's types at it.
extern const DecoderFamily kAdcorDecoder;

// One taken message (with its terminator) to the event lines in result.
void DecodeAdcorText(MessageText& text, DecodeContext& context, DecodedMessage& result);

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_ADCOR_H_
