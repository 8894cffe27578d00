#include "store/short_string.h"

namespace duri {

void Delete(std::string& s, int p, int n) {
  if (p < 1 || p > static_cast<int>(s.size()) || n <= 0) return;
  s.erase(static_cast<size_t>(p - 1), static_cast<size_t>(n));
}

void Insert(std::string_view text, std::string& s, int p, size_t capacity) {
  if (p < 1) p = 1;
  if (p > static_cast<int>(s.size()) + 1) p = static_cast<int>(s.size()) + 1;
  s.insert(static_cast<size_t>(p - 1), text);
  if (s.size() > capacity) s.resize(capacity);
}

}  // namespace duri
