// Calderium (type 1), QRX (type 2) and Calderium Enhanced (type 19) messages through DecodeMessage.
// Every message starts with the receiver's stamp "hh:mm  MM/DD".
#include <gtest/gtest.h>

#include <string>

#include "decoders/decoder_run.h"

namespace duri {
namespace {

using testing::DecoderRun;
using testing::PortOptions;

constexpr int kCalderium = 1;
constexpr int kQrx = 2;
constexpr int kEnhanced = 19;

struct Case {
  const char* name;
  std::string body;  // after the stamp and the two separators, CR included
  bool receiver_number;
  bool line_number;
  char prefix;
  bool compress;
  std::string expected;
};

class CalderiumTest : public ::testing::Test {
 protected:
  CalderiumTest() { clock_.Set(2026, 12, 8, 10, 11, 12, 345); }

  DecoderRun Run(int type, const std::string& message, bool compress = false) {
    return DecoderRun(type, message, clock_, PortOptions{false, false, '0', compress});
  }

  ManualClock clock_;
};

TEST_F(CalderiumTest, BodyLayouts) {
  const Case cases[] = {
      {"pulse p=8", "121234 3\r", false, false, '0', false, "01234 3\r"},
      {"pulse p=8, flags on", "12 1234 3\r", true, true, '0', false, "0121234 3\r"},
      {"pulse p=11", "1212343456\r", false, false, '0', false, "01234 3456\r"},
      {"pulse p=7", "121233\r", false, false, '0', false, "0123 3\r"},
      {"pulse p=12", "12123456789\r", false, false, '0', false, "0123456 789\r"},
      {"pulse p=14", "1212345678901\r", true, false, '4', false, "4112345678 901\r"},
      {"contact id full", "121234 18 E130 01 005\r", false, false, '0', false, "01234 E130005  [ri01]\r"},
      {"contact id compressed", "121234 18 E130 01 005\r", false, false, '0', true, "01234 A005  [ri01]\r"},
      {"contact id zone 000 compressed", "12123418E60200000\r", true, true, '0', true,
       "0121234 A602  [ri00]\r"},
      {"eight-channel status", "121234 10300060 5\r", false, false, '0', false,
       "01234 T01\r01234 R03\r01234 T07\r"},
      {"sia block", "12[#1234|NBA01]\r", false, false, '0', false, "01234 BA01  [R1L2]\r"},
      {"no layout p=5", "1234\r", true, true, '0', false, ""},
      {"no layout p=13", "121234567890\r", true, true, '0', false, ""},
      {"no layout p=20", "1212341818E13001005\r", true, true, '0', false, ""},
      {"empty body", "\r", true, true, '0', false, ""},
  };
  for (int type : {kCalderium, kQrx}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + " type " + std::to_string(type));
      DecoderRun run(type, "14:35  12/01  " + c.body, clock_,
                     PortOptions{c.receiver_number, c.line_number, c.prefix, c.compress});
      EXPECT_EQ(run.text(), c.expected);
      EXPECT_EQ(run.posted, c.expected);
      EXPECT_EQ(run.result.second_text.str(), "");
      EXPECT_EQ(run.state.link_activity, 1);
      EXPECT_EQ(run.state.complete_count, 0);
    }
  }
}

TEST_F(CalderiumTest, StampGivesTimeAndDate) {
  DecoderRun run = Run(kCalderium, "14:35  12/01  121234 3\r");
  EXPECT_EQ(run.result.time, (TimeRecord{14, 35, 12, 345}));  // seconds stay the computer's
  EXPECT_EQ(run.result.date, (DateRecord{2026, 12, 1, 2}));
}

TEST_F(CalderiumTest, YearOfTheStamp) {
  struct YearCase {
    const char* name;
    int today_year, today_month, today_day;
    std::string stamp;  // after "14:35  "
    DateRecord expected;
  } cases[] = {
      {"December read in January", 2027, 1, 2, "12/31", {2026, 12, 31, 4}},
      {"January read in December", 2026, 12, 31, "01/01", {2027, 1, 1, 5}},
      {"January read in January", 2026, 1, 5, "01/01", {2026, 1, 1, 4}},
      {"December read in December", 2026, 12, 8, "12/31", {2026, 12, 31, 4}},
      {"June read in December", 2026, 12, 8, "06/15", {2026, 6, 15, 1}},
      {"two-digit year 99", 2026, 12, 8, "12/31/99", {1999, 12, 31, 5}},
      {"two-digit year 85", 2026, 12, 8, "12/31/85", {1985, 12, 31, 2}},
      {"two-digit year 84", 2026, 12, 8, "12/31/84", {2084, 12, 31, 0}},
      {"two-digit year 05 read in January", 2027, 1, 2, "12/31/05", {2005, 12, 31, 6}},
  };
  for (const YearCase& c : cases) {
    SCOPED_TRACE(c.name);
    clock_.Set(c.today_year, c.today_month, c.today_day, 0, 0, 30);
    DecoderRun run = Run(kCalderium, "14:35  " + c.stamp + "  121234 3\r");
    EXPECT_EQ(run.result.date, c.expected);
    EXPECT_EQ(run.text(), "01234 3\r");
  }
}

