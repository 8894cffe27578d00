// The event history: one folder per month ("\ORBA\202612.EVT\") holding the month's events in arrival
// order (EVENT.MDC, 200-byte records), their accounts (EVENT.MDX, 11 bytes, same record numbers) and
// comment blocks (COMMENT.MDC), the station-wide list of months (PERIOD.INX), the last 100 events
// (100EVT.DAT) and a text line per event in the month's EventLog.txt.
//
// The history writers check every read and write after a successful open: a failure raises IoError,
// which ends the current event's intake before anything points at a record that was not written.
#ifndef DURIDUVAZE_EVENTS_HISTORY_H_
#define DURIDUVAZE_EVENTS_HISTORY_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "events/event_record.h"
#include "events/stack.h"
#include "store/data_dir.h"
#include "store/period_folder.h"

namespace duri {

inline constexpr std::string_view kPeriodIndexFile = "\\ORBA\\PERIOD.INX";
inline constexpr std::string_view kLast100File = "\\ORBA\\100EVT.DAT";
inline constexpr int kLast100Slots = 100;
inline constexpr int kLast100Size = kLast100Slots * EventRecord::kSize;  // 20000
inline constexpr std::string_view kEventLogName = "EventLog";
// The largest month's EVENT.MDC taken (five million events, 1 GB: two events a second all month, far
// beyond any station); a larger one is refused as damaged. Its whole index is rebuilt in seconds.
inline constexpr int64_t kLargestMonthHistory = int64_t{5'000'000} * EventRecord::kSize;

// Gives the event its account (cut to 10 characters) and an empty comment block and stores it as a
// new event: afterwards entry.record_number and event.history_rec_no hold its record number.
void WriteHistory(DataDir& dir, EventRecord& event, StackEntry& entry, std::string_view account);

// Stores the event in the history of its date's month. A negative entry.record_number makes a new
// record; otherwise that record is overwritten.
void StoreEvent(DataDir& dir, EventRecord& event, const CommentBlock& comments, StackEntry& entry);

// Writes a non-empty block into the month's COMMENT.MDC: at comment_rec_no, or appended when it is
// negative (comment_rec_no then holds the new number).
void StoreComments(DataDir& dir, const CommentBlock& comments, std::string_view period_key,
                   int32_t& comment_rec_no);

// Puts the event first in 100EVT.DAT and moves the others one place down; the oldest is lost. The
// file is a copy of what the history holds: a failure is returned (result number), never raised.
int PushLast100(DataDir& dir, const EventRecord& event);
// The 100 records of 100EVT.DAT, newest first (initial values when the file is missing or short).
std::array<EventRecord, kLast100Slots> ReadLast100(DataDir& dir);

// One line "2026/12/08 04:07:09 text" in the log of today's month (not the event's), characters
// below 32 written as '*'. Failures are kept in last_io_result only.
void AppendEventLog(DataDir& dir, std::string_view text, std::string_view log_name);

}  // namespace duri

#endif  // DURIDUVAZE_EVENTS_HISTORY_H_
