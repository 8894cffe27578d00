// Code resolution over stations built with the loader: each case posts an event line through the
// intake and reads the history record back.
#include "events/code_resolution.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <nlohmann/json.hpp>

#include "accounts/armed_status.h"
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

// Account 1234 with areas 0 (code table 0) and 2 (code table 0 too), account 0 with its table 1.
json Station(json table0, json table1 = json{{"entries", json::array()}}) {
  table0["record"] = 0;
  table1["record"] = 1;
  return {{"clients",
           {{{"account_number", "1234"}, {"areas", {{{"code_table_record_number", 0}},
                                                   {{"area", 2}, {"code_table_record_number", 0}}}}},
            {{"account_number", "0"}, {"areas", {{{"code_table_record_number", 1}}}}}}},
          {"code_tables", {table0, table1}}};
}

class CodeResolutionTest : public IntakeStationTest {
 protected:
  // Posts one line and returns its history record.
  EventRecord PostOne(const std::string& line) {
    size_t before = History().size();
    Post(line + "\r");
    std::vector<EventRecord> h = History();
    EXPECT_EQ(h.size(), before + 1) << line;
    return h.empty() ? EventRecord{} : h.back();
  }
};

TEST_F(CodeResolutionTest, PatternsMatchAsTheCodeTableWritesThem) {
  struct Case {
    const char* pattern;
    const char* code;
    bool matches;
  };
  const Case cases[] = {
      {"100..199", "150", true},      {"100..199", "100", true},     {"100..199", "199", true},
      {"100..199", "99", false},      {"100..199", "1990", false},   {"130,131:400..499", "131", true},
      {"130,131:400..499", "450", true}, {"130,131:400..499", "500", false}, {"400..499:130", "130", true},
      {"E13", "E130001", true},       {"E13", "E130", false},        {"0012", "12", true},
      {"0012", "0012", true},
  };
  for (const Case& c : cases) {
    Load(Station({{"entries", {Entry(c.pattern, "Matched", 10)}}}));
    EventRecord r = PostOne(std::string("1234 ") + c.code);
    if (c.matches) {
      EXPECT_EQ(r.event_type, 10) << c.pattern << " against " << c.code;
      EXPECT_NE(r.description.str().find("> Matched"), std::string::npos) << r.description.str();
    } else {
      EXPECT_EQ(r.event_type, 11) << c.pattern << " against " << c.code;
    }
  }
}

TEST_F(CodeResolutionTest, FoundEntryFillsTheEvent) {
  json entry = Entry("130", "Burglary", 10, 3);
  entry["code_level"] = 2;
  entry["code_option"] = 7;
  entry["code_value"] = 4242;
  Load(Station({{"entries", {entry}}}));
  EventRecord r = PostOne("1234 130");
  EXPECT_EQ(r.description.str(), "    130 > Burglary");
  EXPECT_EQ(r.event_type, 10);
  EXPECT_EQ(r.priority, 3);
  EXPECT_EQ(r.code_level, 2);
  EXPECT_EQ(r.code_option, 7);
  EXPECT_EQ(r.code_value, 4242);
  EXPECT_EQ(r.action_list.str(), "A1");
  EXPECT_EQ(r.account.str(), "1234");
  EXPECT_EQ(r.account_rec_no, 0);
  ASSERT_EQ(Stacked().size(), 1u);
  EXPECT_EQ(Stacked()[0].level, 3);
  EXPECT_EQ(Stacked()[0].priority, '3');
}

TEST_F(CodeResolutionTest, NotFoundRules) {
  Load(Station({{"entries", {Entry("130", "Burglary", 10)}}}));
  EventRecord reset = PostOne("1234 R401003");
  EXPECT_EQ(reset.event_type, 1);
  EXPECT_EQ(reset.description.str(), "R401003 > Reset");
  EventRecord unknown = PostOne("1234 E401003");
  EXPECT_EQ(unknown.event_type, 11);
  EXPECT_EQ(unknown.description.str(), "E401003 > This Alarm code is unknown");
  EXPECT_EQ(unknown.action_list.str(), kDefaultActionList);
  // The reset is handled automatically, the unknown code waits for an operator.
  ASSERT_EQ(notified_.size(), 1u);
  EXPECT_EQ(notified_[0].event_type, 1);
  ASSERT_EQ(Stacked().size(), 1u);
  EXPECT_EQ(Stacked()[0].record_number, unknown.history_rec_no);

  // An empty code matches no entry, not even an unused one with an empty pattern.
  EventRecord empty = PostOne("1234");
  EXPECT_EQ(empty.event_type, 11);
  EXPECT_EQ(empty.description.str(), "        > This Alarm code is unknown");
}

