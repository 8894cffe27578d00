#include "store/lock_file.h"

#include <array>
#include <cstring>
#include <vector>

#include "store/coding.h"
#include "store/error_log.h"
#include "store/number_conversion.h"
#include "store/shared_file.h"
#include "store/text.h"

namespace duri {
namespace {

constexpr int kPollPauseMs = 20;
constexpr int64_t kReportWaitAfterMs = 10000;
constexpr int64_t kLeftoverProgressMs = 60000;
// A lock file that refuses this station (made read-only or immutable) stays so until someone mends it:
// the event that needed the lock ends and its receiver sends it again, rather than every port's intake
// standing still for the full access-denied retry of other files.
constexpr int64_t kLockDeniedRetryMs = 500;

std::string CutKey(std::string_view key) { return std::string(key.substr(0, 10)); }

std::vector<LockRecord> ReadRecords(const SharedFile& file) {
  std::vector<LockRecord> records;
  std::array<uint8_t, LockRecord::kSize> buf;
  for (int i = 0; i < LockRecord::kMaxRecords; ++i) {
    if (file.ReadRecord(i, buf) != kIoOk) break;
    LockRecord r;
    r.Decode(buf.data());
    records.push_back(r);
  }
  return records;
}

bool IsUserLock(std::string_view lock_file) { return SameText(lock_file, kUserLock); }

std::string RefusalText(const LockTexts& texts, std::string_view lock_file) {
  if (SameText(lock_file, kUserLock)) return texts.user_lock;
  if (SameText(lock_file, kClientLock)) return texts.client_lock;
  if (SameText(lock_file, kNoteLock)) return texts.note_lock;
  return texts.general_lock;
}

}  // namespace

void LockRecord::Encode(uint8_t* dst) const {
  std::memset(dst, 0, kSize);
  computer_name.Encode(dst + kComputerNameOffset);
  key.Encode(dst + kKeyOffset);
  EncodeSigned16(dst + kOperatorOffset, operator_number);
}

void LockRecord::Decode(const uint8_t* src) {
  computer_name.Decode(src + kComputerNameOffset);
  key.Decode(src + kKeyOffset);
  operator_number = DecodeSigned16(src + kOperatorOffset);
}

bool IsLockedElsewhere(DataDir& dir, std::string_view lock_file, std::string_view key) {
  return IsLockedElsewhere(dir, lock_file, key, nullptr);
}

bool IsLockedElsewhere(DataDir& dir, std::string_view lock_file, std::string_view key, std::string* holder) {
  const std::string k = CutKey(key);
  const std::string me = dir.ComputerName();
  SharedFile file;
  if (OpenShared(dir, file, lock_file, LockRecord::kSize) != kIoOk) {
    CloseShared(dir, file);
    return false;
  }
  std::vector<LockRecord> records = ReadRecords(file);
  CloseShared(dir, file);
  if (records.empty()) return false;
  // A record of this computer is a leftover (a crash, say) and is cleared, except the permanent key.
  for (const LockRecord& r : records) {
    if (r.key.view() == k && r.computer_name.view() == me) {
      if (k == kPermanentKey) {
        if (holder) *holder = me;
        return true;
      }
      ReleaseLock(dir, lock_file, k);
      break;
    }
  }
  for (const LockRecord& r : records) {
    if (!r.is_free() && r.key.view() == k && r.computer_name.view() != me) {
      if (holder) *holder = r.computer_name.str();
      return true;
    }
  }
  return false;
}

void ReleaseLock(DataDir& dir, std::string_view lock_file, std::string_view key) {
  const std::string k = CutKey(key);
  SharedFile file;
  if (OpenForUpdateDeniedWithin(dir, file, lock_file, LockRecord::kSize, kLockDeniedRetryMs, false) != kIoOk) {
    CloseShared(dir, file);
    return;
  }
  std::vector<LockRecord> records = ReadRecords(file);
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].key.view() == k) {
      LockRecord free_record;
      free_record.operator_number = IsUserLock(lock_file) ? -1 : 0;
      std::array<uint8_t, LockRecord::kSize> buf;
      free_record.Encode(buf.data());
      // A record that cannot be freed stays taken; the release has nobody to tell.
      (void)file.WriteRecord(static_cast<int32_t>(i), buf);
      break;
    }
  }
  CloseShared(dir, file);
}

