// The intake pipeline over stations built with the loader: lines, kinds, areas, dates, stacking and
// automatic handling, read back from the real history, stack and side files.
#include "events/add_event.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "events/history.h"
#include "events/prepare_event.h"
#include "support/intake_station.h"

namespace duri {
namespace {

using nlohmann::json;
using testing::IntakeStationTest;
using testing::Lines;

json Entry(std::string pattern, std::string description, int type, int priority = 1) {
  return {{"code_pattern", pattern}, {"description", description}, {"type", type}, {"priority", priority},
          {"priority_action_1", "A1"}};
}

// Account 1234: area 0 "Shop" (code table 0), area 3 "Warehouse" (code table 0). Account 0: table 1,
// which knows the link supervision codes.
json BaseStation() {
  return {{"clients",
           {{{"account_number", "1234"},
             {"areas", {{{"area_name", "Shop"}, {"code_table_record_number", 0}},
                        {{"area", 3}, {"area_name", "Warehouse"}, {"code_table_record_number", 0}}}}},
            {{"account_number", "0"}, {"areas", {{{"code_table_record_number", 1}}}}}}},
          {"code_tables",
           {{{"record", 0}, {"entries", {Entry("130", "Burglary", 10), Entry("131", "Fire", 10, 2)}}},
            {{"record", 1},
             {"entries", {Entry("ACOM1..ACOM9", "Communication lost", 10, 1),
                          Entry("RCOM1..RCOM9", "Communication restored", 10, 1)}}}}}};
}

class AddEventTest : public IntakeStationTest {};

TEST(SplitEventLineTest, Fields) {
  struct Case {
    const char* line;
    const char* account;
    const char* code;
    const char* rest;
    int area;
  };
  const Case cases[] = {
      {"1234 130", "1234", "130", "", 0},
      {"1234 130  [ri3]", "1234", "130", " [ri3]", 3},
      {"1234 130  [ri12]", "1234", "130", " [ri12]", 0},
      {"1234 130  [ri01]", "1234", "130", " [ri01]", 1},
      {"1234 130 [ri 7]", "1234", "130", "[ri 7]", 7},
      {"1234 130 [ri266]", "1234", "130", "[ri266]", 10},  // the low byte of 266
      {" 130 x", "", "130", "x", 0},
      {"1234", "1234", "", "", 0},
      {"123456789012345678901234 ABCDEFGHIJKL rest", "12345678901234567890", "ABCDEFGHIJ", "rest", 0},
  };
  for (const Case& c : cases) {
    EventLine parts = SplitEventLine(c.line);
    EXPECT_EQ(parts.account, c.account) << c.line;
    EXPECT_EQ(parts.code, c.code) << c.line;
    EXPECT_EQ(parts.rest, c.rest) << c.line;
    EXPECT_EQ(AreaOfRest(parts.rest), c.area) << c.line;
  }
}

TEST(KindOfCodeTest, TestsInOrder) {
  EXPECT_EQ(KindOfCode("@RE"), EventKind::kLateOpening);
  EXPECT_EQ(KindOfCode("@re"), EventKind::kLateOpening);
  EXPECT_EQ(KindOfCode("@Rs"), EventKind::kLateClosing);
  EXPECT_EQ(KindOfCode("@at"), EventKind::kAutoTestMissing);
  EXPECT_EQ(KindOfCode("@rr"), EventKind::kRoundMissing);
  EXPECT_EQ(KindOfCode("\xFE"), EventKind::kActiveReport);
  EXPECT_EQ(KindOfCode("\xFE\xFD"), EventKind::kSpecialCode);
  EXPECT_EQ(KindOfCode("130"), EventKind::kNormal);
}

TEST(ValidateEventStampTest, DatesAndTimes) {
  ManualClock clock;
  clock.Set(2026, 12, 8, 10, 30, 5, 470);
  struct Case {
    DateRecord date;
    TimeRecord time;
    bool kept;
  };
  const Case cases[] = {
      {{2024, 2, 29, 4}, {12, 0, 0, 0}, true},   {{2023, 2, 29, 3}, {12, 0, 0, 0}, false},
      {{2099, 1, 1, 4}, {12, 0, 0, 0}, false},   {{1979, 12, 31, 1}, {12, 0, 0, 0}, false},
      {{2098, 12, 31, 3}, {23, 59, 59, 99}, true}, {{2026, 4, 31, 4}, {1, 0, 0, 0}, false},
      {{2026, 1, 1, 4}, {24, 0, 0, 0}, false},   {{2026, 1, 1, 4}, {1, 60, 0, 0}, false},
      {{2026, 1, 1, 4}, {1, 0, 60, 0}, false},   {{2100, 2, 29, 1}, {1, 0, 0, 0}, false},
  };
  for (const Case& c : cases) {
    DateRecord date = c.date;
    TimeRecord time = c.time;
    EXPECT_EQ(ValidateEventStamp(clock, date, time), c.kept) << c.date.year << "-" << c.date.month;
    if (c.kept) {
      EXPECT_EQ(date, c.date);
      EXPECT_EQ(time, c.time);
    } else {
      EXPECT_EQ(date, clock.Today());
      EXPECT_EQ(time, (TimeRecord{10, 30, 5, 47}));
    }
  }
  DateRecord date{2026, 1, 1, 4};
  TimeRecord time{1, 2, 3, 250};
  EXPECT_TRUE(ValidateEventStamp(clock, date, time));
  EXPECT_EQ(time.fraction, 50);
}

TEST_F(AddEventTest, LinkLineIsLookedUpAsAccountZero) {
  Load(BaseStation());
  Post("0000 RCOM3\r");
  std::vector<EventRecord> h = History();
  ASSERT_EQ(h.size(), 1u);
  EXPECT_EQ(h[0].account.str(), "0");
  EXPECT_EQ(h[0].description.str(), "  RCOM3 > Communication restored");
  EXPECT_EQ(h[0].account_rec_no, 1);
}

TEST_F(AddEventTest, TwoLinesGiveTwoRecordsStackedInLineOrder) {
  Load(BaseStation());
  Post(Lines({"1234 130", "1234 131"}));
  std::vector<EventRecord> h = History();
  ASSERT_EQ(h.size(), 2u);
  EXPECT_EQ(h[0].description.str(), "    130 > Burglary [ri0:Shop]");
  EXPECT_EQ(h[1].description.str(), "    131 > Fire [ri0:Shop]");
  std::vector<StackEntry> s = Stacked();
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0].record_number, 0);
  EXPECT_EQ(s[1].record_number, 1);
  EXPECT_EQ(s[0].account_rec_no, 0);
  EXPECT_EQ(s[0].time_stamp, Pack(clock_.Today(), h[0].time));
  // Side files: last 100, event log, account mark.
  EXPECT_EQ(ReadLast100(station_.data)[0].description.str(), "    131 > Fire [ri0:Shop]");
  EXPECT_TRUE(OrbaFileExists("202612.EVT/EVENT.MOV"));
  EXPECT_EQ(view_.debug.front(), kDebugAddEvent);
  EXPECT_EQ(view_.debug.back(), kDebugEndAddEvent);
}

