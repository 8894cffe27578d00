// The acknowledgement promise on a noisy line: a simulated receiver puts a few random bytes before
// three messages in ten, on a real pseudo-terminal, against the real station. Every event the receiver
// saw acknowledged must be in the history exactly as the noiseless message gives it, in order, a copy
// more only where the receiver resent; the noise must show in the port's drop counters.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <iostream>
#include <string>
#include <vector>

#include "intake/port_counters.h"
#include "intake/receiver_setup.h"
#include "receiver_messages.h"
#include "sim_runner.h"
#include "store/text.h"
#include "support/intake_station.h"

namespace duri {
namespace {

using nlohmann::json;
using testing::IntakeStationTest;

constexpr int kEvents = 40;
constexpr double kNoise = 0.3;

// The accounts the simulator draws from, each with areas 0 to 4 on one code table.
json NoiseStation() {
  json areas = json::array();
  for (int a = 0; a <= 4; ++a) areas.push_back({{"area", a}, {"code_table_record_number", 0}});
  json clients = json::array();
  for (int account = 1000; account <= 1011; ++account) {
    clients.push_back({{"account_number", std::to_string(account)}, {"areas", areas}});
  }
  json entries = json::array({{{"code_pattern", "E130"}, {"description", "Burglary"}, {"type", 10}}});
  return {{"clients", clients}, {"code_tables", {{{"entries", entries}}}}};
}

struct Stored {
  std::string account, code;
  int area = 0;
};

std::string Stripped(std::string s) {
  StripZeros(s);
  return s;
}

// Account, code (the description's code column) and area of a history record.
Stored FromHistory(const EventRecord& e) {
  const std::string description = e.description.str();
  std::string code = description.substr(0, description.find(" > "));
  code.erase(0, code.find_first_not_of(' '));
  return {Stripped(e.account.str()), Stripped(code), e.area};
}

bool Same(const Stored& stored, const sim::ExpectedLine& want) {
  return stored.account == Stripped(want.account) && stored.code == Stripped(want.code) && stored.area == want.area;
}

class AckPromiseNoiseTest : public IntakeStationTest, public ::testing::WithParamInterface<int> {
 protected:
  AckPromiseNoiseTest() {
    // The receivers stamp their messages with the real time; the station's clock agrees with them.
    const LocalDateTime now = SystemClock().Now();
    clock_.Set(now.date.year, now.date.month, now.date.day, now.time.hour, now.time.minute, now.time.second);
    period_ = std::to_string(now.date.year) + (now.date.month < 10 ? "0" : "") + std::to_string(now.date.month);
    station_.ports.SetDeviceDir(tmp_.Join("no-dev"));
  }

  std::string period_;
};

TEST_P(AckPromiseNoiseTest, EveryAcknowledgedEventIsStoredAsWithoutNoise) {
  const int type = GetParam();
  Load(NoiseStation());
  station_.set_ui_thread(ui_);

  sim::RunOptions options;
  options.type = type;
  options.station = tmp_.path();
  options.port = "COM1";
  options.full_speed = true;
  options.sync_first = true;
  options.link.heartbeat_interval_ms = 0;
  options.link.ack_timeout_ms = 400;  // an unanswered message comes again soon: the run stays short
  options.duration_s = 30;            // a safety net only: the run ends when every event is answered
  options.faults.noise = kNoise;
  sim::Scenario scenario;
  scenario.rate = 1000;
  scenario.count = kEvents;
  scenario.seed = static_cast<uint32_t>(type);
  sim::SimRunner sim(options, scenario);
  ASSERT_EQ(sim.Open(), "");
  station_.ports.Config(1).receiver_type = static_cast<uint8_t>(type);
  bool opened = false;
  ui_.Synchronize([&] { opened = OpenReceiverPort(station_, 1); });
  ASSERT_TRUE(opened);

  const sim::RunResult result = sim.Run(-1);
  station_.ports.Shutdown(&ui_);
  ASSERT_EQ(result.error, "");
  EXPECT_EQ(result.failed, 0);

  std::vector<Stored> stored;
  for (const EventRecord& e : History(period_)) {
    Stored s = FromHistory(e);
    EXPECT_EQ(s.code.rfind("UCOM", 0), std::string::npos) << "a message stored unread";
    if (s.account != "0") stored.push_back(s);  // the receiver's own status reports are account 0
  }
  // Message by message: each acknowledged event is the next record, again only after a resend.
  size_t next = 0;
  int copies = 0;
  for (const sim::EventOutcome& o : result.events) {
    SCOPED_TRACE(o.event.account + " " + o.expected.code);
    if (o.acks == 0) continue;
    ASSERT_LT(next, stored.size()) << "acknowledged and not stored";
    ASSERT_TRUE(Same(stored[next], o.expected)) << "stored as " << stored[next].account << " " << stored[next].code
                                                << " area " << stored[next].area;
    for (++next; next < stored.size() && Same(stored[next], o.expected); ++next) ++copies;
  }
  EXPECT_EQ(next, stored.size()) << "stored and never sent";
  EXPECT_LE(copies, result.counts.resent);

  const PortCounters& counters = station_.ports.Counters(1);
  EXPECT_GT(counters.Dropped(DropReason::kNoise), 0u);
  std::cout << "type " << type << ": sent " << result.counts.sent << ", acknowledged " << result.counts.acknowledged
            << ", resent " << result.counts.resent << ", stored " << stored.size() << " (" << copies
            << " copies), noise bytes dropped " << counters.Dropped(DropReason::kNoise) << ", unrecognised "
            << counters.Dropped(DropReason::kUnrecognised) << ", " << result.elapsed_ms << " ms\n";
}

INSTANTIATE_TEST_SUITE_P(AckPromise, AckPromiseNoiseTest, ::testing::Values(1, 4, 7, 19, 21));

}  // namespace
}  // namespace duri
