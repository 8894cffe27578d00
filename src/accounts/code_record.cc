#include "accounts/code_record.h"

#include <cstring>

#include "store/coding.h"

namespace duri {

void CodeEntry::Clear() {
  image.fill(0);
  EncodeSigned32(&image[kReservedOffset], -1);
  pattern.Clear();
  description.Clear();
  action1.Clear();
  action2.Clear();
  notify = 0;
  time_begin = -1;
  time_end = -1;
  code_level = 0;
  type = 255;
  priority = 0;
  code_option = 255;
  code_value = -1;
  Encode(image.data());
}

void CodeEntry::Encode(uint8_t* dst) const {
  std::memcpy(dst, image.data(), kSize);
  pattern.Encode(dst + kPatternOffset);
  description.Encode(dst + kDescriptionOffset);
  action1.Encode(dst + kAction1Offset);
  action2.Encode(dst + kAction2Offset);
  dst[kNotifyOffset] = notify;
  EncodeSigned16(dst + kTimeBeginOffset, time_begin);
  EncodeSigned16(dst + kTimeEndOffset, time_end);
  dst[kCodeLevelOffset] = code_level;
  dst[kTypeOffset] = type;
  dst[kPriorityOffset] = priority;
  dst[kCodeOptionOffset] = code_option;
  EncodeSigned32(dst + kCodeValueOffset, code_value);
}

void CodeEntry::Decode(const uint8_t* src) {
  std::memcpy(image.data(), src, kSize);
  pattern.Decode(src + kPatternOffset);
  description.Decode(src + kDescriptionOffset);
  action1.Decode(src + kAction1Offset);
  action2.Decode(src + kAction2Offset);
  notify = src[kNotifyOffset];
  time_begin = DecodeSigned16(src + kTimeBeginOffset);
  time_end = DecodeSigned16(src + kTimeEndOffset);
  code_level = src[kCodeLevelOffset];
  type = src[kTypeOffset];
  priority = src[kPriorityOffset];
  code_option = src[kCodeOptionOffset];
  code_value = DecodeSigned32(src + kCodeValueOffset);
}

}  // namespace duri
