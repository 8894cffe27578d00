#include "events/stack_backlog.h"

#include <algorithm>
#include <string>

#include "store/coding.h"
#include "store/error_log.h"
#include "store/io_result.h"
#include "store/shared_file.h"

namespace duri {
namespace {

// Access denied on the backlog is retried this long; after that the new entries are not durable and
// the message is not acknowledged.
constexpr int64_t kBacklogDeniedRetryMs = 200;

struct BacklogFile {
  SharedFile file;
  int result = kIoFileNotFound;
  std::vector<BacklogRecord> records;  // every whole record, in file order
  int damaged = 0;                     // records whose state byte is neither waiting nor landed
};

void Log(DataDir& dir, const std::string& text) { LogError(dir, text); }

std::string Describe(const StackEntry& e) {
  return "event " + std::to_string(e.record_number) + " of account record " + std::to_string(e.account_rec_no) +
         " priority " + std::string(1, e.priority);
}

// Opens the backlog deny-write and reads its whole records; a torn last record (a crash while it was
// appended, before any acknowledgement promised it) is not read and is overwritten by the next append.
void OpenBacklog(DataDir& dir, BacklogFile& b, bool create) {
  b.records.clear();
  b.damaged = 0;
  b.result = OpenForUpdateDeniedWithin(dir, b.file, kStackBacklogFile, BacklogRecord::kSize, kBacklogDeniedRetryMs,
                                       create);
  if (b.result != kIoOk) return;
  std::vector<uint8_t> bytes(static_cast<size_t>(std::max(b.file.RecordCount(), 0)) * BacklogRecord::kSize);
  if (!bytes.empty() && (b.result = b.file.ReadAt(0, bytes)) != kIoOk) {
    (void)b.file.Release();  // the read failure is the result kept
    return;
  }
  for (size_t at = 0; at < bytes.size(); at += BacklogRecord::kSize) {
    BacklogRecord r;
    if (!r.Decode(bytes.data() + at)) ++b.damaged;
    b.records.push_back(r);
  }
}

int Waiting(const BacklogFile& b) {
  return static_cast<int>(std::count_if(b.records.begin(), b.records.end(),
                                        [](const BacklogRecord& r) { return r.state == BacklogRecord::kWaiting; }));
}

bool OnStack(const StackTable& table, const StackEntry& entry) {
  return std::find(table.begin(), table.end(), entry) != table.end();
}

void ShowCount(DataDir& dir, StackBacklog& backlog, int waiting) {
  if (waiting == backlog.shown) return;
  backlog.shown = waiting;
  dir.view().ShowStackBacklog(waiting);
}

// A damaged stack is reported once, when it is first found, and again only after it was seen whole.
void ReportDamage(DataDir& dir, StackBacklog& backlog, const StackDamage& damage) {
  if (!damage.found()) {
    backlog.damage_reported = false;
    return;
  }
  if (backlog.damage_reported) return;
  backlog.damage_reported = true;
  std::string text = "Pending stack " + std::string(kStackFile) + " damaged: ";
  text += damage.size != kStackFileSize ? std::to_string(damage.size) + " bytes instead of 2450; its entries were dropped"
                                        : std::to_string(damage.bad_slots) + " impossible entries; their slots were freed";
  text += damage.saved_as.empty() ? " (no copy could be kept)" : "; the file as found is kept as " + damage.saved_as;
  Log(dir, text);
  dir.view().ShowMessage(std::string(kStackFile), text);
}

// Appends the entries in order and notes the file for the flush before the acknowledgement.
int AppendToBacklog(DataDir& dir, BacklogFile& b, const std::vector<StackEntry>& entries) {
  if (!b.file.is_open()) {
    if (b.result != kIoOk && b.result != kIoFileNotFound) return b.result;  // never written past unread records
    const bool existed = FileExists(dir, kStackBacklogFile);
    OpenBacklog(dir, b, true);
    if (b.result != kIoOk) return b.result;
    if (!existed) {
      // The new file's entry in ORBA must reach the disk too.
      if (std::optional<std::string> orba = dir.HostPath("\\ORBA")) dir.pending_sync.Note(*orba);
    }
  }
  std::vector<uint8_t> bytes(entries.size() * BacklogRecord::kSize);
  for (size_t i = 0; i < entries.size(); ++i) BacklogRecord{BacklogRecord::kWaiting, entries[i]}.Encode(&bytes[i * 16]);
  const int r = b.file.WriteAt(static_cast<int64_t>(b.records.size()) * BacklogRecord::kSize, bytes);
  if (r != kIoOk) return r;
  dir.pending_sync.Note(b.file.path());
  for (const StackEntry& e : entries) b.records.push_back({BacklogRecord::kWaiting, e});
  return kIoOk;
}

// Marks the landed records; once none waits the file is cut to nothing.
void MarkLanded(DataDir& dir, BacklogFile& b, const std::vector<size_t>& landed) {
  if (!b.file.is_open()) return;
  const uint8_t mark[1] = {BacklogRecord::kLanded};
  for (size_t i : landed) {
    if (b.file.WriteAt(static_cast<int64_t>(i) * BacklogRecord::kSize + BacklogRecord::kStateOffset, mark) != kIoOk)
      return;  // still marked waiting: the next drain finds the entry on the stack and marks it then
    b.records[i].state = BacklogRecord::kLanded;
  }
  if (Waiting(b) > 0 || b.records.empty()) return;
  if (b.damaged > 0) {
    Log(dir, std::string(kStackBacklogFile) + ": " + std::to_string(b.damaged) +
                 " unreadable records dropped with the landed ones");
  }
  if (b.file.Truncate(0) == kIoOk) b.records.clear();
}

}  // namespace

void BacklogRecord::Encode(uint8_t* dst) const {
  dst[kStateOffset] = state;
  dst[kReservedOffset] = 0;
  entry.Encode(dst + kEntryOffset);
}

bool BacklogRecord::Decode(const uint8_t* src) {
  state = src[kStateOffset];
  entry.Decode(src + kEntryOffset);
  return state == kWaiting || state == kLanded;
}

StackUpdate UpdateStack(DataDir& dir, StackBacklog& backlog, std::span<const NewStackEntry> entries,
                        bool refuse_duplicates) {
  StackUpdate u;
  SharedFile stack;
  StackTable table;
  StackDamage damage;
  const int opened = OpenStackForUpdate(dir, stack, table, &damage);
  if (opened == kIoOk) ReportDamage(dir, backlog, damage);
  BacklogFile queue;
  OpenBacklog(dir, queue, false);

  // The waiting entries first, oldest first; the first that does not fit keeps the rest (and every new
  // entry) behind it.
  std::vector<size_t> landed;
  bool behind = opened != kIoOk;
  for (size_t i = 0; !behind && i < queue.records.size(); ++i) {
    if (queue.records[i].state != BacklogRecord::kWaiting) continue;
    const StackEntry& e = queue.records[i].entry;
    // Already on the stack: it landed before a crash kept its record from being marked.
    if (OnStack(table, e) || InsertEntry(e, table, false, false) == StackInsert::kInserted) {
      landed.push_back(i);
    } else {
      behind = true;
    }
  }
  std::vector<StackEntry> inserted;
  std::vector<StackEntry> queued;
  for (const NewStackEntry& n : entries) {
    StackEntry settled = n.entry;
    if (opened == kIoOk && n.duplicate_test && HoldsDuplicate(table, settled)) {
      if (refuse_duplicates) {
        ++u.refused;
        continue;
      }
      settled.priority = '0';
    }
    if (!behind && InsertEntry(settled, table, false, false) == StackInsert::kInserted) {
      inserted.push_back(settled);
    } else {
      queued.push_back(settled);
      behind = true;
    }
  }

  std::string reason = opened == kIoOk ? "Pending stack full"
                                       : "Pending stack not opened (result " + std::to_string(opened) + ")";
  if (opened == kIoOk && (!landed.empty() || !inserted.empty() || damage.found())) {
    int w = WriteStackTable(stack, table);
    // Waiting entries are marked landed only once the stack holding them is on disk.
    if (w == kIoOk && !landed.empty()) w = stack.Sync();
    if (w == kIoOk) {
      dir.pending_sync.Note(stack.path());
    } else {
      reason = "Pending stack not written (result " + std::to_string(w) + ")";
      Log(dir, reason);
      landed.clear();
      queued.insert(queued.begin(), inserted.begin(), inserted.end());
      inserted.clear();
    }
  }
  if (!queued.empty()) {
    const int r = AppendToBacklog(dir, queue, queued);
    if (r == kIoOk) {
      int waiting = Waiting(queue) - static_cast<int>(queued.size());
      for (const StackEntry& e : queued) {
        Log(dir, reason + ": " + Describe(e) + " waits in " + std::string(kStackBacklogFile) + " (" +
                     std::to_string(++waiting) + " waiting)");
      }
    } else {
      // Neither on the stack nor queued: the message must not be acknowledged; its resend comes back here.
      u.durable = false;
      dir.pending_sync.NoteFailure(r);
      for (const StackEntry& e : queued) {
        Log(dir, reason + "; " + std::string(kStackBacklogFile) + " not written (result " + std::to_string(r) +
                     "): " + Describe(e) + " not acknowledged");
      }
    }
  }
  MarkLanded(dir, queue, landed);
  u.inserted = static_cast<int>(inserted.size());
  u.queued = u.durable ? static_cast<int>(queued.size()) : 0;
  u.placed = static_cast<int>(landed.size());
  u.waiting = Waiting(queue);
  CloseShared(dir, queue.file);
  if (stack.is_open()) CloseShared(dir, stack);
  ShowCount(dir, backlog, u.waiting);
  return u;
}

StackInsert StackEvent(DataDir& dir, StackBacklog& backlog, const StackEntry& entry, bool duplicate_test,
                       bool refuse_duplicates) {
  const NewStackEntry n{entry, duplicate_test};
  const StackUpdate u = UpdateStack(dir, backlog, std::span<const NewStackEntry>(&n, 1), refuse_duplicates);
  if (u.refused > 0) return StackInsert::kRefusedDuplicate;
  return u.inserted > 0 ? StackInsert::kInserted : StackInsert::kFull;
}

int RetryStackBacklog(DataDir& dir, StackBacklog& backlog) {
  if (ReadStackBacklog(dir).empty()) {
    // Nothing waits. A damaged stack is still mended and reported now rather than at the next event.
    StackTable table;
    ReadStack(dir, table);
    SharedFile file;
    const bool damaged = OpenShared(dir, file, kStackFile, 1) == kIoOk && file.Size() != 0 &&
                         (file.Size() != kStackFileSize ||
                          std::any_of(table.begin(), table.end(), [](const StackEntry& e) { return IsBadSlot(e); }));
    CloseShared(dir, file);
    if (!damaged) {
      backlog.damage_reported = false;
      ShowCount(dir, backlog, 0);
      return 0;
    }
  }
  return UpdateStack(dir, backlog, {}, false).placed;
}

std::vector<StackEntry> ReadStackBacklog(DataDir& dir) {
  std::vector<StackEntry> waiting;
  SharedFile file;
  if (OpenShared(dir, file, kStackBacklogFile, BacklogRecord::kSize) == kIoOk) {
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max(file.RecordCount(), 0)) * BacklogRecord::kSize);
    if (bytes.empty() || file.ReadAt(0, bytes) == kIoOk) {
      for (size_t at = 0; at < bytes.size(); at += BacklogRecord::kSize) {
        BacklogRecord r;
        if (r.Decode(bytes.data() + at) && r.state == BacklogRecord::kWaiting) waiting.push_back(r.entry);
      }
    }
  }
  CloseShared(dir, file);
  return waiting;
}

}  // namespace duri