TEST_F(AddEventTest, DebugLabelFollowsTheSteps) {
  Load(BaseStation());
  Post("1234 130\r");
  const std::vector<std::string> expected = {kDebugAddEvent,
                                             std::string(kDebugInitialisation) + "1234 130",
                                             kDebugReadClient,
                                             std::string(kDebugPreparation) + "0",
                                             kDebugDatabase,
                                             kDebugQueue,
                                             kDebugEndAddEvent};
  std::vector<std::string> steps;
  for (const std::string& d : view_.debug) {
    for (const std::string& e : expected) {
      if (d == e) steps.push_back(d);
    }
  }
  EXPECT_EQ(steps, expected);
}

TEST_F(AddEventTest, UnterminatedTailIsIgnored) {
  Load(BaseStation());
  Post("1234 130\r1234 131");
  EXPECT_EQ(History().size(), 1u);
  Post("1234 131");
  EXPECT_EQ(History().size(), 1u);
}

TEST_F(AddEventTest, EmptyAndUnknownAccounts) {
  Load(BaseStation());
  Post(Lines({" 130 rest", "9999 130"}));
  std::vector<EventRecord> h = History();
  ASSERT_EQ(h.size(), 2u);
  EXPECT_EQ(h[0].event_type, 23);
  EXPECT_EQ(h[0].description.str(), "[  130 rest]  Invalidrest");
  EXPECT_EQ(h[0].account.str(), "0");
  EXPECT_EQ(h[0].account_rec_no, -1);
  EXPECT_EQ(h[0].action_list.str(), "");
  EXPECT_EQ(h[1].description.str(), "[  9999 130]  Invalid");
  EXPECT_EQ(Stacked().size(), 2u);
  EXPECT_TRUE(notified_.empty());
}

