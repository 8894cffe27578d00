// A notification entry of PAGER.DAT: 158 bytes naming where an event is passed on (pager, e-mail or
// SMS). The number that selects an entry is its byte position in the file, not an index.
#ifndef DURIDUVAZE_ACCOUNTS_NOTIFY_ENTRY_H_
#define DURIDUVAZE_ACCOUNTS_NOTIFY_ENTRY_H_

#include <array>
#include <cstdint>

#include "store/short_string.h"

namespace duri {

struct NotifyEntry {
  static constexpr int kSize = 158;
  static constexpr int kOwnedOffset = 0;           // 11 bytes of the operators' application
  static constexpr int kOwnedSize = 11;
  static constexpr int kKindOffset = 11;           // byte
  static constexpr int kDestination1Offset = 12;   // text 60
  static constexpr int kDestination2Offset = 73;   // text 82
  static constexpr int kOption1Offset = 156;       // byte
  static constexpr int kOption2Offset = 157;       // byte

  static constexpr uint8_t kKindPager1 = 1;
  static constexpr uint8_t kKindPager2 = 2;
  static constexpr uint8_t kKindEmail = 3;
  static constexpr uint8_t kKindSms = 4;

  std::array<uint8_t, kOwnedSize> owned{};
  uint8_t kind = 0;
  ShortString<60> destination1;  // e-mail address (kind 3) or telephone number (kind 4)
  ShortString<82> destination2;  // second e-mail address (kind 3)
  uint8_t option1 = 0;
  uint8_t option2 = 0;

  // The cleared entry: every byte 0.
  void Clear() { *this = NotifyEntry{}; }
  void Encode(uint8_t* dst) const;
  void Decode(const uint8_t* src);
};

}  // namespace duri

#endif  // DURIDUVAZE_ACCOUNTS_NOTIFY_ENTRY_H_
