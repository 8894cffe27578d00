// The single-report receivers: Universal, FBI CP220, Secutron, Adcor, RDC, FSK and Cyber, each run
// through the decoding step of its receiver type.
#include <gtest/gtest.h>

#include <string>

#include "decoders/decoder_run.h"
#include "decoders/fbi_cp220.h"

namespace duri {
namespace {

using testing::DecoderRun;
using testing::PortOptions;

constexpr PortOptions kPlain{};
constexpr PortOptions kAllDigits{true, true, '0', false};

struct Case {
  const char* name;
  int type;
  std::string bytes;
  PortOptions options;
  std::string expected;  // the event text; empty: no event
};

class FixedLayoutTest : public ::testing::Test {
 protected:
  FixedLayoutTest() { clock_.Set(2026, 12, 8, 10, 11, 12); }

  void Check(const Case& c) {
    SCOPED_TRACE(c.name);
    DecoderRun run(c.type, c.bytes, clock_, c.options);
    EXPECT_EQ(run.text(), c.expected);
    EXPECT_EQ(run.posts, c.expected.empty() ? 0 : 1);
    // The whole message is consumed, whatever came of it.
    EXPECT_EQ(run.state.read_index, static_cast<int>(c.bytes.size()) + 1);
    EXPECT_EQ(run.state.complete_count, 0);
  }

  void CheckAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases) Check(c);
  }

  ManualClock clock_;
};

// 42 columns before the " :" of the Universal's column form.
const std::string kColumns42 = "08/12/26 10:15 ZONE COMMERCE EST RAPPORT..";

TEST_F(FixedLayoutTest, Universal) {
  ASSERT_EQ(kColumns42.size(), 42u);
  CheckAll({
      {"at form", 17, "12/08 10:15 1234 E130@xyz\r", kPlain, "01234 E130\r"},
      {"prefix always, digits kept", 17, "12/08 10:15 1234 E130@\r", kAllDigits, "01234 E130\r"},
      {"prefix B", 17, "12/08 10:15 1234 E130@\r", {false, false, 'B'}, "B1234 E130\r"},
      {"letters for account", 17, "12/08 10:15 AB34 E130@\r", kPlain, ""},
      {"hex digits stop the number", 17, "12/08 10:15 1A34 E130@\r", kPlain, ""},
      {"space inside account", 17, "12/08 10:15 234 E130@\r", kPlain, ""},
      {"space at column 4", 17, "123 E130@\r", kPlain, ""},
      {"space last", 17, "12/08 1234 @\r", kPlain, ""},
      {"no space", 17, "12345678@\r", kPlain, ""},
      {"at first", 17, "@1234 E130\r", kPlain, ""},
      {"column form", 17, kColumns42 + " :00001234  Panne de courant\r", kPlain, "000001234 P\r"},
      {"table order wins", 17, kColumns42 + " :00001234  PANNE puis AIDE\r", kPlain, "000001234 A\r"},
      {"accented letters fold", 17, kColumns42 + " :00001234  Fonction arr\x88t\x82" "e\r", kPlain,
       "000001234 F\r"},
      {"faible", 17, kColumns42 + " :00001234  batterie faible\r", {false, false, '3'}, "300001234 B\r"},
      {"huile", 17, kColumns42 + "xxxxx :00001234  niveau huile\r", kPlain, "000001234 H\r"},
      {"colon at 42", 17, kColumns42.substr(1) + " :00001234  PANNE\r", kPlain, ""},
      {"colon at 49", 17, kColumns42 + "xxxxxx :00001234  PANNE\r", kPlain, ""},
      {"no keyword", 17, kColumns42 + " :00001234  tout va bien\r", kPlain, ""},
      {"neither form", 17, "hello\r", kPlain, ""},
  });
}

