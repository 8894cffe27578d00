// The whole road of an alarm: bytes of a "surgard slr/mlr2" receiver on a pseudo-terminal, through the
// reader pass, the Sur-Gard decoder and the intake, into the history and the pending stack of a station
// built with the loader, and the ACK back to the receiver.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "receivers/port_state.h"
#include "intake/receiver_setup.h"
#include "support/intake_station.h"
#include "support/pty.h"

namespace duri {
namespace {

using nlohmann::json;
using testing::IntakeStationTest;
using testing::PseudoTerminal;
using testing::WaitFor;

constexpr int kSurgard = 7;
constexpr char kDc4 = 20;

class IntakeEndToEndTest : public IntakeStationTest {
 protected:
  IntakeEndToEndTest() { station_.ports.SetDeviceDir(tmp_.Join("no-dev")); }
};

TEST_F(IntakeEndToEndTest, SurgardMessageBecomesHistoryStackAndAck) {
  json fire = {{"code_pattern", "E13"}, {"description", "Fire"}, {"type", 10}, {"priority", 1},
               {"priority_action_1", "016"}};
  json test = {{"code_pattern", "E602"}, {"description", "Periodic test"}, {"type", 2}, {"priority", 9}};
  Load({{"clients",
         {{{"account_number", "1234"},
           {"automatic_test_record_number", 0},
           {"areas", {{{"area_name", "Shop"}, {"code_table_record_number", 0}}}}}}},
        {"code_tables", {{{"entries", {fire, test}}}}},
        {"automatic_tests", {json::object()}}});
  station_.set_ui_thread(ui_);

  PseudoTerminal pty;
  pty.Link(tmp_.path(), "COM1");
  station_.ports.Config(1).receiver_type = kSurgard;
  bool opened = false;
  ui_.Synchronize([&] { opened = OpenReceiverPort(station_, 1); });
  ASSERT_TRUE(opened);

  // The first terminator only synchronises the framing; the messages after it are decoded.
  pty.Write(std::string("1011 1234 BA01") + kDc4);
  ASSERT_TRUE(WaitFor([&] { return static_cast<bool>(station_.ports.PortArmed(1)); }));
  pty.Write(std::string("5011 181234E13001005") + kDc4 + "5011 181234E60200000" + kDc4);
  const std::string ack = pty.Read();
  ASSERT_FALSE(ack.empty());
  EXPECT_EQ(ack[0], static_cast<char>(kAck));
  ASSERT_TRUE(WaitFor([&] {
    size_t n = 0;
    ui_.Synchronize([&] { n = History().size(); });
    return n == 2;
  }));
  ASSERT_TRUE(WaitFor([&] { return static_cast<bool>(station_.ports.PortArmed(1)); }));

  std::vector<EventRecord> h;
  std::vector<StackEntry> stacked;
  ui_.Synchronize([&] {
    h = History();
    stacked = Stacked();
  });
  ASSERT_EQ(h.size(), 2u);
  EXPECT_EQ(h[0].account.str(), "1234");
  EXPECT_EQ(h[0].description.str(), "E130005 > Fire [ri0:Shop]");
  EXPECT_EQ(h[0].event_type, 10);
  EXPECT_EQ(h[0].priority, 1);
  EXPECT_EQ(h[0].area, 1);
  EXPECT_EQ(h[0].action_list.str(), "016");
  EXPECT_EQ(h[0].account_rec_no, 0);
  EXPECT_EQ(h[1].event_type, 2);
  EXPECT_EQ(h[1].auto_handled, 1);
  ASSERT_EQ(stacked.size(), 1u);
  EXPECT_EQ(stacked[0].record_number, 0);
  EXPECT_EQ(stacked[0].priority, '1');
  ASSERT_EQ(notified_.size(), 1u);
  EXPECT_EQ(notified_[0].event_type, 2);
}

}  // namespace
}  // namespace duri
