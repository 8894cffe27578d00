#include "settings/company_settings.h"

#include <string>

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "store/shared_file.h"
#include "store/coding.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

class CompanySettingsTest : public ::testing::Test {
 protected:
  CompanySettingsTest() : dir(temp.path(), clock, view) { temp.MakeDir("ORBA"); }

  testing::TempDir temp;
  ManualClock clock;
  testing::RecordingView view;
  DataDir dir;
};

std::string Text(std::string_view s, size_t capacity) {
  std::string field(capacity + 1, '\0');
  field[0] = static_cast<char>(s.size());
  field.replace(1, s.size(), s);
  return field;
}

TEST_F(CompanySettingsTest, NoFileLeavesTheDefaults) {
  CompanySettings s;
  s.language = 2;
  s.company_name = "Other";
  EXPECT_FALSE(LoadCompanySettings(dir, s, kCompanyFile));
  EXPECT_EQ(s.company_name, "Torvane");
  EXPECT_EQ(s.language, 99);
  EXPECT_EQ(s.link_supervision, 1);
  EXPECT_EQ(s.station_code, -1);
  EXPECT_EQ(s.schedule_delay_minutes, 30);

  uint8_t bytes[CompanySettings::kSize];
  s.Encode(bytes);
  EXPECT_EQ(bytes[326], 1);
  EXPECT_EQ(DecodeSigned16(bytes + 397), 15);
  EXPECT_EQ(bytes[402], 10);
  EXPECT_EQ(bytes[406], 99);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 8), std::string("\x07Torvane"));
}

TEST_F(CompanySettingsTest, FullRecordRoundTripsEveryByte) {
  std::string raw(CompanySettings::kSize, '\0');
  for (size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<char>((i * 7 + 3) & 0x7F);
  // Valid lengths for every decoded text so that the record is a real one.
  const std::pair<int, int> texts[] = {{0, 40},   {407, 60}, {468, 60}, {529, 30}, {560, 50},
                                       {611, 50}, {662, 50}, {901, 30}, {932, 30}, {963, 20}};
  for (auto [offset, capacity] : texts) raw[static_cast<size_t>(offset)] = static_cast<char>(capacity / 2);
  temp.WriteFile("ORBA/TVCIE.DTA", raw);

  CompanySettings s;
  ASSERT_TRUE(LoadCompanySettings(dir, s, kReceiverCompanyFile));
  uint8_t out[CompanySettings::kSize];
  s.Encode(out);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out), sizeof out), raw);
  EXPECT_EQ(s.language, raw[406]);
  EXPECT_EQ(s.station_code, DecodeSigned16(reinterpret_cast<const uint8_t*>(raw.data()) + 279));
  EXPECT_EQ(s.smtp_server.length(), 30);
  EXPECT_EQ(s.PagerSwitch(3), raw[987]);
  EXPECT_EQ(s.PagerSwitch(10), '\0');
}

TEST_F(CompanySettingsTest, ShortFileFillsOnlyItsOwnLength) {
  std::string raw(1000, '\x05');
  raw[0] = 3;
  temp.WriteFile("ORBA/TVCIE.DTA", raw);
  CompanySettings s;
  ASSERT_TRUE(LoadCompanySettings(dir, s, kReceiverCompanyFile));
  uint8_t out[CompanySettings::kSize];
  s.Encode(out);
  for (int i = 1; i < 1000; ++i) ASSERT_EQ(out[i], 5) << i;
  for (int i = 1000; i < CompanySettings::kSize; ++i) ASSERT_EQ(out[i], 0) << i;
  EXPECT_EQ(s.company_name, "\x05\x05\x05");
  EXPECT_EQ(s.language, 5);
  EXPECT_EQ(s.station_code, 0x0505);
}

