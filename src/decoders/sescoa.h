// Type 3 "Sescoa 3000R".
#ifndef DURIDUVAZE_DECODERS_SESCOA_H_
#define DURIDUVAZE_DECODERS_SESCOA_H_

#include "decoders/decoder.h"

namespace duri {

// The one descriptor of the family; receiver_types.cc points the family's types at it.
extern const DecoderFamily kSescoaDecoder;

// One taken message (with its terminator) to the event lines in result.
void DecodeSescoaText(MessageText& text, DecodeContext& context, DecodedMessage& result);

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_SESCOA_H_