bool AcquireLock(DataDir& dir, std::string_view lock_file, std::string_view key, bool show_message) {
  const std::string k = CutKey(key);
  const std::string me = dir.ComputerName();
  SharedFile file;
  std::vector<LockRecord> records;
  int r = OpenForUpdateDeniedWithin(dir, file, lock_file, LockRecord::kSize, kLockDeniedRetryMs, false);
  if (r == kIoFileNotFound) {
    r = CreateShared(dir, file, lock_file, LockRecord::kSize);
    if (r != kIoOk) throw IoError(r, "cannot create lock file " + std::string(lock_file));
  } else {
    if (r != kIoOk) {
      dir.view().ShowMessage(std::string(lock_file), std::to_string(r));
      // Lock creation is checked: a lock file that cannot be opened ends the operation.
      throw IoError(r, "cannot open lock file " + std::string(lock_file));
    }
    records = ReadRecords(file);
    for (const LockRecord& rec : records) {
      if (!rec.is_free() && rec.key.view() == k && rec.computer_name.view() != me) {
        CloseShared(dir, file);
        if (show_message) {
          const LockTexts& t = dir.lock_texts;
          dir.view().Beep();
          dir.view().ShowMessage(std::string(lock_file),
                                 t.operator_number + ": " + std::to_string(rec.operator_number) +
                                     RefusalText(t, lock_file) + "\r\n" + t.computer_name_is +
                                     rec.computer_name.str());
        }
        return false;
      }
    }
  }
  LockRecord mine;
  mine.computer_name = me;
  mine.key = k;
  mine.operator_number =
      IsUserLock(lock_file) ? static_cast<int16_t>(LenientValue(k)) : static_cast<int16_t>(0);
  size_t slot = records.size();
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].is_free()) {
      slot = i;
      break;
    }
  }
  if (slot >= static_cast<size_t>(LockRecord::kMaxRecords)) {
    // Records past the hundredth are never seen: append after the whole file instead.
    slot = static_cast<size_t>(file.RecordCount());
  }
  std::array<uint8_t, LockRecord::kSize> buf;
  mine.Encode(buf.data());
  file.CheckedWriteRecord(static_cast<int32_t>(slot), buf);
  CloseShared(dir, file);
  return true;
}

bool WaitUntilFree(DataDir& dir, std::string_view lock_file, std::string_view key, int64_t give_up_ms) {
  Clock& clock = dir.clock();
  const int64_t start = clock.MonotonicMs();
  bool reported = false;
  std::string holder;
  while (IsLockedElsewhere(dir, lock_file, key, &holder)) {
    int64_t waited = clock.MonotonicMs() - start;
    if (!reported && waited >= kReportWaitAfterMs) {
      reported = true;
      std::string text = "Waiting for lock " + std::string(key) + " in " + std::string(lock_file) +
                         " held by " + holder;
      dir.view().ShowDebug(text);
      LogError(dir, text);
    }
    if (give_up_ms >= 0 && waited >= give_up_ms) return false;
    clock.SleepMs(kPollPauseMs);
  }
  return true;
}

void WaitForReindex(DataDir& dir) {
  SharedFile progress;
  if (OpenShared(dir, progress, kProgressLock, 1) != kIoOk) {
    CloseShared(dir, progress);
    return;
  }
  StationView& view = dir.view();
  Clock& clock = dir.clock();
  view.ShowProgressPanel(70, 1);
  uint8_t previous = 0;
  for (;;) {
    uint8_t value = previous;
    std::array<uint8_t, 1> buf;
    if (progress.ReadAt(0, buf) == kIoOk) value = buf[0];
    if (!IsLockedElsewhere(dir, kGeneralLock, kReindexKey)) break;
    view.StepProgress(static_cast<int>(value) - static_cast<int>(previous));
    previous = value;
    clock.SleepMs(kPollPauseMs);
  }
  CloseShared(dir, progress);
  // The re-indexing station deletes PROGRESS.LCK when it ends; one that crashed leaves it behind.
  const int64_t start = clock.MonotonicMs();
  while (FileExists(dir, kProgressLock) && clock.MonotonicMs() - start < kLeftoverProgressMs)
    clock.SleepMs(kPollPauseMs);
  view.HideProgressPanel();
}

}  // namespace duri
