#include "settings/language_select.h"

#include "settings/language_entries.h"

namespace duri {
namespace {

// Entries outside this module's list still get the interface width.
constexpr int kDefaultCapacity = 65;

bool IsLeadByte(uint8_t b, CodePage page) {
  switch (page) {
    case CodePage::k936:
    case CodePage::k950:
      return b >= 0x81 && b <= 0xFE;
    case CodePage::k932:
      return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    default:
      return false;
  }
}

std::optional<TableId> TableOfCode(int code) {
  switch (code) {
    case kLanguageEnglish: return TableId::kEnglish;
    case kLanguageFrench: return TableId::kFrench;
    case kLanguagePortuguese: return TableId::kPortuguese;
    case kLanguageSpanish: return TableId::kSpanish;
    case kLanguageTurkish: return TableId::kTurkish;
    case kLanguageGreek: return TableId::kGreek;
    case kLanguageRussian: return TableId::kRussian;
    case kLanguageGerman: return TableId::kGerman;
    case kLanguageChineseSimplified: return TableId::kChineseSimplified;
    case kLanguageJapanese: return TableId::kJapanese;
    case kLanguageEnglish2: return TableId::kEnglish2;
    case kLanguageChineseTraditional: return TableId::kChineseTraditional;
    case kLanguageArabic: return TableId::kArabic;
    case kLanguageItalian: return TableId::kItalian;
    case kLanguageItalian2: return TableId::kItalian2;
    default: return std::nullopt;
  }
}

}  // namespace

const LanguageTexts& TextsOf(TableId id) {
  switch (id) {
    case TableId::kEnglish: return kEnglishTexts;
    case TableId::kFrench: return kFrenchTexts;
    case TableId::kPortuguese: return kPortugueseTexts;
    case TableId::kSpanish: return kSpanishTexts;
    case TableId::kTurkish: return kTurkishTexts;
    case TableId::kGreek: return kGreekTexts;
    case TableId::kRussian: return kRussianTexts;
    case TableId::kGerman: return kGermanTexts;
    case TableId::kChineseSimplified: return kChineseSimplifiedTexts;
    case TableId::kJapanese: return kJapaneseTexts;
    case TableId::kEnglish2: return kEnglish2Texts;
    case TableId::kChineseTraditional: return kChineseTraditionalTexts;
    case TableId::kArabic: return kArabicTexts;
    case TableId::kItalian: return kItalianTexts;
    case TableId::kItalian2: return kItalian2Texts;
  }
  return kEnglishTexts;
}

bool IsLanguageCode(int code) { return TableOfCode(code).has_value(); }

std::string CutToCapacity(std::string_view text, int capacity, CodePage page) {
  size_t limit = capacity < 0 ? 0 : static_cast<size_t>(capacity);
  if (text.size() <= limit) return std::string(text);
  size_t end = 0;
  while (end < text.size()) {
    size_t width = IsLeadByte(static_cast<uint8_t>(text[end]), page) ? 2 : 1;
    if (end + width > limit) break;
    end += width;
  }
  return std::string(text.substr(0, end));
}

void FillLanguage(LanguageTable& table, TableId id) {
  const LanguageTexts& texts = TextsOf(id);
  for (const TableText& t : texts.entries) {
    std::optional<std::string> bytes = Utf8ToCodePage(t.text, texts.code_page);
    if (!bytes) continue;  // the table test keeps every text convertible
    int capacity = EntryCapacity(t.number);
    if (capacity == 0) capacity = kDefaultCapacity;
    table.SetEntry(t.number, CutToCapacity(*bytes, capacity, texts.code_page), capacity);
  }
  for (const TableText& t : texts.slots) {
    std::optional<std::string> bytes = Utf8ToCodePage(t.text, texts.code_page);
    if (bytes) table.SetSlot(t.number, *bytes);
  }
  table.set_code_page(texts.code_page);
}

TableId SelectLanguageTable(CompanySettings& settings, bool portuguese_variant, LanguageTable& table,
                            DateNames& names) {
  if (!IsLanguageCode(settings.language)) settings.language = kLanguageEnglish;
  int station = settings.station_code;
  TableId id;
  if (station >= 8000 && station <= 8999) {
    id = TableId::kChineseSimplified;
    settings.language = kLanguageChineseSimplified;
  } else if (station >= 6000 && station <= 6999) {
    id = TableId::kChineseTraditional;
    settings.language = kLanguageChineseTraditional;
  } else if (station >= 7000 && station <= 7999) {
    id = TableId::kRussian;
    settings.language = kLanguageRussian;
  } else if (settings.language == kLanguagePortuguese) {
    id = station >= 9000 || portuguese_variant ? TableId::kPortuguese : TableId::kEnglish;
  } else {
    id = *TableOfCode(settings.language);
  }
  FillLanguage(table, id);
  CopyDateNames(table, names);
  return id;
}

}  // namespace duri
