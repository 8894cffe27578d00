#include "settings/local_settings.h"

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "store/io_result.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

class LocalSettingsTest : public ::testing::Test {
 protected:
  LocalSettingsTest() : dir(temp.path(), clock, view) {}

  testing::TempDir temp;
  ManualClock clock;
  testing::RecordingView view;
  DataDir dir;
};

TEST_F(LocalSettingsTest, SaveThenLoadKeepsTheRecordAndItsReservedBytes) {
  LocalSettings s;
  s.alarm_printer = 2;
  s.reserved = {1, 2, 3, 4, 5};
  s.sms_port = "COM4";
  ASSERT_EQ(SaveLocalSettings(dir, s), kIoOk);
  EXPECT_EQ(temp.ReadFile("TorvaPort.Dta"), std::string("\x02\x00\x00\x01\x02\x03\x04\x05\x04" "COM4\x00", 14));

  LocalSettings loaded;
  LoadLocalSettings(dir, loaded);
  EXPECT_EQ(loaded.alarm_printer, 2);
  EXPECT_EQ(loaded.sms_port, "COM4");
  EXPECT_EQ(loaded.reserved, s.reserved);

  // A second save overwrites the one record rather than adding one.
  loaded.alarm_printer = 0;
  ASSERT_EQ(SaveLocalSettings(dir, loaded), kIoOk);
  EXPECT_EQ(temp.FileSize("TorvaPort.Dta"), 14);
}

TEST_F(LocalSettingsTest, WrongSizesAndMissingFilesGiveTheDefaults) {
  struct Case {
    const char* what;
    std::string bytes;  // empty name: no file at all
    bool write;
  };
  const Case cases[] = {
      {"missing", "", false},
      {"two records", std::string("\x03\x00\x00\x00\x00\x00\x00\x00\x04" "COM1", 14) + std::string(14, '\x03'), true},
      {"short", std::string("\x03\x00\x00", 3), true},
      {"empty", "", true},
  };
  for (const Case& c : cases) {
    testing::TempDir root;
    DataDir d(root.path(), clock, view);
    if (c.write) root.WriteFile("TorvaPort.Dta", c.bytes);
    LocalSettings s;
    s.alarm_printer = 7;
    s.sms_port = "COM9";
    LoadLocalSettings(d, s);
    EXPECT_EQ(s.alarm_printer, 0) << c.what;
    EXPECT_TRUE(s.sms_port.empty()) << c.what;
  }
}

TEST_F(LocalSettingsTest, SavingOverAFileOfTheWrongSizeMakesItReadable) {
  temp.WriteFile("TorvaPort.Dta", std::string(28, '\x03'));
  LocalSettings s;
  LoadLocalSettings(dir, s);
  EXPECT_EQ(s.alarm_printer, 0);
  s.alarm_printer = 1;
  ASSERT_EQ(SaveLocalSettings(dir, s), kIoOk);
  EXPECT_EQ(temp.FileSize("TorvaPort.Dta"), 14);
  LocalSettings loaded;
  LoadLocalSettings(dir, loaded);
  EXPECT_EQ(loaded.alarm_printer, 1);
}

TEST_F(LocalSettingsTest, FileNameMatchesWithoutRegardToCase) {
  temp.WriteFile("TORVAPORT.DTA", std::string("\x01\x00\x00\x00\x00\x00\x00\x00\x02" "C3\x00\x00\x00", 14));
  LocalSettings s;
  LoadLocalSettings(dir, s);
  EXPECT_EQ(s.alarm_printer, 1);
  EXPECT_EQ(s.sms_port, "C3");
}

}  // namespace
}  // namespace duri
