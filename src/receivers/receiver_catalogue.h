// The receiver catalogue: the 22 items of the receiver list, whose index is the receiver type stored in
// ReceiverConfig and dispatched on by the port reader and the decoders; and what each type needs on
// the line (terminator, acknowledgement, forced settings, initial command, link supervision). One table
// holds all of it, so framing, decoding and the receiver list cannot disagree.
#ifndef DURIDUVAZE_RECEIVERS_RECEIVER_CATALOGUE_H_
#define DURIDUVAZE_RECEIVERS_RECEIVER_CATALOGUE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "receivers/port_state.h"
#include "settings/language_table.h"

namespace duri {

inline constexpr int kReceiverTypeCount = 22;  // 0 (none) and the 21 models
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

// One row of the catalogue.
struct ReceiverCatalogueEntry {
  // The fixed item text; empty for type 0, whose text comes from the language table.
  std::string_view text;
  uint8_t terminator;       // byte that ends a message on the line: DC4, EOT or CR
  uint8_t acknowledgement;  // byte written back after a pass that decoded a message
  bool forces_line;         // runs RTS on, 7 data bits, 2 stop bits whatever the record says
  bool supervised;          // link supervised from a successful open on
  std::string_view initial_command;  // written on the line right after opening, or empty
};

// The row of a type; type 0 and any value outside 1..21 give row 0: no text, CR and ACK, nothing
// forced, not supervised, no initial command.
const ReceiverCatalogueEntry& ReceiverCatalogueEntryOf(int type);

// The fixed item text of types 1..21; empty for 0 and anything else.
std::string_view ReceiverItemText(int type);
// The whole list in order; item 0 from the language table ("(None)" while the table has none).
std::vector<std::string> ReceiverList(const LanguageTable& language);

// Shorthands for the row's fields.
inline uint8_t TerminatorForType(int type) { return ReceiverCatalogueEntryOf(type).terminator; }
inline uint8_t AcknowledgementForType(int type) { return ReceiverCatalogueEntryOf(type).acknowledgement; }
inline bool ForcesLine(int type) { return ReceiverCatalogueEntryOf(type).forces_line; }
inline bool SupervisedType(int type) { return ReceiverCatalogueEntryOf(type).supervised; }
inline std::string InitialCommand(int type) { return std::string(ReceiverCatalogueEntryOf(type).initial_command); }

}  // namespace duri

#endif  // DURIDUVAZE_RECEIVERS_RECEIVER_CATALOGUE_H_
