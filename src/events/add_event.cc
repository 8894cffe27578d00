#include "events/add_event.h"

#include <vector>

#include "events/prepare_event.h"
#include "events/stack_backlog.h"
#include "events/event_context.h"
#include "store/error_log.h"
#include "store/io_result.h"
#include "store/shared_file.h"

namespace duri {
namespace {

struct EventSlot {
  EventRecord event;
  StackEntry entry;
  uint8_t normal_code = 0;  // 1: the line went through code resolution; its entry gets the duplicate test
};

void ShowDebug(EventContext& context, const std::string& text) { context.view->ShowDebug(text); }

// One update of the stack for the kept slots, in line order. What the stack cannot take waits in its
// backlog; what neither takes is noted as a failure, so the message is not acknowledged.
void StackSlots(EventContext& context, const std::vector<EventSlot>& slots) {
  std::vector<NewStackEntry> entries;
  for (const EventSlot& slot : slots) {
    if (slot.entry.record_number < 0) break;
    entries.push_back({slot.entry, slot.normal_code != 0});
  }
  UpdateStack(context.data, context.stack_backlog, entries, context.company_settings.refuse_second_pending != 0);
}

// A line that failed on a file (its history write, a lock file it needed) ends the message's intake:
// the failure is kept for the reader pass, which then writes no acknowledgement, and where the staff
// look for it. The receiver sends the message again.
void ReportFailedLine(EventContext& context, std::string_view line, const IoError& e) {
  context.data.pending_sync.NoteFailure(e.code());
  std::string text = "Event not recorded: ";
  for (char c : line) text += static_cast<unsigned char>(c) < 32 ? '*' : c;
  text += " (" + std::string(e.what()) + "); not acknowledged";
  ++context.events_failed;
  context.last_event_failure = text;
  context.errors.Report(text);
}

}  // namespace

bool ValidateEventStamp(Clock& clock, DateRecord& date, TimeRecord& time) {
  // Both checks run: ValidTime also brings a fraction above 99 to 50.
  const bool time_ok = ValidTime(time);
  const bool date_ok = ValidDate(date);
  if (time_ok && date_ok) return true;
  const LocalDateTime now = clock.Now();
  date = now.date;
  time = now.time;
  time.fraction = static_cast<uint16_t>(time.fraction / 10);  // the clock's milliseconds as hundredths
  return false;
}

void AddEvent(EventContext& context, DateRecord date, TimeRecord time, std::string_view text,
              std::string_view extra_text, const StackEntry& preset, int /*flag*/) {
  ShowDebug(context, kDebugAddEvent);
  ValidateEventStamp(context.clock, date, time);

  std::vector<EventSlot> slots;
  if (preset.record_number >= 0) {
    EventSlot slot;
    slot.entry = preset;
    slots.push_back(slot);
  } else {
    slots.reserve(kEventSlots);
    std::string_view remaining = text;
    for (;;) {
      const size_t cr = remaining.find('\r');
      if (cr == std::string_view::npos) break;  // an unterminated tail is not an event
      const std::string_view line = remaining.substr(0, cr);
      remaining.remove_prefix(cr + 1);
      EventSlot slot;
      try {
        if (PrepareEvent(context, date, time, line, extra_text, slot.event, slot.normal_code, slot.entry)) {
          slots.push_back(slot);
        }
      } catch (const IoError& e) {
        // The lines before this one are in the history and are stacked below (an operator must see
        // what is stored); the resend stores them a second time, as any resend does.
        ReportFailedLine(context, line, e);
        break;
      }
      // Every line to stack keeps its slot, however many the message has: the slot table grows past
      // its 40 rather than dropping an event.
    }
  }
  ShowDebug(context, kDebugQueue);
  if (!slots.empty()) StackSlots(context, slots);
  ShowDebug(context, kDebugEndAddEvent);
}

}  // namespace duri
