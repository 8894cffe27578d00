#include "accounts/armed_status.h"

#include <vector>

#include "store/key_index.h"
#include "store/coding.h"
#include "store/error_log.h"
#include "store/io_result.h"
#include "store/lock_file.h"
#include "store/shared_file.h"
#include "store/text.h"

namespace duri {
namespace {

constexpr int kLockPauseMs = 20;

int HexValue(std::string_view text) {
  if (text.empty()) return -1;
  int value = 0;
  for (char c : text) {
    int d;
    if (c >= '0' && c <= '9') {
      d = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      d = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      d = c - 'a' + 10;
    } else {
      return -1;
    }
    value = value * 16 + d;
  }
  return value;
}

void Log(DataDir& dir, const std::string& text) {
  LogError(dir, text);
}

// Takes lock "11", retrying; after the give-up time the caller goes on without it (false).
bool TakeArmedLock(DataDir& dir) {
  Clock& clock = dir.clock();
  const int64_t start = clock.MonotonicMs();
  while (!AcquireLock(dir, kGeneralLock, kArmedStatusKey, false)) {
    if (clock.MonotonicMs() - start >= kArmedLockGiveUpMs) {
      std::string holder;
      IsLockedElsewhere(dir, kGeneralLock, kArmedStatusKey, &holder);
      Log(dir, "Armed status written without lock 11 of GENERAL.LCK, held by " + holder + " for 30 seconds");
      return false;
    }
    clock.SleepMs(kLockPauseMs);
  }
  return true;
}

void StoreValue(DataDir& dir, const ArmedGroup& g, int area, int32_t value, const AreaStates& values) {
  const std::string name = OccFileName(g.group);
  SharedFile file;
  int r = OpenForUpdate(dir, file, name, kArmedImageSize, true);
  std::vector<uint8_t> image(kArmedImageSize, 0);
  if (r != kIoOk) {
    bool all_zero = true;
    for (int32_t v : values) all_zero = all_zero && v == 0;
    if (all_zero) return;
    if (OpenOrCreateForUpdate(dir, file, name, kArmedImageSize) != kIoOk) {
      Log(dir, "Armed status not written: cannot create " + name);
      return;
    }
    InsertPeriod(dir, kArmedIndexFile, g.group);
  } else {
    int64_t size = file.Size();
    // An image that cannot be read is not rewritten: zeros in its place would disarm the other slots.
    if (size > 0 &&
        !file.ReadAt(0, std::span(image.data(), static_cast<size_t>(std::min<int64_t>(size, kArmedImageSize)))).ok()) {
      Log(dir, "Armed status not written: cannot read " + name);
      CloseShared(dir, file);
      return;
    }
  }
  EncodeSigned32(image.data() + g.slot * kArmedSlotSize + area * 4, value);
  dir.last_io_result = file.WriteAt(0, image);
  CloseShared(dir, file);
  for (uint8_t b : image)
    if (b != 0) return;
  // Nothing armed or disarmed is left in the group: the file and its index entry go.
  // A file that cannot be deleted holds only zeros, which read as nothing armed.
  (void)DeleteSharedFile(dir, name);
  RemoveIndexKey(dir, kArmedIndexFile, g.group);
}

void Record(DataDir& dir, std::string_view account, int area, int32_t value) {
  if (area < 0 || area >= kArmedAreas) return;
  AreaStates values = ReadAreaStates(dir, account);
  values[area] = value;
  ArmedGroup g = SplitAccount(account);
  if (!IsSafeFileComponent(g.group)) return;
  bool locked = TakeArmedLock(dir);
  try {
    StoreValue(dir, g, area, value, values);
  } catch (const IoError& e) {
    Log(dir, std::string("Armed index not updated: ") + e.what());
  }
  if (locked) ReleaseLock(dir, kGeneralLock, kArmedStatusKey);
}

}  // namespace

ArmedGroup SplitAccount(std::string_view account) {
  std::string a(account);
  StripZeros(a);
  ArmedGroup g;
  int value;
  if (a.size() > 2) {
    g.group = a.substr(0, a.size() - 2);
    value = HexValue(std::string_view(a).substr(a.size() - 2));
  } else {
    g.group = "0";
    value = HexValue(a);
  }
  g.slot = value < 0 ? 255 : value & 0xFF;
  return g;
}

std::string OccFileName(std::string_view group) { return "\\ORBA\\" + std::string(group) + ".Occ"; }

AreaStates ReadAreaStates(DataDir& dir, std::string_view account) {
  AreaStates values{};
  ArmedGroup g = SplitAccount(account);
  if (!IsSafeFileComponent(g.group)) return values;
  SharedFile file;
  uint8_t buf[kArmedSlotSize];
  if (OpenShared(dir, file, OccFileName(g.group), kArmedSlotSize) == kIoOk && file.ReadRecord(g.slot, buf) == kIoOk) {
    for (int i = 0; i < kArmedAreas; ++i) values[i] = DecodeSigned32(buf + i * 4);
  }
  CloseShared(dir, file);
  return values;
}

bool AllAreasClosed(DataDir& dir, std::string_view account) {
  for (int32_t v : ReadAreaStates(dir, account))
    if (v < 0) return false;
  return true;
}

void RecordOpening(DataDir& dir, std::string_view account, int area, const DateRecord& date,
                   const TimeRecord& time) {
  // Negated in unsigned arithmetic: a stamp with the top bit set has no positive int32 form.
  Record(dir, account, area, static_cast<int32_t>(0u - Pack(date, time)));
}

void RecordClosing(DataDir& dir, std::string_view account, int area, const DateRecord& date,
                   const TimeRecord& time) {
  Record(dir, account, area, static_cast<int32_t>(Pack(date, time)));
}

}  // namespace duri
