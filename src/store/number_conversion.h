// The lenient number conversion every decoder and record reader uses: leading blanks are skipped, a
// sign is accepted, '$', 'x' or "0x" make the rest hexadecimal, and reading stops at the first
// character that is not a digit. The value read so far is kept (0 when there is none).
#ifndef DURIDUVAZE_STORE_NUMBER_CONVERSION_H_
#define DURIDUVAZE_STORE_NUMBER_CONVERSION_H_

#include <cstdint>
#include <string_view>

namespace duri {

struct ParsedNumber {
  int64_t value = 0;
  // 1-based position of the first character not taken, 0 when the whole text was a number.
  int stop = 0;
  bool ok() const { return stop == 0; }
};

ParsedNumber ParseNumber(std::string_view text);

// The value alone, for the many places that store whatever was read.
inline int64_t LenientValue(std::string_view text) { return ParseNumber(text).value; }

}  // namespace duri

#endif  // DURIDUVAZE_STORE_NUMBER_CONVERSION_H_
