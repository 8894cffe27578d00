// One event line of AddEvent: split into account, code and rest, looked up, classified, written into
// the history and the side files, and either kept for the pending stack or handled automatically and
// passed to notification.
//
// An event line is "account code rest": the account up to the first blank, the code up to the next
// blank, and the rest, which may carry the area marker "[ri3]" that the decoders write.
#ifndef DURIDUVAZE_EVENTS_PREPARE_EVENT_H_
#define DURIDUVAZE_EVENTS_PREPARE_EVENT_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "events/event_record.h"
#include "events/stack.h"
#include "store/dates.h"

namespace duri {

struct EventContext;
struct CompanySettings;
struct ScheduleRecord;

// The internal classification of a line, in the order the tests are made.
enum class EventKind {
  kNormal = 0,           // an ordinary code of a known account: code resolution
  kLateOpening = 1,      // "@re": late opening, or closed for the day
  kLateClosing = 2,      // "@rs"
  kActiveReport = 3,     // a code holding 0xFE: active account or active codes
  kAutoTestMissing = 4,  // "@at"
  kUnknownAccount = 5,   // empty account, or not in the client index
  kSpecialCode = 6,      // a code holding 0xFD
  kRoundMissing = 7,     // "@rr"
};

inline constexpr char kAreaMarker[] = "[ri";
inline constexpr int kAccountChars = 20;
inline constexpr int kCodeChars = 10;
inline constexpr size_t kDescriptionWidth = 100;
// The code column of a description.
inline constexpr size_t kCodeColumn = 10;

struct EventLine {
  std::string account;  // at most 20 characters
  std::string code;     // at most 10 characters, blanks removed
  std::string rest;     // everything after the blank that ends the code
};

EventLine SplitEventLine(std::string_view line);

// The area of the marker "[ri" n "]" in the rest: the low byte of n, 0 when above 10 or without marker.
uint8_t AreaOfRest(std::string_view rest);

// The kind of a code of an account that was found.
EventKind KindOfCode(std::string_view code);

// Whether the event is handled without an operator (AutoHandled), by its type, the area schedule's
// display flags and the company settings.
bool IsAutoHandled(const EventRecord& event, const ScheduleRecord& schedule, const CompanySettings& company);

// Prepares one line (without its CR). Returns true when the event is to be stacked: entry then points
// at its history record. normal_code is 1 when the line went through code resolution. A line dropped
// (an automatic test missing while an area is open) writes nothing and returns false. A failed history
// write raises IoError.
bool PrepareEvent(EventContext& context, const DateRecord& date, const TimeRecord& time, std::string_view line,
                  std::string_view extra_text, EventRecord& event, uint8_t& normal_code, StackEntry& entry);

}  // namespace duri

#endif  // DURIDUVAZE_EVENTS_PREPARE_EVENT_H_
