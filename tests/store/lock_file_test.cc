#include "store/lock_file.h"

#include <array>
#include <gtest/gtest.h>

#include "store/shared_file.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

class LockFileTest : public ::testing::Test {
 protected:
  LockFileTest() {
    tmp.MakeDir("ORBA");
    dir.computer_name_override = "STATION-A";
  }

  // Writes lock records as (computer, key) pairs.
  void WriteLocks(std::string_view file, const std::vector<std::pair<std::string, std::string>>& recs) {
    SharedFile f;
    ASSERT_EQ(CreateShared(dir, f, file, LockRecord::kSize), kIoOk);
    for (size_t i = 0; i < recs.size(); ++i) {
      LockRecord r;
      r.computer_name = recs[i].first;
      r.key = recs[i].second;
      std::array<uint8_t, LockRecord::kSize> buf;
      r.Encode(buf.data());
      ASSERT_EQ(f.WriteRecord(static_cast<int32_t>(i), buf), kIoOk);
    }
    CloseShared(dir, f);
  }

  std::vector<LockRecord> ReadLocks(std::string_view file) {
    std::vector<LockRecord> out;
    SharedFile f;
    if (OpenShared(dir, f, file, LockRecord::kSize) != kIoOk) return out;
    std::array<uint8_t, LockRecord::kSize> buf;
    for (int32_t i = 0; f.ReadRecord(i, buf) == kIoOk; ++i) {
      LockRecord r;
      r.Decode(buf.data());
      out.push_back(r);
    }
    CloseShared(dir, f);
    return out;
  }

  testing::TempDir tmp;
  ManualClock clock;
  testing::RecordingView view;
  DataDir dir{tmp.path(), clock, view};
};

TEST_F(LockFileTest, RecordLayoutIsFiftyTwoBytes) {
  LockRecord r;
  r.computer_name = "PC1";
  r.key = "202612";
  r.operator_number = -1;
  std::array<uint8_t, LockRecord::kSize> buf;
  buf.fill(0xAA);
  r.Encode(buf.data());
  for (int i = 0; i < 8; ++i) EXPECT_EQ(buf[i], 0) << i;
  EXPECT_EQ(buf[8], 3);
  EXPECT_EQ(buf[9], 'P');
  EXPECT_EQ(buf[39], 6);
  EXPECT_EQ(buf[40], '2');
  EXPECT_EQ(buf[50], 0xFF);
  EXPECT_EQ(buf[51], 0xFF);
}

TEST_F(LockFileTest, LeftoverOfThisComputerIsClearedExceptThePermanentKey) {
  WriteLocks(kGeneralLock, {{"STATION-A", "202612"}, {"STATION-A", "17"}});
  EXPECT_FALSE(IsLockedElsewhere(dir, kGeneralLock, "202612"));
  std::vector<LockRecord> after = ReadLocks(kGeneralLock);
  ASSERT_EQ(after.size(), 2u);
  EXPECT_TRUE(after[0].is_free());
  EXPECT_TRUE(after[0].computer_name.empty());
  EXPECT_TRUE(IsLockedElsewhere(dir, kGeneralLock, "17"));
  EXPECT_EQ(ReadLocks(kGeneralLock)[1].key.str(), "17");
}

TEST_F(LockFileTest, HeldByAnotherComputerAndFreeRecordsNeverCount) {
  WriteLocks(kGeneralLock, {{"STATION-B", ""}, {"STATION-B", "11"}});
  std::string holder;
  EXPECT_TRUE(IsLockedElsewhere(dir, kGeneralLock, "11", &holder));
  EXPECT_EQ(holder, "STATION-B");
  EXPECT_FALSE(IsLockedElsewhere(dir, kGeneralLock, ""));
  EXPECT_FALSE(IsLockedElsewhere(dir, kGeneralLock, "16"));
  EXPECT_FALSE(IsLockedElsewhere(dir, "\\ORBA\\NONE.LCK", "11"));
}

