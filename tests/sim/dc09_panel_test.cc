// The simulator as a DC-09 panel against a real DC-09 port on loopback, the test as the port's intake:
// every fault plays out as the station should answer it, and no report reaches the intake twice.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "dc09_runner.h"
#include "transport/dc09_port.h"

namespace duri::sim {
namespace {

// Reads what the port hands over and acknowledges each message, as a reader pass does.
class TestIntake {
 public:
  explicit TestIntake(Dc09Port& port) : port_(port), thread_([this] { Run(); }) {}
  ~TestIntake() {
    stop_ = true;
    thread_.join();
  }
  int messages() const { return messages_; }

 private:
  void Run() {
    while (!stop_) {
      std::string bytes;
      port_.ReadStr(bytes, port_.InputCount());
      for (char c : bytes) {
        if (c != '\x14') continue;
        if (synchronised_) {
          ++messages_;
          port_.WriteStr("\x06");
        }
        synchronised_ = true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

  Dc09Port& port_;
  std::atomic<bool> stop_{false};
  std::atomic<int> messages_{0};
  bool synchronised_ = false;
  std::thread thread_;
};

TEST(Dc09Panel, EveryFaultIsAnsweredAsTheProtocolWantsOverTcpAndUdp) {
  for (bool udp : {false, true}) {
    Dc09Settings settings;
    settings.address = "127.0.0.1";
    Dc09Port port(settings);
    port.Open();
    TestIntake intake(port);
    Scenario scenario;
    scenario.count = 3;
    scenario.rate = 0;
    Dc09Options options;
    options.port = port.bound_port();
    options.udp = udp;
    options.ack_timeout_ms = 2000;
    options.faults = {1, 1, 1, 1, 1};
    const Dc09Result r = RunDc09Panel(options, scenario, -1, [](const std::string&) {});
    ASSERT_TRUE(r.error.empty()) << r.error;
    EXPECT_EQ(r.sent, 3) << udp;
    EXPECT_EQ(r.acknowledged, 3) << udp;
    EXPECT_EQ(r.failed, 0) << udp;
    EXPECT_EQ(r.bad_crc, 3);
    EXPECT_EQ(r.wrong_length, 3);
    EXPECT_EQ(r.wrong_answers, 0) << "a bad CRC or length was answered, udp " << udp;
    EXPECT_EQ(r.naks, 3) << "every old time stamp gets a NAK, udp " << udp;
    EXPECT_EQ(r.dropped, udp ? 0 : 3);
    EXPECT_EQ(r.replayed, 3);
    EXPECT_EQ(r.replays_acknowledged, 3);
    EXPECT_EQ(intake.messages(), 3) << "a replayed or dropped report reached the intake twice, udp " << udp;
    EXPECT_EQ(Dc09SummaryText(r).rfind("sent 3, acknowledged 3, resent 0, failed 0\n", 0), 0u);
  }
}

TEST(Dc09Panel, EncryptedReportsWithTheAccountsKey) {
  char path[] = "/tmp/dc09-panel-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  const std::string text = "1000 000102030405060708090A0B0C0D0E0F1011121314151617 0\n";
  ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  close(fd);
  Dc09Settings settings;
  settings.address = "127.0.0.1";
  settings.accounts_path = path;
  Dc09Port port(settings);
  port.Open();
  unlink(path);
  TestIntake intake(port);
  Scenario scenario;
  scenario.count = 3;
  scenario.rate = 0;
  scenario.first_account = scenario.last_account = 1000;
  Dc09Options options;
  options.port = port.bound_port();
  options.key_hex = "000102030405060708090A0B0C0D0E0F1011121314151617";
  options.null_interval_ms = 1;
  options.duration_s = 1;
  const Dc09Result r = RunDc09Panel(options, scenario, -1, [](const std::string&) {});
  EXPECT_EQ(r.acknowledged, 3);
  EXPECT_GE(r.nulls, 1);
  EXPECT_EQ(r.nulls_acknowledged, r.nulls);
  EXPECT_EQ(intake.messages(), 3);
  // The same panel without the key is not understood.
  options.key_hex.clear();
  options.duration_s = 0;
  options.null_interval_ms = 0;
  options.resends = 0;
  scenario.count = 1;
  const Dc09Result clear = RunDc09Panel(options, scenario, -1, [](const std::string&) {});
  EXPECT_EQ(clear.duhs, 1);
  EXPECT_EQ(clear.failed, 1);
}

}  // namespace
}  // namespace duri::sim
