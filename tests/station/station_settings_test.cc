#include "station_settings.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "settings/language_entries.h"
#include "settings/language_select.h"
#include "station_startup.h"
#include "store/lock_probe.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

class StationSettingsTest : public ::testing::Test {
 protected:
  StationSettingsTest() : station(temp.path(), clock, view) { temp.MakeDir("ORBA"); }

  // A full company file with the language and station codes given.
  void WriteCompany(const std::string& name, int language, int station_code, std::string company = "Torvane") {
    CompanySettings s;
    s.language = static_cast<uint8_t>(language);
    s.station_code = static_cast<int16_t>(station_code);
    s.company_name = company;
    uint8_t bytes[CompanySettings::kSize];
    s.Encode(bytes);
    temp.WriteFile("ORBA/" + name, std::string(reinterpret_cast<char*>(bytes), sizeof bytes));
  }

  testing::TempDir temp;
  ManualClock clock;
  testing::RecordingView view;
  Station station;
};

TEST_F(StationSettingsTest, LanguageChoiceByLanguageAndStationCode) {
  struct Case {
    int language;
    int station_code;
    bool variant;
    TableId table;
    int stored;
    const char* setup_locked;  // UTF-8
  };
  const Case cases[] = {
      {99, -1, false, TableId::kEnglish, 1, "Setup locked"},
      {7, -1, false, TableId::kEnglish, 1, "Setup locked"},
      {0, 1500, false, TableId::kEnglish, 1, "Setup locked"},
      {2, -1, false, TableId::kFrench, 2, "Configuration verrouillée"},
      {2, 8123, false, TableId::kChineseSimplified, 20, "设置已锁定"},
      {99, 8999, false, TableId::kChineseSimplified, 20, "设置已锁定"},
      {1, 6000, false, TableId::kChineseTraditional, 32, "設定已鎖定"},
      {13, 7500, false, TableId::kRussian, 12, "Настройка заблокирована"},
      {13, 9000, false, TableId::kGerman, 13, "Einrichtung gesperrt"},
      {3, 1500, false, TableId::kEnglish, 3, "Setup locked"},
      {3, 5999, false, TableId::kEnglish, 3, "Setup locked"},
      {3, 9000, false, TableId::kPortuguese, 3, "Configuração bloqueada"},
      {3, 9500, false, TableId::kPortuguese, 3, "Configuração bloqueada"},
      {3, -1, true, TableId::kPortuguese, 3, "Configuração bloqueada"},
      {3, 1500, true, TableId::kPortuguese, 3, "Configuração bloqueada"},
      {5, -1, false, TableId::kTurkish, 5, "Ayarlar kilitli"},
      {6, -1, false, TableId::kGreek, 6, "Ρυθμίσεις κλειδωμένες"},
      {21, -1, false, TableId::kJapanese, 21, "設定ロック中"},
      {31, -1, false, TableId::kEnglish2, 31, "Set-up locked"},
      {33, -1, false, TableId::kArabic, 33, "الإعداد مقفل"},
      {34, -1, false, TableId::kItalian, 34, "Configurazione bloccata"},
      {35, -1, false, TableId::kItalian2, 35, "Configurazione bloccata"},
      {4, -1, false, TableId::kSpanish, 4, "Configuración bloqueada"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "language " << c.language << " station " << c.station_code);
    station.company_settings.language = static_cast<uint8_t>(c.language);
    station.company_settings.station_code = static_cast<int16_t>(c.station_code);
    station.portuguese_variant = c.variant;
    EXPECT_EQ(SelectLanguage(station), c.table);
    EXPECT_EQ(station.company_settings.language, c.stored);
    EXPECT_EQ(station.language.EntryUtf8(kEntrySetupLocked), c.setup_locked);
  }
}

