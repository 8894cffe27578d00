// Two side outputs of every stored event. With an alarm printer chosen, events are collected in the
// shared file \ORBA\EvtDump.dat (85 slots of 200 bytes and 1000 bytes carried along) and printed a
// whole page of 85 lines at a time, oldest slot first, so the printer gets pages instead of one line
// per alarm; whichever station fills the 85th slot prints the page. And each month's EVENT.MOV keeps
// one byte per client record: 1 when the account had an event in the month.
#ifndef DURIDUVAZE_EVENTS_PRINT_BATCH_H_
#define DURIDUVAZE_EVENTS_PRINT_BATCH_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "events/event_record.h"
#include "platform/printer.h"
#include "store/data_dir.h"

namespace duri {

inline constexpr std::string_view kDumpFile = "\\ORBA\\EvtDump.dat";
inline constexpr int kDumpSlots = 85;
inline constexpr int kDumpTrailerSize = 1000;  // not ours: carried along unchanged
inline constexpr int kDumpSize = kDumpSlots * EventRecord::kSize + kDumpTrailerSize;  // 18000
inline constexpr int kMovedFileSize = 1000000;

// The printed line of one event, CR LF included: two blanks, the date, two blanks, the time, a blank,
// the account left-aligned in 13 columns and the description. An invalid date or time prints empty.
std::string PrintLine(const EventRecord& event);

// Collects the event for the alarm printer (alarm_printer: 0 = none, n = the n-th of
// printer.PrinterNames()); the 85th collected event prints the page and empties the batch. A page
// that cannot be printed is written to the error log.
void DumpEvents(DataDir& dir, Printer& printer, int alarm_printer, const EventRecord& event);

// The 85 slots of EvtDump.dat (free slots have an empty Account); all free when it cannot be read.
std::array<EventRecord, kDumpSlots> ReadDumpSlots(DataDir& dir);

// Sets byte account_rec_no of the month's EVENT.MOV to value; a negative record number marks nothing.
void MarkAccountMoved(DataDir& dir, int32_t account_rec_no, std::string_view period_key, uint8_t value);

}  // namespace duri

#endif  // DURIDUVAZE_EVENTS_PRINT_BATCH_H_
