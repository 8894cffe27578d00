// What the shared files make of the date and time records (platform/calendar.h): the dates a record
// may hold, cleared records, HHMM arithmetic, the pending stack's packed stamp, period keys and texts.
#ifndef DURIDUVAZE_STORE_DATES_H_
#define DURIDUVAZE_STORE_DATES_H_

#include <cstdint>
#include <string>

#include "platform/calendar.h"

namespace duri {

inline void ClearRecord(DateRecord& d) { d = DateRecord{}; }
inline void ClearRecord(TimeRecord& t) { t = TimeRecord{}; }
inline bool IsZeroRecord(const DateRecord& d) { return d == DateRecord{}; }
inline bool IsZeroRecord(const TimeRecord& t) { return t == TimeRecord{}; }

bool ValidTime(TimeRecord& time);  // sets a fraction above 99 to 50
bool ValidDate(const DateRecord& date);

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