TEST_F(CalderiumTest, NonNumericStampFieldsStoreZero) {
  DecoderRun run = Run(kCalderium, "ab:cd  ef/gh  121234 3\r");
  EXPECT_EQ(run.result.time.hour, 0);
  EXPECT_EQ(run.result.time.minute, 0);
  EXPECT_EQ(run.result.date.month, 0);
  EXPECT_EQ(run.result.date.day, 0);
  EXPECT_EQ(run.text(), "01234 3\r");
}

TEST_F(CalderiumTest, FreeTextGoesToTheSecondText) {
  DecoderRun run = Run(kCalderium, "14:35  12/01  121234 3{OPEN BY CARD 7}\r");
  EXPECT_EQ(run.text(), "01234 3\r");
  EXPECT_EQ(run.result.second_text.str(), " {OPEN BY CARD 7}");
}

TEST_F(CalderiumTest, HeartbeatsPostNothingButMarkActivity) {
  for (int type : {kCalderium, kQrx, kEnhanced}) {
    for (const char* message : {"14:35  12/01  @\r", "14:35  12/01  1234\xFE\r"}) {
      DecoderRun run = Run(type, message);
      EXPECT_EQ(run.text(), "");
      EXPECT_EQ(run.state.link_activity, 1);
    }
  }
}

TEST_F(CalderiumTest, EnhancedStampHasTwoMorePairs) {
  // After the first twelve characters the enhanced receiver sends "/?y??y": the year digits sit at
  // the first and fourth place behind the slash.
  DecoderRun run = Run(kEnhanced, "14:35  12/31/xx2yy6  121234 3\r");
  EXPECT_EQ(run.text(), "01234 3\r");
  EXPECT_EQ(run.result.date, (DateRecord{2026, 12, 31, 4}));
  EXPECT_EQ(run.result.time, (TimeRecord{14, 35, 12, 345}));

  run = Run(kEnhanced, "14:35  12/31-ab-cd  121234 18 E130 01 005\r", true);
  EXPECT_EQ(run.text(), "01234 A005  [ri01]\r");
  EXPECT_EQ(run.result.date, (DateRecord{2026, 12, 31, 4}));

  // The same bytes on a plain Calderium port read "xx" as the year and keep "2yy6" in the body.
  run = Run(kCalderium, "14:35  12/31/xx2yy6  121234 3\r");
  EXPECT_EQ(run.result.date.year, 2000);
  EXPECT_EQ(run.text(), "01212 343\r");
}

TEST_F(CalderiumTest, MessagesCutAtCapacityPostNoUnterminatedLine) {
  // 18 characters left after the spaces go, but no CR: the message was longer than a text holds.
  const std::string message = "14:35  12/01  12123418E130010059" + std::string(250, ' ') + "\r";
  DecoderRun run = Run(kCalderium, message);
  EXPECT_EQ(run.text(), "");
}

TEST_F(CalderiumTest, ShortMessagesEndWithoutEvent) {
  for (const char* message : {"\r", "14:35\r", "14:35  12/01\r", "14:35  12/01/2\r"}) {
    SCOPED_TRACE(message);
    DecoderRun run = Run(kEnhanced, message);
    EXPECT_EQ(run.text(), "");
    run = Run(kCalderium, message);
    EXPECT_EQ(run.text(), "");
  }
}


TEST_F(CalderiumTest, SiaBlockTooLongForOneTextKeepsWholeLines) {
  // Twenty events in one comma list give more lines than one text holds: every line handed on must be
  // whole and end with CR, or event intake would drop the last one unseen.
  std::string list = "BA01";
  for (int zone = 2; zone <= 20; ++zone) list += "," + std::string(zone < 10 ? "0" : "") + std::to_string(zone);
  DecoderRun run = Run(kCalderium, "14:35  12/01  12[#1234|N" + list + "]\r");
  const std::string text = run.text();
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), '\r');
  size_t start = 0;
  int lines = 0;
  for (size_t cr = text.find('\r'); cr != std::string::npos; cr = text.find('\r', start)) {
    std::string line = text.substr(start, cr - start);
    EXPECT_EQ(line.substr(0, 8), "01234 BA") << line;
    EXPECT_EQ(line.substr(line.size() - 8), "  [R1L2]") << line;
    start = cr + 1;
    ++lines;
  }
  EXPECT_EQ(start, text.size());
  EXPECT_EQ(lines, 13);

  // Twenty long modifiers make the one event line itself longer than a text: it is cut, CR kept.
  std::string modifiers;
  for (int i = 0; i < 20; ++i) modifiers += "a123456789";
  run = Run(kCalderium, "14:35  12/01  12[#1234|N" + modifiers + "BA01]\r");
  ASSERT_EQ(run.result.text.length(), MessageText::kCapacity);
  EXPECT_EQ(run.text().find('\r'), static_cast<size_t>(MessageText::kCapacity - 1));
  EXPECT_EQ(run.text().substr(0, 10), "01234 BA01");
}

}  // namespace
}  // namespace duri
