#include "accounts/armed_status.h"

#include <gtest/gtest.h>

#include <thread>

#include "store/key_index.h"
#include "store/coding.h"
#include "store/lock_file.h"
#include "support/station_fixture.h"

namespace duri {
namespace {

TEST(SplitAccountTest, GroupAndSlot) {
  struct Case {
    const char* account;
    const char* group;
    int slot;
  };
  const Case cases[] = {
      {"12345", "123", 0x45}, {"7", "0", 7},     {"0007", "0", 7},  {"FF", "0", 255},
      {"12G1", "12", 255},    {"1A2b", "1A", 0x2B}, {"", "0", 255}, {"100", "1", 0},
  };
  for (const Case& c : cases) {
    ArmedGroup g = SplitAccount(c.account);
    EXPECT_EQ(g.group, c.group) << c.account;
    EXPECT_EQ(g.slot, c.slot) << c.account;
  }
}

class ArmedStatusTest : public testing::DataDirTest {
 protected:
  const DateRecord date_{2026, 12, 8, 2};
  const TimeRecord time_{18, 30, 12, 0};
};

TEST_F(ArmedStatusTest, ClosingCreatesTheGroupFileAtItsSlot) {
  RecordClosing(data_, "12345", 3, date_, time_);
  ASSERT_EQ(tmp_.FileSize("ORBA/123.Occ"), kArmedImageSize);
  std::string image = tmp_.ReadFile("ORBA/123.Occ");
  EXPECT_EQ(DecodeSigned32(reinterpret_cast<const uint8_t*>(image.data()) + 69 * 44 + 3 * 4),
            static_cast<int32_t>(Pack(date_, time_)));
  EXPECT_EQ(ReadIndexKeys(data_, kArmedIndexFile), std::vector<std::string>{"123"});
  RecordClosing(data_, "7", 0, date_, time_);
  EXPECT_EQ(ReadAreaStates(data_, "7")[0], static_cast<int32_t>(Pack(date_, time_)));
  EXPECT_EQ(ReadIndexKeys(data_, kArmedIndexFile), (std::vector<std::string>{"0", "123"}));
  // Lock "11" was released: another station sees it free.
  data_.computer_name_override = "OTHER";
  EXPECT_FALSE(IsLockedElsewhere(data_, kGeneralLock, "11"));
}

TEST_F(ArmedStatusTest, OpeningAfterClosingAndBackToNothing) {
  RecordClosing(data_, "12345", 2, date_, time_);
  EXPECT_TRUE(AllAreasClosed(data_, "12345"));
  RecordOpening(data_, "12345", 2, date_, time_);
  EXPECT_EQ(ReadAreaStates(data_, "12345")[2], -static_cast<int32_t>(Pack(date_, time_)));
  EXPECT_FALSE(AllAreasClosed(data_, "12345"));
  EXPECT_TRUE(AllAreasClosed(data_, "12346"));  // same group, other slot
  // An unknown account reads as all closed, and an area outside 0..10 records nothing.
  EXPECT_TRUE(AllAreasClosed(data_, "99999"));
  RecordOpening(data_, "99999", 11, date_, time_);
  EXPECT_FALSE(tmp_.Exists("ORBA/999.Occ"));
}

TEST_F(ArmedStatusTest, FileDeletedAndNameRemovedWhenAllValuesReturnToZero) {
  RecordClosing(data_, "12345", 1, date_, time_);
  RecordClosing(data_, "4501", 1, date_, time_);
  // Only a stamp with every field 0 (year 1980, month 0, day 0) stores 0.
  RecordClosing(data_, "12345", 1, DateRecord{1980, 0, 0, 0}, TimeRecord{});
  EXPECT_FALSE(tmp_.Exists("ORBA/123.Occ"));
  EXPECT_EQ(ReadIndexKeys(data_, kArmedIndexFile), std::vector<std::string>{"45"});
  EXPECT_EQ(tmp_.FileSize("ORBA/Armed.Inx"), 11);
  // Nothing recorded and nothing to record: no file is made.
  RecordClosing(data_, "20001", 1, DateRecord{1980, 0, 0, 0}, TimeRecord{});
  EXPECT_FALSE(tmp_.Exists("ORBA/200.Occ"));
}

TEST_F(ArmedStatusTest, LockHeldByACrashedStationIsPassedAfterThirtySeconds) {
  data_.computer_name_override = "CRASHED";
  ASSERT_TRUE(AcquireLock(data_, kGeneralLock, "11", false));
  data_.computer_name_override = "HERE";
  const int64_t start = clock_.MonotonicMs();
  RecordClosing(data_, "12345", 0, date_, time_);
  EXPECT_GE(clock_.MonotonicMs() - start, kArmedLockGiveUpMs);
  EXPECT_LT(clock_.MonotonicMs() - start, kArmedLockGiveUpMs + 1000);
  EXPECT_EQ(ReadAreaStates(data_, "12345")[0], static_cast<int32_t>(Pack(date_, time_)));
  std::string log = tmp_.ReadFile("ORBA/error.log");
  EXPECT_NE(log.find("without lock 11"), std::string::npos);
  EXPECT_NE(log.find("CRASHED"), std::string::npos);
  // The other station's lock is left to it.
  EXPECT_TRUE(IsLockedElsewhere(data_, kGeneralLock, "11"));
}

TEST_F(ArmedStatusTest, LockReleasedInTimeIsTakenAndReleased) {
  data_.computer_name_override = "OTHER";
  ASSERT_TRUE(AcquireLock(data_, kGeneralLock, "11", false));
  data_.computer_name_override = "HERE";
  std::thread releaser([&] {
    while (clock_.MonotonicMs() < 1000) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ReleaseLock(data_, kGeneralLock, "11");
  });
  RecordClosing(data_, "12345", 0, date_, time_);
  releaser.join();
  EXPECT_FALSE(tmp_.Exists("ORBA/error.log"));
  EXPECT_FALSE(IsLockedElsewhere(data_, kGeneralLock, "11"));
  data_.computer_name_override = "OTHER";
  EXPECT_FALSE(IsLockedElsewhere(data_, kGeneralLock, "11"));
}

}  // namespace
}  // namespace duri
