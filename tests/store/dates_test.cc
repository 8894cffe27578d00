#include "store/dates.h"

#include <gtest/gtest.h>

namespace duri {
namespace {

DateRecord D(int y, int m, int d) {
  return DateRecord{static_cast<uint16_t>(y), static_cast<uint16_t>(m), static_cast<uint16_t>(d), 0};
}

TEST(DatesTest, ValidDateBoundsAndLeapYears) {
  struct Case {
    DateRecord date;
    bool valid;
  } const cases[] = {
      {D(2100, 1, 1), false}, {D(1979, 12, 31), false}, {D(2098, 12, 31), true}, {D(1980, 1, 1), true},
      {D(2024, 2, 29), true}, {D(2023, 2, 29), false},  {D(2000, 2, 29), true},  {D(2024, 2, 0), false},
      {D(2024, 0, 10), false}, {D(2024, 13, 1), false}, {D(2024, 4, 31), false}, {D(2024, 12, 31), true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ValidDate(c.date), c.valid) << c.date.year << "-" << c.date.month << "-" << c.date.day;
  for (int m = 1; m <= 12; ++m) EXPECT_FALSE(ValidDate(D(2024, m, 0))) << m;
}

TEST(DatesTest, ValidTimeCutsFractionToFifty) {
  TimeRecord t{23, 59, 59, 532};
  EXPECT_TRUE(ValidTime(t));
  EXPECT_EQ(t.fraction, 50);
  TimeRecord bad{24, 0, 0, 0};
  EXPECT_FALSE(ValidTime(bad));
  TimeRecord bad_second{12, 0, 60, 0};
  EXPECT_FALSE(ValidTime(bad_second));
}

TEST(DatesTest, FixDateOnGarbledStampsStaysInBoundsAndLeavesItInvalid) {
  for (DateRecord d : {D(2026, 0, 5), D(2026, 13, 5), D(65535, 65535, 65535), D(2026, 65535, 1)}) {
    FixDate(d);
    EXPECT_FALSE(ValidDate(d));
  }
  DateRecord big = D(65535, 12, 31);
  FixDate(big);
  EXPECT_LT(big.day_of_week, 7);
}

TEST(DatesTest, HHMMArithmeticRoundsToNearest) {
  struct Case {
    int a, b, c;
    bool add;
    int want;
  } const cases[] = {
      {130, 45, 0, true, 215},  {100, 30, 0, false, 30},  {2350, 20, 0, true, 2410},
      {759, 1, 0, true, 800},   {0, 30, 0, false, -30},   {1200, 115, 15, true, 1330},
      {2400, 1, 0, false, 2359}, {44, 0, 0, true, 44},
  };
  for (const Case& c : cases) {
    int got = c.add ? AddHHMM(c.a, c.b, c.c) : SubHHMM(c.a, c.b, c.c);
    EXPECT_EQ(got, c.want) << c.a << (c.add ? "+" : "-") << c.b << "," << c.c;
  }
  EXPECT_EQ(HHMMToHundredths(59), 98);  // 98.33
  EXPECT_EQ(HHMMToHundredths(1), 2);    // 1.67
  EXPECT_EQ(HundredthsToHHMM(99), 59);  // 59.4
  EXPECT_EQ(HundredthsToHHMM(1), 1);    // 0.6
}

TEST(DatesTest, PackBitLayout) {
  DateRecord d = D(2026, 12, 8);
  TimeRecord t{4, 7, 9, 0};
  uint32_t p = Pack(d, t);
  EXPECT_EQ(p >> 25, 46u);
  EXPECT_EQ((p >> 21) & 0xF, 12u);
  EXPECT_EQ((p >> 16) & 0x1F, 8u);
  EXPECT_EQ((p >> 11) & 0x1F, 4u);
  EXPECT_EQ((p >> 5) & 0x3F, 7u);
  EXPECT_EQ(p & 0x1F, 2u);  // 9 div 4, bit 4 stays 0
  EXPECT_EQ(Pack(D(1980, 1, 1), TimeRecord{}), (1u << 21) | (1u << 16));
  DateRecord ud;
  TimeRecord ut;
  Unpack(p, ud, ut);
  EXPECT_EQ(ud.year, 2026);
  EXPECT_EQ(ud.month, 12);
  EXPECT_EQ(ud.day, 8);
  EXPECT_EQ(ut.hour, 4);
  EXPECT_EQ(ut.minute, 7);
}

TEST(DatesTest, Texts) {
  EXPECT_EQ(PeriodKey(D(2003, 3, 1)), "200303");
  EXPECT_EQ(PeriodKey(D(2026, 12, 1)), "202612");
  EXPECT_EQ(DateText(D(2026, 12, 8)), "2026/12/08");
  EXPECT_EQ(DateText(D(2026, 2, 30)), "");
  EXPECT_EQ(TimeText(TimeRecord{4, 7, 9, 0}), "04:07:09");
  EXPECT_EQ(ShortTimeText(TimeRecord{4, 7, 9, 5}, 'h'), "04:07");
  EXPECT_EQ(ShortTimeText(TimeRecord{4, 7, 9, 5}, 's'), "04:07:09");
  EXPECT_EQ(ShortTimeText(TimeRecord{4, 7, 9, 5}, 'c'), "04:07:09.05");
  EXPECT_EQ(ShortTimeText(TimeRecord{4, 7, 9, 700}, 'c'), "04:07:09.50");
  EXPECT_EQ(ShortTimeText(TimeRecord{25, 7, 9, 0}, 'c'), "");
}

}  // namespace
}  // namespace duri
