#include "events/add_event.h"

#include <vector>

#include "decoders/decode_message.h"
#include "events/notify_event.h"
#include "events/prepare_event.h"
#include "events/stack_backlog.h"
#include "store/io_result.h"
#include "store/shared_file.h"
#include "station.h"

namespace duri {
namespace {

struct EventSlot {
  EventRecord event;
  StackEntry entry;
  uint8_t normal_code = 0;  // 1: the line went through code resolution; its entry gets the duplicate test
};

void ShowDebug(Station& station, const std::string& text) { station.view().ShowDebug(text); }

// One update of the stack for the kept slots, in line order.
void StackSlots(Station& station, const std::vector<EventSlot>& slots) {
  SharedFile file;
  StackTable table;
  OpenStackForUpdate(station.data, file, table);
  const bool refuse = station.company_settings.refuse_second_pending != 0;
  for (const EventSlot& slot : slots) {
    if (slot.entry.record_number < 0) break;
    InsertPendingEntry(station.data, station.stack_backlog, slot.entry, table, slot.normal_code != 0, refuse);
  }
  WriteStack(station.data, file, table);
}

// A line whose history write failed is not stacked; the failure is kept where the staff look for it,
// and the lines after it are still taken.
void ReportFailedLine(Station& station, std::string_view line, const IoError& e) {
  const LocalDateTime now = station.clock().Now();
  std::string text = DateText(now.date) + " " + TimeText(now.time) + " Event not recorded: ";
  for (char c : line) text += static_cast<unsigned char>(c) < 32 ? '*' : c;
  text += " (" + std::string(e.what()) + ")";
  AppendErrorLog(station.data, text);
  ShowDebug(station, text);
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

void AddEvent(Station& station, DateRecord date, TimeRecord time, std::string_view text,
              std::string_view extra_text, const StackEntry& preset, int /*flag*/) {
  ShowDebug(station, kDebugAddEvent);
  ValidateEventStamp(station.clock(), date, time);

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
        if (PrepareEvent(station, date, time, line, extra_text, slot.event, slot.normal_code, slot.entry)) {
          slots.push_back(slot);
        }
      } catch (const IoError& e) {
        ReportFailedLine(station, line, e);
      }
      // Every line to stack keeps its slot, however many the message has: the slot table grows past
      // its 40 rather than dropping an event.
    }
  }
  ShowDebug(station, kDebugQueue);
  if (!slots.empty()) StackSlots(station, slots);
  ShowDebug(station, kDebugEndAddEvent);
}

void InstallAddEvent(Station& station) {
  station.add_event = [&station](const DateRecord& date, const TimeRecord& time, std::string_view text,
                                 std::string_view second_text) {
    AddEvent(station, date, time, text, second_text, NoPresetEntry(), 1);
  };
}

void InstallEventIntake(Station& station) {
  InstallDecodeMessage(station);
  InstallAddEvent(station);
  station.notify_event = [&station](const NotifyAccount& account, const EventRecord& event) {
    NotifyEvent(station, account, event);
  };
}

}  // namespace duri
