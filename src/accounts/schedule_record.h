// The opening and closing schedule of an area: a 469-byte record of CEDULE.CTN with up to five periods
// for each day of the week. The operators' application writes the times and delays; the schedule
// check writes the marks that tell which period was opened or closed on which date.
#ifndef DURIDUVAZE_ACCOUNTS_SCHEDULE_RECORD_H_
#define DURIDUVAZE_ACCOUNTS_SCHEDULE_RECORD_H_

#include <array>
#include <cstdint>

#include "store/short_string.h"

namespace duri {

// One day's periods 1 to 5 (index 0 to 4), six groups of five int16 values.
struct ScheduleDay {
  static constexpr int kSize = 60;
  static constexpr int kPeriods = 5;
  static constexpr int kClosingTimeOffset = 0;
  static constexpr int kClosingMarkOffset = 10;
  static constexpr int kClosingDelayOffset = 20;
  static constexpr int kOpeningTimeOffset = 30;
  static constexpr int kOpeningMarkOffset = 40;
  static constexpr int kOpeningDelayOffset = 50;

  std::array<int16_t, kPeriods> closing_time;   // hhmm, -1: no closing
  std::array<int16_t, kPeriods> closing_mark;   // month * 100 + day, 0, or the negated date
  std::array<int16_t, kPeriods> closing_delay;  // 0 or less: the record's closing delay
  std::array<int16_t, kPeriods> opening_time;   // hhmm, -1: no opening
  std::array<int16_t, kPeriods> opening_mark;
  std::array<int16_t, kPeriods> opening_delay;  // 0 or less: the record's opening delay

  ScheduleDay() { Clear(); }
  void Clear();
  void Encode(uint8_t* dst) const;
  void Decode(const uint8_t* src);
};

struct ScheduleRecord {
  static constexpr int kSize = 469;
  static constexpr int kPeriods = 5;
  static constexpr int kDays = 7;
  static constexpr int kNameOffset = 0;             // text 10
  static constexpr int kReserved11Offset = 11;      // byte
  static constexpr int kDefinedOffset = 12;         // 5 bytes
  static constexpr int kActiveOffset = 17;          // 5 bytes
  static constexpr int kDisplayOpeningOffset = 22;  // byte
  static constexpr int kDisplayClosingOffset = 23;  // byte
  static constexpr int kNormalOcOffset = 24;        // byte
  static constexpr int kOpeningDelayOffset = 25;    // int16
  static constexpr int kLateOpeningOffset = 27;     // int16
  static constexpr int kClosingDelayOffset = 29;    // int16
  static constexpr int kReserved31Offset = 31;      // 9 bytes
  static constexpr int kReserved40Offset = 40;      // 9 bytes
  static constexpr int kDaysOffset = 49;            // 7 x 60, Sunday to Saturday
  // The company settings' default opening and closing delay when none is loaded.
  static constexpr int16_t kDefaultDelay = 30;

  ShortString<10> name;  // empty: the schedule is inactive
  std::array<uint8_t, kPeriods> defined{};
  std::array<uint8_t, kPeriods> active{};
  uint8_t display_normal_opening = 0;
  uint8_t display_normal_closing = 0;
  uint8_t normal_oc = 0;  // normal O/C in schedule
  int16_t opening_delay = kDefaultDelay;
  int16_t late_opening_delay = 0;
  int16_t closing_delay = kDefaultDelay;
  std::array<ScheduleDay, kDays> days{};
  std::array<uint8_t, kDaysOffset> head{};  // the bytes before the day blocks, as read or cleared

  ScheduleRecord() { Clear(kDefaultDelay); }
  // default_delay: the company settings' default opening and closing delay.
  void Clear(int16_t default_delay);
  void Encode(uint8_t* dst) const;
  void Decode(const uint8_t* src);
};

}  // namespace duri

#endif  // DURIDUVAZE_ACCOUNTS_SCHEDULE_RECORD_H_
