#include "store/dates.h"

#include <cmath>
#include <cstdio>

namespace duri {
namespace {

std::string TwoDigits(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

// Rounds to the nearest integer, halves to the even neighbour (the original's Round).
int RoundHalfEven(double x) { return static_cast<int>(std::nearbyint(x)); }

}  // namespace

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