TEST_F(AddEventTest, UnknownAccountsHandledAutomaticallyWhenTheCompanySaysSo) {
  json description = BaseStation();
  description["company"] = {{"auto_unknown_accounts", 1}};
  Load(description);
  Post("9999 130\r");
  EXPECT_TRUE(Stacked().empty());
  ASSERT_EQ(notified_.size(), 1u);
  EXPECT_EQ(notified_accounts_[0], "0");
}

TEST_F(AddEventTest, AreaMarkers) {
  Load(BaseStation());
  Post(Lines({"1234 130  [ri12]", "1234 130  [ri3]", "1234 130  [ri2]"}));
  std::vector<EventRecord> h = History();
  ASSERT_EQ(h.size(), 3u);
  EXPECT_EQ(h[0].area, 0);
  EXPECT_EQ(h[0].description.str(), "    130 > Burglary [ri0:Shop]");
  EXPECT_EQ(h[1].area, 3);
  EXPECT_EQ(h[1].description.str(), "    130 > Burglary [ri3:Warehouse]");
  // Area 2 has no code table: area 0's table and name, the area number kept.
  EXPECT_EQ(h[2].area, 2);
  EXPECT_EQ(h[2].description.str(), "    130 > Burglary [ri0:Shop]");
}

TEST_F(AddEventTest, RestShownWhenTheAreaHasNoName) {
  json description = BaseStation();
  description["clients"][0]["areas"][0]["area_name"] = "";
  Load(description);
  Post("1234 130  zone 4\r", " (extra)");
  EXPECT_EQ(History()[0].description.str(), "    130 > Burglary zone 4 (extra)");
}

TEST_F(AddEventTest, LateOpeningAndItsKind) {
  json description = BaseStation();
  json opening = Entry("401", "Opening", 4, 5);
  opening["priority_action_1"] = "OP";
  description["code_tables"][0]["entries"].push_back(opening);
  Load(description);
  Post("1234 @RE \r");
  EventRecord closed = History().back();
  EXPECT_EQ(closed.event_type, 20);
  EXPECT_EQ(closed.description.str(), "          Closed for the day [ri0:Shop]");
  EXPECT_EQ(notified_.size(), 1u);

  description["company"] = {{"report_late_openings", 1}};
  Load(description);
  Post("1234 @re\r");
  EventRecord late = History().back();
  EXPECT_EQ(late.event_type, 14);
  EXPECT_EQ(late.description.str(), "          Late opening [ri0:Shop]");
  EXPECT_EQ(late.action_list.str(), "OP");
  EXPECT_EQ(late.priority, 5);
  EXPECT_EQ(Stacked().size(), 1u);
}

TEST_F(AddEventTest, SupervisionKinds) {
  Load(BaseStation());
  Post(Lines({"1234 @RS", "1234 @RR", "1234 \xFE", "1234 \xFE" "130,131", "1234 A\xFD"}));
  std::vector<EventRecord> h = History();
  ASSERT_EQ(h.size(), 5u);
  EXPECT_EQ(h[0].event_type, 15);
  EXPECT_EQ(h[0].description.str(), "          Late closing [ri0:Shop]");
  EXPECT_EQ(h[0].action_list.str(), kDefaultActionList);
  EXPECT_EQ(h[1].event_type, 30);
  EXPECT_EQ(h[1].description.str(), "          Guard round not received [ri0:Shop]");
  EXPECT_EQ(h[2].event_type, 26);
  EXPECT_EQ(h[2].description.str(), "          Active account [ri0:Shop]");
  EXPECT_EQ(h[3].event_type, 27);
  EXPECT_EQ(h[3].description.str(), "          Active code(s) (130,131) [ri0:Shop]");
  EXPECT_EQ(h[4].event_type, 24);
  EXPECT_EQ(h[4].action_list.str(), kDefaultActionList);
  // 15 and 30 wait for an operator; 26, 27 and 24 are handled automatically.
  EXPECT_EQ(Stacked().size(), 2u);
  EXPECT_EQ(notified_.size(), 3u);
}

