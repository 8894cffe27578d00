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

// Indexed by receiver type. Sur-Gard-format receivers and the Radionics 6600/6000 and Sescoa end their
// messages with DC4; Quick Alert, Adcor and FSK with EOT; the rest with CR. Only the Cyber receiver
// wants 'A' as acknowledgement.
constexpr ReceiverType kReceiverTypes[kReceiverTypeCount] = {
    {"", kCr, kAck, nullptr},
    {"KELD Inc. Calderium", kCr, kAck, &kCalderiumDecoder},
    {"KELD Inc QRX / QRX+", kCr, kAck, &kCalderiumDecoder},
    {"Sescoa 3000R", kDc4, kAck, &kSescoaDecoder},
    {"Ademco 685", kCr, kAck, &kAdemco685Decoder},
    {"Radionics 6500", kDc4, kAck, &kSurGardDecoder},
    {"Europlex", kDc4, kAck, &kSurGardDecoder},
    {"surgard slr/mlr2", kDc4, kAck, &kSurGardDecoder},
    {"FBI CP220", kCr, kAck, &kFbiCp220Decoder},
    {"Osborne-Hoffman Quick Alert", kEot, kAck, &kQuickAlertDecoder},
    {"Secutron Digitel", kCr, kAck, &kSecutronDecoder},
    {"Silent Knight SK9000", kCr, kAck, &kSk9000Decoder},
    {"Silent Knight SK9500", kCr, kAck, &kSk9500Decoder},
    {"Adcor", kEot, kAck, &kAdcorDecoder},
    {"RDC", kCr, kAck, &kRdcDecoder},
    {"FSK", kEot, kAck, &kFskDecoder},
    {"Cyber", kCr, 'A', &kCyberDecoder},
    {"Universal", kCr, kAck, &kUniversalDecoder},
    {"Radionics 6600", kDc4, kAck, &kRadionics6600Decoder},
    {"Calderium Enhaced", kCr, kAck, &kCalderiumEnhancedDecoder},
    {"Radionics 6000", kDc4, kAck, &kRadionics6000Decoder},
    {"surgard mlr2000", kDc4, kAck, &kSurGardDecoder},
};

}  // namespace

const ReceiverType& ReceiverTypeOf(int type) {
  if (type < 0 || type >= kReceiverTypeCount) return kReceiverTypes[0];
  return kReceiverTypes[type];
}

}  // namespace duri
