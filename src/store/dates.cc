#include "store/dates.h"

#include <cmath>
#include <cstdio>

#include "store/coding.h"

namespace duri {
namespace {

constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

std::string TwoDigits(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

// Rounds to the nearest integer, halves to the even neighbour (the original's Round).
int RoundHalfEven(double x) { return static_cast<int>(std::nearbyint(x)); }

}  // namespace

void DateRecord::Encode(uint8_t* dst) const {
  EncodeFixed16(dst, year);
  EncodeFixed16(dst + 2, month);
  EncodeFixed16(dst + 4, day);
  EncodeFixed16(dst + 6, day_of_week);
}

void DateRecord::Decode(const uint8_t* src) {
  year = DecodeFixed16(src);
  month = DecodeFixed16(src + 2);
  day = DecodeFixed16(src + 4);
  day_of_week = DecodeFixed16(src + 6);
}

void TimeRecord::Encode(uint8_t* dst) const {
  EncodeFixed16(dst, hour);
  EncodeFixed16(dst + 2, minute);
  EncodeFixed16(dst + 4, second);
  EncodeFixed16(dst + 6, fraction);
}

void TimeRecord::Decode(const uint8_t* src) {
  hour = DecodeFixed16(src);
  minute = DecodeFixed16(src + 2);
  second = DecodeFixed16(src + 4);
  fraction = DecodeFixed16(src + 6);
}

int ExpandYear(int year) {
  if (year >= 85 && year <= 99) return year + 1900;
  if (year >= 0 && year <= 84) return year + 2000;
  return year;
}

bool IsLeapYear(int year) {
  year = ExpandYear(year);
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int MonthLength(int year, int month) {
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsLeapYear(year)) return 29;
  return kMonthDays[month - 1];
}

bool ValidTime(TimeRecord& time) {
  if (time.hour > 23 || time.minute > 59 || time.second > 59) return false;
  if (time.fraction > 99) time.fraction = 50;
  return true;
}

bool ValidDate(const DateRecord& date) {
  if (date.year < 1980 || date.year > 2098) return false;
  if (date.month < 1 || date.month > 12) return false;
  return date.day >= 1 && date.day <= MonthLength(date.year, date.month);
}

void FixDate(DateRecord& date) {
  date.year = static_cast<uint16_t>(ExpandYear(date.year));
  if (date.month < 1 || date.month > 12) return;
  // Wide integers: a field read as -1 is 65535 and the sum must not wrap.
  int64_t y = static_cast<int64_t>(date.year) - 1;
  int64_t sum = 0;
  for (int m = 1; m < date.month; ++m) sum += kMonthDays[m - 1];
  sum += date.day;
  if (date.month > 2 && IsLeapYear(date.year)) sum += 1;
  sum += y / 4 + y + y / 400 - y / 100;
  int64_t dow = sum % 7;
  if (dow < 0) dow += 7;
  date.day_of_week = static_cast<uint16_t>(dow);
}

int CompareDates(const DateRecord& a, const DateRecord& b) {
  if (a.year != b.year) return a.year < b.year ? -1 : 1;
  if (a.month != b.month) return a.month < b.month ? -1 : 1;
  if (a.day != b.day) return a.day < b.day ? -1 : 1;
  return 0;
}

void AddDays(DateRecord& date, int count) {
  for (int i = 0; i < count; ++i) {
    date.day_of_week = static_cast<uint16_t>(date.day_of_week >= 6 ? 0 : date.day_of_week + 1);
    if (date.day >= MonthLength(date.year, date.month)) {
      date.day = 1;
      if (date.month >= 12) {
        date.month = 1;
        ++date.year;
      } else {
        ++date.month;
      }
    } else {
      ++date.day;
    }
  }
}

int TimeToHHMM(const TimeRecord& time) { return time.hour * 100 + time.minute; }

// div and mod truncate toward zero, as the original's integer operators do.
int HHMMToHundredths(int v) { return (v / 100) * 100 + RoundHalfEven((v % 100) * 100 / 60.0); }
int HundredthsToHHMM(int v) { return (v / 100) * 100 + RoundHalfEven((v % 100) * 60 / 100.0); }

int AddHHMM(int a, int b, int c) {
  return HundredthsToHHMM(HHMMToHundredths(a) + HHMMToHundredths(b) + HHMMToHundredths(c));
}

int SubHHMM(int a, int b, int c) {
  return HundredthsToHHMM(HHMMToHundredths(a) - HHMMToHundredths(b) - HHMMToHundredths(c));
}

uint32_t Pack(const DateRecord& date, const TimeRecord& time) {
  uint32_t stamp = 0;
  stamp += static_cast<uint32_t>((date.year - 1980) & 0x7F) << 25;
  stamp += static_cast<uint32_t>(date.month & 0x0F) << 21;
  stamp += static_cast<uint32_t>(date.day & 0x1F) << 16;
  stamp += static_cast<uint32_t>(time.hour & 0x1F) << 11;
  stamp += static_cast<uint32_t>(time.minute & 0x3F) << 5;
  stamp += static_cast<uint32_t>((time.second / 4) & 0x3F);
  return stamp;
}

void Unpack(uint32_t stamp, DateRecord& date, TimeRecord& time) {
  date.year = static_cast<uint16_t>(((stamp >> 25) & 0x7F) + 1980);
  date.month = static_cast<uint16_t>((stamp >> 21) & 0x0F);
  date.day = static_cast<uint16_t>((stamp >> 16) & 0x1F);
  time.hour = static_cast<uint16_t>((stamp >> 11) & 0x1F);
  time.minute = static_cast<uint16_t>((stamp >> 5) & 0x3F);
}

std::string PeriodKey(const DateRecord& date) { return std::to_string(date.year) + TwoDigits(date.month); }

std::string DateText(const DateRecord& date) {
  if (!ValidDate(date)) return std::string();
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", date.year, date.month, date.day);
  return buf;
}

std::string TimeText(const TimeRecord& time) {
  return TwoDigits(time.hour) + ":" + TwoDigits(time.minute) + ":" + TwoDigits(time.second);
}

std::string ShortTimeText(const TimeRecord& time, char style) {
  TimeRecord t = time;
  if (!ValidTime(t)) return std::string();
  std::string text = TwoDigits(t.hour) + ":" + TwoDigits(t.minute);
  if (style == 's' || style == 'c') text += ":" + TwoDigits(t.second);
  if (style == 'c') text += "." + TwoDigits(t.fraction);
  return text;
}

}  // namespace duri