TEST_F(AddEventTest, MissingAutoTestDroppedWhileAnAreaIsOpenForArmedOnlyAccounts) {
  json description = BaseStation();
  description["clients"][0]["automatic_test_record_number"] = -2;
  json opening = Entry("401", "Opening", 4);
  description["code_tables"][0]["entries"].push_back(opening);
  Load(description);
  Post("1234 @AT\r");
  ASSERT_EQ(History().size(), 1u);
  EXPECT_EQ(History()[0].event_type, 25);
  EXPECT_EQ(History()[0].description.str(), "          Auto test not received [ri0:Shop]");
  Post("1234 401\r");  // opens area 0
  ASSERT_EQ(History().size(), 2u);
  Post("1234 @AT\r");
  EXPECT_EQ(History().size(), 2u) << "nothing written for the dropped line";
}

TEST_F(AddEventTest, DateValidationOnTheWay) {
  Load(BaseStation());
  EventContext& events = station_.event_context();
  AddEvent(events, DateRecord{2024, 2, 29, 4}, TimeRecord{9, 0, 0, 0}, "1234 130\r", "", StackEntry{}, 1);
  AddEvent(events, DateRecord{2023, 2, 29, 3}, TimeRecord{9, 0, 0, 0}, "1234 130\r", "", StackEntry{}, 1);
  ASSERT_EQ(History("202402").size(), 1u);
  EXPECT_EQ(History("202402")[0].date, (DateRecord{2024, 2, 29, 4}));
  ASSERT_EQ(History("202612").size(), 1u);
  EXPECT_EQ(History("202612")[0].date, clock_.Today());
  EXPECT_EQ(History("202612")[0].time.hour, 10);
}

TEST_F(AddEventTest, HandleAllAutomatically) {
  json description = BaseStation();
  description["company"] = {{"handle_all_automatically", 1}};
  Load(description);
  Post(Lines({"1234 130", "9999 130", "1234 E401003", "1234 @RS"}));
  EXPECT_EQ(History().size(), 4u);
  EXPECT_TRUE(Stacked().empty());
  ASSERT_EQ(notified_.size(), 4u);
  EXPECT_EQ(notified_[0].auto_handled, 1);
  EXPECT_EQ(History()[0].auto_handled, 1);
  EXPECT_EQ(notified_accounts_[0], "1234");
}

TEST_F(AddEventTest, MoreThanFortyStackedLinesAreAllKept) {
  Load(BaseStation());
  std::string text;
  for (int i = 0; i < 42; ++i) text += std::string(i % 2 ? "1234 131" : "1234 130") + "\r";
  Post(text);
  EXPECT_EQ(History().size(), 42u);
  std::vector<StackEntry> s = Stacked();
  ASSERT_EQ(s.size(), 42u);
  for (int i = 0; i < 42; ++i) EXPECT_EQ(s[static_cast<size_t>(i)].record_number, i);
}

TEST_F(AddEventTest, ALineFailingOnAFileEndsTheMessageWhatCameBeforeIsStackedAndNothingIsAcknowledged) {
  json station = BaseStation();
  station["code_tables"][0]["entries"].push_back(Entry("401", "Opening", 4));
  Load(station);
  tmp_.MakeDir("ORBA/GENERAL.LCK");  // the armed status's lock cannot be opened
  station_.data.pending_sync.ResetFailure();
  Post(Lines({"1234 130", "1234 401", "1234 131"}));
  ASSERT_EQ(History().size(), 1u);
  EXPECT_EQ(History()[0].description.str(), "    130 > Burglary [ri0:Shop]");
  ASSERT_EQ(Stacked().size(), 1u);
  EXPECT_NE(station_.data.pending_sync.Flush(), 0);  // the reader pass writes no acknowledgement
  const std::string log = tmp_.ReadFile("ORBA/error.log");
  EXPECT_NE(log.find("Event not recorded: 1234 401 (cannot open lock file \\ORBA\\GENERAL.LCK)"), std::string::npos)
      << log;
  EXPECT_EQ(log.find("1234 131"), std::string::npos);
}

TEST_F(AddEventTest, PresetEntryIsOnlyStacked) {
  Load(BaseStation());
  StackEntry preset;
  preset.record_number = 17;
  preset.account_rec_no = 0;
  preset.time_stamp = 1234;
  preset.priority = '4';
  AddEvent(station_.event_context(), clock_.Today(), clock_.TimeOfDay(), "1234 130\r", "", preset, 1);
  EXPECT_TRUE(History().empty());
  ASSERT_EQ(Stacked().size(), 1u);
  EXPECT_EQ(Stacked()[0], preset);
}

}  // namespace
}  // namespace duri
