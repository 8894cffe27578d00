// The shared helpers every decoder builds its event lines with.
#include <gtest/gtest.h>

#include <string>

#include "decoders/account_prefix.h"
#include "decoders/channel_status.h"
#include "decoders/contact_id.h"
#include "decoders/line_steps.h"

namespace duri {
namespace {

ReceiverConfig Config(bool receiver_number, bool line_number, char prefix, bool compress = false) {
  ReceiverConfig config;
  config.receiver_number = receiver_number ? 1 : 0;
  config.line_number = line_number ? 1 : 0;
  config.prefix = prefix;
  config.compress_cid = compress ? 1 : 0;
  return config;
}

struct PrefixCase {
  const char* text;
  bool receiver_number;
  bool line_number;
  char prefix;
  int receiver_digits;
  int line_digits;
  const char* expected;
};

TEST(ApplyAccountPrefixTest, KeepsTheWantedDigitsBehindThePrefix) {
  const PrefixCase cases[] = {
      {"0111234 E130", false, false, '0', 2, 1, "01234 E130"},
      {"0111234 E130", true, true, '0', 2, 1, "00111234 E130"},
      {"0111234 E130", true, false, '7', 2, 1, "7011234 E130"},
      {"0111234 E130", false, true, 'A', 2, 1, "A11234 E130"},
      {"010021234 E", true, true, '0', 2, 3, "0010021234 E"},
      {"010021234 E", false, false, 'F', 2, 3, "F1234 E"},
      {"121234 X", false, false, '0', 1, 1, "01234 X"},
      {"", false, false, '3', 2, 1, "3"},  // a short text loses what it has
      {"0", false, false, '3', 2, 1, "3"},
  };
  for (const PrefixCase& c : cases) {
    SCOPED_TRACE(c.text);
    MessageText text(c.text);
    ApplyAccountPrefix(text, Config(c.receiver_number, c.line_number, c.prefix), c.receiver_digits,
                       c.line_digits);
    EXPECT_EQ(text.view(), c.expected);
  }
}

TEST(ApplyAccountPrefixTest, PrefixAboveZeroOnly) {
  MessageText a("1234 E");
  ApplyPrefixAboveZero(a, Config(false, false, '0'));
  EXPECT_EQ(a.view(), "1234 E");
  ApplyPrefixAboveZero(a, Config(false, false, 'B'));
  EXPECT_EQ(a.view(), "B1234 E");
}

struct CidCase {
  const char* body;
  const char* full;
  const char* compressed;
};

TEST(ContactIdTest, FullAndCompressedCodes) {
  // Positions 1..6 account, 7 qualifier, 8..10 event, 11..12 group, 13..15 zone or user.
  const CidCase cases[] = {
      {"011234E13001005 [ri01]", "011234E130005 [ri01]", "011234A005 [ri01]"},
      {"011234E60200000", "011234E602000", "011234A602"},  // zone 000 keeps the event code
      {"011234R40101003", "011234R401003", "011234C003"},  // closing by user 3
      {"011234E40101003", "011234E401003", "011234O003"},  // opening
      {"011234R13001005", "011234R130005", "011234R005"},
      {"011234E30102004", "011234E301004", "011234T004"},  // trouble
      {"011234E57001009", "011234E570009", "011234B009"},  // bypass
      {"011234R57001009", "011234R570009", "011234R009"},
      {"011234P57001009", "011234P570009", "011234R009"},  // class 5 makes any other qualifier R
      {"011234P13001005", "011234P130005", "011234P005"},  // other qualifiers stay
      {"011234E22001007", "011234E220007", "011234A007"},
      {"011234E70001007", "011234E700007", "011234E007"},  // class 7 leaves the qualifier
      {"011234E1", "011234E1", "011234A"},                 // short bodies stay in bounds
      {"", "", ""},
  };
  for (const CidCase& c : cases) {
    SCOPED_TRACE(c.body);
    MessageText full(c.body);
    ContactIdFull(full);
    EXPECT_EQ(full.view(), c.full);
    MessageText compressed(c.body);
    ContactIdCompressed(compressed);
    EXPECT_EQ(compressed.view(), c.compressed);
  }
}

TEST(ContactIdTest, TranslateFollowsTheCompressFlag) {
  MessageText a("011234E13001005");
  ContactIdTranslate(a, Config(true, true, '0', true));
  EXPECT_EQ(a.view(), "011234A005");
  MessageText b("011234E13001005");
  ContactIdTranslate(b, Config(true, true, '0', false));
  EXPECT_EQ(b.view(), "011234E130005");
}

struct ChannelCase {
  const char* status;
  const char* before;
  std::string expected;  // lines with '|' for CR
};

TEST(ExpandChannelStatusTest, LinesPerFormat) {
  const ChannelCase cases[] = {
      // Format '1': one line per matching channel (1 alarm, 3 restore, 6 ...).
      {"130060001", "", "A D11|A R12|A P15|"},
      {"000000001", "", ""},
      // Format '2' and '4': one line with the first digit as user, whatever the other digits are.
      {"311111112", "old|", "A O03|"},
      {"511111114", "old|", "A C05|"},
      {"100100003", "old|", "old|A B01|A B04|"},
      {"163000005", "", "A T01|A T02|A R03|"},
      {"163000006", "", "A T61|A T62|A R63|"},
      {"012346597", "", "A T01|A A02|A O03|A R04|A C05|A P06|"},
      // '8' and '9' start the result with their own line, then add the channel lines.
      {"155555558", "old|", "A T62|A A01|"},
      {"355555559", "old|", "A A11|A R01|"},
      {"11111111x", "old|", "old|"},
      {"1111", "", ""},  // no format digit
  };
  for (const ChannelCase& c : cases) {
    SCOPED_TRACE(c.status);
    std::string before = c.before;
    for (char& ch : before) ch = ch == '|' ? '\r' : ch;
    std::string expected = c.expected;
    for (char& ch : expected) ch = ch == '|' ? '\r' : ch;
    MessageText result(before);
    ExpandChannelStatus("A ", c.status, result);
    EXPECT_EQ(result.view(), expected);
  }
}

TEST(ExpandChannelStatusTest, ResultIsCutAtItsCapacity) {
  MessageText result(std::string(250, 'x'));
  ExpandChannelStatus("0123456789012345678 ", "111111113", result);
  EXPECT_EQ(result.length(), 255);
}

TEST(AppendWholeLinesTest, LinesThatDoNotFitWholeAreLeftOut) {
  const std::string long_line(300, 'x');
  struct Case {
    std::string before;
    std::string lines;
    bool all;
    std::string expected;
  } cases[] = {
      {"", "0123 A1\r0123 A2\r", true, "0123 A1\r0123 A2\r"},
      {"0123 A1\r", "0123 A2", true, "0123 A1\r0123 A2\r"},  // a last piece gets its CR
      {std::string(250, 'a') + "\r", "0123 A2\r", false, std::string(250, 'a') + "\r"},
      {std::string(240, 'a') + "\r", "0123 A2\r0123 A3\r", false, std::string(240, 'a') + "\r0123 A2\r"},
      {"", long_line + "\r", true, std::string(254, 'x') + "\r"},  // alone, cut with its CR kept
      {"", "", true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    MessageText out(c.before);
    EXPECT_EQ(AppendWholeLines(out, c.lines), c.all);
    EXPECT_EQ(out.view(), c.expected);
  }
}

}  // namespace
}  // namespace duri