TEST_F(CodeResolutionTest, LetterCodesFallBackToAccountZero) {
  Load(Station({{"entries", {Entry("130", "Burglary", 10)}}},
               {{"entries", {Entry("BA01", "Burglary zone 1", 10, 2), Entry("1234", "Never", 10)}}}));
  EventRecord ba = PostOne("1234 BA01");
  EXPECT_EQ(ba.event_type, 10);
  EXPECT_EQ(ba.description.str(), "   BA01 > Burglary zone 1");
  EXPECT_EQ(ba.priority, 2);
  EXPECT_EQ(ba.account.str(), "1234");
  EventRecord digits = PostOne("1234 1234");
  EXPECT_EQ(digits.event_type, 11);
}

TEST_F(CodeResolutionTest, ActionListByTimeWindowAndWeekend) {
  json entry = Entry("130", "Burglary", 10);
  entry["priority_action_2"] = "A2";
  entry["time_begin"] = 2200;
  entry["time_end"] = 600;
  Load(Station({{"entries", {entry}}}));
  struct Case {
    int day, hour, minute;
    const char* actions;
  };
  const Case cases[] = {{8, 23, 30, "A2"}, {8, 5, 0, "A2"}, {8, 12, 0, "A1"}, {8, 22, 0, "A2"},
                        {8, 6, 1, "A1"},   {12, 12, 0, "A2"}, {13, 12, 0, "A2"}, {14, 12, 0, "A1"}};
  for (const Case& c : cases) {
    clock_.Set(2026, 12, c.day, c.hour, c.minute);
    EXPECT_EQ(PostOne("1234 130").action_list.str(), c.actions) << c.day << " " << c.hour << ":" << c.minute;
  }
}

TEST_F(CodeResolutionTest, SuspensionsPutAreasAndCodesOnTest) {
  Load(Station({{"entries", {Entry("130", "Burglary", 10), Entry("131", "Fire", 10)}}}));
  WriteSuspension("1234.Z2", "");
  EventRecord on_test = PostOne("1234 130  [ri2]");
  EXPECT_EQ(on_test.event_type, 17);
  EXPECT_EQ(on_test.description.str().substr(0, 22), "    130 > Test (Burgla");
  EXPECT_EQ(PostOne("1234 131  [ri2]").event_type, 17);
  EXPECT_EQ(PostOne("1234 130  [ri1]").event_type, 10);

  WriteSuspension("1234.Z0", "130");
  // The area's empty pattern no longer puts area 2 on test: the account's pattern is not empty.
  EXPECT_EQ(PostOne("1234 131  [ri2]").event_type, 10);
  EXPECT_EQ(PostOne("1234 130  [ri2]").event_type, 19);
  std::remove(tmp_.Join("ORBA/1234.Z2").c_str());
  EventRecord inactive = PostOne("1234 130  [ri1]");
  EXPECT_EQ(inactive.event_type, 19);
  EXPECT_EQ(inactive.description.str(), "    130 > Inactive account/code [ri1]");
  EXPECT_EQ(PostOne("1234 130").event_type, 19);
  EXPECT_EQ(PostOne("1234 131").event_type, 10);
  // Suspended events are handled automatically.
  EXPECT_EQ(notified_.size(), 5u);
  EXPECT_EQ(Stacked().size(), 3u);
}

TEST_F(CodeResolutionTest, SuspensionFileOfTheWrongSizeIsDeleted) {
  Load(Station({{"entries", {Entry("130", "Burglary", 10)}}}));
  WriteOrbaFile("1234.Z0", std::string(5, '\0'));
  EXPECT_EQ(PostOne("1234 130").event_type, 10);
  EXPECT_FALSE(OrbaFileExists("1234.Z0"));
}

TEST_F(CodeResolutionTest, InactiveAccount) {
  json description = Station({{"entries", {Entry("130", "Burglary", 10)}}});
  description["clients"][0]["inactive_flag"] = 1;
  Load(description);
  EventRecord r = PostOne("1234 130");
  EXPECT_EQ(r.event_type, 18);
  EXPECT_EQ(r.description.str(), "          [1234  130] Inactive account/code");
}

