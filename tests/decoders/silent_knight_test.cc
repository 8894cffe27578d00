// Silent Knight SK9000 and SK9500 reports: fields, receiver status, text reports, the error log and
// the stamp's year.
#include "decoders/silent_knight.h"

#include <gtest/gtest.h>

#include <string>

#include "decoders/decoder_run.h"
#include "platform/station_view.h"
#include "store/data_dir.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

using testing::DecoderRun;
using testing::PortOptions;

constexpr PortOptions kPlain{};

// Two bytes of noise, then month 12 day 08, two columns, the quote at column 7, 10:15, two columns.
const std::string kHead = "\nX1208ab\"1015cd";
// SK9000 account: a receiver column, a pad, then the account up to the quote.
const std::string kSk9000 = kHead + "3z1234\"";
// SK9500: columns 14..22 of the header carry the two receiver digits at 15-16, then three columns,
// the two line digits, a pad, ENQ and the account up to the quote.
const std::string kSk9500 = kHead + "e07ffffffggg03h\x05" "1234\"";

struct Case {
  const char* name;
  int type;
  std::string bytes;
  PortOptions options;
  std::string expected;
};

class SilentKnightTest : public ::testing::Test {
 protected:
  SilentKnightTest() { clock_.Set(2026, 12, 8, 10, 11, 12); }

  void CheckAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      DecoderRun run(c.type, c.bytes, clock_, c.options);
      EXPECT_EQ(run.text(), c.expected);
      EXPECT_EQ(run.state.read_index, static_cast<int>(c.bytes.size()) + 1);
      EXPECT_EQ(run.state.link_activity, c.type == 12 ? 1 : 0);
    }
  }

  ManualClock clock_;
};

TEST_F(SilentKnightTest, Sk9000Fields) {
  CheckAll({
      {"contact id, restore, other", 11, kSk9000 + "E1113001005\"R1313001005\"HELLOK\r", kPlain,
       "1234 E130005  [ri01]\r1234 R130005  [ri01]\r1234 HELLO\r"},
      {"line digit and prefix", 11, kSk9000 + "HELLOK\r", {false, true, '5'}, "531234 HELLO\r"},
      {"prefix 0 is not written", 11, kSk9000 + "HELLOK\r", {true, true, '0'}, "31234 HELLO\r"},
      {"channel status", 11, kSk9000 + "1234 5600 7K\r", kPlain,
       "1234 A01\r1234 O02\r1234 R03\r1234 C04\r1234 P06\r1234 T07\r1234 T08\r"},
      // An opening reported by a status field is added after the alarm before it, never in its place.
      {"status after an alarm", 11, kSk9000 + "E1113001005\"5000 0000 2K\r", kPlain,
       "1234 E130005  [ri01]\r1234 O05\r"},
      {"quote already at 7", 11, "1208ab\"1015cd3z1234\"HELLOK\r", kPlain, "1234 HELLO\r"},
      {"no quote", 11, "1208ab1015cd3z1234HELLOK\r", kPlain, ""},
      {"quote before 7", 11, "1208\"ab1015cd3z1234HELLOK\r", kPlain, ""},
      {"shorter than 15", 11, "1208ab\"1015cK\r", kPlain, ""},
      {"damaged", 11, kSk9000 + "HEL\xfeLOK\r", kPlain, ""},
  });
}

TEST_F(SilentKnightTest, Sk9000ReceiverStatusReport) {
  CheckAll({
      {"battery", 11, "\x01" "1208ab\"1015cdy01K\r", kPlain, "00000 ABAT\r"},
      {"line off, digits kept", 11, "\x01" "1208ab\"1015cd~01K\r", {true, true, '0'}, "0000000 LOFF01\r"},
      {"unknown", 11, "\x01" "1208ab\"1015cdr01K\r", kPlain, "00000 XXX\r"},
  });
}

TEST(SkReceiverStatusTest, CodeByTheFirstCharacterAtOrAboveP) {
  const std::pair<std::string, std::string> cases[] = {
      {"abcp12", "ALC12"}, {"q34", "APL34"},  {"s56", "RPL56"}, {"w12", "AAC"},   {"x", "RAC"},
      {"y", "ABAT"},       {"z01", "RBAT"},   {"{", "APC"},     {"}", "RPC"},     {"~01", "LOFF01"},
      {"\x7f" "02", "LON02"}, {"~", "LOFF"}, {"r00", "XXX"},   {"abc", "XXX"},   {"\xc8" "y", "XXX"},
      {"", "XXX"},
  };
  for (const auto& [report, code] : cases) EXPECT_EQ(SkReceiverStatus(report), code) << report;
}

