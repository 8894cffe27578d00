// The date and time of day as the clock hands them out and every record carries them, with the
// calendar arithmetic the clock itself needs (leap years, month lengths, day of week, adding days).
// What the shared files make of them (valid ranges, the pending stack's packed stamp, period keys,
// texts) is the store's, in store/dates.h.
#ifndef DURIDUVAZE_PLATFORM_CALENDAR_H_
#define DURIDUVAZE_PLATFORM_CALENDAR_H_

#include <cstdint>

namespace duri {

// Four unsigned 16-bit words: year, month, day, day of week (0 = Sunday).
struct DateRecord {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t day = 0;
  uint16_t day_of_week = 0;
  static constexpr int kEncodedSize = 8;
  void Encode(uint8_t* dst) const;
  void Decode(const uint8_t* src);
  friend bool operator==(const DateRecord&, const DateRecord&) = default;
};

// Four unsigned 16-bit words: hour, minute, second, fraction (milliseconds from the clock, hundredths
// once the store has checked the time).
struct TimeRecord {
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t fraction = 0;
  static constexpr int kEncodedSize = 8;
  void Encode(uint8_t* dst) const;
  void Decode(const uint8_t* src);
  friend bool operator==(const TimeRecord&, const TimeRecord&) = default;
};

// Two-digit years: 85..99 are 1985..1999, 0..84 are 2000..2084.
int ExpandYear(int year);
bool IsLeapYear(int year);
int MonthLength(int year, int month);  // 0 for a month outside 1..12

// Expands a two-digit year and recomputes the day of week. A month outside 1..12 (a garbled receiver
// stamp) keeps the date as it is, which no check of a valid date accepts.
void FixDate(DateRecord& date);
int CompareDates(const DateRecord& a, const DateRecord& b);  // -1, 0, 1; day of week ignored
void AddDays(DateRecord& date, int count);

}  // namespace duri

#endif  // DURIDUVAZE_PLATFORM_CALENDAR_H_
