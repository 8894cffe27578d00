// The simulator against a station in the same process: each receiver model the simulator speaks
// sends its events on a pseudo-terminal port that the station opened from its receiver setup file;
// every event must be acknowledged exactly once and reach event intake with the account, code and area
// it was sent with, and land in the month's history with that account, code and area.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <mutex>
#include <string>
#include <vector>

#include "station_json/station_loader.h"
#include "events/event_record.h"
#include "events/history.h"
#include "intake/receiver_file.h"
#include "intake/receiver_setup.h"
#include "platform/clock.h"
#include "platform/station_view.h"
#include "platform/ui_thread.h"
#include "receiver_messages.h"
#include "sim_runner.h"
#include "station.h"
#include "store/shared_file.h"
#include "store/text.h"
#include "support/temp_dir.h"

namespace duri::sim {
namespace {

// Two events of each kind the model sends, in several accounts and areas.
Scenario EventsFor(int type) {
  Scenario s;
  s.rate = 200;
  const std::vector<SimEvent> all = {
      {"1234", CodeKind::kContactId, 'E', "130", 1, 5, {}}, {"871", CodeKind::kContactId, 'R', "401", 2, 3, {}},
      {"1234", CodeKind::kSia, 'E', "BA", 3, 1, {}},        {"56", CodeKind::kSia, 'E', "OP", 4, 12, {}},
      {"4321", CodeKind::kPulse, 'E', "3", 0, 0, {}},       {"765", CodeKind::kPulse, 'E', "19", 2, 0, {}},
  };
  for (const SimEvent& e : all) {
    if (CheckEvent(type, e).empty()) s.events.push_back(e);
  }
  return s;
}

struct Line {
  std::string account, code;
  int area = 0;
};

Line ParseLine(const std::string& line) {
  Line out;
  size_t space = line.find(' ');
  out.account = line.substr(0, space);
  StripZeros(out.account);
  size_t begin = space == std::string::npos ? line.size() : space + 1;
  out.code = line.substr(begin, line.find_first_of(" \r", begin) - begin);
  size_t ri = line.find("[ri");
  if (ri != std::string::npos) out.area = std::stoi(line.substr(ri + 3));
  return out;
}

// The accounts of EventsFor with areas 0 to 4 on one code table that knows every code sent.
nlohmann::json StationFor() {
  nlohmann::json areas = nlohmann::json::array();
  for (int a = 0; a <= 4; ++a) areas.push_back({{"area", a}, {"code_table_record_number", 0}});
  nlohmann::json clients = nlohmann::json::array();
  for (const char* account : {"1234", "871", "56", "4321", "765"}) {
    clients.push_back({{"account_number", account}, {"name", std::string("Account ") + account}, {"areas", areas}});
  }
  nlohmann::json entries = nlohmann::json::array();
  for (const char* pattern : {"E130", "R401", "BA00..BA99", "OP00..OP99", "1..999"}) {
    entries.push_back({{"code_pattern", pattern}, {"description", std::string("Demo ") + pattern}, {"type", 10}});
  }
  return {{"clients", clients}, {"code_tables", {{{"entries", entries}}}}};
}

// The records of the month's history, in order.
std::vector<EventRecord> ReadHistory(DataDir& dir) {
  std::vector<EventRecord> out;
  SharedFile file;
  if (OpenShared(dir, file, PeriodDirectory(PeriodKey(dir.clock().Today())) + "EVENT.MDC", EventRecord::kSize) == 0) {
    std::array<uint8_t, EventRecord::kSize> buf;
    for (int32_t n = 0; n < file.RecordCount() && file.ReadRecord(n, buf) == 0; ++n) {
      EventRecord e;
      e.Decode(buf);
      out.push_back(e);
    }
  }
  CloseShared(dir, file);
  return out;
}

// A station whose COM1 has a receiver of the given type on the simulator's line, with the event intake
// installed and every event line handed to it kept for the test.
class StationOnSimLine : public ::testing::Test {
 protected:
  RunOptions Options(int type) {
    RunOptions options;
    options.type = type;
    options.station = temp_.path();
    options.port = "COM1";
    options.full_speed = true;
    options.sync_first = true;
    options.link.heartbeat_interval_ms = 0;
    options.duration_s = 60;  // a safety net only; the run ends when every event is answered
    return options;
  }