TEST_F(SilentKnightTest, Sk9000ErrorReportGoesToTheErrorLogWithoutEvent) {
  duri::testing::TempDir temp;
  temp.MakeDir("ORBA");
  NullView view;
  DataDir data(temp.path(), clock_, view);
  DecoderRun first(11, kHead + "3z1234\"!ERRK\r", clock_, kPlain, &data);
  DecoderRun second(11, "1208ab\"1015cd#2K\r", clock_, kPlain, &data);
  EXPECT_TRUE(first.text().empty());
  EXPECT_EQ(first.posts + second.posts, 0);
  EXPECT_EQ(temp.ReadFile("ORBA/error.log"), "1208ab\"1015cd3z1234\"!ERR\r\n1208ab\"1015cd#2\r\n");
  // Without a log the report is still dropped quietly.
  DecoderRun unlogged(11, "1208ab\"1015cd#2K\r", clock_);
  EXPECT_TRUE(unlogged.text().empty());
}

TEST_F(SilentKnightTest, Sk9500Fields) {
  CheckAll({
      {"contact id and modifiers", 12, kSk9500 + "E1113001005\"ri02\"BA05\"xy\"TA01\"ZZK\r", kPlain,
       "01234 E130005  [ri01]\r01234 BA05  [ri02]\r01234 TA01  [ri02]\r01234 ZZ  [ri02]\r"},
      {"digits kept", 12, kSk9500 + "BA05K\r", {true, true, '0'}, "007031234 BA05\r"},
      {"long area cut to ten", 12, kSk9500 + "ri12345\"BA05K\r", kPlain, "01234 BA05  [ri12345\r"},
      {"modifier at the end", 12, kSk9500 + "BA05\"riK\r", kPlain, "01234 BA05\r"},
      {"end of text first", 12, "\x03" + kSk9500.substr(1) + "BA05K\r", kPlain, ""},
      {"no quote", 12, "1208ab1015cde07ffffffggg03hh\x05" "1234K\r", kPlain, ""},
  });
}

TEST_F(SilentKnightTest, Sk9500TextReport) {
  const std::string head = kHead + "e07\x02" "fffff";
  CheckAll({
      {"text", 12, head + "zone \"fire\" alarmK\r", kPlain, "00000 ZONE FIRE ALARM\r"},
      {"capital first letter doubled", 12, head + "Fire \x82t\x82K\r", kPlain, "00000 FFIRE ETE\r"},
      {"digits kept", 12, head + "okK\r", {true, true, '0'}, "007000000 OK\r"},
  });
}

TEST_F(SilentKnightTest, StampDatesTheEventAndTheYearFollowsTheNewYear) {
  struct YearCase {
    int today_year, today_month;
    const char* month;
    int year;
  };
  const YearCase cases[] = {
      {2026, 12, "12", 2026},
      {2027, 1, "12", 2026},  // December read in January: last year
      {2026, 12, "01", 2027},  // January read in December: next year
      {2026, 6, "12", 2026},
      {2027, 1, "01", 2027},
  };
  for (const YearCase& c : cases) {
    for (int type : {11, 12}) {
      SCOPED_TRACE(std::string(c.month) + " type " + std::to_string(type));
      clock_.Set(c.today_year, c.today_month, 2, 0, 5);
      std::string bytes = std::string("X") + c.month + "31ab\"2359cd" + (type == 11 ? "3z1234\"HELLOK\r"
                                                                                    : "e07ffffffggg03h\x05" "1234\"BA05K\r");
      DecoderRun run(type, bytes, clock_);
      EXPECT_EQ(run.result.date.year, c.year);
      EXPECT_EQ(run.result.date.day, 31);
      EXPECT_EQ(run.result.time.hour, 23);
      EXPECT_EQ(run.result.time.minute, 59);
      EXPECT_EQ(run.result.time.second, 0);  // the computer's second, the stamp has none
    }
  }
}

}  // namespace
}  // namespace duri
