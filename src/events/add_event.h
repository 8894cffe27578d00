// Event intake: AddEvent is the one door through which every receiver message and every link
// supervision event reaches the shared database. It cuts the text into CR-ended lines, has each line
// prepared (PrepareEvent: account, classification, history, side files, notification) and puts the
// lines that wait for an operator on the pending stack, in line order, in one update of the stack.
#ifndef DURIDUVAZE_EVENTS_ADD_EVENT_H_
#define DURIDUVAZE_EVENTS_ADD_EVENT_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "events/stack.h"
#include "platform/clock.h"
#include "store/dates.h"

namespace duri {

struct EventContext;

// The intake's progress on the window's DebugLabel. Fixed texts, never translated: the operators read
// them when a file operation blocks the intake.
inline constexpr char kDebugAddEvent[] = "Add Event";
inline constexpr char kDebugInitialisation[] = "Debut d'initialisation ";
inline constexpr char kDebugReadClient[] = "Lecture Fichier Client/Cedule";
inline constexpr char kDebugPreparation[] = "Preparation de L'evenement";
inline constexpr char kDebugDatabase[] = "Mise a jour de la base de donnee des evenements";
inline constexpr char kDebugQueue[] = "Mise a jour de la file d'attente";
inline constexpr char kDebugEndAddEvent[] = "Fin Add Event";

// The slots one call starts with. The table grows past them: every line of a longer message is still
// recorded and stacked, in line order.
inline constexpr int kEventSlots = 40;

// Step 2 of AddEvent: a hundredths value above 99 becomes 50; an invalid time (hour, minute, second)
// or date (1980..2098, real day of the month) replaces both by the clock's date and time. Returns
// false when they were replaced.
bool ValidateEventStamp(Clock& clock, DateRecord& date, TimeRecord& time);

// AddEvent(date, time, text, extra text, preset entry, flag). text: event lines each ended by CR; an
// unterminated tail is ignored. extra_text is appended to every line's description. A preset entry
// with a record number of 0 or more is only stacked (no line is read). flag is not used.
void AddEvent(EventContext& context, DateRecord date, TimeRecord time, std::string_view text,
              std::string_view extra_text, const StackEntry& preset, int flag = 1);

// The preset entry callers pass: record number -1.
inline StackEntry NoPresetEntry() { return StackEntry{}; }

}  // namespace duri

#endif  // DURIDUVAZE_EVENTS_ADD_EVENT_H_
