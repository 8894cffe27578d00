// Type 15 "FSK".
#ifndef DURIDUVAZE_DECODERS_FSK_H_
#define DURIDUVAZE_DECODERS_FSK_H_

#include "decoders/decoder.h"

namespace duri {

// The one descriptor of the family; receiver_types.cc points the family's types at it.
extern const DecoderFamily kFskDecoder;

// One taken message (with its terminator) to the event lines in result.
void DecodeFskText(MessageText& text, DecodeContext& context, DecodedMessage& result);

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_FSK_H_
