#include "platform/calendar.h"

namespace duri {
namespace {

constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Both records are four 16-bit words, low byte first, whatever the host's byte order.
void EncodeWords(uint8_t* dst, const uint16_t (&words)[4]) {
  for (int i = 0; i < 4; ++i) {
    dst[2 * i] = static_cast<uint8_t>(words[i]);
    dst[2 * i + 1] = static_cast<uint8_t>(words[i] >> 8);
  }
}

uint16_t DecodeWord(const uint8_t* src, int i) {
  return static_cast<uint16_t>(src[2 * i] | (src[2 * i + 1] << 8));
}

}  // namespace

void DateRecord::Encode(uint8_t* dst) const { EncodeWords(dst, {year, month, day, day_of_week}); }

void DateRecord::Decode(const uint8_t* src) {
  year = DecodeWord(src, 0);
  month = DecodeWord(src, 1);
  day = DecodeWord(src, 2);
  day_of_week = DecodeWord(src, 3);
}

void TimeRecord::Encode(uint8_t* dst) const { EncodeWords(dst, {hour, minute, second, fraction}); }

void TimeRecord::Decode(const uint8_t* src) {
  hour = DecodeWord(src, 0);
  minute = DecodeWord(src, 1);
  second = DecodeWord(src, 2);
  fraction = DecodeWord(src, 3);
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

}  // namespace duri
