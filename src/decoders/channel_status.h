// The eight-channel status translator: a status string of one digit per channel plus a format digit
// becomes event lines of the form account + two-letter code + channel + CR. The codes' meanings live in
// the alarm-code file of the monitoring product.
#ifndef DURIDUVAZE_DECODERS_CHANNEL_STATUS_H_
#define DURIDUVAZE_DECODERS_CHANNEL_STATUS_H_

#include <string_view>

#include "decoders/decoder.h"

namespace duri {

// account: at most 20 characters, ending with the separating space. status: at most 10 characters,
// 1..8 the channel digits, 9 the format digit. Lines are added to (or, where the format says so, replace)
// what result holds. Format '1' gives one line per matching channel.
void ExpandChannelStatus(std::string_view account, std::string_view status, MessageText& result);

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_CHANNEL_STATUS_H_
