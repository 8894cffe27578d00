// Area armed status: for every account and each of its 11 areas, when the area was last closed
// (armed, the packed date and time of the event) or opened (disarmed, the negated packed value); 0 when
// nothing was recorded. Accounts are grouped 256 to a file by the last two characters of the account
// number: group + ".Occ" holds 256 slots of 11 int32 values, and Armed.Inx lists the groups that have
// a file. The operators' application shows the armed systems from the same files.
#ifndef DURIDUVAZE_ACCOUNTS_ARMED_STATUS_H_
#define DURIDUVAZE_ACCOUNTS_ARMED_STATUS_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/data_dir.h"
#include "store/dates.h"

namespace duri {

inline constexpr std::string_view kArmedIndexFile = "\\ORBA\\Armed.Inx";
inline constexpr int kArmedAreas = 11;
inline constexpr int kArmedSlots = 256;
inline constexpr int kArmedSlotSize = kArmedAreas * 4;                  // 44
inline constexpr int kArmedImageSize = kArmedSlots * kArmedSlotSize;    // 11264
// A station that crashed while holding lock "11" leaves its record in GENERAL.LCK; the status is
// written without the lock after this long rather than holding up alarm intake for good.
inline constexpr int64_t kArmedLockGiveUpMs = 30000;

using AreaStates = std::array<int32_t, kArmedAreas>;

struct ArmedGroup {
  std::string group;  // file name without ".Occ"
  int slot = 255;     // 0..255
};

// Leading zeros removed; more than two characters: the group is all but the last two and the slot those
// two read as hexadecimal; otherwise group "0" and the whole account as hexadecimal. A text that is not
// hexadecimal reads as -1, which as a slot byte is 255.
ArmedGroup SplitAccount(std::string_view account);
// "\ORBA\" + group + ".Occ"
std::string OccFileName(std::string_view group);

// The 11 values of the account; all 0 when its file cannot be read.
AreaStates ReadAreaStates(DataDir& dir, std::string_view account);
// True when no area of the account is open (no negative value).
bool AllAreasClosed(DataDir& dir, std::string_view account);

// Records an opening (negated packed date and time) or a closing (packed date and time) of an area
// 0..10; an area outside that range records nothing. Written under lock "11" of GENERAL.LCK.
void RecordOpening(DataDir& dir, std::string_view account, int area, const DateRecord& date,
                   const TimeRecord& time);
void RecordClosing(DataDir& dir, std::string_view account, int area, const DateRecord& date,
                   const TimeRecord& time);

}  // namespace duri

#endif  // DURIDUVAZE_ACCOUNTS_ARMED_STATUS_H_
