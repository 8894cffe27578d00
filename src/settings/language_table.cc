#include "settings/language_table.h"

#include <algorithm>
#include <cstring>

namespace duri {

std::string LanguageTable::Entry(int offset) const {
  if (offset < 0 || offset >= kSize) return std::string();
  int length = std::min<int>(block_[static_cast<size_t>(offset)], kSize - offset - 1);
  return std::string(reinterpret_cast<const char*>(block_.data()) + offset + 1, static_cast<size_t>(length));
}

void LanguageTable::SetEntry(int offset, std::string_view text, int capacity) {
  if (offset < 0 || offset >= kSize) return;
  int room = std::min({capacity, 255, kSize - offset - 1});
  size_t n = std::min(text.size(), static_cast<size_t>(std::max(room, 0)));
  block_[static_cast<size_t>(offset)] = static_cast<uint8_t>(n);
  std::memcpy(block_.data() + offset + 1, text.data(), n);
}

std::string LanguageTable::Slot(int index) const {
  auto it = slots_.find(index);
  return it == slots_.end() ? std::string() : it->second;
}

void LanguageTable::SetSlot(int index, std::string_view text) { slots_[index] = std::string(text); }

}  // namespace duri
