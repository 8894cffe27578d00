// Date and time records as the shared files carry them, and the arithmetic the system does on them.
#ifndef DURIDUVAZE_STORE_DATES_H_
#define DURIDUVAZE_STORE_DATES_H_

#include <cstdint>
#include <string>

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
// after ValidTime).
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

inline void ClearRecord(DateRecord& d) { d = DateRecord{}; }
inline void ClearRecord(TimeRecord& t) { t = TimeRecord{}; }
inline bool IsZeroRecord(const DateRecord& d) { return d == DateRecord{}; }
inline bool IsZeroRecord(const TimeRecord& t) { return t == TimeRecord{}; }

// Two-digit years: 85..99 are 1985..1999, 0..84 are 2000..2084.
int ExpandYear(int year);
bool IsLeapYear(int year);
int MonthLength(int year, int month);  // 0 for a month outside 1..12

bool ValidTime(TimeRecord& time);  // sets a fraction above 99 to 50
bool ValidDate(const DateRecord& date);
// Expands a two-digit year and recomputes the day of week. A month outside 1..12 (a garbled receiver
// stamp) keeps the date as it is for ValidDate to reject.
void FixDate(DateRecord& date);
int CompareDates(const DateRecord& a, const DateRecord& b);  // -1, 0, 1; day of week ignored
void AddDays(DateRecord& date, int count);

// HHMM values: hour * 100 + minute, signed.
int TimeToHHMM(const TimeRecord& time);
int HHMMToHundredths(int v);
int HundredthsToHHMM(int v);
int AddHHMM(int a, int b, int c);
int SubHHMM(int a, int b, int c);

// The pending stack's 32-bit time stamp (year - 1980 in the top seven bits down to second / 4).
uint32_t Pack(const DateRecord& date, const TimeRecord& time);
void Unpack(uint32_t stamp, DateRecord& date, TimeRecord& time);

// Year in decimal then two-digit month: "202612".
std::string PeriodKey(const DateRecord& date);
std::string DateText(const DateRecord& date);  // "2026/12/08", empty when ValidDate fails
std::string TimeText(const TimeRecord& time);  // "04:07:09"
// Style 's' or 'c' adds seconds, 'c' also ".ff"; empty when ValidTime fails.
std::string ShortTimeText(const TimeRecord& time, char style);

}  // namespace duri

#endif  // DURIDUVAZE_STORE_DATES_H_
