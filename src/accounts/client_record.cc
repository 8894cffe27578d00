#include "accounts/client_record.h"

#include <cstring>

#include "store/coding.h"

namespace duri {

void AreaBlock::Clear() {
  // Texts empty and their bytes zero; numbers -1 or 0 as the operators' application clears them.
  image.fill(0);
  EncodeSigned32(&image[kReserved6Offset], -1);
  EncodeSigned16(&image[kReserved7Offset], 0);
  EncodeSigned32(&image[kReserved8Offset], -1);
  EncodeSigned16(&image[kReserved9Offset], 0);
  name.Clear();
  schedule = -1;
  user_table = -1;
  code_table = -1;
  Encode(image.data());
}

void AreaBlock::Encode(uint8_t* dst) const {
  std::memcpy(dst, image.data(), kSize);
  name.Encode(dst + kNameOffset);
  EncodeSigned32(dst + kScheduleOffset, schedule);
  EncodeSigned32(dst + kUserTableOffset, user_table);
  EncodeSigned32(dst + kCodeTableOffset, code_table);
}

void AreaBlock::Decode(const uint8_t* src) {
  std::memcpy(image.data(), src, kSize);
  name.Decode(src + kNameOffset);
  schedule = DecodeSigned32(src + kScheduleOffset);
  user_table = DecodeSigned32(src + kUserTableOffset);
  code_table = DecodeSigned32(src + kCodeTableOffset);
}

void ClientRecord::Clear() {
  image.fill(0);
  uint8_t* p = image.data();
  EncodeSigned16(p + kReserved172Offset, -1);
  for (int i = 0; i < 5; ++i) {
    uint8_t* entry = p + kReservedListOffset + i * kReservedListEntrySize;
    entry[kReservedListFlagInEntry] = 1;
    EncodeSigned32(entry + kReservedListNumberInEntry, -1);
  }
  EncodeSigned16(p + kReserved957Offset, -1);
  p[kReserved1214Offset] = 255;
  found = 0;
  account.Clear();
  name.Clear();
  address1.Clear();
  address2.Clear();
  address3.Clear();
  notify_entry = -1;
  guard_tour = -1;
  auto_test = -1;
  for (auto& g : group_names) g.Clear();
  for (auto& a : areas) a.Clear();
  current_area = 0;
  Encode(p);
}

void ClientRecord::Encode(uint8_t* dst) const {
  std::memcpy(dst, image.data(), kSize);
  dst[kFoundOffset] = found;
  account.Encode(dst + kAccountOffset);
  name.Encode(dst + kNameOffset);
  address1.Encode(dst + kAddress1Offset);
  address2.Encode(dst + kAddress2Offset);
  address3.Encode(dst + kAddress3Offset);
  EncodeSigned32(dst + kNotifyEntryOffset, notify_entry);
  EncodeSigned32(dst + kGuardTourOffset, guard_tour);
  EncodeSigned32(dst + kAutoTestOffset, auto_test);
  for (int i = 0; i < kGroupCount; ++i) group_names[i].Encode(dst + kGroupNamesOffset + i * 9);
  for (int i = 0; i < kAreaCount; ++i) areas[i].Encode(dst + kAreasOffset + i * AreaBlock::kSize);
  dst[kCurrentAreaOffset] = current_area;
}

void ClientRecord::Decode(const uint8_t* src) {
  std::memcpy(image.data(), src, kSize);
  found = src[kFoundOffset];
  account.Decode(src + kAccountOffset);
  name.Decode(src + kNameOffset);
  address1.Decode(src + kAddress1Offset);
  address2.Decode(src + kAddress2Offset);
  address3.Decode(src + kAddress3Offset);
  notify_entry = DecodeSigned32(src + kNotifyEntryOffset);
  guard_tour = DecodeSigned32(src + kGuardTourOffset);
  auto_test = DecodeSigned32(src + kAutoTestOffset);
  for (int i = 0; i < kGroupCount; ++i) group_names[i].Decode(src + kGroupNamesOffset + i * 9);
  for (int i = 0; i < kAreaCount; ++i) areas[i].Decode(src + kAreasOffset + i * AreaBlock::kSize);
  current_area = src[kCurrentAreaOffset];
}

}  // namespace duri
