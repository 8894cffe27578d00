#include "platform/calendar.h"

#include <gtest/gtest.h>

#include <cstring>

namespace duri {
namespace {

DateRecord D(int y, int m, int d) {
  return DateRecord{static_cast<uint16_t>(y), static_cast<uint16_t>(m), static_cast<uint16_t>(d), 0};
}

TEST(CalendarTest, LeapYearsReadTwoDigitYears) {
  EXPECT_TRUE(IsLeapYear(96));  // 1996
  EXPECT_TRUE(IsLeapYear(0));   // 2000
  EXPECT_TRUE(IsLeapYear(24));  // 2024
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(2100));
  EXPECT_TRUE(IsLeapYear(2400));
}

TEST(CalendarTest, FixDateExpandsYearsAndComputesDayOfWeek) {
  struct Case {
    DateRecord in;
    int year;
    int dow;
  } const cases[] = {
      {D(1980, 1, 1), 1980, 2},  // a Tuesday
      {D(97, 6, 1), 1997, 0},    // a Sunday
      {D(5, 3, 1), 2005, 2},
      {D(2026, 12, 8), 2026, 2},
      {D(2024, 2, 29), 2024, 4},
      {D(2024, 3, 1), 2024, 5},
  };
  for (const Case& c : cases) {
    DateRecord d = c.in;
    FixDate(d);
    EXPECT_EQ(d.year, c.year);
    EXPECT_EQ(d.day_of_week, c.dow) << c.in.year << "-" << c.in.month << "-" << c.in.day;
  }
}

TEST(CalendarTest, AddDaysRollsMonthYearAndWeek) {
  DateRecord d = D(2024, 2, 28);
  FixDate(d);
  AddDays(d, 1);
  EXPECT_EQ(d, (DateRecord{2024, 2, 29, 4}));
  AddDays(d, 1);
  EXPECT_EQ(d, (DateRecord{2024, 3, 1, 5}));
  DateRecord y = D(2026, 12, 31);
  FixDate(y);
  AddDays(y, 2);
  EXPECT_EQ(y, (DateRecord{2027, 1, 2, 6}));
  DateRecord w = D(2026, 12, 12);  // Saturday
  FixDate(w);
  AddDays(w, 1);
  EXPECT_EQ(w.day_of_week, 0);
}

TEST(CalendarTest, RecordsEncodeLittleEndian) {
  DateRecord d{2026, 12, 8, 2};
  uint8_t buf[8];
  d.Encode(buf);
  const uint8_t want[8] = {0xEA, 0x07, 12, 0, 8, 0, 2, 0};
  EXPECT_EQ(0, std::memcmp(buf, want, 8));
  DateRecord back;
  back.Decode(buf);
  EXPECT_EQ(back, d);
  TimeRecord t{23, 59, 9, 532};
  t.Encode(buf);
  const uint8_t want_time[8] = {23, 0, 59, 0, 9, 0, 0x14, 0x02};
  EXPECT_EQ(0, std::memcmp(buf, want_time, 8));
  TimeRecord time_back;
  time_back.Decode(buf);
  EXPECT_EQ(time_back, t);
}

}  // namespace
}  // namespace duri
