#include "accounts/code_pattern.h"

#include <gtest/gtest.h>

namespace duri {
namespace {

TEST(CodePatternTest, ListsRangesAndPrefixes) {
  struct Case {
    const char* pattern;
    const char* code;
    bool match;
  } const cases[] = {
      {"100..199", "150", true},
      {"100..199", "100", true},
      {"100..199", "199", true},
      {"100..199", "99", false},    // shorter than the low bound
      {"100..199", "1990", false},  // longer than the high bound
      {"100..199", "200", false},
      {"100..1999", "1990", true},
      {"130,131:400..499", "131", true},
      {"130,131:400..499", "450", true},
      {"130,131:400..499", "500", false},
      {"400..499:130", "130", true},
      {"400..499:130", "450", true},
      {"E13", "E130001", true},  // prefix of a 7-character code
      {"E13", "E130", false},
      {"0012", "12", true},  // leading zeros removed on both sides
      {"1 3 0", "130", true},
      {"130,131,132", "132", true},
      {"130,131,132", "133", false},
      {"130,131", "131", true},
      {"BA01", "BA01", true},
      {"", "130", false},
      {"..", "1", false},
      {"0", "0", true},
      {"R40", "R401003", true},
      {",,", "1234567", false},  // empty values never match by prefix
      {"", "", false},  // an empty code matches nothing, not even an unused entry
      {"0", "", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchCodePattern(c.pattern, c.code), c.match) << c.pattern << " vs " << c.code;
}

TEST(CodePatternTest, PrefixCodePadsToSevenAndCutsAtHundred) {
  std::string d = "Fire";
  PrefixCode("E130", d);
  EXPECT_EQ(d, "   E130 > Fire");
  std::string long_text(120, 'x');
  PrefixCode("R401003", long_text);
  EXPECT_EQ(long_text.size(), 100u);
  EXPECT_EQ(long_text.substr(0, 10), "R401003 > ");
}

}  // namespace
}  // namespace duri
