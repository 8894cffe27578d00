// Ademco 685 receiver, type 4: pulse-format, Contact ID, eight-channel status and SIA reports, and the
// receiver's own status reports. Messages end with CR.
#ifndef DURIDUVAZE_DECODERS_ADEMCO685_H_
#define DURIDUVAZE_DECODERS_ADEMCO685_H_

#include "decoders/decoder.h"
#include "store/short_string.h"

namespace duri {

extern const DecoderFamily kAdemco685Decoder;

// The status characters of a receiver status report, each grown to a four-character item
// (marker + character); at most 40 characters.
using StatusList = ShortString<40>;

// Status pre-pass. `text` is the message without its first character and without spaces afterwards.
// A report holding "RCVA", "RCVB" or "LINE" is a receiver status report: `text` becomes its account
// head (receiver and line digit, "0000", with the account prefix) and `list` its items; the marker
// ("RCV", "TST" or "LIN") is returned. Any other message keeps its text and gives an empty marker and
// an empty list.
std::string SplitReceiverStatus(MessageText& text, StatusList& list, const ReceiverConfig& config);

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_ADEMCO685_H_
