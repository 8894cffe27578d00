#include "accounts/guard_tour.h"

#include <gtest/gtest.h>

#include "account_fixture.h"
#include "accounts/guard_tour_record.h"

namespace duri {
namespace {

class GuardTourTest : public testing::AccountFixture {
 protected:
  uint8_t Report(int day, int hour, int minute, int32_t record = 0, bool* answered = nullptr) {
    clock_.Set(2026, 12, day, hour, minute);
    uint8_t type = kEventGuardRound;
    bool a = CheckGuardRound(dir_, record, type);
    if (answered) *answered = a;
    return type;
  }
  GuardTourRecord Stored(int32_t n = 0) {
    GuardTourRecord r;
    r.Decode(reinterpret_cast<const uint8_t*>(Bytes("GUARDIAN.DAT").data()) + n * GuardTourRecord::kSize);
    return r;
  }
};

TEST_F(GuardTourTest, RoundWindowRunsFromFiveMinutesBeforeToFourAfter) {
  struct {
    int hour, minute;
    uint8_t type;
  } cases[] = {{13, 54, 30}, {13, 55, 3}, {14, 0, 3}, {14, 4, 3}, {14, 5, 30}};
  for (const auto& c : cases) {
    Load(R"({"guard_tours": [{"every_day": [900, 1400]}]})");
    bool answered = false;
    EXPECT_EQ(Report(8, c.hour, c.minute, 0, &answered), c.type) << c.hour << ":" << c.minute;
    EXPECT_EQ(answered, c.type == kEventGuardRound);
    EXPECT_EQ(Stored().round_marks[2][1], c.type == kEventGuardRound ? 8 : 0);
  }
}

TEST_F(GuardTourTest, SecondReportTheSameDayIsMissed) {
  Load(R"({"guard_tours": [{"every_day": [1400]}]})");
  EXPECT_EQ(Report(8, 13, 56), kEventGuardRound);
  EXPECT_EQ(Report(8, 13, 58), kEventGuardRoundMissed);
  // Next Tuesday the mark (8) no longer matches the day of the month.
  EXPECT_EQ(Report(15, 13, 58), kEventGuardRound);
  EXPECT_EQ(Stored().round_marks[2][0], 15);
}

TEST_F(GuardTourTest, LateMondayRoundAnsweredAfterMidnight) {
  Load(R"({"guard_tours": [{"round_times": [[], [2358]]}]})");
  EXPECT_EQ(Report(8, 0, 1), kEventGuardRound);  // Tuesday 00:01 is Monday 24:01
  GuardTourRecord r = Stored();
  EXPECT_EQ(r.round_marks[1][0], 8);  // the day of the month of the report
  EXPECT_EQ(r.round_marks[2][0], 0);
}

TEST_F(GuardTourTest, EarlyWednesdayRoundAnsweredBeforeMidnight) {
  Load(R"({"guard_tours": [{"round_times": [[], [], [], [1]]}]})");
  EXPECT_EQ(Report(8, 23, 58), kEventGuardRound);  // Tuesday 23:58 is Wednesday -00:02
  EXPECT_EQ(Stored().round_marks[3][0], 8);
}

TEST_F(GuardTourTest, AccountWithoutRecordWritesNothing) {
  Load(R"({"guard_tours": [{"every_day": [1400]}], "guard_tour_free_list": [-1, 0, 5]})");
  const std::string tours = Bytes("GUARDIAN.DAT"), free_list = Bytes("GUARDIAN.FL");
  for (int32_t n : {-1, 1, 7}) {
    int32_t record = n;
    clock_.Set(2026, 12, 8, 14, 0);
    uint8_t type = kEventGuardRound;
    EXPECT_FALSE(CheckGuardRound(dir_, record, type));
    EXPECT_EQ(type, kEventGuardRoundMissed);
    EXPECT_EQ(record, -1);
  }
  EXPECT_EQ(Bytes("GUARDIAN.DAT"), tours);
  EXPECT_EQ(Bytes("GUARDIAN.FL"), free_list);
  // Nor without any file.
  testing::TempDir empty;
  DataDir bare(empty.path(), clock_, view_);
  int32_t record = -1;
  uint8_t type = kEventGuardRound;
  CheckGuardRound(bare, record, type);
  EXPECT_EQ(type, kEventGuardRoundMissed);
  EXPECT_FALSE(empty.Exists("ORBA/GUARDIAN.DAT"));
}

}  // namespace
}  // namespace duri
