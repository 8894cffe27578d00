// Scenarios from JSON, the events they give for a model, and the summary's percentiles.
#include "scenario.h"

#include <gtest/gtest.h>

#include <string>

#include "receiver_messages.h"
#include "sim_runner.h"

namespace duri::sim {
namespace {

TEST(ScenarioTest, ListedEventsPlayInOrderCountTimesRound) {
  Scenario s;
  ASSERT_EQ(ParseScenario(R"({"receiver": 7, "rate": 2, "count": 2, "events": [
      {"account": "1234", "contact_id": "R401", "area": 1, "zone": 3},
      {"account": 42, "sia": "BA", "area": 2, "zone": 1},
      {"account": "1000", "pulse": "3"}]})",
                          &s),
            "");
  EXPECT_EQ(s.receiver, 7);
  EXPECT_EQ(s.rate, 2);
  EventSource source(s, 7);
  ASSERT_EQ(source.error(), "");
  std::vector<SimEvent> got;
  SimEvent e;
  while (source.Next(&e)) got.push_back(e);
  ASSERT_EQ(got.size(), 6u);
  EXPECT_EQ(got[0].kind, CodeKind::kContactId);
  EXPECT_EQ(got[0].qualifier, 'R');
  EXPECT_EQ(got[0].code, "401");
  EXPECT_EQ(got[1].account, "42");
  EXPECT_EQ(got[1].kind, CodeKind::kSia);
  EXPECT_EQ(got[2].kind, CodeKind::kPulse);
  EXPECT_EQ(got[3].account, "1234");
}

TEST(ScenarioTest, BadScenariosAreRefusedWithAReason) {
  const char* const bad[] = {
      "[1, 2]", "{\"rate\": 0}", "{\"accounts\": [20, 10]}", "{\"events\": [{\"contact_id\": \"E130\"}]}", "{nope",
  };
  for (const char* text : bad) {
    Scenario s;
    EXPECT_NE(ParseScenario(text, &s), "") << text;
  }
  // A listed event the model cannot send stops the source before it gives anything.
  Scenario s;
  ASSERT_EQ(ParseScenario(R"({"events": [{"account": "1234", "sia": "BA", "zone": 1}]})", &s), "");
  EventSource source(s, 20);
  EXPECT_NE(source.error(), "");
  SimEvent e;
  EXPECT_FALSE(source.Next(&e));
}

TEST(ScenarioTest, DrawnEventsKeepToTheModelsKindsAndRanges) {
  Scenario s;
  s.count = 200;
  s.first_account = 100;
  s.last_account = 120;
  for (int type = 1; type <= 21; ++type) {
    SCOPED_TRACE(type);
    EventSource source(s, type);
    ASSERT_EQ(source.error(), "");
    SimEvent e;
    int n = 0;
    while (source.Next(&e)) {
      ++n;
      ASSERT_EQ(CheckEvent(type, e), "") << e.account << " " << e.code;
      int account = std::stoi(e.account);
      EXPECT_GE(account, 100);
      EXPECT_LE(account, 120);
    }
    EXPECT_EQ(n, 200);
  }
  // Only SIA asked of a model that has none: refused.
  s.weight_contact_id = s.weight_pulse = 0;
  EXPECT_NE(EventSource(s, 20).error(), "");
  // Four-digit accounts do not fit a Secutron.
  s = Scenario{};
  EXPECT_NE(EventSource(s, 10).error(), "");
}

TEST(ScenarioTest, PercentilesAreNearestRank) {
  EXPECT_EQ(Percentile({}, 50), 0);
  EXPECT_EQ(Percentile({7}, 99), 7);
  std::vector<int64_t> v;
  for (int i = 100; i >= 1; --i) v.push_back(i);
  EXPECT_EQ(Percentile(v, 50), 50);
  EXPECT_EQ(Percentile(v, 99), 99);
  EXPECT_EQ(Percentile(v, 100), 100);
}

}  // namespace
}  // namespace duri::sim
