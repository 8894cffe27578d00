#include "accounts/schedule.h"

#include <gtest/gtest.h>

#include "account_fixture.h"

namespace duri {
namespace {

// 2026-12-08 is a Tuesday (day 2).
constexpr int kTuesday = 2;

class ScheduleTest : public testing::AccountFixture {
 protected:
  // One schedule at record 0 with period 1 as given for every day.
  void LoadSchedule(const std::string& fields, const std::string& every_day) {
    Load(R"({"schedules": [{"schedule_name": "Office", "period_defined": [1], "period_active": [1], )" + fields +
         R"("every_day": )" + every_day + "}]}");
  }
  // Runs the check at the given time of 2026-12-<day> and returns the type.
  uint8_t Check(bool opening, int day, int hour, int minute, int* day_of_week = nullptr) {
    clock_.Set(2026, 12, day, hour, minute);
    ReadSchedule(dir_, 0, record_, 30);
    EXPECT_TRUE(ScheduleActive(record_));
    uint8_t type = opening ? kEventOpening : kEventClosing;
    int dow = -1;
    CheckSchedule(dir_, 0, record_, opening, dow, type);
    if (day_of_week) *day_of_week = dow;
    ReadSchedule(dir_, 0, record_, 30);  // what was written back
    return type;
  }

  ScheduleRecord record_;
};

TEST_F(ScheduleTest, OpeningWindowAndItsMarks) {
  LoadSchedule(R"("opening_delay": 15, "late_opening_delay": 30, )", R"({"opening_time": [800]})");
  int dow = -1;
  // Window 07:42 (08:00 - 15 - 3) to 08:30.
  EXPECT_EQ(Check(true, 8, 7, 42, &dow), kEventOpening);
  EXPECT_EQ(dow, kTuesday);
  EXPECT_EQ(record_.days[kTuesday].opening_mark[0], 1208);
  EXPECT_EQ(record_.days[kTuesday].closing_mark[0], 0);
  // A second opening the same day: the mark already holds today.
  EXPECT_EQ(Check(true, 8, 7, 50), kEventOpeningOutside);
  // Past the window: no period answers, and the next day's period takes the next day's date.
  EXPECT_EQ(Check(true, 8, 8, 31, &dow), kEventOpeningOutside);
  EXPECT_EQ(dow, kTuesday + 1);
  EXPECT_EQ(record_.days[kTuesday + 1].opening_mark[0], 1209);
}

TEST_F(ScheduleTest, OpeningOutsideTheWindowOnAFreshDay) {
  LoadSchedule(R"("opening_delay": 15, "late_opening_delay": 30, )", R"({"opening_time": [800]})");
  EXPECT_EQ(Check(true, 8, 7, 41), kEventOpeningOutside);  // before the window: today's opening is marked
  EXPECT_EQ(record_.days[kTuesday].opening_mark[0], 1208);
}

TEST_F(ScheduleTest, NormalOpenCloseFlagAcceptsTheWholeDay) {
  LoadSchedule(R"("normal_oc_in_schedule": 1, "opening_delay": 15, "late_opening_delay": 30, "closing_delay": 30, )",
               R"({"opening_time": [800], "closing_time": [1700]})");
  EXPECT_EQ(Check(true, 8, 16, 0), kEventOpening);
  EXPECT_EQ(record_.days[kTuesday].opening_mark[0], 1208);
  // Without the flag the same opening is outside the schedule.
  LoadSchedule(R"("opening_delay": 15, "late_opening_delay": 30, "closing_delay": 30, )",
               R"({"opening_time": [800], "closing_time": [1700]})");
  EXPECT_EQ(Check(true, 8, 16, 0), kEventOpeningOutside);
}

TEST_F(ScheduleTest, ClosingAfterMidnightFoundInYesterdaysBlock) {
  LoadSchedule(R"("closing_delay": 100, )", R"({"closing_time": [2330]})");
  int dow = -1;
  // 00:20 is 24:20 seen from Monday: inside 23:30 to 24:30.
  EXPECT_EQ(Check(false, 8, 0, 20, &dow), kEventClosing);
  EXPECT_EQ(dow, kTuesday - 1);
  EXPECT_EQ(record_.days[kTuesday - 1].closing_mark[0], 1208);
  EXPECT_EQ(record_.days[kTuesday].closing_mark[0], -1);
  // Closed once: a second closing is outside.
  EXPECT_EQ(Check(false, 8, 0, 25), kEventClosingOutside);
}

TEST_F(ScheduleTest, ClosingChecks) {
  LoadSchedule(R"("opening_delay": 15, "late_opening_delay": 30, "closing_delay": 30, )",
               R"({"opening_time": [800], "closing_time": [1700], "opening_mark": [1207]})");
  EXPECT_EQ(Check(false, 8, 17, 10), kEventClosing);
  EXPECT_EQ(record_.days[kTuesday].closing_mark[0], 1208);
  // Before the opening window ends, a closing sets the opening mark aside by negating it.
  EXPECT_EQ(Check(false, 8, 7, 0), kEventClosingOutside);
  EXPECT_EQ(record_.days[kTuesday].opening_mark[0], -1207);
}

TEST_F(ScheduleTest, EmptyNameOrNoActivePeriodIsInactive) {
  ScheduleRecord r;
  r.defined[0] = r.active[0] = 1;
  EXPECT_FALSE(ScheduleActive(r));
  r.name = "X";
  EXPECT_TRUE(ScheduleActive(r));
  r.active[0] = 0;
  r.defined[3] = 1;
  EXPECT_FALSE(ScheduleActive(r));
}

TEST_F(ScheduleTest, ReadScheduleClearsWithTheCompanyDelay) {
  ScheduleRecord r;
  ReadSchedule(dir_, 0, r, 45);  // no file
  EXPECT_EQ(r.opening_delay, 45);
  EXPECT_EQ(r.closing_delay, 45);
  EXPECT_EQ(r.days[6].closing_time[4], -1);
  LoadSchedule("", R"({"opening_time": [800]})");
  ReadSchedule(dir_, 1, r, 45);  // past the end
  EXPECT_TRUE(r.name.empty());
  ReadSchedule(dir_, 0, r, 45);
  EXPECT_EQ(r.name, "Office");
  EXPECT_EQ(r.opening_delay, 30);  // the loader's default
}

TEST_F(ScheduleTest, A2359OpeningIsNotTakenForAWindowlessPeriod) {
  // Period 1 has a closing at noon and no opening time. Tomorrow's pass sees 23:58 as -2 and 23:59 as
  // -1; -1 is also what marks "no opening time", and must not count as inside a window.
  LoadSchedule(R"("closing_delay": 30, )", R"({"closing_time": [1200]})");
  EXPECT_EQ(Check(true, 8, 23, 58), kEventOpeningOutside);
  EXPECT_EQ(Check(true, 8, 23, 59), kEventOpeningOutside);
  EXPECT_EQ(record_.days[kTuesday + 1].opening_mark[0], -1);
}

}  // namespace
}  // namespace duri
