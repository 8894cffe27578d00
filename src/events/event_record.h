// The 200-byte event record of the month's history (EVENT.MDC), of the last-100 file and of the print
// batch, and the 730-byte comment block of COMMENT.MDC. The operators' application reads and changes
// these records too, so the layout is frozen.
#ifndef DURIDUVAZE_EVENTS_EVENT_RECORD_H_
#define DURIDUVAZE_EVENTS_EVENT_RECORD_H_

#include <array>
#include <cstdint>
#include <span>

#include "store/dates.h"
#include "store/short_string.h"

namespace duri {

// Given to ActionList when no code entry gives a list of its own.
inline constexpr std::string_view kDefaultActionList = "016789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

struct EventRecord {
  static constexpr int kSize = 200;
  // Offsets in the record, in file order.
  static constexpr int kAccountOffset = 0;            // string[10]
  static constexpr int kDescriptionOffset = 11;       // string[100]
  static constexpr int kActionListOffset = 112;       // string[40]
  static constexpr int kHandlingWordOffset = 153;     // int16, the operators' application's
  static constexpr int kAutoHandledOffset = 155;
  static constexpr int kHandlingByte1Offset = 156;
  static constexpr int kHandlingByte2Offset = 157;
  static constexpr int kCommentRecNoOffset = 158;     // int32
  static constexpr int kCodeOptionOffset = 162;
  static constexpr int kCodeValueOffset = 163;        // int32
  static constexpr int kPriorityOffset = 167;
  static constexpr int kCodeLevelOffset = 168;
  static constexpr int kEventTypeOffset = 169;
  static constexpr int kHandlingCharOffset = 170;
  static constexpr int kAreaOffset = 171;
  static constexpr int kTimeOffset = 172;             // 4 x uint16
  static constexpr int kDateOffset = 180;             // 4 x uint16
  static constexpr int kAccountRecNoOffset = 188;     // int32
  static constexpr int kNotifyRecNoOffset = 192;      // int32
  static constexpr int kHistoryRecNoOffset = 196;     // int32
  // EVENT.MDX holds the first bytes of the record: the Account field.
  static constexpr int kIndexSize = 11;

  ShortString<10> account;
  ShortString<100> description;
  ShortString<40> action_list;
  int16_t handling_word = -1;
  uint8_t auto_handled = 0;
  uint8_t handling_byte1 = 255;
  uint8_t handling_byte2 = 0;
  int32_t comment_rec_no = -1;
  uint8_t code_option = 255;
  int32_t code_value = -1;
  uint8_t priority = 0;
  uint8_t code_level = 0;
  uint8_t event_type = 255;
  char handling_char = ' ';
  uint8_t area = 0;
  TimeRecord time;
  DateRecord date{1980, 1, 1, 2};
  int32_t account_rec_no = -1;
  int32_t notify_rec_no = -1;
  int32_t history_rec_no = -1;

  // The initial values every new event starts from.
  void Clear() { *this = EventRecord{}; }
  void Encode(std::span<uint8_t, kSize> dst) const;
  void Decode(std::span<const uint8_t, kSize> src);
  std::array<uint8_t, kSize> Encoded() const {
    std::array<uint8_t, kSize> buf;
    Encode(buf);
    return buf;
  }
};

// Ten comment lines of string[72]; referenced from an event by CommentRecNo.
struct CommentBlock {
  static constexpr int kLines = 10;
  static constexpr int kLineSize = 73;
  static constexpr int kSize = kLines * kLineSize;  // 730

  std::array<ShortString<72>, kLines> lines;

  void Clear() { lines = {}; }
  bool IsEmpty() const;
  void Encode(std::span<uint8_t, kSize> dst) const;
  void Decode(std::span<const uint8_t, kSize> src);
};

}  // namespace duri

#endif  // DURIDUVAZE_EVENTS_EVENT_RECORD_H_
