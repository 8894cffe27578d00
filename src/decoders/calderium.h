// The KELD receivers: type 1 "KELD Inc. Calderium" and type 2 "KELD Inc QRX / QRX+" (DecodeCalderium),
// type 19 "Calderium Enhaced" (DecodeCalderiumEnhanced, a longer stamp). Messages end with CR and start
// with the receiver's time and date stamp.
#ifndef DURIDUVAZE_DECODERS_CALDERIUM_H_
#define DURIDUVAZE_DECODERS_CALDERIUM_H_

#include "decoders/decoder.h"

namespace duri {

extern const DecoderFamily kCalderiumDecoder;          // types 1 and 2
extern const DecoderFamily kCalderiumEnhancedDecoder;  // type 19

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_CALDERIUM_H_
