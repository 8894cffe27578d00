#include "events/stack.h"

#include <vector>

#include "store/coding.h"

namespace duri {
namespace {

void DecodeTable(std::span<const uint8_t> bytes, StackTable& table) {
  for (int i = 0; i < kStackEntries; ++i) table[i].Decode(bytes.data() + i * StackEntry::kSize);
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

int OpenStackForUpdate(DataDir& dir, SharedFile& file, StackTable& table) {
  table.fill(StackEntry{});
  int r = OpenForUpdate(dir, file, kStackFile, 1, true);
  if (r != kIoOk) return CreateShared(dir, file, kStackFile, 1);
  if (file.Size() != kStackFileSize) {
    // Emptied under the deny-write open already held, so no other writer slips in between.
    dir.last_io_result = file.Truncate(0);
    return kIoOk;
  }
  std::vector<uint8_t> bytes(kStackFileSize);
  r = file.ReadAt(0, bytes);
  if (r == kIoOk) DecodeTable(bytes, table);
  dir.last_io_result = r;
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

int WriteStack(DataDir& dir, SharedFile& file, const StackTable& table) {
  std::vector<uint8_t> bytes(kStackFileSize);
  for (int i = 0; i < kStackEntries; ++i) table[i].Encode(bytes.data() + i * StackEntry::kSize);
  int r = file.WriteAt(0, bytes);
  CloseShared(dir, file);
  if (r != kIoOk) {
    LocalDateTime now = dir.clock().Now();
    AppendErrorLog(dir, DateText(now.date) + " " + TimeText(now.time) + " Pending stack not written (result " +
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
