#include "decoders/sia_block.h"

#include <gtest/gtest.h>

#include <string>

namespace duri {
namespace {

// '|' in expected texts stands for CR, '~' for character 253, '^' for DC4.
std::string Bytes(std::string s) {
  for (char& c : s) {
    if (c == '~') c = static_cast<char>(253);
    if (c == '^') c = 20;
  }
  return s;
}
std::string Lines(std::string s) {
  for (char& c : s) c = c == '|' ? '\r' : c;
  return Bytes(s);
}

struct NormaliseCase {
  const char* in;
  const char* out;
};

TEST(NormaliseSiaBlockTest, OneItemPerEvent) {
  const NormaliseCase cases[] = {
      {"011[#1234|Nri1/BA01]^", "011[#1234|Nri1/BA01]^"},
      {"011[#1234|Nri1BA01BA02]^", "011[#1234|Nri1/BA01/BA02]^"},
      {"011[#12 34|N BA01 / BA02]^", "011[#1234|NBA01/BA02]^"},
      {"011[#1234|NBA01,02,03]^", "011[#1234|NBA01/BA02/BA03]^"},
      {"011[#1234|Nri2BA01,02ri3FA05,6]^", "011[#1234|Nri2/BA01/BA02/ri3/FA05/FA6]^"},
      {"011[#1234|L30]^", "011[#1234|LL30]^"},
      {"011[#1234|v12]^", "011[#1234|vv12]^"},
      {"011[#1234|V5]^", "011[#1234|VV5]^"},
      // An ASCII-text block keeps its spaces and slashes.
      {"011[#1234|AFront door/open]^", "011[#1234|AFront door/open]^"},
      // Commas the scan never reaches, or that come back with each expansion, end at the text's end.
      {"0,11[#1234|NBA01]^", "0,11[#1234|NBA01]^"},
      {"011[#1234|NB,,01]^", "011[#1234|NB,/B,01]^"},
      {"011[#1234|N,01]^", "011[#1234|N01]^"},
  };
  for (const NormaliseCase& c : cases) {
    SCOPED_TRACE(c.in);
    MessageText text(Bytes(c.in));
    NormaliseSiaBlock(text);
    EXPECT_EQ(text.view(), Bytes(c.out));
  }
}

struct DecodeCase {
  const char* in;
  bool receiver_number;
  bool line_number;
  char prefix;
  int type;
  const char* lines;
};

TEST(DecodeSiaBlockTest, EventLines) {
  const DecodeCase cases[] = {
      // The worked example: account 0 01 1 1234, code BA01, area 1.
      {"011[#1234|Nri1/BA01]^", true, true, '0', 7, "00111234 BA01  [R1L1][ri1]|"},
      {"011[#1234|Nri1/BA01]^", false, false, '0', 7, "01234 BA01  [R1L1][ri1]|"},
      {"011[#1234|Nri1/BA01]^", false, true, '5', 7, "511234 BA01  [R1L1][ri1]|"},
      {"011[#1234|NBA01,02]^", true, true, '0', 7, "00111234 BA01  [R1L1]|00111234 BA02  [R1L1]|"},
      // A modifier applies to the events after it; a second area replaces the first.
      {"011[#1234|NBA01ri2BA02ri3BA03]^", false, false, '0', 5,
       "01234 BA01  [R1L1]|01234 BA02  [R1L1][ri2]|01234 BA03  [R1L1][ri3]|"},
      {"011[#1234|Nid12ri1BA01]^", false, false, '0', 5, "01234 BA01  [R1L1][id12][ri1]|"},
      {"011[#1234|ONA01]^", false, false, '0', 7, "01234 NA01  [R1L1]|"},
      // No "]": the terminator ends the block.
      {"011[#1234|NBA01^", false, false, '0', 7, "01234 BA01  [R1L1]|"},
      // ASCII text: each piece starting with a capital is one text event.
      {"011[#1234|AFront door/Back door]^", false, false, '0', 7,
       "01234 ~ Front door  [R1L1]|01234 ~ Back door  [R1L1]|"},
      // Only "|A" blocks escape the item separators: an 'X' text is cut into two-letter items.
      {"011[#1234|XHello]^", false, false, '0', 7, "01234 ~ He  [R1L1]|"},
      {"011[#1234|L30]^", false, false, '0', 7, "01234 ~ Vocal mode for 30 sec  [R1L1]|"},
      // A lower-case voice block reads as a modifier and gives no line.
      {"011[#1234|v12]^", false, false, '0', 7, ""},
      // Extended texts are built from the item: before the '*', then the rest in parentheses.
      {"011[#1234|EXY*12]^", false, false, '0', 7, "01234 XY (12)  [R1L1]|"},
      {"011[#1234|EXY12]^", false, false, '0', 7, "01234  (XY12)  [R1L1]|"},
      {"011[#1234|QBA01]^", false, false, '0', 7, "01234   [R1L1]|"},
      // Headers: three characters lose leading zeros, other lengths keep them.
      {"0011[#1234|NBA01]^", true, true, '0', 7, "000111234 BA01  [R0L0]|"},
      {"1 2[#1234|NBA01]^", true, true, '0', 7, "0121234 BA01  [R1L2]|"},
      {"1 2[#1234|AHi]^", true, true, '0', 7, "01 21234 ~ Hi  [R1L2]|"},
      {"001[#1234|NBA01]^", true, true, '0', 7, "00011234 BA01  [R1L]|"},
      // Type 21 has three line digits.
      {"01002[#1234|NBA01]^", true, true, '0', 21, "0010021234 BA01  [R0L1]|"},
      {"01002[#1234|NBA01]^", false, false, '0', 21, "01234 BA01  [R0L1]|"},
      {"01002[#1234|NBA01]^", false, true, '0', 21, "00021234 BA01  [R0L1]|"},
      // Blocks inside one-digit receivers (Calderium family).
      {"12[#1234|NBA01]^", false, false, '0', 1, "01234 BA01  [R1L2]|"},
      // Not a whole block: no "[", no "|", an empty account, no end: nothing.
      {"1234|NBA01]^", true, true, '0', 7, ""},
      {"011[#1234NBA01]^", true, true, '0', 7, ""},
      {"011[#|NBA01]^", true, true, '0', 7, ""},
      {"011[#1234|NBA01", true, true, '0', 1, ""},
      // Comma edge cases end and give defined lines.
      {"0,11[#1234|NBA01]^", true, true, '0', 7, "00,111234 BA01  [R0L,]|"},
      {"", true, true, '0', 7, ""},
      {"^", true, true, '0', 7, ""},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.in);
    ReceiverConfig config;
    config.receiver_number = c.receiver_number ? 1 : 0;
    config.line_number = c.line_number ? 1 : 0;
    config.prefix = c.prefix;
    MessageText text(Bytes(c.in));
    DecodeSiaBlock(text, config, c.type == 1 ? 1 : 2, c.type);
    EXPECT_EQ(text.view(), Lines(c.lines));
  }
}

TEST(DecodeSiaBlockTest, ReadsAtMost31Items) {
  ReceiverConfig config;
  config.receiver_number = 1;
  config.line_number = 1;
  std::string thirty(30 * 3, ' ');
  for (int i = 0; i < 30; ++i) thirty.replace(static_cast<size_t>(i) * 3, 3, "id1");
  MessageText text(Bytes("[#1|N" + thirty + "BA01]^"));
  DecodeSiaBlock(text, config, 2, 7);
  EXPECT_EQ(text.Pos("BA01"), 4);  // the 31st item is still read
  MessageText more(Bytes("[#1|N" + thirty + "id2BA01]^"));
  DecodeSiaBlock(more, config, 2, 7);
  EXPECT_TRUE(more.empty());  // the 32nd is not
}

// An account field is kept whole or the block is not read: a cut account would be another account,
// and a block whose end was cut off with a long account would read the account as items.
TEST(DecodeSiaBlockTest, AccountLongerThanALineKeepsIsNoBlock) {
  struct Case {
    std::string in;
    const char* lines;
  };
  const Case cases[] = {
      {"011[#" + std::string(kSiaAccountLength, 'A') + "|NOP01]^",
       "0011AAAAAAAAAAAAAAAAAAA OP01  [R1L1]|"},
      {"011[#" + std::string(kSiaAccountLength + 1, 'A') + "|NOP01]^", ""},
      // The long account on a Sur-Gard line: the message is cut at 255 characters, losing "|" and "]".
      {("011[#" + std::string(250, 'A') + "|Nri1/OP01]^").substr(0, 255), ""},
  };
  ReceiverConfig config;
  config.receiver_number = 1;
  config.line_number = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in.size());
    MessageText text(Bytes(c.in));
    EXPECT_EQ(DecodeSiaBlock(text, config, 2, 7), *c.lines != 0);
    EXPECT_EQ(text.view(), Lines(c.lines));
  }
}

TEST(DecodeSiaBlockTest, UsesTheLanguageTextOfTheVoiceNotice) {
  ReceiverConfig config;
  MessageText text(Bytes("011[#1234|V9]^"));
  DecodeSiaBlock(text, config, 2, 7, "Mode vocal pour ");
  EXPECT_EQ(text.view(), Lines("01234 ~ Mode vocal pour 9 sec  [R1L1]|"));
}

}  // namespace
}  // namespace duri
