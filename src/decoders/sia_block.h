// SIA-format reports that several receivers pass on as a bracketed block behind their own header:
//   <receiver and line digits> "[" "#" <account> "|" <block type> <items> "]"
// for example 011[#1234|Nri1/BA01]. Items are two-letter event codes with their numbers (BA01) and
// lower-case modifiers with their values (ri1 the area, id12 the user). Block type 'N' and 'O' carry
// events, 'A' and 'X' ASCII text, 'L', 'V' and 'v' voice-mode notices, 'E' extended texts.
#ifndef DURIDUVAZE_DECODERS_SIA_BLOCK_H_
#define DURIDUVAZE_DECODERS_SIA_BLOCK_H_

#include <string_view>

#include "decoders/decoder.h"

namespace duri {

// Rewrites the block into one "/"-separated item per event: spaces and slashes dropped, comma lists
// expanded (BA01,02 to BA01BA02), the block-type letter of L, V and v doubled so it stays apart from
// the first item, and "/" put before every item but the first. An ASCII-text block ("|A") is left
// as it is.
void NormaliseSiaBlock(MessageText& text);

// The longest account field a block may carry: with the space that follows it, what an event line's
// account keeps.
inline constexpr int kSiaAccountLength = 19;

// Whether the text holds a whole block: a header of at most 20 characters, "[" and the account mark, an
// account of 1 to kSiaAccountLength characters, "|", the block type, and the items ended by "]" or by
// the terminator DC4. A block cut short (a message longer than a text holds loses its end) or one
// whose account is longer than an event line keeps is not one: reading it would make events of the
// account's characters or of a cut account.
bool IsWholeSiaBlock(std::string_view text);

// Replaces the text by the block's event lines: header and account, the code, then the tag
// "  [R" r "L" l "]" and the modifiers in brackets (the area as "[ri" n "]"), each line ended by CR,
// with the account prefix applied (receiver_digits receiver digits, 3 line digits for type 21, else 1).
// At most 31 items are read, and only those the block lists. Returns false, with the text emptied,
// for a text that is not a whole block.
bool DecodeSiaBlock(MessageText& text, const ReceiverConfig& config, int receiver_digits, int type,
                    std::string_view voice_mode_notice = kVoiceModeNotice);

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_SIA_BLOCK_H_
