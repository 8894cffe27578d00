// Type 9 "Osborne-Hoffman Quick Alert": a printed report of labelled lines, each ended by NUL, the
// report ended by EOT; one report can carry several events.
#ifndef DURIDUVAZE_DECODERS_QUICK_ALERT_H_
#define DURIDUVAZE_DECODERS_QUICK_ALERT_H_

#include "decoders/decoder.h"

namespace duri {

extern const DecoderFamily kQuickAlertDecoder;

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_QUICK_ALERT_H_
