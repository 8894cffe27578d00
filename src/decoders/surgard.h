// The Sur-Gard computer-output format: "Radionics 6500" (type 5), "Europlex" (6), "surgard slr/mlr2"
// (7) and "surgard mlr2000" (21).
#ifndef DURIDUVAZE_DECODERS_SURGARD_H_
#define DURIDUVAZE_DECODERS_SURGARD_H_

#include "decoders/decoder.h"

namespace duri {

extern const DecoderFamily kSurGardDecoder;

// The decoding of one taken message (terminator included) of receiver type context.type.
void DecodeSurGardText(MessageText& text, const DecodeContext& context, DecodedMessage& result);

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_SURGARD_H_