TEST_F(StationSettingsTest, RefillKeepsWhatTheNewLanguageDoesNotWrite) {
  // An entry and a slot of the product family that no table of this module writes, filled earlier.
  station.language.SetEntry(5000, "Kept text", 65);
  station.language.SetSlot(9000, "Kept slot");
  station.company_settings.language = 2;
  SelectLanguage(station);
  station.company_settings.language = 1;
  SelectLanguage(station);
  EXPECT_EQ(station.language.Entry(5000), "Kept text");
  EXPECT_EQ(station.language.Slot(9000), "Kept slot");
  EXPECT_EQ(station.language.Entry(kEntryMinimize), "Minimize");
}

TEST_F(StationSettingsTest, DateNamesAndLockTextsFollowEveryFill) {
  station.company_settings.language = 6;  // Greek
  SelectLanguage(station);
  EXPECT_EQ(station.language.ToUtf8(station.date_names.day_names[5]), "Παρασκευή");
  EXPECT_EQ(station.language.ToUtf8(station.date_names.short_day_names[1]), "Δευ");
  EXPECT_EQ(station.language.ToUtf8(station.date_names.month_name), "Ιανουάριος");
  EXPECT_EQ(station.language.ToUtf8(station.data.lock_texts.user_lock), " έχει συνδεθεί σε άλλον υπολογιστή.");

  station.company_settings.language = 13;  // German, stored in 1252
  SelectLanguage(station);
  EXPECT_EQ(station.date_names.day_names[4], "Donnerstag");
  EXPECT_EQ(station.date_names.long_month_name, "Januar");
  EXPECT_EQ(station.data.lock_texts.operator_number, "Bedienernummer");
  EXPECT_EQ(station.data.lock_texts.computer_name_is, "Der Computername lautet: ");
  EXPECT_EQ(station.data.lock_texts.general_lock,
            " hat Torvane an einem anderen Computer nicht ordnungsgem\xE4\xDF beendet.");

  station.company_settings.language = 1;
  SelectLanguage(station);
  EXPECT_EQ(station.date_names.day_names[3], "Wednesday");
  EXPECT_EQ(station.data.lock_texts.client_lock, " has locked this account on another computer.");
}

TEST_F(StationSettingsTest, StartUpWithoutCompanyFilesRunsOnTheDefaults) {
  temp.WriteFile("TorvaPort.Dta", std::string(28, '\x01'));
  LoadStartupSettings(station);
  ReloadStartupSettings(station);
  EXPECT_EQ(station.company_settings.company_name, "Torvane");
  EXPECT_EQ(station.company_settings.language, 1);
  EXPECT_EQ(station.company_settings.link_supervision, 1);
  EXPECT_EQ(station.language.Entry(kEntrySetupLocked), "Setup locked");
  // Two records in the local file: ignored.
  EXPECT_EQ(station.local_settings.alarm_printer, 0);
  EXPECT_TRUE(station.local_settings.sms_port.empty());
  // No station code: the Portuguese variant is marked for good.
  EXPECT_TRUE(station.portuguese_variant);
}

TEST_F(StationSettingsTest, StartUpReadsTheCompanyFileFirstThenRunsOnTheReceiverCopy) {
  WriteCompany("CIE.DTC", 2, 1200, "Central");
  WriteCompany("TVCIE.DTA", 13, 1200, "Receiver copy");
  temp.WriteFile("TorvaPort.Dta", std::string("\x02\x00\x00\x00\x00\x00\x00\x00\x04" "COM2\x00", 14));
  LoadStartupSettings(station);
  EXPECT_EQ(station.company_settings.company_name, "Central");
  EXPECT_EQ(station.language.EntryUtf8(kEntryMinimize), "Réduire");
  EXPECT_EQ(station.local_settings.alarm_printer, 2);
  EXPECT_EQ(station.local_settings.sms_port, "COM2");

  ReloadStartupSettings(station);
  EXPECT_EQ(station.company_settings.company_name, "Receiver copy");
  EXPECT_EQ(station.language.Entry(kEntryMinimize), "Minimieren");
  EXPECT_FALSE(station.portuguese_variant);
}

