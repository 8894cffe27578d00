// The receiver catalogue: the 22 items of the receiver list, whose index is the receiver type stored in
// ReceiverConfig and dispatched on by the port reader and the decoders; and what each type needs on
// the line (terminator, acknowledgement, forced settings, initial command, link supervision).
#ifndef DURIDUVAZE_RECEIVERS_RECEIVER_CATALOGUE_H_
#define DURIDUVAZE_RECEIVERS_RECEIVER_CATALOGUE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/language_table.h"

namespace duri {

inline constexpr int kReceiverTypeCount = 22;
inline constexpr int kTypeNone = 0;
inline constexpr int kTypeAdemco685 = 4;
inline constexpr int kTypeFbiCp220 = 8;
inline constexpr int kTypeQuickAlert = 9;
inline constexpr int kTypeCyber = 16;
inline constexpr int kTypeUniversal = 17;
inline constexpr int kTypeRadionics6000 = 20;

// Language entry of item 0, "(None)".
inline constexpr int kNoneEntry = 35434;

inline constexpr uint8_t kDc4 = 20;
inline constexpr uint8_t kEot = 4;

// The fixed item text of types 1..21; empty for 0 and anything else.
std::string_view ReceiverItemText(int type);
// The whole list in order; item 0 from the language table ("(None)" while the table has none).
std::vector<std::string> ReceiverList(const LanguageTable& language);

// The byte that ends a message on the line: DC4, EOT or CR.
uint8_t TerminatorForType(int type);
// The byte written back after decoding: 'A' for Cyber, otherwise ACK.
uint8_t AcknowledgementForType(int type);
// Quick Alert and Radionics 6000 run RTS on, 7 data bits, 2 stop bits whatever the record says.
bool ForcesLine(int type);
// Types whose link is supervised from a successful open on.
bool SupervisedType(int type);
// The bytes written on the line right after opening (status request, modem set-up), or empty.
std::string InitialCommand(int type);

}  // namespace duri

#endif  // DURIDUVAZE_RECEIVERS_RECEIVER_CATALOGUE_H_
