// duriduvaze-cli settings --station DIR WHAT: prints what a station runs on, as JSON lines.
//   company   the company settings of "\ORBA\CIE.DTC" and "\ORBA\TVCIE.DTA" (decoded fields)
//   local     "C:\TorvaPort.Dta"
//   language  the language the station would select at start-up and every text of it in UTF-8;
//             --language and --station-code choose another
#include <nlohmann/json.hpp>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "commands.h"
#include "platform/clock.h"
#include "settings/language_entries.h"
#include "settings/language_select.h"
#include "station_settings.h"
#include "station.h"

namespace duri::cli {
namespace {

using nlohmann::json;

json CompanyJson(const LanguageTable& table, const CompanySettings& s) {
  auto text = [&table](std::string_view bytes) { return table.ToUtf8(bytes); };
  std::string switches(s.pager_switches.begin(), s.pager_switches.end());
  return {{"CompanyName", text(s.company_name)},
          {"StationCode", s.station_code},
          {"HandleAllAutomatically", s.handle_all_automatically},
          {"ScheduleDelayMinutes", s.schedule_delay_minutes},
          {"LinkSupervision", s.link_supervision},
          {"ReportLateOpenings", s.report_late_openings},
          {"RefuseSecondPending", s.refuse_second_pending},
          {"AutoUnknownAccounts", s.auto_unknown_accounts},
          {"Language", s.language},
          {"SmtpServer", text(s.smtp_server)},
          {"SenderAddress", text(s.sender_address)},
          {"MailSubject", text(s.mail_subject)},
          {"HeaderLine1", text(s.header_line1)},
          {"HeaderLine2", text(s.header_line2)},
          {"ClosingLine", text(s.closing_line)},
          {"SmtpUser", text(s.smtp_user)},
          {"SmsPrefix", text(s.sms_prefix)},
          {"PagerSwitches", text(switches)}};
}

int Show(Station& station, const std::string& what, int language, int station_code) {
  if (what == "company") {
    for (std::string_view name : {kCompanyFile, kReceiverCompanyFile}) {
      CompanySettings s;
      bool found = LoadCompanySettings(station.data, s, name);
      json line = CompanyJson(station.language, s);
      line["file"] = std::string(name);
      line["found"] = found;
      std::cout << line.dump() << "\n";
    }
    return 0;
  }
  if (what == "local") {
    LoadLocalSettings(station.data, station.local_settings);
    const LocalSettings& l = station.local_settings;
    std::cout << json{{"AlarmPrinter", l.alarm_printer}, {"SmsPort", station.language.ToUtf8(l.sms_port)}}.dump()
              << "\n";
    return 0;
  }
  LoadStartupSettings(station);
  ReloadStartupSettings(station);
  if (language >= 0) station.company_settings.language = static_cast<uint8_t>(language);
  if (station_code != -2) station.company_settings.station_code = static_cast<int16_t>(station_code);
  TableId id = SelectLanguage(station);
  const LanguageTexts& texts = TextsOf(id);
  std::cout << json{{"table", texts.name}, {"code", station.company_settings.language},
                    {"code_page", CodePageName(texts.code_page)}}.dump()
            << "\n";
  for (const ModuleEntry& e : kModuleEntries) {
    std::cout << json{{"entry", e.offset}, {"text", station.language.EntryUtf8(e.offset)}}.dump() << "\n";
  }
  for (int slot : kModuleSlots) {
    std::cout << json{{"slot", slot}, {"text", station.language.SlotUtf8(slot)}}.dump() << "\n";
  }
  return 0;
}

}  // namespace

void RegisterSettingsCommand(CLI::App& app, int* exit_code) {
  struct Options {
    std::string station = ".";
    std::string what;
    int language = -1;
    int station_code = -2;
  };
  auto options = std::make_shared<Options>();
  CLI::App* cmd = app.add_subcommand("settings", "Print a station's company and local settings or its language table");
  cmd->add_option("--station", options->station, "station root (holds ORBA/)")->check(CLI::ExistingDirectory);
  cmd->add_option("what", options->what, "company, local or language")
      ->required()
      ->check(CLI::IsMember({"company", "local", "language"}));
  cmd->add_option("--language", options->language, "language code to select instead of the settings' one")
      ->check(CLI::Range(0, 255));
  cmd->add_option("--station-code", options->station_code, "station code to select with")
      ->check(CLI::Range(-32768, 32767));
  cmd->callback([options, exit_code] {
    SystemClock clock;
    NullView view;
    std::string root = std::filesystem::absolute(options->station).lexically_normal().string();
    Station station(root, clock, view);
    *exit_code = Show(station, options->what, options->language, options->station_code);
  });
}

}  // namespace duri::cli
