#include "accounts/auto_test_record.h"

#include <cstring>

#include "store/coding.h"

namespace duri {

void AutoTestRecord::Encode(uint8_t* dst) const {
  std::memcpy(dst + kOwnedHeadOffset, owned_head.data(), kOwnedHeadSize);
  EncodeFixed32(dst + kLastTestOffset, last_test);
  std::memcpy(dst + kOwnedTailOffset, owned_tail.data(), kOwnedTailSize);
}

void AutoTestRecord::Decode(const uint8_t* src) {
  std::memcpy(owned_head.data(), src + kOwnedHeadOffset, kOwnedHeadSize);
  last_test = DecodeFixed32(src + kLastTestOffset);
  std::memcpy(owned_tail.data(), src + kOwnedTailOffset, kOwnedTailSize);
}

}  // namespace duri
