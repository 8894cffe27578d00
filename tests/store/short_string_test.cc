#include "store/short_string.h"

#include <gtest/gtest.h>

#include <cstring>

namespace duri {
namespace {

struct EditCase {
  const char* start;
  char op;  // 'D' delete, 'I' insert, 'C' copy
  int p;
  int n;               // count for delete/copy
  const char* insert;  // text for insert
  const char* want;
};

TEST(ShortStringTest, EditsFollowOneBasedRulesAtAndPastTheEnds) {
  const EditCase cases[] = {
      {"ABCDE", 'D', 1, 1, "", "BCDE"},
      {"ABCDE", 'D', 5, 1, "", "ABCD"},
      {"ABCDE", 'D', 6, 1, "", "ABCDE"},  // past the end: nothing
      {"ABCDE", 'D', 0, 2, "", "ABCDE"},  // below 1: nothing
      {"ABCDE", 'D', -3, 2, "", "ABCDE"},
      {"ABCDE", 'D', 4, 99, "", "ABC"},  // n cut at the end
      {"ABCDE", 'D', 2, 0, "", "ABCDE"},
      {"", 'D', 1, 1, "", ""},
      {"ABCDE", 'I', 1, 0, "xy", "xyABCDE"},
      {"ABCDE", 'I', 0, 0, "xy", "xyABCDE"},  // below 1 counts as 1
      {"ABCDE", 'I', 6, 0, "xy", "ABCDExy"},
      {"ABCDE", 'I', 40, 0, "xy", "ABCDExy"},  // past the end appends
      {"ABCDE", 'I', 3, 0, "xy", "ABxyCDE"},
      {"ABCDE", 'C', 2, 3, "", "BCD"},
      {"ABCDE", 'C', 0, 2, "", "AB"},   // below 1 counts as 1
      {"ABCDE", 'C', 6, 2, "", ""},     // past the end: empty
      {"ABCDE", 'C', 4, 10, "", "DE"},  // n cut at the end
  };
  for (const EditCase& c : cases) {
    ShortString<20> s(c.start);
    std::string got;
    if (c.op == 'D') {
      s.Delete(c.p, c.n);
      got = s.str();
    } else if (c.op == 'I') {
      s.Insert(c.insert, c.p);
      got = s.str();
    } else {
      got = s.Copy(c.p, c.n);
    }
    EXPECT_EQ(got, c.want) << c.start << " " << c.op << " p=" << c.p << " n=" << c.n;
  }
}

TEST(ShortStringTest, CapacityCutsAssignAppendAndInsert) {
  ShortString<5> s("ABCDEFG");
  EXPECT_EQ(s.str(), "ABCDE");
  s.Assign("AB");
  s.Append("CDEFG");
  EXPECT_EQ(s.str(), "ABCDE");
  s.Append('Z');
  EXPECT_EQ(s.str(), "ABCDE");
  s.Insert("xy", 2);  // "AxyBCDE" cut to five
  EXPECT_EQ(s.str(), "AxyBC");
  ShortString<255> full(std::string(300, 'a'));
  EXPECT_EQ(full.length(), 255);
}

TEST(ShortStringTest, PosFindsFirstOccurrenceOrZero) {
  ShortString<30> s("12345 E130 [ri1]");
  EXPECT_EQ(s.Pos(" "), 6);
  EXPECT_EQ(s.Pos("[ri"), 12);
  EXPECT_EQ(s.Pos("zz"), 0);
  EXPECT_EQ(s.Pos(""), 0);
  EXPECT_EQ(s.Pos('E'), 7);
  // A position past the end holds no character at all.
  EXPECT_EQ(s.At(17), '\0');
  EXPECT_EQ(s.At(0), '\0');
}

TEST(ShortStringTest, EncodeZeroesTailAndDecodeCutsDamagedLength) {
  ShortString<4> s("AB");
  uint8_t buf[5];
  std::memset(buf, 0xEE, sizeof buf);
  s.Encode(buf);
  const uint8_t want[5] = {2, 'A', 'B', 0, 0};
  EXPECT_EQ(0, std::memcmp(buf, want, 5));
  // A damaged length byte above the capacity never reads past the field.
  const uint8_t damaged[5] = {200, 'W', 'X', 'Y', 'Z'};
  ShortString<4> d;
  d.Decode(damaged);
  EXPECT_EQ(d.str(), "WXYZ");
}

TEST(ShortStringTest, PlainTextHelpersMatchTheRecordRules) {
  std::string s = "ABCDE";
  Delete(s, 2, 2);
  EXPECT_EQ(s, "ADE");
  Delete(s, 9, 1);
  EXPECT_EQ(s, "ADE");
  Insert("1234", s, 2, 5);
  EXPECT_EQ(s, "A1234");
  EXPECT_EQ(Copy("ABC", -1, 2), "AB");
  EXPECT_EQ(Pos("C", "ABC"), 3);
}

}  // namespace
}  // namespace duri
