#include "station_settings.h"

#include <string>

#include "settings/language_entries.h"
#include "settings/language_select.h"

namespace duri {
namespace {

void TakeIfFilled(std::string text, std::string& into) {
  if (!text.empty()) into = std::move(text);
}

void FillLockTexts(const LanguageTable& table, LockTexts& texts) {
  TakeIfFilled(table.Entry(kEntryOperatorNumber), texts.operator_number);
  TakeIfFilled(table.Entry(kEntryComputerNameIs), texts.computer_name_is);
  TakeIfFilled(table.Slot(kSlotUserLock), texts.user_lock);
  TakeIfFilled(table.Slot(kSlotClientLock), texts.client_lock);
  TakeIfFilled(table.Slot(kSlotNoteLock), texts.note_lock);
  TakeIfFilled(table.Slot(kSlotGeneralLock), texts.general_lock);
}

}  // namespace

TableId SelectLanguage(Station& station) {
  TableId id = SelectLanguageTable(station.company_settings, station.portuguese_variant, station.language,
                                   station.date_names);
  FillLockTexts(station.language, station.data.lock_texts);
  return id;
}

void LoadStartupSettings(Station& station) {
  if (!LoadCompanySettings(station.data, station.company_settings, kCompanyFile)) {
    LoadCompanySettings(station.data, station.company_settings, kReceiverCompanyFile);
  }
  SelectLanguage(station);
  LoadLocalSettings(station.data, station.local_settings);
}

void ReloadStartupSettings(Station& station) {
  LoadCompanySettings(station.data, station.company_settings, kReceiverCompanyFile);
  if (station.company_settings.station_code == CompanySettings::kNoStationCode) station.portuguese_variant = true;
  SelectLanguage(station);
}

void ReloadSettings(Station& station) {
  LoadCompanySettings(station.data, station.company_settings, kReceiverCompanyFile);
  SelectLanguage(station);
}

}  // namespace duri
