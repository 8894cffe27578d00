// The status file's text, its summary line and the metrics page made from one status; the liveness
// check's findings on a station whose threads are stood still by hand.
#include "intake/station_status.h"

#include <gtest/gtest.h>

#include "intake/liveness.h"
#include "platform/clock.h"
#include "station.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

StationStatus Sample() {
  StationStatus s;
  s.written = 1796800000;
  s.pid = 4242;
  s.stack_backlog = 3;
  s.metrics = "127.0.0.1:9733";
  PortStatus com1;
  com1.port = 1;
  com1.receiver_type = 7;
  com1.receiver = "Sur-Gard \"MLR2\"";
  com1.link = LinkState::kUp;
  com1.last_message_time = 1796799990;
  com1.messages = 12;
  com1.events = 10;
  com1.acknowledgements = 11;
  com1.resends_seen = 1;
  com1.drops[static_cast<size_t>(DropReason::kUnrecognised)] = 1;
  com1.drops[static_cast<size_t>(DropReason::kNoise)] = 7;
  PortStatus com3;
  com3.port = 3;
  com3.receiver_type = 12;
  com3.link = LinkState::kLost;
  com3.failures = 2;
  com3.last_failure = "history not stored: \xE9t\xE9";  // code-page bytes
  s.ports = {com1, com3};
  return s;
}

TEST(StationStatusTest, FileTextRoundTripsAndRefusesOthers) {
  StationStatus s = Sample();
  std::string error;
  std::optional<StationStatus> back = StatusFromJson(StatusToJson(s), &error);
  ASSERT_TRUE(back) << error;
  // Bytes that are not UTF-8 come back replaced; everything else as written.
  EXPECT_EQ(back->ports[1].last_failure, "history not stored: \xEF\xBF\xBDt\xEF\xBF\xBD");
  back->ports[1].last_failure = s.ports[1].last_failure;
  EXPECT_EQ(*back, s);
  for (const char* bad : {"", "{}", "[1]", R"({"version": 2})", "not json"}) {
    EXPECT_FALSE(StatusFromJson(bad, &error)) << bad;
    EXPECT_FALSE(error.empty());
  }
  testing::TempDir tmp;
  ASSERT_EQ(WriteStatusFile(tmp.path(), s), "");
  EXPECT_FALSE(tmp.Exists(std::string(kStatusFileName) + ".tmp"));
  ASSERT_TRUE(ReadStatusFile(tmp.path(), &error)) << error;
  EXPECT_FALSE(ReadStatusFile(tmp.Join("missing"), &error));
}

TEST(StationStatusTest, SummaryAndMetricsPageCountTheSameFigures) {
  StationStatus s = Sample();
  // Noise is counted in bytes and stays out of the dropped messages.
  EXPECT_EQ(StatusSummaryLine(s),
            "2 of 2 ports open, 1 link lost; 12 messages, 10 events, 11 acknowledged, 1 dropped, 2 failures; "
            "stack backlog 3");
  s.stuck = "COM3 reader pass running 40 s";
  EXPECT_EQ(StatusSummaryLine(s).rfind("STUCK: COM3 reader pass running 40 s; 2 of 2", 0), 0u);

  const std::string page = MetricsPage(s);
  for (const char* line : {
           "duriduvaze_healthy 0\n",
           "duriduvaze_stack_backlog 3\n",
           "duriduvaze_port_info{port=\"COM1\",receiver_type=\"7\",receiver=\"Sur-Gard \\\"MLR2\\\"\"} 1\n",
           "duriduvaze_link_state{port=\"COM1\",state=\"up\"} 1\n",
           "duriduvaze_link_state{port=\"COM3\",state=\"up\"} 0\n",
           "duriduvaze_link_state{port=\"COM3\",state=\"lost\"} 1\n",
           "duriduvaze_messages_total{port=\"COM1\"} 12\n",
           "duriduvaze_acknowledgements_total{port=\"COM1\"} 11\n",
           "duriduvaze_resends_seen_total{port=\"COM1\"} 1\n",
           "duriduvaze_failures_total{port=\"COM3\"} 2\n",
           "duriduvaze_drops_total{port=\"COM1\",reason=\"noise_bytes\"} 7\n",
           "duriduvaze_last_message_time_seconds{port=\"COM1\"} 1796799990\n",
           "# TYPE duriduvaze_events_total counter\n",
       }) {
    EXPECT_NE(page.find(line), std::string::npos) << line;
  }
}

TEST(LivenessTest, FindsWhatIsStuck) {
  testing::TempDir tmp;
  ManualClock clock;
  testing::RecordingView view;
  Station station(tmp.path(), clock, view);
  Liveness liveness(500);  // raised to the minimum
  ASSERT_EQ(liveness.stale_after_ms(), Liveness::kMinStaleMs);

  std::function<void()> beat = liveness.NextUiBeat(1000);
  ASSERT_TRUE(beat);
  EXPECT_FALSE(liveness.NextUiBeat(1500)) << "one beat on its way at a time";
  EXPECT_EQ(liveness.Stuck(station.ports, 3000), "");
  EXPECT_EQ(liveness.Stuck(station.ports, 3001), "user-interface thread not answering for 2 s");
  beat();
  EXPECT_EQ(liveness.Stuck(station.ports, 3001), "");

  station.ports.Counters(4).pass_started_ms = 5000;
  EXPECT_EQ(liveness.Stuck(station.ports, 7000), "");
  EXPECT_EQ(liveness.Stuck(station.ports, 9000), "COM4 reader pass running 4 s");
  station.ports.Counters(4).pass_started_ms = 0;

  // The 15-second work: one period and the bound after start-up, then after its last run.
  EXPECT_EQ(liveness.Stuck(station.ports, 1000 + 17000), "");
  EXPECT_EQ(liveness.Stuck(station.ports, 1000 + 17001), "15-second work not run for 17 s");
  liveness.PeriodicWorkRan(17500);
  EXPECT_EQ(liveness.Stuck(station.ports, 20000), "");
}

}  // namespace
}  // namespace duri
