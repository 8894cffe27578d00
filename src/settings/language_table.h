// The language table: one 47064-byte block of length-prefixed entries at fixed offsets, plus text slots
// (texts of any length referenced by number). Every user-visible text is read from it; texts are
// bytes in the code page of the language last filled, which ToUtf8 turns into Unicode for display.
#ifndef DURIDUVAZE_SETTINGS_LANGUAGE_TABLE_H_
#define DURIDUVAZE_SETTINGS_LANGUAGE_TABLE_H_

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "settings/code_page.h"

namespace duri {

class LanguageTable {
 public:
  static constexpr int kSize = 47064;

  // Entry N: the length-prefixed text whose length byte is at offset N. Empty when never filled or
  // when N is outside the block.
  std::string Entry(int offset) const;
  // Writes a text at an entry, cut to capacity characters (the distance to the next entry less one).
  void SetEntry(int offset, std::string_view text, int capacity);
  // Slot i: a text of any length. Empty when never filled.
  std::string Slot(int index) const;
  void SetSlot(int index, std::string_view text);

  // The code page of the texts last filled; a table never filled holds plain ASCII and reads as 1252.
  CodePage code_page() const { return code_page_; }
  void set_code_page(CodePage page) { code_page_ = page; }
  // A text of this table (or built from its texts) in UTF-8, for the window.
  std::string ToUtf8(std::string_view text) const { return CodePageToUtf8(text, code_page_); }
  std::string EntryUtf8(int offset) const { return ToUtf8(Entry(offset)); }
  std::string SlotUtf8(int index) const { return ToUtf8(Slot(index)); }

 private:
  std::array<uint8_t, kSize> block_{};
  std::map<int, std::string> slots_;
  CodePage code_page_ = CodePage::k1252;
};

}  // namespace duri

#endif  // DURIDUVAZE_SETTINGS_LANGUAGE_TABLE_H_
