#include "store/number_conversion.h"

namespace duri {
namespace {

int DigitValue(char c, int base) {
  int v;
  if (c >= '0' && c <= '9') {
    v = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    v = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    v = c - 'A' + 10;
  } else {
    return -1;
  }
  return v < base ? v : -1;
}

}  // namespace

ParsedNumber ParseNumber(std::string_view text) {
  ParsedNumber result;
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  // Only the lower-case mark introduces hexadecimal: a receiver field "X3" is no number.
  if (i < n && (text[i] == '$' || text[i] == 'x')) {
    base = 16;
    ++i;
  } else if (i + 1 < n && text[i] == '0' && text[i + 1] == 'x') {
    base = 16;
    i += 2;
  }
  const size_t first_digit = i;
  // Values are kept within 32 bits like the original integers; further digits still count as taken.
  uint64_t value = 0;
  while (i < n) {
    int d = DigitValue(text[i], base);
    if (d < 0) break;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    value &= 0xFFFFFFFFull;
    ++i;
  }
  int64_t v = static_cast<int64_t>(static_cast<int32_t>(value));
  result.value = negative ? -v : v;
  if (i < n) {
    result.stop = static_cast<int>(i) + 1;
  } else if (i == first_digit) {
    // Nothing but blanks, a sign or a hexadecimal mark: no number was read.
    result.stop = static_cast<int>(n) + 1;
    if (n == 0) result.stop = 1;
  }
  return result;
}

}  // namespace duri
