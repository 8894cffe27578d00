// The user table record of USERID.DAC: 2221 bytes, ten user entries of 220 bytes and the number of the
// next record of the area's chain. A user entry names a keypad code holder: the user numbers that
// identify them in events, the days on which they may open, a period in which they may not, and
// whether they are a hot user.
#ifndef DURIDUVAZE_ACCOUNTS_USER_RECORD_H_
#define DURIDUVAZE_ACCOUNTS_USER_RECORD_H_

#include <array>
#include <cstdint>

#include "accounts/chained_block.h"
#include "store/dates.h"
#include "store/short_string.h"

namespace duri {

struct UserEntry {
  static constexpr int kSize = 220;
  static constexpr int kNameOffset = 0;          // text 40
  static constexpr int kReserved41Offset = 41;   // text 15
  static constexpr int kInOutCodesOffset = 57;   // text 20
  static constexpr int kDaysOffset = 78;         // 7 bytes, Sunday to Saturday
  static constexpr int kBeginDateOffset = 85;    // date record
  static constexpr int kEndDateOffset = 93;      // date record
  static constexpr int kHotUserOffset = 101;     // byte
  static constexpr int kReserved102Offset = 102; // text 6, then texts 15, 15, 15, 20, 20, 20

  ShortString<40> name;
  ShortString<20> in_out_codes;  // one user number, or two separated by ","
  std::array<uint8_t, 7> authorized_days;
  DateRecord begin_date;  // all zero: not set
  DateRecord end_date;
  uint8_t hot_user = 0;
  std::array<uint8_t, kSize> image{};

  UserEntry() { Clear(); }
  void Clear();
  void Encode(uint8_t* dst) const;
  void Decode(const uint8_t* src);
};

struct UserRecord : ChainedBlock<UserEntry, 10> {};
static_assert(UserRecord::kSize == 2221);

// A date of a user entry is not set when its year, month and day are all 0.
inline bool IsDateSet(const DateRecord& d) { return d.year != 0 || d.month != 0 || d.day != 0; }

}  // namespace duri

#endif  // DURIDUVAZE_ACCOUNTS_USER_RECORD_H_
