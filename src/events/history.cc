#include "events/history.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "store/key_index.h"
#include "store/io_result.h"
#include "store/lock_file.h"
#include "store/shared_file.h"

namespace duri {
namespace {

void NoteForSync(DataDir& dir, std::string_view name) {
  if (std::optional<std::string> path = dir.HostPath(name)) dir.pending_sync.Note(*path);
}

// Opens (or creates) the month's EVENT.MDC, creating the folder and listing the month in PERIOD.INX
// when it is new. A file is never emptied here: a station that created it a moment before keeps its
// records, and an existing history that cannot be opened ends the event instead of being replaced.
void OpenMonthHistory(DataDir& dir, std::string_view key, SharedFile& mdc) {
  const std::string folder = PeriodDirectory(key);
  const std::string mdc_name = folder + "EVENT.MDC";
  int r = OpenForUpdate(dir, mdc, mdc_name, EventRecord::kSize, true);
  if (r == kIoOk) return;
  if (r != kIoFileNotFound && r != kIoPathNotFound && FileExists(dir, mdc_name))
    throw IoError(r, "cannot open " + mdc_name + " (" + IoResultText(r) + ")");
  // A folder that cannot be made shows as the failed creation of the history below.
  (void)CreateDirectory(dir, MonthFolder(key));
  InsertPeriod(dir, kPeriodIndexFile, key);
  // The new folder's entry in ORBA and the new file's entry in the folder must reach the disk too.
  NoteForSync(dir, "\\ORBA");
  NoteForSync(dir, MonthFolder(key));
  NoteForSync(dir, kPeriodIndexFile);
  r = OpenOrCreateForUpdate(dir, mdc, mdc_name, EventRecord::kSize);
  if (r != kIoOk) throw IoError(r, "cannot create " + mdc_name + " (" + IoResultText(r) + ")");
}

// EVENT.MDX must have a record for every EVENT.MDC record before the next one: a missing or short
// index (a crash between the two writes, a deleted file) is rebuilt from the Account fields. Only the
// missing records are read, in large blocks, so that even a whole month's index is rebuilt in a few
// seconds at most (CheckHistorySize bounds the file) while the receiver waits for its acknowledgement.
void CompleteIndex(const SharedFile& mdc, SharedFile& mdx, int32_t records) {
  constexpr int32_t kBlockRecords = 4096;
  int32_t have = std::max(mdx.RecordCount(), 0);
  if (have >= records) return;
  std::vector<uint8_t> events, keys;
  while (have < records) {
    const int32_t count = std::min(kBlockRecords, records - have);
    events.resize(static_cast<size_t>(count) * EventRecord::kSize);
    keys.resize(static_cast<size_t>(count) * EventRecord::kIndexSize);
    mdc.CheckedReadAt(static_cast<int64_t>(have) * EventRecord::kSize, events);
    for (int32_t i = 0; i < count; ++i) {
      std::memcpy(&keys[static_cast<size_t>(i) * EventRecord::kIndexSize], &events[static_cast<size_t>(i) * EventRecord::kSize],
                  EventRecord::kIndexSize);
    }
    mdx.CheckedWriteAt(static_cast<int64_t>(have) * EventRecord::kIndexSize, keys);
    have += count;
  }
}

// A month's history that is not a whole number of records (a copy cut short, a torn write) or larger
// than any month a station records (a sparse or damaged file) is refused: rebuilding its index inside
// the event would hold the receiver's acknowledgement for minutes. The event fails, so the receiver is
// not acknowledged and sends again, and error.log names the file until it is repaired.
void CheckHistorySize(const SharedFile& mdc, const std::string& mdc_name) {
  const int64_t size = mdc.Size();
  if (size < 0) throw IoError(kIoReadPastEnd, "cannot tell the size of " + mdc_name);
  if (size % EventRecord::kSize != 0) {
    throw IoError(kIoReadPastEnd, mdc_name + " holds " + std::to_string(size) + " bytes, not a whole number of " +
                                      std::to_string(EventRecord::kSize) + "-byte records; refused until repaired");
  }
  if (size > kLargestMonthHistory) {
    throw IoError(kIoReadPastEnd, mdc_name + " holds " + std::to_string(size / EventRecord::kSize) +
                                      " records, more than a month's history can (" +
                                      std::to_string(kLargestMonthHistory / EventRecord::kSize) +
                                      "); refused until repaired");
  }
}

void WriteEvent(DataDir& dir, EventRecord& event, const CommentBlock& comments, StackEntry& entry) {
  const std::string key = PeriodKey(event.date);
  const std::string folder = PeriodDirectory(key);
  // Another station reorganising this month holds it in GENERAL.LCK.
  WaitUntilFree(dir, kGeneralLock, key);
  SharedFile mdc;
  OpenMonthHistory(dir, key, mdc);
  CheckHistorySize(mdc, folder + "EVENT.MDC");
  // Under the deny-write open of EVENT.MDC the size is the next record number: two stations never
  // share one.
  const int32_t next = mdc.RecordCount();
  SharedFile mdx;
  int r = OpenOrCreateForUpdate(dir, mdx, folder + "EVENT.MDX", EventRecord::kIndexSize);
  if (r != kIoOk) throw IoError(r, "cannot open " + folder + "EVENT.MDX (" + IoResultText(r) + ")");
  CompleteIndex(mdc, mdx, next);
  // Records past the history's end are left from a write that never reached EVENT.MDC.
  if (mdx.RecordCount() > next) {
    r = mdx.Truncate(static_cast<int64_t>(next) * EventRecord::kIndexSize);
    if (r != kIoOk) throw IoError(r, "cannot cut " + folder + "EVENT.MDX (" + IoResultText(r) + ")");
  }

  if (entry.record_number < 0) {
    if (event.account.empty()) event.account.Assign("0");
    entry.record_number = next;
    event.history_rec_no = next;
    std::array<uint8_t, EventRecord::kSize> bytes = event.Encoded();
    mdx.CheckedWriteRecord(next, std::span<const uint8_t>(bytes.data(), EventRecord::kIndexSize));
  }
  StoreComments(dir, comments, key, event.comment_rec_no);
  mdc.CheckedWriteRecord(entry.record_number, event.Encoded());
  dir.pending_sync.Note(mdc.path());
  dir.pending_sync.Note(mdx.path());
  CloseShared(dir, mdx);
  CloseShared(dir, mdc);
}

}  // namespace

void WriteHistory(DataDir& dir, EventRecord& event, StackEntry& entry, std::string_view account) {
  event.account = account;
  CommentBlock comments;
  entry.record_number = -1;
  StoreEvent(dir, event, comments, entry);
}

void StoreEvent(DataDir& dir, EventRecord& event, const CommentBlock& comments, StackEntry& entry) {
  try {
    WriteEvent(dir, event, comments, entry);
  } catch (const IoError& e) {
    // Whoever catches this further up, the message that brought the event is not acknowledged.
    dir.pending_sync.NoteFailure(e.code());
    throw;
  }
}

void StoreComments(DataDir& dir, const CommentBlock& comments, std::string_view period_key,
                   int32_t& comment_rec_no) {
  if (comments.IsEmpty()) return;
  const std::string name = PeriodDirectory(period_key) + "COMMENT.MDC";
  SharedFile file;
  int r = OpenForUpdate(dir, file, name, CommentBlock::kSize, true);
  if (r != kIoOk) {
    r = OpenOrCreateForUpdate(dir, file, name, CommentBlock::kSize);
    if (r != kIoOk) throw IoError(r, "cannot create " + name + " (" + IoResultText(r) + ")");
    if (comment_rec_no < 0) comment_rec_no = file.RecordCount();
  } else if (comment_rec_no < 0) {
    comment_rec_no = file.RecordCount();
  }
  std::array<uint8_t, CommentBlock::kSize> bytes;
  comments.Encode(bytes);
  file.CheckedWriteRecord(comment_rec_no, bytes);
  dir.pending_sync.Note(file.path());
  CloseShared(dir, file);
}

int PushLast100(DataDir& dir, const EventRecord& event) {
  SharedFile file;
  // A convenience copy for the operators' screens: access denied gets one try, so an outage of this
  // file never holds the intake (and the acknowledgement) for the long retry of the history's files.
  int r = OpenForUpdateDeniedWithin(dir, file, kLast100File, kLast100Size, 0, true);
  if (r != kIoOk) return r;
  std::vector<uint8_t> block(kLast100Size);
  // A file shorter than its one record (a crash while it was first written, a copy cut short) is
  // treated as missing and rebuilt, instead of failing every event's intake from then on.
  if (file.Size() < kLast100Size || file.ReadAt(0, block) != kIoOk) {
    EventRecord initial;
    for (int i = 0; i < kLast100Slots; ++i)
      initial.Encode(std::span<uint8_t, EventRecord::kSize>(block.data() + i * EventRecord::kSize,
                                                            EventRecord::kSize));
  }
  std::memmove(block.data() + EventRecord::kSize, block.data(), kLast100Size - EventRecord::kSize);
  event.Encode(std::span<uint8_t, EventRecord::kSize>(block.data(), EventRecord::kSize));
  r = file.WriteAt(0, block);
  CloseShared(dir, file);
  return r;
}

std::array<EventRecord, kLast100Slots> ReadLast100(DataDir& dir) {
  std::array<EventRecord, kLast100Slots> records;
  SharedFile file;
  std::vector<uint8_t> block(kLast100Size);
  if (OpenShared(dir, file, kLast100File, kLast100Size) == kIoOk && file.ReadAt(0, block) == kIoOk) {
    for (int i = 0; i < kLast100Slots; ++i)
      records[i].Decode(std::span<const uint8_t, EventRecord::kSize>(block.data() + i * EventRecord::kSize,
                                                                     EventRecord::kSize));
  }
  CloseShared(dir, file);
  return records;
}

void AppendEventLog(DataDir& dir, std::string_view text, std::string_view log_name) {
  LocalDateTime now = dir.clock().Now();
  const std::string key = PeriodKey(now.date);
  std::string line = DateText(now.date) + " " + TimeText(now.time) + " ";
  for (char c : text) line += static_cast<uint8_t>(c) < 32 ? '*' : c;
  const std::string name = "\\ORBA\\" + key + ".Evt\\" + std::string(log_name) + ".txt";
  // The month's folder may not exist yet: an event dated the last minute of the old month, received
  // in the new one, opened the old month's history only.
  if (AppendTextLine(dir, name, line) == kIoPathNotFound) {
    // The second try's result is in last_io_result, as the first one's was.
    (void)CreateDirectory(dir, MonthFolder(key));
    (void)AppendTextLine(dir, name, line);
  }
}

}  // namespace duri
