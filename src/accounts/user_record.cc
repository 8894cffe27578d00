#include "accounts/user_record.h"

#include <cstring>

#include "store/coding.h"

namespace duri {

void UserEntry::Clear() {
  image.fill(0);
  name.Clear();
  in_out_codes.Clear();
  authorized_days.fill(1);
  begin_date = DateRecord{};
  end_date = DateRecord{};
  hot_user = 0;
  Encode(image.data());
}

void UserEntry::Encode(uint8_t* dst) const {
  std::memcpy(dst, image.data(), kSize);
  name.Encode(dst + kNameOffset);
  in_out_codes.Encode(dst + kInOutCodesOffset);
  std::memcpy(dst + kDaysOffset, authorized_days.data(), authorized_days.size());
  begin_date.Encode(dst + kBeginDateOffset);
  end_date.Encode(dst + kEndDateOffset);
  dst[kHotUserOffset] = hot_user;
}

void UserEntry::Decode(const uint8_t* src) {
  std::memcpy(image.data(), src, kSize);
  name.Decode(src + kNameOffset);
  in_out_codes.Decode(src + kInOutCodesOffset);
  std::memcpy(authorized_days.data(), src + kDaysOffset, authorized_days.size());
  begin_date.Decode(src + kBeginDateOffset);
  end_date.Decode(src + kEndDateOffset);
  hot_user = src[kHotUserOffset];
}

}  // namespace duri
