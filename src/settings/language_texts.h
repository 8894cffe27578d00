// The fifteen language tables: for each, the texts this module shows or writes, in UTF-8, by entry and
// slot number, and the code page the table is stored in. Filling a table converts each text to that
// code page. A table writes only its own texts and never clears the others.
#ifndef DURIDUVAZE_SETTINGS_LANGUAGE_TEXTS_H_
#define DURIDUVAZE_SETTINGS_LANGUAGE_TEXTS_H_

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "settings/code_page.h"

namespace duri {

// One text of a table: entry offset or slot number, and the text in UTF-8.
struct TableText {
  int number;
  std::string_view text;
};

struct LanguageTexts {
  std::string_view name;
  CodePage code_page;
  std::span<const TableText> entries;
  std::span<const TableText> slots;
};

enum class TableId : uint8_t {
  kEnglish,
  kFrench,
  kPortuguese,
  kSpanish,
  kTurkish,
  kGreek,
  kRussian,
  kGerman,
  kChineseSimplified,
  kJapanese,
  kEnglish2,
  kChineseTraditional,
  kArabic,
  kItalian,
  kItalian2,
};
constexpr int kTableCount = 15;

extern const LanguageTexts kEnglishTexts;
extern const LanguageTexts kFrenchTexts;
extern const LanguageTexts kPortugueseTexts;
extern const LanguageTexts kSpanishTexts;
extern const LanguageTexts kTurkishTexts;
extern const LanguageTexts kGreekTexts;
extern const LanguageTexts kRussianTexts;
extern const LanguageTexts kGermanTexts;
extern const LanguageTexts kChineseSimplifiedTexts;
extern const LanguageTexts kJapaneseTexts;
extern const LanguageTexts kEnglish2Texts;
extern const LanguageTexts kChineseTraditionalTexts;
extern const LanguageTexts kArabicTexts;
extern const LanguageTexts kItalianTexts;
extern const LanguageTexts kItalian2Texts;

const LanguageTexts& TextsOf(TableId id);

}  // namespace duri

#endif  // DURIDUVAZE_SETTINGS_LANGUAGE_TEXTS_H_