  // Call after the simulator's line is open: the station opens COM1 through its link.
  void StartStation(int type) {
    ReceiverConfigs configs;
    configs[0].receiver_type = static_cast<uint8_t>(type);
    ASSERT_EQ(SaveReceiverConfigs(station_.data, configs), 0);
    std::string error;
    ASSERT_TRUE(LoadStation(station_.data, StationFor(), &error)) << error;
    station_.set_ui_thread(ui_);
    ui_.Synchronize([&] {
      ResetReceiverPorts(station_);
      InstallEventIntake(station_);
      auto intake = station_.add_event;
      station_.add_event = [this, intake](const DateRecord& d, const TimeRecord& t, std::string_view text,
                                          std::string_view second) {
        if (intake) intake(d, t, text, second);
        std::string all(text);
        for (size_t at = 0; at < all.size();) {
          size_t end = all.find('\r', at);
          lines_.push_back(all.substr(at, end - at));
          at = end == std::string::npos ? all.size() : end + 1;
        }
      };
      OpenReceiverPorts(station_);
      ASSERT_EQ(station_.ports.Traffic(1).rfind("Open COM1", 0), 0u) << station_.ports.Traffic(1);
    });
  }

  // The event lines posted for accounts other than 0 (receiver status reports), once the port is closed.
  std::vector<Line> StopAndTakePosted() {
    std::vector<Line> posted;
    ui_.Synchronize([&] {
      for (const std::string& l : lines_) {
        Line line = ParseLine(l);
        if (line.account != "0") posted.push_back(line);
      }
    });
    station_.ports.Shutdown(&ui_);
    return posted;
  }

