#include "events/stack.h"

#include <cstdio>
#include <vector>

#include "store/coding.h"
#include "store/error_log.h"

namespace duri {
namespace {

// Access denied on the stack is retried this long: its entries then go to the backlog instead of
// holding every port's intake.
constexpr int64_t kStackDeniedRetryMs = 200;
// A damaged stack larger than this is not copied aside (the copy is for reading, not for keeping
// whatever landed in the file).
constexpr int64_t kLargestCopy = 1 << 20;

void DecodeTable(std::span<const uint8_t> bytes, StackTable& table) {
  for (int i = 0; i < kStackEntries; ++i) table[i].Decode(bytes.data() + i * StackEntry::kSize);
}

// The damaged file as found, for the staff and the operators' application's people: the mended stack
// replaces it. "" when the copy could not be made.
std::string SaveDamagedCopy(DataDir& dir, std::span<const uint8_t> bytes) {
  const LocalDateTime now = dir.clock().Now();
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "%04u%02u%02u%02u%02u%02u", now.date.year, now.date.month, now.date.day,
                now.time.hour, now.time.minute, now.time.second);
  const std::string name = "\\ORBA\\EVT" + std::string(stamp) + ".BAD";
  SharedFile copy;
  int r = CreateShared(dir, copy, name, 1);
  if (r == kIoOk && !bytes.empty()) r = copy.WriteAt(0, bytes);
  CloseShared(dir, copy);
  return r == kIoOk ? name : std::string();
}

}  // namespace

void StackEntry::Encode(uint8_t* dst) const {
  EncodeSigned32(dst + kRecordNumberOffset, record_number);
  EncodeSigned32(dst + kAccountRecNoOffset, account_rec_no);
  EncodeFixed32(dst + kTimeStampOffset, time_stamp);
  dst[kLevelOffset] = level;
  dst[kPriorityOffset] = static_cast<uint8_t>(priority);
}

void StackEntry::Decode(const uint8_t* src) {
  record_number = DecodeSigned32(src + kRecordNumberOffset);
  account_rec_no = DecodeSigned32(src + kAccountRecNoOffset);
  time_stamp = DecodeFixed32(src + kTimeStampOffset);
  level = src[kLevelOffset];
  priority = static_cast<char>(src[kPriorityOffset]);
}

StackEntry MakeStackEntry(const EventRecord& event) {
  StackEntry entry;
  entry.record_number = event.history_rec_no;
  entry.account_rec_no = event.account_rec_no;
  entry.time_stamp = Pack(event.date, event.time);
  entry.level = event.code_level > 0 ? static_cast<uint8_t>(event.code_level + 1) : 0;
  entry.priority = static_cast<char>('0' + event.priority);
  return entry;
}

void ReadStack(DataDir& dir, StackTable& table) {
  table.fill(StackEntry{});
  SharedFile file;
  if (OpenShared(dir, file, kStackFile, 1) == kIoOk && file.Size() == kStackFileSize) {
    std::vector<uint8_t> bytes(kStackFileSize);
    if (file.ReadAt(0, bytes) == kIoOk) DecodeTable(bytes, table);
  }
  CloseShared(dir, file);
}

bool IsBadSlot(const StackEntry& entry) {
  if (entry.record_number == -1) return false;  // free, whatever the other fields hold
  // The priority is '0' + Priority; anything but a printable character is not one of ours or the
  // operators' application's (a zeroed file reads as 175 entries of priority NUL).
  const auto priority = static_cast<uint8_t>(entry.priority);
  return entry.record_number < -1 || entry.account_rec_no < -1 || priority < ' ' || priority > '~';
}

int OpenStackForUpdate(DataDir& dir, SharedFile& file, StackTable& table, StackDamage* damage) {
  table.fill(StackEntry{});
  StackDamage found;
  int r = OpenForUpdateDeniedWithin(dir, file, kStackFile, 1, kStackDeniedRetryMs, false);
  // Only a missing file is made anew: a stack that exists but cannot be opened is never emptied.
  if (r == kIoFileNotFound) return CreateShared(dir, file, kStackFile, 1);
  if (r != kIoOk) return r;
  found.size = file.Size();
  std::vector<uint8_t> bytes(found.size > 0 && found.size < kLargestCopy ? static_cast<size_t>(found.size) : 0);
  if (!bytes.empty() && (r = file.ReadAt(0, bytes)) != kIoOk) {
    (void)file.Release();  // the read's failure is the one told
    return r;
  }
  if (found.size == kStackFileSize) {
    DecodeTable(bytes, table);
    for (StackEntry& e : table) {
      if (!IsBadSlot(e)) continue;
      e.Clear();
      ++found.bad_slots;
    }
  } else if (found.size != 0) {
    // Emptied under the deny-write open already held, so no other writer slips in between.
    if ((r = file.Truncate(0)) != kIoOk) {
      (void)file.Release();  // the truncation's failure is the one told
      return r;
    }
  }
  if (found.found() && !bytes.empty()) found.saved_as = SaveDamagedCopy(dir, bytes);
  if (damage != nullptr) *damage = found;
  return kIoOk;
}

bool HoldsDuplicate(const StackTable& table, const StackEntry& entry) {
  for (const StackEntry& e : table)
    if (e.in_use() && e.account_rec_no == entry.account_rec_no && e.priority == entry.priority) return true;
  return false;
}

StackInsert InsertEntry(StackEntry entry, StackTable& table, bool duplicate_test, bool refuse_duplicates) {
  if (duplicate_test && HoldsDuplicate(table, entry)) {
    if (refuse_duplicates) return StackInsert::kRefusedDuplicate;
    entry.priority = '0';
  }
  for (StackEntry& slot : table) {
    if (slot.record_number == -1) {
      slot = entry;
      return StackInsert::kInserted;
    }
  }
  return StackInsert::kFull;
}

int WriteStackTable(SharedFile& file, const StackTable& table) {
  std::vector<uint8_t> bytes(kStackFileSize);
  for (int i = 0; i < kStackEntries; ++i) table[i].Encode(bytes.data() + i * StackEntry::kSize);
  return file.WriteAt(0, bytes);
}

int WriteStack(DataDir& dir, SharedFile& file, const StackTable& table) {
  int r = WriteStackTable(file, table);
  CloseShared(dir, file);
  if (r != kIoOk) {
    LogError(dir, "Pending stack not written (result " +
                            std::to_string(r) + ")");
  }
  dir.last_io_result = r;
  return r;
}

bool HasPendingEvents(DataDir& dir) {
  StackTable table;
  ReadStack(dir, table);
  for (const StackEntry& e : table) {
    if (!e.in_use()) continue;
    // Only the year is unpacked: a zero stamp (1980) is not a pending event.
    if (((e.time_stamp >> 25) & 0x7F) != 0) return true;
  }
  return false;
}

}  // namespace duri
