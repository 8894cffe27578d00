// Every table must hold every text this module shows, in a form its code page can store and that
// reads back as the same Unicode text.
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "settings/code_page.h"
#include "settings/language_entries.h"
#include "settings/language_select.h"
#include "settings/language_texts.h"

namespace duri {
namespace {

constexpr TableId kAllTables[] = {
    TableId::kEnglish,  TableId::kFrench,   TableId::kPortuguese,         TableId::kSpanish,
    TableId::kTurkish,  TableId::kGreek,    TableId::kRussian,            TableId::kGerman,
    TableId::kChineseSimplified, TableId::kJapanese, TableId::kEnglish2, TableId::kChineseTraditional,
    TableId::kArabic,   TableId::kItalian,  TableId::kItalian2,
};

std::string TextOf(std::span<const TableText> texts, int number) {
  for (const TableText& t : texts) {
    if (t.number == number) return std::string(t.text);
  }
  return std::string();
}

TEST(LanguageTextsTest, EveryTableHoldsEveryTextWithinCapacityAndRoundTrips) {
  for (TableId id : kAllTables) {
    const LanguageTexts& texts = TextsOf(id);
    SCOPED_TRACE(std::string(texts.name));
    LanguageTable table;
    FillLanguage(table, id);
    EXPECT_EQ(table.code_page(), texts.code_page);

    for (const ModuleEntry& e : kModuleEntries) {
      std::string utf8 = TextOf(texts.entries, e.offset);
      ASSERT_FALSE(utf8.empty()) << "entry " << e.offset << " missing";
      std::optional<std::string> bytes = Utf8ToCodePage(utf8, texts.code_page);
      ASSERT_TRUE(bytes.has_value()) << "entry " << e.offset << " not in the code page: " << utf8;
      EXPECT_LE(static_cast<int>(bytes->size()), e.capacity) << "entry " << e.offset << ": " << utf8;
      EXPECT_EQ(table.Entry(e.offset), *bytes) << "entry " << e.offset;
      EXPECT_EQ(table.EntryUtf8(e.offset), utf8) << "entry " << e.offset;
    }
    for (int slot : kModuleSlots) {
      std::string utf8 = TextOf(texts.slots, slot);
      ASSERT_FALSE(utf8.empty()) << "slot " << slot << " missing";
      ASSERT_TRUE(Utf8ToCodePage(utf8, texts.code_page).has_value()) << "slot " << slot << ": " << utf8;
      EXPECT_EQ(table.SlotUtf8(slot), utf8) << "slot " << slot;
    }
  }
}

TEST(LanguageTextsTest, TablesWriteOnlyKnownNumbersOnce) {
  for (TableId id : kAllTables) {
    const LanguageTexts& texts = TextsOf(id);
    SCOPED_TRACE(std::string(texts.name));
    std::set<int> seen;
    for (const TableText& t : texts.entries) {
      EXPECT_TRUE(seen.insert(t.number).second) << "entry " << t.number << " twice";
      EXPECT_GT(EntryCapacity(t.number), 0) << "entry " << t.number << " has no place in the block";
    }
    std::set<int> slots;
    for (const TableText& t : texts.slots) EXPECT_TRUE(slots.insert(t.number).second) << t.number;
  }
}

// Texts that other texts are joined to keep the blank that separates them, in every language.
TEST(LanguageTextsTest, JoiningBlanksAreKeptInEveryLanguage) {
  const int leading_entries[] = {kEntryInvalid};
  const int leading_slots[] = {kSlotUserLock, kSlotClientLock, kSlotNoteLock, kSlotGeneralLock};
  const int trailing_entries[] = {kEntryActiveCodes, kEntryVocalModeFor, kEntryComputerNameIs};
  const int trailing_slots[] = {kSlotMailSentTo};
  for (TableId id : kAllTables) {
    const LanguageTexts& texts = TextsOf(id);
    SCOPED_TRACE(std::string(texts.name));
    for (int n : leading_entries) EXPECT_EQ(TextOf(texts.entries, n).front(), ' ') << n;
    for (int n : leading_slots) EXPECT_EQ(TextOf(texts.slots, n).front(), ' ') << n;
    for (int n : trailing_entries) EXPECT_EQ(TextOf(texts.entries, n).back(), ' ') << n;
    for (int n : trailing_slots) EXPECT_EQ(TextOf(texts.slots, n).back(), ' ') << n;
  }
}

// The English wording is the product family's own; other programs and operators know it word for word.
TEST(LanguageTextsTest, EnglishTextsAreExact) {
  const TableText expected_entries[] = {
      {kEntryLateOpening, "Late opening"},
      {kEntryClosedForTheDay, "Closed for the day"},
      {kEntryLateClosing, "Late closing"},
      {kEntryAutoTestNotReceived, "Auto test not received"},
      {kEntryGuardRoundNotReceived, "Guard round not received"},
      {kEntryActiveAccount, "Active account"},
      {kEntryActiveCodes, "Active code(s) "},
      {kEntryInvalid, " Invalid"},
      {kEntryOperatorNumber, "Operator number"},
      {kEntryComputerNameIs, "The computer name is: "},
      {kEntryTorvaneReport, "Torvane report"},
      {kEntrySetupLocked, "Setup locked"},
      {kEntryUnlockSetup, "Unlock setup"},
      {kEntrySetupUnlocked, "Setup unlocked "},
      {kEntryLockSetup, "Lock setup"},
      {kEntryWorkingOnPort, "Working on port"},
      {kEntryPassword, "Password (Orba/Torvane Level 'A' Only)"},
      {kEntryReceiverOption, "Receiver option "},
      {kEntryPortSettings, "Port settings"},
      {kEntrySaveInfo, "Save info"},
      {kEntryMiscBox, "Misc "},
      {kEntryCompressCid, "Compress Contact ID"},
      {kEntryShowHeartbeat, "Show heartbeat"},
      {kEntryAccountPrefix, "Account number prefix "},
      {kEntryPrefix, "Prefix"},
      {kEntryReceiverNumber, "Receiver Number"},
      {kEntryLineNumber, "Line number"},
      {kEntryTraffic, "Traffic "},
      {kEntryPanelMessage, "Panel message"},
      {kEntryMisc, "Misc"},
      {kEntryMinimize, "Minimize"},
      {kEntryPrinterNone, "Printer(None)"},
      {kEntryNone, "(None)"},
      {kEntryVocalModeFor, "Vocal mode for "},
      {kEntryReset, "Reset"},
      {kEntryCodeUnknown, "This Alarm code is unknown"},
      {kEntryInactiveAccountCode, "Inactive account/code"},
      {kEntryTest, "Test"},
      {kEntryBy, "By"},
      {kEntryHotUser, "(Hot User)"},
      {kEntryUnauthorized, "(Unauthorized)"},
      {kEntryUnscheduled, "(Unscheduled)"},
      {kEntryUnreadableMessage, "Unreadable receiver message"},
      {kEntryShortDayNames, "Sun"},
      {kEntryShortDayNames + 6 * kShortDayNameStride, "Sat"},
      {kEntryMonthName, "January"},
      {kEntryLongMonthName, "January"},
  };
  const TableText expected_slots[] = {
      {kSlotUserLock, " has logged in on another computer."},
      {kSlotClientLock, " has locked this account on another computer."},
      {kSlotNoteLock, " has locked this note on another computer."},
      {kSlotGeneralLock, " has exit from Torvane abnormally on another computer."},
      {kSlotMailAddressMissing, "E-mail address is missing."},
      {kSlotMailCannotConnect, "Cannot connect to e-mail server."},
      {kSlotMailTimeOut, "Cannot send e-mail time out."},
      {kSlotMailSentTo, "E-mail has been sent to: "},
  };
  LanguageTable table;
  FillLanguage(table, TableId::kEnglish);
  for (const TableText& t : expected_entries) EXPECT_EQ(table.Entry(t.number), t.text) << t.number;
  for (const TableText& t : expected_slots) EXPECT_EQ(table.Slot(t.number), t.text) << t.number;
}

TEST(CodePageTest, ConversionBothWays) {
  EXPECT_EQ(Utf8ToCodePage("Réduire", CodePage::k1252), std::string("R\xE9" "duire"));
  EXPECT_EQ(Utf8ToCodePage("日", CodePage::k1252), std::nullopt);
  EXPECT_EQ(Utf8ToCodePage("\xFF\xFE", CodePage::k1252), std::nullopt);  // not UTF-8
  EXPECT_EQ(Utf8ToCodePage("日曜日", CodePage::k932), std::string("\x93\xFA\x97\x6A\x93\xFA"));
  EXPECT_EQ(CodePageToUtf8("\xC4\xE5\xF5", CodePage::k1253), "Δευ");
  // 0x81 is no character of 1252: it shows as the replacement mark, the rest still converts.
  EXPECT_EQ(CodePageToUtf8("a\x81" "b", CodePage::k1252), "a\xEF\xBF\xBD" "b");
  // A lone lead byte at the end of a double-byte text.
  EXPECT_EQ(CodePageToUtf8("\x93\xFA\x93", CodePage::k932), "日\xEF\xBF\xBD");
}

TEST(CodePageTest, CuttingNeverSplitsADoubleByteCharacter) {
  std::string gbk = *Utf8ToCodePage("星期日", CodePage::k936);  // 6 bytes
  EXPECT_EQ(CutToCapacity(gbk, 5, CodePage::k936), gbk.substr(0, 4));
  EXPECT_EQ(CutToCapacity(gbk, 6, CodePage::k936), gbk);
  std::string sjis = *Utf8ToCodePage("ｱ日", CodePage::k932);  // half-width katakana is one byte
  EXPECT_EQ(CutToCapacity(sjis, 2, CodePage::k932), sjis.substr(0, 1));
  EXPECT_EQ(CutToCapacity("Wednesday", 8, CodePage::k1252), "Wednesda");
}

}  // namespace
}  // namespace duri
