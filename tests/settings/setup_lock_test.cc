#include "settings/setup_lock.h"

#include <sys/stat.h>

#include <gtest/gtest.h>
#include <vector>

#include "settings/security_file.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

class SetupLockTest : public ::testing::Test {
 protected:
  SetupLockTest() { tmp.MakeDir("ORBA"); }
  testing::TempDir tmp;
  ManualClock clock;
  NullView view;
  DataDir dir{tmp.path(), clock, view};
};

TEST_F(SetupLockTest, MissingFileIsCreatedWithTheDefaultOperatorScrambled) {
  SecurityBlock block = ReadSecurityFile(dir);
  EXPECT_EQ(block.operators[0].name.str(), "Torvane");
  EXPECT_EQ(block.operators[0].password.str(), "KESTRAL");
  std::string raw = tmp.ReadFile("ORBA/SECURITE.Mda");
  ASSERT_EQ(raw.size(), 3860u);
  EXPECT_EQ(raw[0], 1);                                      // in use
  EXPECT_EQ(static_cast<uint8_t>(raw[1]), 7);                // name length
  EXPECT_EQ(static_cast<uint8_t>(raw[2]), 'T' + 100);        // record 0 shifts by 100
  EXPECT_EQ(static_cast<uint8_t>(raw[22]), 1);               // number 1
  EXPECT_EQ(static_cast<uint8_t>(raw[25]), 'K' + 100);
  EXPECT_EQ(raw[35], 'A');
  EXPECT_EQ(static_cast<uint8_t>(raw[36 + 22]), 0xFF);       // cleared record number -1
  EXPECT_EQ(raw[36 + 35], ' ');
  EXPECT_EQ(raw[3600], 1);                                   // entries: 1 then twelve zeros
  EXPECT_EQ(raw[3601], 0);
  EXPECT_EQ(raw[3613], 1);
}

TEST_F(SetupLockTest, PasswordOutcomes) {
  SecurityBlock block;
  block.Clear();
  block.SetDefaultOperator();
  block.operators[5].password = "BETA";
  block.operators[5].level = 'B';
  block.operators[7].password = "\x82t\x82";  // e-acute t e-acute, folds to ETE
  block.operators[7].level = 'A';
  ASSERT_EQ(WriteSecurityFile(dir, block), 0);
  struct Case {
    const char* entered;
    PasswordOutcome want;
  } const cases[] = {
      {"kestral", PasswordOutcome::kUnlocked},    // the edit converts to upper case
      {"kestral ", PasswordOutcome::kInvalid},    // a blank is a character
      {"beta", PasswordOutcome::kInvalid},        // level 'B'
      {"", PasswordOutcome::kPanelHidden},
      {"KESTRALKEST", PasswordOutcome::kInvalid},  // 11 characters never match
      {"ete", PasswordOutcome::kUnlocked},
  };
  for (const Case& c : cases) {
    SetupLock lock;
    EXPECT_EQ(lock.CheckPassword(dir, c.entered), c.want) << c.entered;
    EXPECT_EQ(lock.locked(), c.want != PasswordOutcome::kUnlocked) << c.entered;
  }
}

TEST_F(SetupLockTest, ButtonLocksAnUnlockedSetupAndAsksForPasswordOtherwise) {
  SetupLock lock;
  EXPECT_TRUE(lock.ButtonClick());  // locked: show the panel
  EXPECT_TRUE(lock.locked());
  ASSERT_EQ(lock.CheckPassword(dir, "KESTRAL"), PasswordOutcome::kUnlocked);
  EXPECT_TRUE(lock.timer_running());
  EXPECT_FALSE(lock.ButtonClick());  // the timer or the button locks it again
  EXPECT_TRUE(lock.locked());
  EXPECT_FALSE(lock.timer_running());
}

TEST_F(SetupLockTest, UnreadableFileIsNeverOverwrittenWithTheDefault) {
  tmp.WriteFile("ORBA/SECURITE.Mda", std::string(100, 'x'));  // short: the read fails
  SetupLock lock;
  EXPECT_EQ(lock.CheckPassword(dir, "KESTRAL"), PasswordOutcome::kInvalid);
  EXPECT_EQ(tmp.FileSize("ORBA/SECURITE.Mda"), 100);
}

}  // namespace
}  // namespace duri
