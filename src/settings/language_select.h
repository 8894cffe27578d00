// Choosing and filling the language table from the company settings' language code and station code.
#ifndef DURIDUVAZE_SETTINGS_LANGUAGE_SELECT_H_
#define DURIDUVAZE_SETTINGS_LANGUAGE_SELECT_H_

#include <optional>
#include <string>
#include <string_view>

#include "settings/code_page.h"
#include "settings/company_settings.h"
#include "settings/date_names.h"
#include "settings/language_table.h"
#include "settings/language_texts.h"

namespace duri {

// Language codes of the company settings.
constexpr int kLanguageEnglish = 1;
constexpr int kLanguageFrench = 2;
constexpr int kLanguagePortuguese = 3;  // Portuguese or English, see SelectLanguageTable
constexpr int kLanguageSpanish = 4;
constexpr int kLanguageTurkish = 5;
constexpr int kLanguageGreek = 6;
constexpr int kLanguageRussian = 12;
constexpr int kLanguageGerman = 13;
constexpr int kLanguageChineseSimplified = 20;
constexpr int kLanguageJapanese = 21;
constexpr int kLanguageEnglish2 = 31;
constexpr int kLanguageChineseTraditional = 32;
constexpr int kLanguageArabic = 33;
constexpr int kLanguageItalian = 34;
constexpr int kLanguageItalian2 = 35;

// True for the fifteen codes that name a table.
bool IsLanguageCode(int code);

// Writes every text of one language into the table, converted to its code page, and makes that code
// page the table's. Entries and slots the language does not write keep what they hold.
void FillLanguage(LanguageTable& table, TableId id);

// The language selection: an unknown language code becomes English (1) in the settings; a station code
// of 8000..8999, 6000..6999 or 7000..7999 imposes simplified Chinese (20), traditional Chinese (32) or
// Russian (12) and stores that code; code 3 is Portuguese only for station codes of 9000 and more or
// with the Portuguese-variant mark, else English. Fills the table and copies the date names. Returns
// the table filled.
TableId SelectLanguageTable(CompanySettings& settings, bool portuguese_variant, LanguageTable& table,
                            DateNames& names);

// A text in `table`'s code page, cut to at most `capacity` bytes without splitting a double-byte
// character.
std::string CutToCapacity(std::string_view text, int capacity, CodePage page);

}  // namespace duri

#endif  // DURIDUVAZE_SETTINGS_LANGUAGE_SELECT_H_
