// Sescoa 3000R reports: single events, event lists with continuation and user lines, the stamp.
#include <gtest/gtest.h>

#include <string>

#include "decoders/decoder_run.h"

namespace duri {
namespace {

using testing::DecoderRun;
using testing::PortOptions;

constexpr PortOptions kPlain{};
constexpr PortOptions kAllDigits{true, true, '0', false};

// A lead character, the kind, the mode character, the stamp, receiver 'P' (1) with line 2, the body
// and DC4.
std::string Report(const std::string& kind, char mode, const std::string& body,
                   const std::string& stamp = "10:15 12/08 xx", const std::string& receiver = "P2abc") {
  return "\x02" + kind + mode + stamp + receiver + body + "\x14";
}

struct Case {
  const char* name;
  std::string bytes;
  PortOptions options;
  std::string expected;
};

class SescoaTest : public ::testing::Test {
 protected:
  SescoaTest() { clock_.Set(2026, 12, 8, 9, 30, 40); }

  void CheckAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      DecoderRun run(3, c.bytes, clock_, c.options);
      EXPECT_EQ(run.text(), c.expected);
      EXPECT_EQ(run.state.read_index, static_cast<int>(c.bytes.size()) + 1);
      EXPECT_EQ(run.state.link_activity, 0);
    }
  }

  ManualClock clock_;
};

TEST_F(SescoaTest, SingleEvent) {
  ASSERT_EQ(Report("RS", 'B', "").size(), 24u);
  CheckAll({
      {"line digit after the code", Report("RS", 'B', ""), kPlain, "00000 B2\r"},
      {"digits kept", Report("RS", 'B', ""), kAllDigits, "0100000 B2\r"},
      {"line 0 is not written", Report("RS", 'B', "", "10:15 12/08 xx", "30abc"), kAllDigits, "0300000 B\r"},
      {"kind CS", Report("CS", 'B', ""), kPlain, ""},
      {"shorter than 24", Report("RS", 'B', "").substr(1), kPlain, ""},
      {"damaged", Report("RS", 'B', "\xfe"), kPlain, ""},
      {"CR in the stamp", Report("RS", 'B', "", "10:15\r12/08 xx"), kPlain, ""},
      {"CR for the receiver and line", Report("RS", ' ', "1234 E1 A05\r\r\r", "10:15 12/08 xx", "\r\rabc"), kPlain,
       ""},
  });
}

TEST_F(SescoaTest, EventList) {
  CheckAll({
      {"no line", Report("RS", ' ', ""), kPlain, "00000 00\r"},
      {"no line, digits kept", Report("RS", ' ', ""), kAllDigits, "0120000 00\r"},
      {"alarm loses its A", Report("RS", ' ', "1234 E1 A05\r"), kPlain, "01234 E1 05\r"},
      {"continuation", Report("RS", ' ', "1234 E1 A05\r       MORE\r"), kPlain, "01234 E1 5MORE\r"},
      {"continuation after 0", Report("RS", ' ', "1234 E1 A05\r0      MORE\r"), kPlain, "01234 E1 5MORE\r"},
      {"two events", Report("RS", ' ', "1234 E1 A05\r5678 E3 B07\r"), kPlain, "01234 E1 05\r05678 E3 B07\r"},
      {"skipped line", Report("RS", ' ', "12345[xx\r1234 E1 B05\r"), kPlain, "01234 E1 B05\r"},
      {"only skipped lines", Report("RS", ' ', "12345[xx\r"), kPlain, "00000 00\r"},
      {"last line without CR", Report("RS", ' ', "1234 E1 B05"), kPlain, "01234 E1 B05\r"},
      {"closing with its user", Report("NS", ' ', "1234 C01\r     I007\r5678 A02\r"), kPlain,
       "01234 C007\r05678 A02\r"},
      {"opening followed by an event", Report("NS", ' ', "1234 O01\r5678 A02\r"), kPlain,
       "01234 O01\r05678 A02\r"},
      {"closing at the end", Report("NS", ' ', "1234 C01\r"), kPlain, "01234 C01\r"},
      {"NS keeps the A", Report("NS", ' ', "1234 E1 A05\r"), kPlain, "01234 E1 A05\r"},
      // An empty line gives a two-character result: there is no fourth character from its end.
      {"tiny result", Report("RS", ' ', "\r"), kPlain, "0\r"},
  });
}

TEST_F(SescoaTest, ListStopsAddingPastTheLimit) {
  std::string body;
  for (int i = 0; i < 30; ++i) body += "1234 E1 B0" + std::to_string(i % 10) + "\r";
  DecoderRun run(3, Report("RS", ' ', body), clock_);
  // Lines of 13 characters are added while the text is at most 239 long: 19 lines.
  EXPECT_EQ(run.result.text.length(), 19 * 13);
  EXPECT_EQ(run.text().back(), '\r');
}

TEST_F(SescoaTest, StampFieldsInRangeOnly) {
  struct StampCase {
    const char* stamp;
    int hour, minute, month, day;
  };
  const StampCase cases[] = {
      {"10:15 12/08 xx", 10, 15, 12, 8},
      {"24:15 12/08 xx", 9, 15, 12, 8},   // hour 24: the computer's hour
      {"23:60 13/00 xx", 23, 30, 12, 8},  // minute, month and day out of range
      {"00:00 01/31 xx", 0, 0, 1, 31},
      {"ab:cd ef/gh xx", 9, 30, 12, 8},
  };
  for (const StampCase& c : cases) {
    SCOPED_TRACE(c.stamp);
    DecoderRun run(3, Report("RS", 'B', "", c.stamp), clock_);
    EXPECT_EQ(run.result.time.hour, c.hour);
    EXPECT_EQ(run.result.time.minute, c.minute);
    EXPECT_EQ(run.result.time.second, 40);
    EXPECT_EQ(run.result.date.month, c.month);
    EXPECT_EQ(run.result.date.day, c.day);
  }
}

TEST_F(SescoaTest, StampYearAroundTheNewYear) {
  clock_.Set(2027, 1, 1, 0, 2);
  EXPECT_EQ(DecoderRun(3, Report("RS", 'B', "", "23:59 12/31 xx"), clock_).result.date,
            (DateRecord{2026, 12, 31, 4}));
  clock_.Set(2026, 12, 31, 23, 58);
  EXPECT_EQ(DecoderRun(3, Report("RS", 'B', "", "00:01 01/01 xx"), clock_).result.date,
            (DateRecord{2027, 1, 1, 5}));
}

}  // namespace
}  // namespace duri
