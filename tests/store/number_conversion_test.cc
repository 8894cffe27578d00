#include "store/number_conversion.h"

#include <gtest/gtest.h>

namespace duri {
namespace {

TEST(NumberConversionTest, LenientValuesAndStopPositions) {
  struct Case {
    const char* text;
    int64_t value;
    int stop;
  } const cases[] = {
      {"123", 123, 0},
      {" -12x", -12, 5},  // blanks skipped, sign kept, stops at x
      {"$1F", 31, 0},
      {"x1f", 31, 0},
      {"0x10", 16, 0},
      {"0x", 0, 3},  // the mark alone is no number
      {"X3:04", 0, 1},  // upper-case marks are not hexadecimal
      {"0X1F", 0, 2},
      {"", 0, 1},
      {"   ", 0, 4},
      {"+7", 7, 0},
      {"12 34", 12, 3},
      {"0012", 12, 0},
      {"A1", 0, 1},
      {"$FG", 15, 3},
      {"-", 0, 2},
  };
  for (const Case& c : cases) {
    ParsedNumber n = ParseNumber(c.text);
    EXPECT_EQ(n.value, c.value) << '"' << c.text << '"';
    EXPECT_EQ(n.stop, c.stop) << '"' << c.text << '"';
  }
}

TEST(NumberConversionTest, LongDigitRunsStayWithinThirtyTwoBits) {
  ParsedNumber n = ParseNumber("99999999999999999999");
  EXPECT_EQ(n.stop, 0);
  EXPECT_GE(n.value, INT32_MIN);
  EXPECT_LE(n.value, INT32_MAX);
}

}  // namespace
}  // namespace duri
