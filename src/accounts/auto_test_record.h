// The automatic-test record of AUTOTEST.DAT: 22 bytes, of which this module writes only the time the
// last test arrived; the rest is the operators' application's and is kept as read.
#ifndef DURIDUVAZE_ACCOUNTS_AUTO_TEST_RECORD_H_
#define DURIDUVAZE_ACCOUNTS_AUTO_TEST_RECORD_H_

#include <array>
#include <cstdint>

namespace duri {

struct AutoTestRecord {
  static constexpr int kSize = 22;
  static constexpr int kOwnedHeadOffset = 0;   // 11 bytes
  static constexpr int kOwnedHeadSize = 11;
  static constexpr int kLastTestOffset = 11;   // packed date and time, unsigned 32-bit
  static constexpr int kOwnedTailOffset = 15;  // 7 bytes
  static constexpr int kOwnedTailSize = 7;

  std::array<uint8_t, kOwnedHeadSize> owned_head{};
  uint32_t last_test = 0;
  std::array<uint8_t, kOwnedTailSize> owned_tail{};

  // Every byte 0.
  void Clear() { *this = AutoTestRecord{}; }
  void Encode(uint8_t* dst) const;
  void Decode(const uint8_t* src);
};

}  // namespace duri

#endif  // DURIDUVAZE_ACCOUNTS_AUTO_TEST_RECORD_H_
