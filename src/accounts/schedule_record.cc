#include "accounts/schedule_record.h"

#include <cstring>

#include "store/coding.h"

namespace duri {
namespace {

void EncodeGroup(uint8_t* dst, const std::array<int16_t, ScheduleDay::kPeriods>& values) {
  for (int k = 0; k < ScheduleDay::kPeriods; ++k) EncodeSigned16(dst + 2 * k, values[k]);
}

void DecodeGroup(const uint8_t* src, std::array<int16_t, ScheduleDay::kPeriods>& values) {
  for (int k = 0; k < ScheduleDay::kPeriods; ++k) values[k] = DecodeSigned16(src + 2 * k);
}

}  // namespace

void ScheduleDay::Clear() {
  closing_time.fill(-1);
  closing_mark.fill(-1);
  closing_delay.fill(0);
  opening_time.fill(-1);
  opening_mark.fill(-1);
  opening_delay.fill(0);
}

void ScheduleDay::Encode(uint8_t* dst) const {
  EncodeGroup(dst + kClosingTimeOffset, closing_time);
  EncodeGroup(dst + kClosingMarkOffset, closing_mark);
  EncodeGroup(dst + kClosingDelayOffset, closing_delay);
  EncodeGroup(dst + kOpeningTimeOffset, opening_time);
  EncodeGroup(dst + kOpeningMarkOffset, opening_mark);
  EncodeGroup(dst + kOpeningDelayOffset, opening_delay);
}

void ScheduleDay::Decode(const uint8_t* src) {
  DecodeGroup(src + kClosingTimeOffset, closing_time);
  DecodeGroup(src + kClosingMarkOffset, closing_mark);
  DecodeGroup(src + kClosingDelayOffset, closing_delay);
  DecodeGroup(src + kOpeningTimeOffset, opening_time);
  DecodeGroup(src + kOpeningMarkOffset, opening_mark);
  DecodeGroup(src + kOpeningDelayOffset, opening_delay);
}

void ScheduleRecord::Clear(int16_t default_delay) {
  head.fill(0);
  name.Clear();
  defined.fill(0);
  active.fill(0);
  display_normal_opening = 0;
  display_normal_closing = 0;
  normal_oc = 0;
  opening_delay = default_delay;
  late_opening_delay = 0;
  closing_delay = default_delay;
  for (auto& d : days) d.Clear();
}

void ScheduleRecord::Encode(uint8_t* dst) const {
  std::memcpy(dst, head.data(), kDaysOffset);
  name.Encode(dst + kNameOffset);
  std::memcpy(dst + kDefinedOffset, defined.data(), kPeriods);
  std::memcpy(dst + kActiveOffset, active.data(), kPeriods);
  dst[kDisplayOpeningOffset] = display_normal_opening;
  dst[kDisplayClosingOffset] = display_normal_closing;
  dst[kNormalOcOffset] = normal_oc;
  EncodeSigned16(dst + kOpeningDelayOffset, opening_delay);
  EncodeSigned16(dst + kLateOpeningOffset, late_opening_delay);
  EncodeSigned16(dst + kClosingDelayOffset, closing_delay);
  for (int d = 0; d < kDays; ++d) days[d].Encode(dst + kDaysOffset + d * ScheduleDay::kSize);
}

void ScheduleRecord::Decode(const uint8_t* src) {
  std::memcpy(head.data(), src, kDaysOffset);
  name.Decode(src + kNameOffset);
  std::memcpy(defined.data(), src + kDefinedOffset, kPeriods);
  std::memcpy(active.data(), src + kActiveOffset, kPeriods);
  display_normal_opening = src[kDisplayOpeningOffset];
  display_normal_closing = src[kDisplayClosingOffset];
  normal_oc = src[kNormalOcOffset];
  opening_delay = DecodeSigned16(src + kOpeningDelayOffset);
  late_opening_delay = DecodeSigned16(src + kLateOpeningOffset);
  closing_delay = DecodeSigned16(src + kClosingDelayOffset);
  for (int d = 0; d < kDays; ++d) days[d].Decode(src + kDaysOffset + d * ScheduleDay::kSize);
}

}  // namespace duri
