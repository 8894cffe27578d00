#include "events/event_record.h"

#include <cstring>

#include "store/coding.h"

namespace duri {

void EventRecord::Encode(std::span<uint8_t, kSize> dst) const {
  uint8_t* p = dst.data();
  std::memset(p, 0, kSize);
  account.Encode(p + kAccountOffset);
  description.Encode(p + kDescriptionOffset);
  action_list.Encode(p + kActionListOffset);
  EncodeSigned16(p + kHandlingWordOffset, handling_word);
  p[kAutoHandledOffset] = auto_handled;
  p[kHandlingByte1Offset] = handling_byte1;
  p[kHandlingByte2Offset] = handling_byte2;
  EncodeSigned32(p + kCommentRecNoOffset, comment_rec_no);
  p[kCodeOptionOffset] = code_option;
  EncodeSigned32(p + kCodeValueOffset, code_value);
  p[kPriorityOffset] = priority;
  p[kCodeLevelOffset] = code_level;
  p[kEventTypeOffset] = event_type;
  p[kHandlingCharOffset] = static_cast<uint8_t>(handling_char);
  p[kAreaOffset] = area;
  time.Encode(p + kTimeOffset);
  date.Encode(p + kDateOffset);
  EncodeSigned32(p + kAccountRecNoOffset, account_rec_no);
  EncodeSigned32(p + kNotifyRecNoOffset, notify_rec_no);
  EncodeSigned32(p + kHistoryRecNoOffset, history_rec_no);
}

void EventRecord::Decode(std::span<const uint8_t, kSize> src) {
  const uint8_t* p = src.data();
  account.Decode(p + kAccountOffset);
  description.Decode(p + kDescriptionOffset);
  action_list.Decode(p + kActionListOffset);
  handling_word = DecodeSigned16(p + kHandlingWordOffset);
  auto_handled = p[kAutoHandledOffset];
  handling_byte1 = p[kHandlingByte1Offset];
  handling_byte2 = p[kHandlingByte2Offset];
  comment_rec_no = DecodeSigned32(p + kCommentRecNoOffset);
  code_option = p[kCodeOptionOffset];
  code_value = DecodeSigned32(p + kCodeValueOffset);
  priority = p[kPriorityOffset];
  code_level = p[kCodeLevelOffset];
  event_type = p[kEventTypeOffset];
  handling_char = static_cast<char>(p[kHandlingCharOffset]);
  area = p[kAreaOffset];
  time.Decode(p + kTimeOffset);
  date.Decode(p + kDateOffset);
  account_rec_no = DecodeSigned32(p + kAccountRecNoOffset);
  notify_rec_no = DecodeSigned32(p + kNotifyRecNoOffset);
  history_rec_no = DecodeSigned32(p + kHistoryRecNoOffset);
}

bool CommentBlock::IsEmpty() const {
  for (const ShortString<72>& line : lines)
    if (!line.empty()) return false;
  return true;
}

void CommentBlock::Encode(std::span<uint8_t, kSize> dst) const {
  for (int i = 0; i < kLines; ++i) lines[i].Encode(dst.data() + i * kLineSize);
}

void CommentBlock::Decode(std::span<const uint8_t, kSize> src) {
  for (int i = 0; i < kLines; ++i) lines[i].Decode(src.data() + i * kLineSize);
}

}  // namespace duri
