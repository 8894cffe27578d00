// Lock files of the data directory (GENERAL.LCK, USER.LCK, CLIENT.LCK, BNOTE.LCK): sequences of 52-byte
// records naming which computer holds which key. Stations use them to keep each other out of a month's
// history, the armed-status index or the whole station while one of them reorganises the files.
#ifndef DURIDUVAZE_STORE_LOCK_FILE_H_
#define DURIDUVAZE_STORE_LOCK_FILE_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "store/data_dir.h"
#include "store/short_string.h"

namespace duri {

inline constexpr std::string_view kGeneralLock = "\\ORBA\\GENERAL.LCK";
inline constexpr std::string_view kUserLock = "\\ORBA\\USER.LCK";
inline constexpr std::string_view kClientLock = "\\ORBA\\CLIENT.LCK";
inline constexpr std::string_view kNoteLock = "\\ORBA\\BNOTE.LCK";
inline constexpr std::string_view kProgressLock = "\\ORBA\\PROGRESS.LCK";

inline constexpr std::string_view kArmedStatusKey = "11";
inline constexpr std::string_view kReindexKey = "15";
inline constexpr std::string_view kAccountIndexKey = "16";
// Never released automatically; held also when this computer holds it.
inline constexpr std::string_view kPermanentKey = "17";

struct LockRecord {
  static constexpr int kSize = 52;
  static constexpr int kMaxRecords = 100;  // records past the hundredth are neither seen nor reused
  // Offsets in the record.
  static constexpr int kReservedOffset = 0;  // 8 bytes, zeros
  static constexpr int kComputerNameOffset = 8;
  static constexpr int kKeyOffset = 39;
  static constexpr int kOperatorOffset = 50;

  ShortString<30> computer_name;
  ShortString<10> key;
  int16_t operator_number = 0;

  bool is_free() const { return key.empty(); }
  void Encode(uint8_t* dst) const;
  void Decode(const uint8_t* src);
};

bool IsLockedElsewhere(DataDir& dir, std::string_view lock_file, std::string_view key);
// The same question, naming the holder when the answer is true.
bool IsLockedElsewhere(DataDir& dir, std::string_view lock_file, std::string_view key, std::string* holder);
bool AcquireLock(DataDir& dir, std::string_view lock_file, std::string_view key, bool show_message);
void ReleaseLock(DataDir& dir, std::string_view lock_file, std::string_view key);

// Repeats IsLockedElsewhere until it answers false. After ten seconds the wait is shown on DebugLabel
// with the lock and the holding computer, and written once to the error log. With give_up_ms >= 0 the
// wait ends after that long and the answer is false (the lock was not seen free).
bool WaitUntilFree(DataDir& dir, std::string_view lock_file, std::string_view key, int64_t give_up_ms = -1);

// Waits while a re-index runs (PROGRESS.LCK present and key "15" held elsewhere), showing its progress.
// A PROGRESS.LCK left behind after key "15" was released is waited for at most 60 seconds.
void WaitForReindex(DataDir& dir);

}  // namespace duri

#endif  // DURIDUVAZE_STORE_LOCK_FILE_H_
