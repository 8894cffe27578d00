// Radionics receivers: type 18 "Radionics 6600" (a sibling of the Sur-Gard computer output with its own
// message types) and type 20 "Radionics 6000" (a fixed two-field layout). Both end messages with DC4.
#ifndef DURIDUVAZE_DECODERS_RADIONICS_H_
#define DURIDUVAZE_DECODERS_RADIONICS_H_

#include "decoders/decoder.h"

namespace duri {

extern const DecoderFamily kRadionics6600Decoder;
extern const DecoderFamily kRadionics6000Decoder;

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_RADIONICS_H_
