// The alarm code table record of CODE.DAC: 1621 bytes, ten code entries of 160 bytes and the number of
// the next record of the area's chain. Written by the operators' application; read by code
// resolution. Reserved bytes are kept as read.
#ifndef DURIDUVAZE_ACCOUNTS_CODE_RECORD_H_
#define DURIDUVAZE_ACCOUNTS_CODE_RECORD_H_

#include <array>
#include <cstdint>

#include "accounts/chained_block.h"
#include "store/short_string.h"

namespace duri {

struct CodeEntry {
  static constexpr int kSize = 160;
  static constexpr int kPatternOffset = 0;          // text 20
  static constexpr int kDescriptionOffset = 21;     // text 40
  static constexpr int kAction1Offset = 62;         // text 40
  static constexpr int kAction2Offset = 103;        // text 39
  static constexpr int kNotifyOffset = 143;         // byte
  static constexpr int kTimeBeginOffset = 144;      // int16 hhmm
  static constexpr int kTimeEndOffset = 146;        // int16 hhmm
  static constexpr int kCodeLevelOffset = 148;      // byte
  static constexpr int kTypeOffset = 149;           // byte
  static constexpr int kPriorityOffset = 150;       // byte
  static constexpr int kCodeOptionOffset = 151;     // byte
  static constexpr int kReservedOffset = 152;       // int32, -1
  static constexpr int kCodeValueOffset = 156;      // int32

  ShortString<20> pattern;
  ShortString<40> description;  // "#" or "*" first: a redirection
  ShortString<40> action1;      // priority action 1: outside the time window
  ShortString<39> action2;      // priority action 2: inside the window, Saturdays and Sundays
  uint8_t notify = 0;
  int16_t time_begin = -1;
  int16_t time_end = -1;
  uint8_t code_level = 0;
  uint8_t type = 255;
  uint8_t priority = 0;
  uint8_t code_option = 255;
  int32_t code_value = -1;
  std::array<uint8_t, kSize> image{};

  CodeEntry() { Clear(); }
  void Clear();
  void Encode(uint8_t* dst) const;
  void Decode(const uint8_t* src);
};

struct CodeRecord : ChainedBlock<CodeEntry, 10> {};
static_assert(CodeRecord::kSize == 1621);


}  // namespace duri

#endif  // DURIDUVAZE_ACCOUNTS_CODE_RECORD_H_
