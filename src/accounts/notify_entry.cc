#include "accounts/notify_entry.h"

#include <cstring>

namespace duri {

void NotifyEntry::Encode(uint8_t* dst) const {
  std::memcpy(dst + kOwnedOffset, owned.data(), kOwnedSize);
  dst[kKindOffset] = kind;
  destination1.Encode(dst + kDestination1Offset);
  destination2.Encode(dst + kDestination2Offset);
  dst[kOption1Offset] = option1;
  dst[kOption2Offset] = option2;
}

void NotifyEntry::Decode(const uint8_t* src) {
  std::memcpy(owned.data(), src + kOwnedOffset, kOwnedSize);
  kind = src[kKindOffset];
  destination1.Decode(src + kDestination1Offset);
  destination2.Decode(src + kDestination2Offset);
  option1 = src[kOption1Offset];
  option2 = src[kOption2Offset];
}

}  // namespace duri
