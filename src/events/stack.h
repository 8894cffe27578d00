// The pending-event stack \ORBA\EVT.STK: 175 entries of 14 bytes that point into the month's history,
// the events waiting for an operator. This module adds entries; the operators' application removes
// them when the events are handled. A file of any size but 2450 bytes counts as an empty stack.
#ifndef DURIDUVAZE_EVENTS_STACK_H_
#define DURIDUVAZE_EVENTS_STACK_H_

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "events/event_record.h"
#include "store/data_dir.h"
#include "store/shared_file.h"

namespace duri {

inline constexpr std::string_view kStackFile = "\\ORBA\\EVT.STK";

struct StackEntry {
  static constexpr int kSize = 14;
  // Offsets in the entry, in file order.
  static constexpr int kRecordNumberOffset = 0;   // int32, -1 = free slot
  static constexpr int kAccountRecNoOffset = 4;   // int32, -1 = unknown account
  static constexpr int kTimeStampOffset = 8;      // uint32 PackedTimestamp
  static constexpr int kLevelOffset = 12;         // CodeLevel + 1, or 0
  static constexpr int kPriorityOffset = 13;      // '0' + Priority

  int32_t record_number = -1;
  int32_t account_rec_no = -1;
  uint32_t time_stamp = 0xFFFFFFFF;
  uint8_t level = 255;
  char priority = ' ';

  // The free slot.
  void Clear() { *this = StackEntry{}; }
  bool in_use() const { return record_number >= 0; }
  void Encode(uint8_t* dst) const;
  void Decode(const uint8_t* src);
  friend bool operator==(const StackEntry&, const StackEntry&) = default;
};

inline constexpr int kStackEntries = 175;
inline constexpr int kStackFileSize = kStackEntries * StackEntry::kSize;  // 2450
using StackTable = std::array<StackEntry, kStackEntries>;

// The entry for a stored event: its record number, account, time stamp, level and priority.
StackEntry MakeStackEntry(const EventRecord& event);

// Fills table with free slots and, when the file is exactly 2450 bytes, with its content.
void ReadStack(DataDir& dir, StackTable& table);

// What OpenStackForUpdate found wrong with the file and mended in the table: a size other than 0 and
// 2450 (the table starts free, as for a missing file), or slots that hold neither a free slot nor an
// entry (a record or account record number below -1, a priority that is not a printable character;
// they become free).
// Before mending, the file as found is copied to saved_as for the staff.
struct StackDamage {
  int64_t size = kStackFileSize;
  int bad_slots = 0;
  std::string saved_as;  // "\ORBA\EVT<yyyymmddhhmmss>.BAD", empty when no copy could be made
  bool found() const { return (size != kStackFileSize && size != 0) || bad_slots > 0; }
};

// Opens the stack deny-write and reads it; the file stays open (and other writers out) until WriteStack.
// A missing file is created, empty, and the table stays free. Access denied is retried only briefly:
// the entries have the stack's backlog to go to. Result number of the open or read (0 when file holds
// the open stack and table its entries); on any other result the file is closed and must not be
// written. damage (optional) says what was mended.
int OpenStackForUpdate(DataDir& dir, SharedFile& file, StackTable& table, StackDamage* damage = nullptr);

// A slot that is neither free nor a possible entry.
bool IsBadSlot(const StackEntry& entry);

enum class StackInsert {
  kInserted,
  kRefusedDuplicate,  // the company refuses a second pending event of the account
  kFull,              // all 175 slots in use
};

// An entry in use for the same account record number with the same priority character.
bool HoldsDuplicate(const StackTable& table, const StackEntry& entry);

// Puts entry into the first free slot. With duplicate_test, an entry in use with the same account
// record number and priority either refuses the new one (refuse_duplicates: the company setting at
// offset 401) or lowers the new one's priority to '0'.
StackInsert InsertEntry(StackEntry entry, StackTable& table, bool duplicate_test, bool refuse_duplicates);

// Writes the whole table at 0 and closes. A failed write is written to the error log. Result number.
int WriteStack(DataDir& dir, SharedFile& file, const StackTable& table);
// The write alone, the file staying open.
int WriteStackTable(SharedFile& file, const StackTable& table);

// True when some entry points at an event and its time stamp is not of 1980 (a zero stamp).
bool HasPendingEvents(DataDir& dir);

}  // namespace duri

#endif  // DURIDUVAZE_EVENTS_STACK_H_
