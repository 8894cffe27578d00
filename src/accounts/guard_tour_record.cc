#include "accounts/guard_tour_record.h"

#include <cstring>

#include "store/coding.h"

namespace duri {

void GuardTourRecord::Clear() {
  head.fill(0);
  head[kReserved11Offset] = kReserved11Cleared;
  for (auto& day : round_times) day.fill(-1);
  for (auto& day : round_marks) day.fill(0);
}

void GuardTourRecord::Encode(uint8_t* dst) const {
  std::memcpy(dst, head.data(), kRoundTimesOffset);
  for (int d = 0; d < kDays; ++d) {
    for (int k = 0; k < kRounds; ++k) {
      EncodeSigned16(dst + kRoundTimesOffset + 2 * (d * kRounds + k), round_times[d][k]);
      dst[kRoundMarksOffset + d * kRounds + k] = round_marks[d][k];
    }
  }
}

void GuardTourRecord::Decode(const uint8_t* src) {
  std::memcpy(head.data(), src, kRoundTimesOffset);
  for (int d = 0; d < kDays; ++d) {
    for (int k = 0; k < kRounds; ++k) {
      round_times[d][k] = DecodeSigned16(src + kRoundTimesOffset + 2 * (d * kRounds + k));
      round_marks[d][k] = src[kRoundMarksOffset + d * kRounds + k];
    }
  }
}

}  // namespace duri