  duri::testing::TempDir temp_;
  SystemClock clock_;
  NullView view_;
  EventLoopThread ui_;
  Station station_{temp_.path(), clock_, view_};
  std::vector<std::string> lines_;  // event lines handed to intake, on the user-interface thread
};

class SimStationTest : public StationOnSimLine, public ::testing::WithParamInterface<int> {};

TEST_P(SimStationTest, EveryEventIsAcknowledgedOnceAndPostedWithItsAccountCodeAndArea) {
  const int type = GetParam();
  const Scenario scenario = EventsFor(type);
  ASSERT_FALSE(scenario.events.empty());
  SimRunner sim(Options(type), scenario);
  ASSERT_EQ(sim.Open(), "");
  ASSERT_NO_FATAL_FAILURE(StartStation(type));

  RunResult result = sim.Run(-1);
  ASSERT_EQ(result.error, "");
  const int n = static_cast<int>(scenario.events.size());
  EXPECT_EQ(result.counts.sent, n);
  EXPECT_EQ(result.counts.acknowledged, n);
  EXPECT_EQ(result.counts.resent, 0);
  EXPECT_EQ(result.failed, 0);
  EXPECT_EQ(result.counts.unexpected_acks, 0);
  EXPECT_EQ(result.counts.computer_fail, 0);
  for (const EventOutcome& o : result.events) EXPECT_EQ(o.acks, 1) << o.event.account << " " << o.event.code;

  std::vector<Line> posted = StopAndTakePosted();
  ASSERT_EQ(posted.size(), result.events.size());
  for (size_t i = 0; i < posted.size(); ++i) {
    ExpectedLine want = result.events[i].expected;
    StripZeros(want.account);
    SCOPED_TRACE(i);
    EXPECT_EQ(posted[i].account, want.account);
    EXPECT_EQ(posted[i].code, want.code);
    EXPECT_EQ(posted[i].area, want.area);
  }

  std::vector<EventRecord> history;
  for (const EventRecord& e : ReadHistory(station_.data)) {
    if (std::string(e.account.view()) != "0") history.push_back(e);
  }
  ASSERT_EQ(history.size(), result.events.size());
  for (size_t i = 0; i < history.size(); ++i) {
    ExpectedLine want = result.events[i].expected;
    StripZeros(want.account);
    StripZeros(want.code);
    SCOPED_TRACE(i);
    EXPECT_EQ(std::string(history[i].account.view()), want.account);
    // The description starts with the code, right-aligned in seven columns, then " > ".
    std::string description(history[i].description.view());
    std::string code_column = description.substr(0, description.find(" > "));
    StripZeros(code_column);
    EXPECT_NE(code_column.find(want.code), std::string::npos) << description;
    EXPECT_EQ(history[i].area, want.area) << description;
  }
}

INSTANTIATE_TEST_SUITE_P(AllModels, SimStationTest, ::testing::Range(1, 22));

// Messages cut into pieces with pauses between them are framed whole: nothing is lost or doubled.
TEST_F(StationOnSimLine, SplitMessagesAreFramedWhole) {
  RunOptions options = Options(7);
  options.faults.split = 1.0;
  Scenario scenario = EventsFor(7);
  scenario.count = 3;
  SimRunner sim(options, scenario);
  ASSERT_EQ(sim.Open(), "");
  ASSERT_NO_FATAL_FAILURE(StartStation(7));
  RunResult result = sim.Run(-1);
  EXPECT_EQ(result.counts.acknowledged, result.counts.sent);
  EXPECT_EQ(result.counts.resent, 0);
  EXPECT_EQ(StopAndTakePosted().size(), result.events.size());
}

// The same for a Quick Alert report of NUL-ended lines.
TEST_F(StationOnSimLine, SplitQuickAlertReportsAreFramedWhole) {
  RunOptions options = Options(9);
  options.faults.split = 1.0;
  Scenario scenario = EventsFor(9);
  scenario.count = 3;
  SimRunner sim(options, scenario);
  ASSERT_EQ(sim.Open(), "");
  ASSERT_NO_FATAL_FAILURE(StartStation(9));
  RunResult result = sim.Run(-1);
  EXPECT_EQ(result.counts.acknowledged, result.counts.sent);
  EXPECT_EQ(result.counts.resent, 0);
  EXPECT_EQ(StopAndTakePosted().size(), result.events.size());
}

// A free port on 127.0.0.1 for a listening side.
uint16_t FreeLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  close(fd);
  return ntohs(a.sin_port);
}

// The simulator on TCP against a port bound in the link file, both ways round, with split messages:
// every event acknowledged once and posted, as on a pseudo-terminal.
class SimOverTcpTest : public StationOnSimLine, public ::testing::WithParamInterface<bool> {};

TEST_P(SimOverTcpTest, EveryEventIsAcknowledgedOnceAndPosted) {
  const bool sim_connects = GetParam();
  {
    const std::string where = "127.0.0.1:" + std::to_string(FreeLoopbackPort());
    temp_.WriteFile("TorvaLink.txt", std::string("COM1 ") + (sim_connects ? "listen://" : "tcp://") + where + "\n");
    RunOptions options = Options(7);
    (sim_connects ? options.tcp : options.listen) = where;
    options.faults.split = 0.5;
    Scenario scenario = EventsFor(7);
    SimRunner sim(options, scenario);
    ASSERT_EQ(sim.Open(), "");
    ASSERT_NO_FATAL_FAILURE(StartStation(7));
    RunResult result = sim.Run(-1);
    ASSERT_EQ(result.error, "");
    EXPECT_EQ(result.counts.sent, static_cast<int>(scenario.events.size()));
    EXPECT_EQ(result.counts.acknowledged, result.counts.sent);
    EXPECT_EQ(result.counts.resent, 0);
    EXPECT_EQ(result.failed, 0);
    std::vector<Line> posted = StopAndTakePosted();
    ASSERT_EQ(posted.size(), result.events.size());
    for (size_t i = 0; i < posted.size(); ++i) EXPECT_EQ(posted[i].code, result.events[i].expected.code);
  }
}

INSTANTIATE_TEST_SUITE_P(SimConnectsOrListens, SimOverTcpTest, ::testing::Bool());

// A capture replayed byte for byte, paced at the line rate: every message in it is decoded and posted,
// and the station acknowledges.
TEST_F(StationOnSimLine, ReplayedCaptureIsPostedMessageByMessage) {
  std::string capture(1, '\x14');  // the port's first terminator only synchronises it
  std::vector<SimEvent> events = EventsFor(7).events;
  for (const SimEvent& e : events) capture += BuildEventMessage(7, e);
  temp_.WriteFile("line.bin", capture);
  RunOptions options = Options(7);
  options.replay_file = temp_.path() + "/line.bin";
  options.full_speed = false;
  options.baud = 19200;
  options.link.ack_timeout_ms = 1000;
  options.sync_first = false;
  SimRunner sim(options, Scenario{});
  ASSERT_EQ(sim.Open(), "");
  ASSERT_NO_FATAL_FAILURE(StartStation(7));
  RunResult result = sim.Run(-1);
  EXPECT_EQ(result.bytes_sent, static_cast<int64_t>(capture.size()));
  // One acknowledgement per reader pass, and a pass may take several messages.
  EXPECT_GE(result.replay_acks, 1);
  EXPECT_LE(result.replay_acks, static_cast<int>(events.size()));
  std::vector<Line> posted = StopAndTakePosted();
  ASSERT_EQ(posted.size(), events.size());
  for (size_t i = 0; i < events.size(); ++i) EXPECT_EQ(posted[i].code, ExpectedDecode(7, events[i]).code);
}

}  // namespace
}  // namespace duri::sim