TEST_F(CodeResolutionTest, RedirectionsFollowedAndBounded) {
  json description = Station({{"entries", {Entry("130", "*5678", 0), Entry("131", "#5678,2", 0),
                                            Entry("132", "*9999", 0), Entry("133", "*4321", 0),
                                            Entry("134", "#9999,2", 0)}}});
  // 5678: area 0 table 2, area 2 table 3. 4321 and 8765 redirect to each other for ever.
  description["clients"].push_back({{"account_number", "5678"},
                                    {"areas", {{{"code_table_record_number", 2}},
                                               {{"area", 2}, {"code_table_record_number", 3}}}}});
  description["clients"].push_back({{"account_number", "4321"}, {"areas", {{{"code_table_record_number", 4}}}}});
  description["clients"].push_back({{"account_number", "8765"}, {"areas", {{{"code_table_record_number", 5}}}}});
  description["code_tables"].push_back({{"record", 2}, {"entries", {Entry("130", "Other account", 10)}}});
  description["code_tables"].push_back({{"record", 3}, {"entries", {Entry("131", "Other area 2", 10)}}});
  description["code_tables"].push_back({{"record", 4}, {"entries", {Entry("133", "*8765", 0)}}});
  description["code_tables"].push_back({{"record", 5}, {"entries", {Entry("133", "*4321", 0)}}});
  Load(description);

  EventRecord star = PostOne("1234 130");
  EXPECT_EQ(star.description.str(), "    130 > Other account");
  EXPECT_EQ(star.account.str(), "5678") << "a * redirection replaces the account";
  EXPECT_EQ(star.account_rec_no, 2);
  EventRecord hash = PostOne("1234 131");
  EXPECT_EQ(hash.description.str(), "    131 > Other area 2");
  EXPECT_EQ(hash.account.str(), "1234") << "a # redirection keeps the account";
  EventRecord missing = PostOne("1234 132");
  EXPECT_EQ(missing.description.str(), "    132 > 9999") << "an account that does not exist: ordinary entry";
  EXPECT_EQ(PostOne("1234 134").description.str(), "    134 > 9999") << "the area leaves with the comma";
  EventRecord loop = PostOne("1234 133");
  EXPECT_EQ(loop.event_type, 11) << "a redirection loop ends as an unknown code";
}

TEST_F(CodeResolutionTest, ChainCycleEnds) {
  json description = Station({{"next_record", 2}, {"entries", {Entry("130", "Burglary", 10)}}});
  description["code_tables"].push_back({{"record", 2}, {"next_record", 0}, {"entries", {Entry("131", "Fire", 10)}}});
  Load(description);
  EXPECT_EQ(PostOne("1234 131").event_type, 10);
  EXPECT_EQ(PostOne("1234 135").event_type, 11);
  EXPECT_EQ(PostOne("1234 @RS").event_type, 15);  // FindCodeOfType walks the same chain
}

TEST_F(CodeResolutionTest, FindCodeOfTypeTakesTheFirstEntryWithActions) {
  json none = Entry("900", "Closing", 5, 4);
  none["priority_action_1"] = "   ";
  json closing = Entry("901", "Closing", 5, 6);
  closing["priority_action_1"] = "XY";
  closing["code_value"] = 77;
  closing["notify_flag"] = 1;
  Load(Station({{"entries", {none, closing}}}));
  EventRecord event;
  EXPECT_EQ(FindCodeOfType(station_.data, 0, 5, event), 1);
  EXPECT_EQ(event.action_list.str(), "XY");
  EXPECT_EQ(event.priority, 6);
  EXPECT_EQ(event.code_value, 77);
  EventRecord other;
  EXPECT_EQ(FindCodeOfType(station_.data, 0, 2, other), 0);
  EXPECT_EQ(other.action_list.str(), kDefaultActionList);
  EXPECT_EQ(FindCodeOfType(station_.data, -1, 5, other), 0);
}

