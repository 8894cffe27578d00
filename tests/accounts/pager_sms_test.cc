#include "accounts/pager_sms.h"

#include <cstdio>

#include <gtest/gtest.h>

#include "station.h"
#include "support/recording_program.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

using testing::WaitForRecord;
using testing::WriteRecordingProgram;

std::string EncodedEntry(uint8_t kind, std::string_view destination1, std::string_view destination2 = "",
                         uint8_t option1 = 0, uint8_t option2 = 0) {
  NotifyEntry e;
  for (int i = 0; i < NotifyEntry::kOwnedSize; ++i) e.owned[i] = static_cast<uint8_t>(0xA0 + i);
  e.kind = kind;
  e.destination1 = destination1;
  e.destination2 = destination2;
  e.option1 = option1;
  e.option2 = option2;
  std::string bytes(NotifyEntry::kSize, '\0');
  e.Encode(reinterpret_cast<uint8_t*>(bytes.data()));
  return bytes;
}

class PagerSmsTest : public ::testing::Test {
 protected:
  PagerSmsTest() : station_(tmp_.path(), clock_, view_) { tmp_.MakeDir("ORBA"); }

  testing::TempDir tmp_;
  ManualClock clock_;
  testing::RecordingView view_;
  Station station_;
};

TEST_F(PagerSmsTest, EntryNumberIsAByteOffset) {
  tmp_.WriteFile("ORBA/PAGER.DAT", EncodedEntry(1, "") + EncodedEntry(3, "a@example.com", "b@example.com", 1, 0) +
                                       EncodedEntry(4, "5551234") + std::string(26, '\x07'));
  const struct {
    int32_t p;
    bool ok;
    int32_t p_after;
    uint8_t kind;
    std::string destination1;
  } cases[] = {
      {0, true, 0, 1, ""},
      {158, true, 158, 3, "a@example.com"},
      {316, true, 316, 4, "5551234"},
      {474, true, 474, 0, ""},   // only 26 bytes left: a short read leaves the cleared entry
      {500, true, 500, 0, ""},   // at the very end: nothing read
      {501, false, -1, 0, ""},   // past the end
      {-1, false, -1, 0, ""},
      {-7, false, -7, 0, ""},
  };
  for (const auto& c : cases) {
    NotifyEntry entry;
    entry.kind = 9;
    entry.destination1 = "stale";
    entry.option1 = 5;
    int32_t p = c.p;
    EXPECT_EQ(ReadNotifyEntry(station_.data, p, entry), c.ok) << "entry " << c.p;
    EXPECT_EQ(p, c.p_after) << "entry " << c.p;
    EXPECT_EQ(entry.kind, c.kind) << "entry " << c.p;
    EXPECT_EQ(entry.destination1.str(), c.destination1) << "entry " << c.p;
    if (c.p == 158) {
      EXPECT_EQ(entry.destination2.str(), "b@example.com");
      EXPECT_EQ(entry.option1, 1);
    } else if (c.kind == 0) {
      EXPECT_EQ(entry.option1, 0) << "entry " << c.p;
    }
  }
}

TEST_F(PagerSmsTest, MissingFileReadsNothing) {
  NotifyEntry entry;
  int32_t p = 0;
  EXPECT_FALSE(ReadNotifyEntry(station_.data, p, entry));
  EXPECT_EQ(p, -1);
  EXPECT_EQ(entry.kind, 0);
}

TEST_F(PagerSmsTest, PagerProgramGetsNumberAndTextWithUnderscores) {
  WriteRecordingProgram(tmp_.Join("ORBA/TVPager.Kld"), tmp_.Join("pager.rec"));
  SendPager(station_.data, station_.launcher(), 316, "Alarm zone 3");
  auto record = WaitForRecord(tmp_.Join("pager.rec"));
  ASSERT_GE(record.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(record.begin(), record.end() - 3),
            std::vector<std::string>({"316", "Alarm_zone_3"}));
}

TEST_F(PagerSmsTest, SmsProgramGetsPortNumberAndQuotedMessageAsOneArgument) {
  WriteRecordingProgram(tmp_.Join("ORBA/sendsms.kld"), tmp_.Join("sms.rec"));
  NotifyEntry entry;
  entry.kind = NotifyEntry::kKindSms;
  entry.destination1 = "5551234";

  SendSms(station_.data, station_.launcher(), "1234", "Fire", entry, "", "COM3");
  auto record = WaitForRecord(tmp_.Join("sms.rec"));
  ASSERT_GE(record.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(record.begin(), record.end() - 3),
            std::vector<std::string>({"COM3", "5551234", "1234 Fire"}));

  std::remove(tmp_.Join("sms.rec").c_str());
  SendSms(station_.data, station_.launcher(), "1234", "Fire", entry, "+1", "COM3");
  record = WaitForRecord(tmp_.Join("sms.rec"));
  ASSERT_GE(record.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(record.begin(), record.end() - 3),
            std::vector<std::string>({"COM3", "+15551234", "1234 Fire"}));
}

TEST(PagerSmsArgumentsTest, WhenNothingIsStarted) {
  ManualClock clock;
  NullView view;
  DataDir dir("/station", clock, view);
  NotifyEntry entry;
  entry.destination1 = "5551234";
  NotifyEntry no_number;

  EXPECT_FALSE(PagerArguments(dir, -1, "Alarm"));
  EXPECT_EQ(*PagerArguments(dir, 0, ""), std::vector<std::string>({"/station/ORBA/TVPager.Kld", "0"}));
  EXPECT_FALSE(SmsArguments(dir, "1234", "Fire", entry, "", ""));         // no modem port
  EXPECT_FALSE(SmsArguments(dir, "1234", "Fire", no_number, "", "COM3"));  // no telephone number
  EXPECT_FALSE(SmsArguments(dir, "", "", entry, "", "COM3"));             // no message
  // Prefix and number are cut to 80 together.
  entry.destination1 = std::string(60, '9');
  auto argv = SmsArguments(dir, "1", "x", entry, std::string(20, '0') + "+", "COM3");
  ASSERT_TRUE(argv);
  EXPECT_EQ((*argv)[2], std::string(20, '0') + "+" + std::string(59, '9'));
  EXPECT_EQ((*argv)[2].size(), 80u);
}

}  // namespace
}  // namespace duri
