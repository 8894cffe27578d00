// Quick Alert printed reports: NUL-ended lines read one by one up to the report's EOT.
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

std::string L(const std::string& text) { return text + std::string(1, '\0'); }

const std::string kTitle = L("\r\nQUICK ALERT\r");
std::string Account(const std::string& account, char line = '2') {
  return L(std::string("RCVR 1 LINE ") + line + " ACCOUNT " + account + " \r");
}
std::string Report(const std::string& lines) { return lines + "\x04"; }

struct Case {
  const char* name;
  std::string bytes;
  PortOptions options;
  std::string expected;
};

class QuickAlertTest : public ::testing::Test {
 protected:
  QuickAlertTest() { clock_.Set(2026, 12, 8, 10, 11, 12); }

  void CheckAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      DecoderRun run(9, c.bytes, clock_, c.options);
      EXPECT_EQ(run.text(), c.expected);
      // The whole report is taken, its EOT included.
      EXPECT_EQ(run.state.read_index, static_cast<int>(c.bytes.size()) + 1);
      EXPECT_EQ(run.state.link_activity, 0);
    }
  }

  ManualClock clock_;
};

TEST_F(QuickAlertTest, CodeLabels) {
  auto one = [](const std::string& code_line) { return Report(kTitle + Account("1234") + L(code_line)); };
  CheckAll({
      {"ZONE/", one("CODE E1 ZONE/ 0 05\r"), kPlain, "01234 E1005\r"},
      {"digits kept", one("CODE E1 ZONE/ 005\r"), {true, true, '0'}, "0021234 E1005\r"},
      {"ZONE/ID", one("CODE E1 ZONE/ID 7\r"), kPlain, "01234 E7\r"},
      {"ID  /", one("CODE R3 ID  / 012\r"), kPlain, "01234 R3012\r"},
      {"@", one("CODE E130 @ 12 3\r"), kPlain, "01234 E123\r"},
      {"ZN", one("CODE 1130 G01 ZN\r"), kPlain, "01234 E130  [ri01]\r"},
      {":", one("CODE E130 :5\r"), kPlain, "01234 E5\r"},
      {"plain", one("CODE E 130 9\r"), kPlain, "01234 E1309\r"},
      {"=", one("CODE A 2 3x=\r"), kPlain, "01234 A2\r"},
      {"= with USER, opening", one("CODE O B =  USER 007\r"), kPlain, "01234 O007\r"},
      {"= with USER, closing", one("CODE C X =  USER 0 12\r"), kPlain, "01234 C012\r"},
      {"Z/ID/", one("CODE 12 Z/ID/ 3\r"), kPlain, ""},
      {"code on the next line", Report(kTitle + Account("1234") + L("----------------------") +
                                       L("CODE E1 ZONE/ 005\r")),
       kPlain, "01234 E1005\r"},
  });
}

TEST_F(QuickAlertTest, ZoneMapGivesTheZoneByColumn) {
  auto map = [](const std::string& mark_line) {
    return Report(Account("5678", '1') + L("1*2*3*4*5*6*7*8\r") + L(mark_line));
  };
  CheckAll({
      {"first column", map("ALARMX\r"), kPlain, "05678 X1\r"},
      {"after five spaces", map("ALARM     X\r"), kPlain, "05678 X4\r"},
      {"after six spaces", map("ALARM      X\r"), kPlain, "05678 X4\r"},
      {"last column", map("ALARM              T\r"), kPlain, "05678 T8\r"},
      {"no mark", map("ALARM   \r"), kPlain, "05678 3\r"},
  });
}

TEST_F(QuickAlertTest, ReportsOfSeveralEventsAndTheirEnds) {
  const std::string second = Account("9999", '3') + L("CODE R1 ZONE/ 002\r");
  // The fourth line after the area line carries the code.
  const std::string area =
      Account("1234") + L("PARTITION\r") + L("A#01 ZONE/ 3\r") + L("a") + L("b") + L("c") + L("CODE E1 ZONE/ 005\r");
  CheckAll({
      {"two events", Report(kTitle + Account("1234") + L("CODE E1 ZONE/ 005\r") + second), kPlain,
       "01234 E1005\r09999 R1002\r"},
      {"area block", Report(area), kPlain, "01234 E1005  [ri3]\r"},
      {"empty report", Report(""), kPlain, ""},
      {"no account in five lines", Report(kTitle + L("one long line of the report......") + L("2") + L("3") +
                                          L("4") + L("5") + Account("1234") + L("CODE E1\r")),
       kPlain, ""},
      {"five-character account ends the report", Report(Account("12345") + L("CODE E1\r") + second),
       kPlain, ""},
      {"events before a bad block stay", Report(second + Account("12345") + L("CODE E1\r")), kPlain,
       "09999 R1002\r"},
      {"Z/ID/ ends the report", Report(second + Account("1234") + L("CODE Z/ID/ 1\r") + second), kPlain,
       "09999 R1002\r"},
      {"block without code repeats the last", Report(second + Account("1234") + L("x") + L("y")), kPlain,
       "09999 R1002\r01234 R1002\r"},
      {"account line at the end", Report(kTitle + Account("1234")), kPlain, "01234 \r"},
  });
}

TEST_F(QuickAlertTest, LineWithoutNulEndsAtTheReportsEnd) {
  // The last line lost its NUL: it ends before the EOT, and the next report stays in the buffer.
  const std::string first = Report(Account("1234") + "CODE E130\r");
  const std::string next = Report(Account("5678") + L("CODE R1\r"));
  DecoderRun run(9, first + next, clock_);
  EXPECT_EQ(run.text(), "01234 E130\r");
  EXPECT_EQ(run.state.read_index, static_cast<int>(first.size()) + 1);
}

TEST_F(QuickAlertTest, ReportWithoutItsEotIsLeftInTheBuffer) {
  DecoderRun run(9, Account("1234") + L("CODE E130\r"), clock_);
  EXPECT_EQ(run.text(), "");
  EXPECT_EQ(run.state.read_index, 1);
}

TEST_F(QuickAlertTest, ReportAcrossTheEndOfTheRing) {
  const std::string bytes = Report(Account("1234") + L("CODE E1 ZONE/ 005\r"));
  DecoderRun run(9, bytes, clock_, kPlain, nullptr, PortState::kRingSize - 10);
  EXPECT_EQ(run.text(), "01234 E1005\r");
  EXPECT_EQ(run.state.read_index, static_cast<int>(bytes.size()) - 10);
}

TEST_F(QuickAlertTest, EveryLineIsCapturedOnItsOwn) {
  duri::testing::TempDir temp;
  temp.MakeDir("ORBA/202612.Evt");
  NullView view;
  DataDir data(temp.path(), clock_, view);
  DecoderRun run(9, Report(Account("1234") + L("CODE E1\r")), clock_, kPlain, &data);
  EXPECT_EQ(run.text(), "01234 E1\r");
  EXPECT_EQ(temp.ReadFile("ORBA/202612.Evt/event.txt"),
            Account("1234") + "\r\n" + L("CODE E1\r") + "\r\n" + "\x04\r\n");
}

}  // namespace
}  // namespace duri