TEST_F(FixedLayoutTest, FbiCp220) {
  CheckAll({
      {"status line", 8, "12 1234 @ 15\r", kPlain, ""},
      {"receiver report", 8, "12RCVA OK\r", kPlain, "00000 A OK\r"},
      {"receiver report, digits kept", 8, "12RCVB OK\r", kAllDigits, "0120000 B OK\r"},
      {"line report", 8, "12 LINE 3 FAULT\r", kPlain, "00000  E 3 FAULT\r"},
      {"channel status", 8, "X11 1234 1234 5600 7\r", kPlain,
       "01234 A01\r01234 O02\r01234 R03\r01234 C04\r01234 P06\r01234 T07\r01234 T08\r"},
      {"channel status opening", 8, "X11 1234 5111 1111 2\r", {false, true, '4'}, "411234 O05\r"},
      {"contact id", 8, "X11 1234 18 E130 01 1 005\r", kPlain, "01234 E130005  [ri01]\r"},
      {"contact id compressed", 8, "X11 1234 18 E130 01 1 005\r", {false, false, '0', true},
       "01234 A005  [ri01]\r"},
      {"contact id zone 000", 8, "X11 1234 18 E602 00 1 000\r", {true, true, '0', true},
       "0111234 A602  [ri00]\r"},
      {"pulse", 8, "11 1234 15\r", kPlain, "01234 15\r"},
      {"pulse, seven", 8, "111234\r", kPlain, "01234 \r"},
      {"six is too short", 8, "11234\r", kPlain, ""},
      {"thirteen is no layout", 8, "11 1234 15 67\r", kPlain, ""},
      {"opening list", 8, "LIST00001234 01020000 00000300 \r", kPlain,
       "00001234 O01\r00001234 A01\r00001234 A02\r00001234 A13\r"},
      {"closing list of three groups", 8, "LIST00001234 10000000 00000000 00000009 \r", kPlain,
       "00001234 C01\r00001234 A29\r"},
  });
}

TEST_F(FixedLayoutTest, FbiCp220MarksLinkActivityForEveryMessage) {
  for (const char* bytes : {"11 1234 15\r", "12 @\r", "nonsense of a length\r"}) {
    DecoderRun run(8, bytes, clock_);
    EXPECT_EQ(run.state.link_activity, 1) << bytes;
  }
  // The other receivers of these layouts do not supervise their link.
  for (int type : {10, 13, 14, 15, 16, 17}) {
    DecoderRun run(type, "11 1234 15\r\x04", clock_);
    EXPECT_EQ(run.state.link_activity, 0) << type;
  }
}

// A port whose terminator is not the CR can hand over a list holding one: a CR inside the account
// would split every line of the list in two.
TEST_F(FixedLayoutTest, FbiCp220ListWithALineEndInsideIsNoList) {
  for (std::string bytes : {"LIST0000\r234 01020000 00000300 \r", "LIST00001234 0102\r000 00000300 \r"}) {
    ASSERT_EQ(bytes.size(), 32u);
    PortState state;
    const ReceiverConfig config = testing::ConfigFor(8);
    DecodeContext context{state, config, 8};
    MessageText text(bytes);
    DecodedMessage result;
    DecodeFbiCp220Text(text, context, result);
    EXPECT_EQ(result.text.str(), "") << bytes;
  }
}

TEST_F(FixedLayoutTest, Secutron) {
  CheckAll({
      {"short account gets 00", 10, "15 123 4567 8\r", kPlain, "0045 678\r"},
      {"short account, digits kept", 10, "15 123 4567 8\r", kAllDigits, "0230045 678\r"},
      {"second character 0", 10, "10 1234567890\r", kPlain, "0567 890\r"},
      {"second character 7", 10, "17 1234567890\r", kPlain, ""},
      {"thirteen characters", 10, "10 123456789\r", kPlain, ""},
  });
}

// Adcor: 25 columns, seven filler columns from 26, then EOT.
std::string Adcor(const std::string& columns) {
  if (columns.size() != 25) ADD_FAILURE() << "not 25 columns: " << columns;
  return columns + "FFAAFFF\x04";
}

TEST_F(FixedLayoutTest, Adcor) {
  ASSERT_EQ(Adcor("#R 1 L1234 12345600 7    ").size(), 33u);
  CheckAll({
      {"channel status", 13, Adcor("#R 1 L1234 12345600 7    "), kPlain,
       "1234 A01\r1234 O02\r1234 R03\r1234 C04\r1234 P06\r1234 T07\r1234 T08\r"},
      {"A reads as 0", 13, Adcor("#R 1 L12A4 5AAAAAAA 2    "), kPlain, "1204 O05\r"},
      {"every status line gets the prefix", 13, Adcor("#R 1 L1234 33000000 7    "), {false, false, '7'},
       "71234 R01\r71234 R02\r71234 T03\r71234 T04\r71234 T05\r71234 T06\r71234 T07\r71234 T08\r"},
      {"single event", 13, Adcor("#R 2 L1234 xEbcdefghijkl9"), kPlain, "1234 9E\r"},
      {"single event, prefix", 13, Adcor("#R 2 L1234 xEbcdefghijkl9"), {false, false, '2'}, "21234 9E\r"},
      {"blank column 13", 13, Adcor("#R 2 L1234 x bcdefghijkl7"), kPlain, "1234 07\r"},
      {"short account", 13, Adcor("#R 0 L123 xEQbcdefghijkl5"), kPlain, "0123x5Q\r"},
      {"longer message keeps its tail", 13, "#R 2 L1234 xEbcdefghijkl9FFAAFFFtail\x04", kPlain, "1234 9Eail\r"},
      {"31 characters", 13, std::string("#R 2 L1234 xEbcdefghijkl9FFFFF\x04"), kPlain, ""},
      {"damaged", 13, Adcor("#R 2 L1234 xEbcdefghijk\xfe" "9"), kPlain, ""},
  });
}

