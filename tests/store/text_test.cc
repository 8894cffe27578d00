#include "store/text.h"

#include <gtest/gtest.h>

namespace duri {
namespace {

TEST(TextTest, StripZerosKeepsOneCharacter) {
  const std::pair<const char*, const char*> cases[] = {
      {"0000", "0"}, {"00120", "120"}, {"", ""}, {"7", "7"}, {"0A0", "A0"}};
  for (auto [in, want] : cases) {
    std::string s = in;
    StripZeros(s);
    EXPECT_EQ(s, want) << in;
  }
}

TEST(TextTest, PadLeftUpToWidthAndCapacity) {
  std::string s = "ABCD";
  PadLeft(' ', s, 20, 7);
  EXPECT_EQ(s, "   ABCD");
  std::string t = "12";
  PadLeft('0', t, 3, 6);  // never past the capacity
  EXPECT_EQ(t, "012");
  std::string u = "123456";
  PadLeft('0', u, 20, 4);
  EXPECT_EQ(u, "123456");
}

TEST(TextTest, TrimCharModes) {
  const std::pair<const char*, const char*> cases[] = {
      {"end", "  A B"}, {"begin", "A B  "}, {"both", "A B"}, {"all", "AB"}, {"middle", "  A B  "}};
  for (auto [mode, want] : cases) {
    std::string s = "  A B  ";
    TrimChar(s, ' ', TrimModeFromText(mode));
    EXPECT_EQ(s, want) << mode;
  }
}

TEST(TextTest, FoldUpperOnAccentedCodePage437Letters) {
  // c-cedilla, u-umlaut, e-acute, a-circumflex, A-ring, i-acute, o-umlaut, y-umlaut, n-tilde, N-tilde
  const std::string in = "\x87\x81\x82\x83\x8F\xA1\x94\x98\xA4\xA5xyz-1";
  EXPECT_EQ(FoldUpper(in), "CUEAAIOYNNXYZ-1");
  // Letters outside the table stay as they are.
  EXPECT_EQ(FoldUpper("\xE1\x9B"), "\xE1\x9B");
}

TEST(TextTest, SameTextIgnoresCaseAccentsAndBlanks) {
  EXPECT_TRUE(SameText("@re", "@RE"));
  EXPECT_TRUE(SameText(" @ r e ", "@RE"));
  EXPECT_TRUE(SameText("caf\x82", "CAFE"));
  EXPECT_FALSE(SameText("@rs", "@re"));
}

TEST(TextTest, CompareKeysShorterFirst) {
  EXPECT_EQ(CompareKeys("99", "100"), 1);
  EXPECT_EQ(CompareKeys("B", "A"), 3);
  EXPECT_EQ(CompareKeys("ABC", "ABC"), 2);
  EXPECT_EQ(CompareKeys("", "A"), 1);
  EXPECT_EQ(CompareKeys("\x80", "A"), 3);  // codes compare unsigned
}

TEST(TextTest, CompareAccountsPrefixesAndHex) {
  struct Case {
    const char* a;
    const char* b;
    int want;
  } const cases[] = {
      {"E123005", "E123005", 2},
      {"E12", "E123005", 1},      // same letter prefix: hexadecimal values
      {"1F", "20", 1},            // hexadecimal: 31 < 32
      {"A0", "9F", 3},            // 160 > 159
      {" 1234 ", "1234", 2},      // trimmed
      {"e123", "E123", 2},        // folded
      {"G10", "H1", 3},           // different prefixes: whole texts, shorter first
      {"0012", "12", 2},          // equal values are the same user number
      {"E123005", "E00123005", 2},
      {"A1G", "A1H", 2},          // neither rest is hexadecimal: both read as the largest value
      {"A1G", "A12", 3},
      {"B", "0B", 1},             // letters A to Z are the prefix: "B" against "", whole texts
      {"5 ", " 0 0 5", 2},        // every blank removed
      {"123456789", "1", 3},      // more than 32 bits: not a number, the largest value
      {"12345678901", "123456789A", 2},  // cut to 10
  };
  for (const Case& c : cases) EXPECT_EQ(CompareAccounts(c.a, c.b), c.want) << c.a << " vs " << c.b;
}

}  // namespace
}  // namespace duri
