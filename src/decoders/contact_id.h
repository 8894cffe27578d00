// Contact ID bodies to event codes. The text is laid out as: 1..6 receiver/line and account characters,
// 7 the qualifier Q ('E' new event or opening, 'R' restore or closing), 8..10 the event code XYZ,
// 11..12 the group GG, 13..15 the zone or user CCC, then whatever follows. Callers copy the group into
// the area marker before the translation.
#ifndef DURIDUVAZE_DECODERS_CONTACT_ID_H_
#define DURIDUVAZE_DECODERS_CONTACT_ID_H_

#include "decoders/decoder.h"

namespace duri {

// Drops the group: the code becomes Q XYZ CCC, for example E130001.
void ContactIdFull(MessageText& text);
// One letter and three digits: Q and XYZ when the zone is "000", else Q and CCC, with the qualifier
// rewritten by the event class X (alarm 'A', trouble 'T', opening 'O' / closing 'C', bypass 'B').
void ContactIdCompressed(MessageText& text);
// Whichever the port's Compress Contact ID flag selects.
void ContactIdTranslate(MessageText& text, const ReceiverConfig& config);

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_CONTACT_ID_H_