TEST_F(FixedLayoutTest, Rdc) {
  CheckAll({
      {"event", 14, "1234E130 01 005\r", kPlain, "1234 E130 01 005\r"},
      {"prefix above 0", 14, "1234E130\r", {true, true, '5'}, "51234 E130\r"},
      {"account only", 14, "1234\r", kPlain, "1234 \r"},
      {"short message keeps its line end", 14, "12\r", kPlain, "12 \r"},
      {"bare line end", 14, "\r", kPlain, ""},
  });
}

TEST_F(FixedLayoutTest, Fsk) {
  CheckAll({
      {"event ends with CR, not EOT", 15, "L 12345 6789 XX E130\x04", kPlain, "12345 6789E130\r"},
      {"prefix above 0", 15, "L 12345 6789 XX E130\x04", {false, false, '2'}, "212345 6789E130\r"},
      {"idle line", 15, "L 00000 0000 XX 0000\x04", kPlain, ""},
      {"short", 15, "L123\x04", kPlain, "123 \r"},
      {"bare terminator", 15, "\x04", kPlain, ""},
  });
}

TEST_F(FixedLayoutTest, Cyber) {
  //                  1 2 3-6  7-8 9-12 13-24 stamp     25
  const std::string stamped = "xx1234E1....311225235958.\r";
  const std::string group = "Gx%123456abcd03efg2hijkE1mnop\r";
  auto kind = [&](char k) {
    std::string g = group;
    g[2] = k;
    return g;
  };
  ASSERT_EQ(stamped.size(), 26u);
  ASSERT_EQ(group.size(), 30u);
  CheckAll({
      {"stamped", 16, stamped, kPlain, "1234 E1\r"},
      {"stamped, prefix above 0", 16, stamped, {true, true, '9'}, "91234 E1\r"},
      {"group kind 1", 16, kind('1'), kPlain, "023456 E1\r"},
      {"group kind 1, digits kept", 16, kind('1'), kAllDigits, "01223456 E1\r"},
      {"group kind 2", 16, kind('2'), kPlain, "023456 dg\r"},
      {"group kind 3", 16, kind('3'), kPlain, "023456 abcdefg  [ri03]\r"},
      {"group other kind", 16, kind('9'), kPlain, "023456\r"},
      {"thirty without G", 16, "H" + group.substr(1), kPlain, ""},
      {"other length", 16, "xx1234E1\r", kPlain, ""},
  });
}

TEST_F(FixedLayoutTest, CyberStampDatesTheEvent) {
  clock_.Set(2026, 1, 1, 0, 0, 5);
  DecoderRun run(16, "xx1234E1....311225235958.\r", clock_);
  EXPECT_EQ(run.result.date, (DateRecord{2025, 12, 31, 3}));  // a Wednesday
  EXPECT_EQ(run.result.time.hour, 23);
  EXPECT_EQ(run.result.time.minute, 59);
  EXPECT_EQ(run.result.time.second, 58);

  // Fields that are not numbers store 0; the month keeps the stored value for intake to judge.
  DecoderRun bad(16, "xx1234E1....07ab26xx3059.\r", clock_);
  EXPECT_EQ(bad.result.date.day, 7);
  EXPECT_EQ(bad.result.date.month, 0);
  EXPECT_EQ(bad.result.time.hour, 0);
  EXPECT_EQ(bad.result.time.minute, 30);
}

TEST_F(FixedLayoutTest, ReceiversWithoutStampKeepTheComputersDateAndTime) {
  DecoderRun run(14, "1234E130\r", clock_);
  EXPECT_EQ(run.result.date, (DateRecord{2026, 12, 8, 2}));
  EXPECT_EQ(run.result.time, (TimeRecord{10, 11, 12, 0}));
}

TEST_F(FixedLayoutTest, EveryLineEndsWithCrEvenWhenTheMessageOverflows) {
  // 300 characters: the text keeps 255, the rest is consumed, and the line still ends with CR.
  const std::string long_line = "1234E130" + std::string(291, 'x') + "\r";
  for (int type : {14, 8, 17}) {
    std::string bytes = type == 17 ? "12/08 1234 E130" + std::string(290, 'y') + "@\r" : long_line;
    DecoderRun run(type, bytes, clock_);
    EXPECT_EQ(run.state.read_index, static_cast<int>(bytes.size()) + 1) << type;
    if (!run.text().empty()) {
      EXPECT_EQ(run.text().back(), '\r') << type;
    }
  }
}

}  // namespace
}  // namespace duri