TEST_F(CompanySettingsTest, OldLayoutIsConvertedFieldByField) {
  std::string raw(CompanySettings::kOldLayoutSize, '\0');
  raw.replace(0, 41, Text("Centrale Nord", 40));
  raw[162] = static_cast<char>(0xD2);  // 1234
  raw[163] = 0x04;
  raw[196] = 1;
  raw.replace(198, 41, Text("mail.example.com", 40));
  raw.replace(239, 19, Text("alarm@example.com", 18));
  ASSERT_EQ(raw.size(), 504u);
  raw[416] = 2;
  raw[417] = 1;
  raw[426] = 1;
  raw[492] = 45;
  raw[496] = 0;
  raw[497] = 1;
  temp.WriteFile("ORBA/TVCIE.DTA", raw);

  CompanySettings s;
  ASSERT_TRUE(LoadCompanySettings(dir, s, kReceiverCompanyFile));
  EXPECT_EQ(s.company_name, "Centrale Nord");
  EXPECT_EQ(s.station_code, 1234);
  EXPECT_EQ(s.handle_all_automatically, 1);
  EXPECT_EQ(s.smtp_server, "mail.example.com");
  EXPECT_EQ(s.sender_address, "alarm@example.com");
  EXPECT_EQ(s.language, 2);
  EXPECT_EQ(s.auto_unknown_accounts, 1);
  EXPECT_EQ(s.refuse_second_pending, 1);
  EXPECT_EQ(s.schedule_delay_minutes, 45);
  EXPECT_EQ(s.link_supervision, 0);
  EXPECT_EQ(s.report_late_openings, 1);
  // Fields the old layout does not have keep their defaults.
  EXPECT_TRUE(s.mail_subject.empty());
  uint8_t out[CompanySettings::kSize];
  s.Encode(out);
  EXPECT_EQ(DecodeSigned16(out + 279), 1234);
  EXPECT_EQ(out[402], 10);
}

TEST_F(CompanySettingsTest, OldLayoutTextsAreCutToTheNewCapacity) {
  std::string raw(CompanySettings::kOldLayoutSize, 'x');
  raw[0] = static_cast<char>(200);
  raw[198] = static_cast<char>(200);
  temp.WriteFile("ORBA/TVCIE.DTA", raw);
  CompanySettings s;
  ASSERT_TRUE(LoadCompanySettings(dir, s, kReceiverCompanyFile));
  EXPECT_EQ(s.company_name.length(), 40);
  EXPECT_EQ(s.smtp_server.length(), 60);
}

TEST_F(CompanySettingsTest, EveryLoadStartsFromTheDefaultsButKeepsLoginAndPagerSwitches) {
  CompanySettings written;
  written.language = 13;
  written.report_late_openings = 1;
  written.smtp_user = "alice";
  written.smtp_password = "secret";
  written.pager_switches = {'1', '0', '1', '0', '0', '0', '0', '0', '0', '1'};
  uint8_t bytes[CompanySettings::kSize];
  written.Encode(bytes);
  temp.WriteFile("ORBA/TVCIE.DTA", std::string(reinterpret_cast<char*>(bytes), sizeof bytes));

  CompanySettings s;
  ASSERT_TRUE(LoadCompanySettings(dir, s, kReceiverCompanyFile));
  EXPECT_EQ(s.language, 13);
  EXPECT_EQ(s.smtp_user, "alice");

  // The file shrinks to 100 bytes: everything past them returns to its default, except the fields
  // that are never reset.
  temp.WriteFile("ORBA/TVCIE.DTA", std::string(reinterpret_cast<char*>(bytes), 100));
  ASSERT_TRUE(LoadCompanySettings(dir, s, kReceiverCompanyFile));
  EXPECT_EQ(s.language, 99);
  EXPECT_EQ(s.report_late_openings, 0);
  EXPECT_EQ(s.smtp_user, "alice");
  EXPECT_EQ(s.smtp_password, "secret");
  EXPECT_EQ(s.PagerSwitch(9), '1');
}

TEST_F(CompanySettingsTest, RefusedOpenKeepsTheSettingsHeld) {
  CompanySettings written;
  written.language = 2;
  uint8_t bytes[CompanySettings::kSize];
  written.Encode(bytes);
  temp.WriteFile("ORBA/TVCIE.DTA", std::string(reinterpret_cast<char*>(bytes), sizeof bytes));
  CompanySettings s;
  ASSERT_TRUE(LoadCompanySettings(dir, s, kReceiverCompanyFile));

  // Another program holds the file read-write deny-write.
  SharedFile holder;
  ASSERT_EQ(OpenForUpdate(dir, holder, kReceiverCompanyFile, 1, false), kIoOk);
  EXPECT_FALSE(LoadCompanySettings(dir, s, kReceiverCompanyFile));
  EXPECT_EQ(s.language, 2);
  CloseShared(dir, holder);
}

}  // namespace
}  // namespace duri
