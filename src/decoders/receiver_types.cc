#include "decoders/receiver_types.h"

#include "decoders/adcor.h"
#include "decoders/ademco685.h"
#include "decoders/calderium.h"
#include "decoders/cyber.h"
#include "decoders/fbi_cp220.h"
#include "decoders/fsk.h"
#include "decoders/quick_alert.h"
#include "decoders/radionics.h"
#include "decoders/rdc.h"
#include "decoders/secutron.h"
#include "decoders/sescoa.h"
#include "decoders/silent_knight.h"
#include "decoders/surgard.h"
#include "decoders/universal.h"

namespace duri {
namespace {

// Indexed by receiver type, in the catalogue's order.
constexpr const DecoderFamily* kDecoders[kReceiverTypeCount] = {
    nullptr,                     // (None)
    &kCalderiumDecoder,          // KELD Inc. Calderium
    &kCalderiumDecoder,          // KELD Inc QRX / QRX+
    &kSescoaDecoder,             // Sescoa 3000R
    &kAdemco685Decoder,          // Ademco 685
    &kSurGardDecoder,            // Radionics 6500
    &kSurGardDecoder,            // Europlex
    &kSurGardDecoder,            // surgard slr/mlr2
    &kFbiCp220Decoder,           // FBI CP220
    &kQuickAlertDecoder,         // Osborne-Hoffman Quick Alert
    &kSecutronDecoder,           // Secutron Digitel
    &kSk9000Decoder,             // Silent Knight SK9000
    &kSk9500Decoder,             // Silent Knight SK9500
    &kAdcorDecoder,              // Adcor
    &kRdcDecoder,                // RDC
    &kFskDecoder,                // FSK
    &kCyberDecoder,              // Cyber
    &kUniversalDecoder,          // Universal
    &kRadionics6600Decoder,      // Radionics 6600
    &kCalderiumEnhancedDecoder,  // Calderium Enhaced
    &kRadionics6000Decoder,      // Radionics 6000
    &kSurGardDecoder,            // surgard mlr2000
};

}  // namespace

const DecoderFamily* DecoderFamilyOf(int type) {
  return type > 0 && type < kReceiverTypeCount ? kDecoders[type] : nullptr;
}

}  // namespace duri
