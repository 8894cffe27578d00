// The language table: one 47064-byte block of length-prefixed entries at fixed offsets, plus text slots
// (texts of any length referenced by number). Every user-visible text is read from it; texts are
// bytes in the language's code page.
#ifndef DURIDUVAZE_SETTINGS_LANGUAGE_TABLE_H_
#define DURIDUVAZE_SETTINGS_LANGUAGE_TABLE_H_

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

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

 private:
  std::array<uint8_t, kSize> block_{};
  std::map<int, std::string> slots_;
};

}  // namespace duri

#endif  // DURIDUVAZE_SETTINGS_LANGUAGE_TABLE_H_