TEST_F(LockFileTest, AcquireCreatesMissingFileWithOneRecord) {
  EXPECT_TRUE(AcquireLock(dir, kGeneralLock, "202612", false));
  EXPECT_EQ(tmp.FileSize("ORBA/GENERAL.LCK"), LockRecord::kSize);
  std::vector<LockRecord> recs = ReadLocks(kGeneralLock);
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_EQ(recs[0].computer_name.str(), "STATION-A");
  EXPECT_EQ(recs[0].key.str(), "202612");
  ReleaseLock(dir, kGeneralLock, "202612");
  EXPECT_TRUE(ReadLocks(kGeneralLock)[0].is_free());
}

TEST_F(LockFileTest, AcquireReusesAFreeRecordInTheMiddle) {
  WriteLocks(kGeneralLock, {{"STATION-B", "11"}, {"", ""}, {"STATION-C", "15"}});
  EXPECT_TRUE(AcquireLock(dir, kGeneralLock, "16", false));
  std::vector<LockRecord> recs = ReadLocks(kGeneralLock);
  ASSERT_EQ(recs.size(), 3u);
  EXPECT_EQ(recs[1].key.str(), "16");
  EXPECT_EQ(recs[1].computer_name.str(), "STATION-A");
}

TEST_F(LockFileTest, UserLockCarriesOperatorNumberAndReleasesToMinusOne) {
  EXPECT_TRUE(AcquireLock(dir, kUserLock, "42", false));
  EXPECT_EQ(ReadLocks(kUserLock)[0].operator_number, 42);
  ReleaseLock(dir, kUserLock, "42");
  EXPECT_EQ(ReadLocks(kUserLock)[0].operator_number, -1);
}

TEST_F(LockFileTest, RefusalShowsHolderWithTheLockFilesText) {
  WriteLocks(kClientLock, {{"STATION-B", "1234"}});
  EXPECT_FALSE(AcquireLock(dir, kClientLock, "1234", true));
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_NE(view.messages[0].find("Operator number: 0 has locked this account on another computer.\r\n"
                                  "The computer name is: STATION-B"),
            std::string::npos)
      << view.messages[0];
  EXPECT_EQ(view.beeps, 1);
}

TEST_F(LockFileTest, LongWaitIsShownAndLoggedOnce) {
  WriteLocks(kGeneralLock, {{"STATION-B", "202612"}});
  EXPECT_FALSE(WaitUntilFree(dir, kGeneralLock, "202612", 30000));
  ASSERT_EQ(view.debug.size(), 1u);
  EXPECT_NE(view.debug[0].find("STATION-B"), std::string::npos);
  std::string log = tmp.ReadFile("ORBA/error.log");
  EXPECT_NE(log.find("202612"), std::string::npos);
  EXPECT_EQ(log.find("\r\n"), log.size() - 2);  // one line
  EXPECT_TRUE(WaitUntilFree(dir, kGeneralLock, "16"));
}

TEST_F(LockFileTest, WaitForReindexStopsWhenKeyIsFreeAndLeftoverProgressFileTimesOut) {
  // A PROGRESS.LCK left behind after key "15" was released: waited for at most a minute.
  tmp.WriteFile("ORBA/PROGRESS.LCK", std::string(1, '\x20'));
  const int64_t start = clock.MonotonicMs();
  WaitForReindex(dir);
  const int64_t waited = clock.MonotonicMs() - start;
  EXPECT_GE(waited, 60000);
  EXPECT_LT(waited, 61000);
  EXPECT_FALSE(view.panel_shown);
  EXPECT_EQ(view.progress_max, 70);
  // No progress file: back at once.
  tmp.WriteFile("ORBA/x", "");
  std::remove(tmp.Join("ORBA/PROGRESS.LCK").c_str());
  const int64_t again = clock.MonotonicMs();
  WaitForReindex(dir);
  EXPECT_EQ(clock.MonotonicMs(), again);
}

}  // namespace
}  // namespace duri
