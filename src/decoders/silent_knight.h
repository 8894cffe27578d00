// Types 11 "Silent Knight SK9000" and 12 "Silent Knight SK9500": one CR-ended report of fields
// separated by the quote character, carrying several events of one account.
#ifndef DURIDUVAZE_DECODERS_SILENT_KNIGHT_H_
#define DURIDUVAZE_DECODERS_SILENT_KNIGHT_H_

#include <string>
#include <string_view>

#include "decoders/decoder.h"

namespace duri {

extern const DecoderFamily kSk9000Decoder;
extern const DecoderFamily kSk9500Decoder;

// The SK9000's code for a receiver-status report: built from the first character at or above 'p'
// and the two characters after it ("ALC01", "ABAT", "LOFF01", ...; "XXX" when none is known).
std::string SkReceiverStatus(std::string_view report);

// One taken report (with its CR) to the event lines in result. The SK9000 writes reports that carry
// "#" or "!" to the error log of context.data.
void DecodeSk9000Text(MessageText& text, DecodeContext& context, DecodedMessage& result);
void DecodeSk9500Text(MessageText& text, DecodeContext& context, DecodedMessage& result);

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_SILENT_KNIGHT_H_
