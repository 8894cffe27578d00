// The action log of a month, beside its event history: DEMA.MDC holds one 147-byte entry per e-mail
// notification outcome, DEMA.MDX the HistoryRecNo of entry n at record n, so that the operators'
// application shows each outcome with its event.
#ifndef DURIDUVAZE_ACCOUNTS_ACTION_LOG_H_
#define DURIDUVAZE_ACCOUNTS_ACTION_LOG_H_

#include <cstdint>
#include <span>
#include <string_view>

#include "store/data_dir.h"
#include "store/dates.h"
#include "store/short_string.h"

namespace duri {

struct ActionLogEntry {
  static constexpr int kSize = 147;
  static constexpr int kIndexSize = 4;
  // Offsets in the entry, in file order; every other byte is 0.
  static constexpr int kHistoryRecNoOffset = 17;  // int32
  static constexpr int kTextOffset = 25;          // string[72]
  static constexpr int kTimeOffset = 139;         // 4 x uint16
  // The outcome text is written after this many blanks.
  static constexpr int kTextIndent = 9;

  int32_t history_rec_no = -1;
  ShortString<72> text;
  TimeRecord time;

  void Clear() { *this = ActionLogEntry{}; }
  void Encode(std::span<uint8_t, kSize> dst) const;
  void Decode(std::span<const uint8_t, kSize> src);
};

// Appends the entry (its text indented by 9 blanks, cut to 72) to the action log of the month key,
// after any reorganisation of that month by another station. False when the month's folder does not
// exist or the files cannot be written; the failure goes to the error log.
bool WriteActionLog(DataDir& dir, ActionLogEntry entry, std::string_view period_key);

}  // namespace duri

#endif  // DURIDUVAZE_ACCOUNTS_ACTION_LOG_H_