TEST_F(CodeResolutionTest, ReadCodeRecordPastTheEndIsCleared) {
  Load(Station({{"entries", {Entry("130", "Burglary", 10)}}}));
  CodeRecord record;
  ReadCodeRecord(station_.data, 0, record);
  EXPECT_EQ(record.entries[0].pattern.str(), "130");
  ReadCodeRecord(station_.data, 7, record);
  EXPECT_EQ(record.next, -1);
  EXPECT_EQ(record.entries[0].pattern.str(), "");
  EXPECT_EQ(record.entries[0].type, 255);
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST_F(CodeResolutionTest, ScheduleWrittenBackOnlyWhereItWasRead) {
  json office = {{"period_defined", {1}}, {"period_active", {1}},
                 {"every_day", {{"opening_time", {800}}, {"closing_time", {1700}}}}};
  json area0 = office;
  area0["schedule_name"] = "Area0";
  json area2 = office;
  area2["schedule_name"] = "Area2";
  area0["record"] = 0;
  area2["record"] = 1;
  json description = Station({{"entries", {Entry("130", "Burglary", 10)}}},
                             {{"entries", {Entry("OP01", "Opening", 4)}}});
  description["clients"][0]["areas"] = {{{"schedule_record_number", 0}, {"code_table_record_number", 0}},
                                        {{"area", 2}, {"schedule_record_number", 1}, {"code_table_record_number", 0}}};
  description["clients"].push_back({{"account_number", "5678"}, {"areas", {{{"code_table_record_number", 0}}}}});
  description["schedules"] = {area0, area2};
  Load(description);
  const std::string file = tmp_.Join("ORBA/CEDULE.CTN");
  const std::string before = FileBytes(file);
  ASSERT_EQ(before.size(), 2u * 469);

  clock_.Set(2026, 12, 8, 7, 55);
  // Area 2's opening found in account 0's table, whose area 2 has none: the client's area becomes 0.
  EventRecord r = PostOne("1234 OP01  [ri2]");
  EXPECT_EQ(r.event_type, 4);
  const std::string after = FileBytes(file);
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(after.substr(0, 469), before.substr(0, 469)) << "area 0's schedule must not be overwritten";
  EXPECT_EQ(after.substr(469 + 1, 5), "Area2");

  // An account without a schedule: nothing is written anywhere.
  EXPECT_EQ(PostOne("5678 OP01").event_type, 4);
  EXPECT_EQ(FileBytes(file).size(), before.size());
}

TEST_F(CodeResolutionTest, OpeningsAndClosingsKeepTheArmedStatus) {
  Load(Station({{"entries", {Entry("401", "Opening", 4), Entry("402", "Closing", 5)}}}));
  WriteOrbaFile("1234.R2", "x");
  WriteOrbaFile("1234.R1", "x");
  PostOne("1234 402  [ri2]");
  EXPECT_FALSE(OrbaFileExists("1234.R2")) << "the area's marker goes at its closing";
  EXPECT_TRUE(OrbaFileExists("1234.R1"));
  EXPECT_GT(ReadAreaStates(station_.data, "1234")[2], 0);
  EXPECT_TRUE(AllAreasClosed(station_.data, "1234"));
  PostOne("1234 401  [ri2]");
  EXPECT_LT(ReadAreaStates(station_.data, "1234")[2], 0);
  EXPECT_FALSE(AllAreasClosed(station_.data, "1234"));
}

TEST_F(CodeResolutionTest, NotificationEntryByFlagOrPrioritySwitch) {
  json flagged = Entry("130", "Burglary", 10, 3);
  flagged["notify_flag"] = 1;
  json description = Station({{"entries", {flagged, Entry("131", "Fire", 10, 1), Entry("132", "Panic", 10, 2)}}});
  description["clients"][0]["notification_entry_number"] = 158;
  description["company"] = {{"pager_switches", "01"}};
  Load(description);
  EXPECT_EQ(PostOne("1234 130").notify_rec_no, 158);
  EXPECT_EQ(PostOne("1234 131").notify_rec_no, 158) << "priority 1's switch is 1";
  EXPECT_EQ(PostOne("1234 132").notify_rec_no, -1);
}

TEST(TimeWindowTest, Bounds) {
  EXPECT_TRUE(InTimeWindow(2200, 600, 2330));
  EXPECT_TRUE(InTimeWindow(2200, 600, 500));
  EXPECT_FALSE(InTimeWindow(2200, 600, 1200));
  EXPECT_TRUE(InTimeWindow(800, 1700, 800));
  EXPECT_TRUE(InTimeWindow(800, 1700, 1700));
  EXPECT_FALSE(InTimeWindow(800, 1700, 1701));
  EXPECT_FALSE(InTimeWindow(800, 800, 800));
}

TEST(FallbackRuleTest, SevenCharactersOrTwoLetters) {
  EXPECT_TRUE(MayFallBack("E130001"));
  EXPECT_TRUE(MayFallBack("BA01"));
  EXPECT_TRUE(MayFallBack("BAX"));
  EXPECT_FALSE(MayFallBack("BA"));
  EXPECT_FALSE(MayFallBack("1234"));
  EXPECT_FALSE(MayFallBack("B1234"));
  EXPECT_FALSE(MayFallBack("ba01"));
  EXPECT_FALSE(MayFallBack("ABCDEFGH"));
}

}  // namespace
}  // namespace duri