TEST_F(StationSettingsTest, StartUpFallsBackToTheReceiverCopy) {
  WriteCompany("TVCIE.DTA", 34, 1200);
  LoadStartupSettings(station);
  EXPECT_EQ(station.company_settings.language, 34);
  EXPECT_EQ(station.language.Entry(kEntryMinimize), "Riduci a icona");
}

TEST_F(StationSettingsTest, OldLayoutReceiverCopySelectsFrench) {
  std::string raw(CompanySettings::kOldLayoutSize, '\0');
  raw[162] = 0x39;  // station code 0x1539 = 5433
  raw[163] = 0x15;
  raw[416] = 2;
  temp.WriteFile("ORBA/TVCIE.DTA", raw);
  ReloadSettings(station);
  EXPECT_EQ(station.company_settings.station_code, 5433);
  EXPECT_EQ(station.language.EntryUtf8(kEntrySetupLocked), "Configuration verrouillée");
  uint8_t bytes[CompanySettings::kSize];
  station.company_settings.Encode(bytes);
  EXPECT_EQ(bytes[279], 0x39);
  EXPECT_EQ(bytes[280], 0x15);
}

TEST_F(StationSettingsTest, PeriodicReloadTakesOverALanguageChange) {
  WriteCompany("TVCIE.DTA", 1, 1200);
  ReloadStartupSettings(station);
  EXPECT_EQ(station.language.Slot(kSlotMailSentTo), "E-mail has been sent to: ");
  WriteCompany("TVCIE.DTA", 5, 1200);
  ReloadSettings(station);
  EXPECT_EQ(station.language.SlotUtf8(kSlotMailSentTo), "E-posta gönderildi: ");
  EXPECT_EQ(station.language.code_page(), CodePage::k1254);
  // The file disappears: the defaults stand again, and so does English.
  std::remove(temp.Join("ORBA/TVCIE.DTA").c_str());
  ReloadSettings(station);
  EXPECT_EQ(station.company_settings.language, 1);
  EXPECT_EQ(station.language.Slot(kSlotMailSentTo), "E-mail has been sent to: ");
}

// The start-up lock check: a data directory whose locks do not hold is refused unless --no-locks, and
// either way the reason reaches the window and error.log.
TEST_F(StationSettingsTest, DataDirectoryWithoutLocksIsRefusedUnlessAllowed) {
  EXPECT_EQ(ProbeByteRangeLocks(temp.Join("ORBA")), "");  // this file system takes them
  std::string probed;
  auto working = [&](const std::string& dir) {
    probed = dir;
    return std::string();
  };
  auto without = [](const std::string&) { return std::string("the file system refuses byte-range locks: No locks available"); };
  const struct {
    const char* name;
    LockProbe probe;
    bool no_locks;
    bool runs;
    bool told;
  } cases[] = {{"locks hold", working, false, true, false},
               {"no locks, refused", without, false, false, true},
               {"no locks, allowed", without, true, true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(temp.Join("ORBA/error.log").c_str());
    const size_t boxes = view.Messages().size();
    std::string message;
    EXPECT_EQ(CheckDataLocks(station, c.no_locks, c.probe, &message), c.runs);
    EXPECT_EQ(!message.empty(), c.told) << message;
    EXPECT_EQ(temp.Exists("ORBA/error.log"), c.told);
    EXPECT_EQ(view.Messages().size(), boxes + (c.told ? 1 : 0));
    if (c.told) {
      EXPECT_NE(temp.ReadFile("ORBA/error.log").find("refuses byte-range locks"), std::string::npos);
      EXPECT_NE(message.find(c.no_locks ? "Running without locks" : "does not run"), std::string::npos) << message;
    }
  }
  EXPECT_EQ(probed, temp.Join("ORBA"));
}

}  // namespace
}  // namespace duri
