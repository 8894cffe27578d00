// The account-number prefix options of a port: which receiver and line digits stay in front of the
// account, and the prefix character that always leads it.
#ifndef DURIDUVAZE_DECODERS_ACCOUNT_PREFIX_H_
#define DURIDUVAZE_DECODERS_ACCOUNT_PREFIX_H_

#include "decoders/decoder.h"

namespace duri {

// text starts with `receiver_digits` receiver-number characters followed by `line_digits`
// line-number characters. Drops the line digits unless the line-number flag is set, then the receiver
// digits unless the receiver-number flag is set, then puts the prefix character in front (also '0').
void ApplyAccountPrefix(MessageText& text, const ReceiverConfig& config, int receiver_digits,
                        int line_digits);

// The prefix character alone, put in front only when it is above '0' (the decoders without receiver
// or line digits in the account).
void ApplyPrefixAboveZero(MessageText& text, const ReceiverConfig& config);

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_ACCOUNT_PREFIX_H_
