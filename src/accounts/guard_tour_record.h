// The guard-tour record of GUARDIAN.DAT: 2112 bytes, up to 100 round times for each day of the week
// and, beside each, the day of the month on which that round was last answered.
#ifndef DURIDUVAZE_ACCOUNTS_GUARD_TOUR_RECORD_H_
#define DURIDUVAZE_ACCOUNTS_GUARD_TOUR_RECORD_H_

#include <array>
#include <cstdint>

namespace duri {

struct GuardTourRecord {
  static constexpr int kSize = 2112;
  static constexpr int kDays = 7;
  static constexpr int kRounds = 100;
  static constexpr int kReservedTextOffset = 0;  // text 10
  static constexpr int kReserved11Offset = 11;   // byte, 5
  static constexpr int kRoundTimesOffset = 12;   // 7 x 100 int16 hhmm, Sunday first
  static constexpr int kRoundMarksOffset = 1412; // 7 x 100 bytes, same order
  static constexpr uint8_t kReserved11Cleared = 5;

  using DayTimes = std::array<int16_t, kRounds>;
  using DayMarks = std::array<uint8_t, kRounds>;

  std::array<DayTimes, kDays> round_times;  // -1: no round
  std::array<DayMarks, kDays> round_marks;  // day of the month the round was answered
  std::array<uint8_t, kRoundTimesOffset> head{};  // the bytes before the round times

  GuardTourRecord() { Clear(); }
  void Clear();
  void Encode(uint8_t* dst) const;
  void Decode(const uint8_t* src);
};

}  // namespace duri

#endif  // DURIDUVAZE_ACCOUNTS_GUARD_TOUR_RECORD_H_
