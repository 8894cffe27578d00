// The DC-09 port on real loopback sockets, with the test as the port's intake: it reads the bytes the
// port hands over and writes the station's acknowledgement when it chooses, as a reader pass does.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "transport/dc09_panel.h"
#include "transport/dc09_port.h"

namespace duri {
namespace {

using namespace std::chrono_literals;

constexpr int64_t kNow = 1796640000;
constexpr char kDc4 = 20;

// A panel's end of a loopback connection or datagram socket.
class PanelSocket {
 public:
  PanelSocket(uint16_t port, bool udp) {
    fd_ = socket(AF_INET, (udp ? SOCK_DGRAM : SOCK_STREAM) | SOCK_CLOEXEC, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
  }
  ~PanelSocket() { Close(); }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }
  bool connected() const { return connected_; }
  void Send(const std::string& bytes) { ASSERT_EQ(send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size())); }
  // What arrives within timeout; "" when nothing; "<closed>" when the station closed the connection.
  std::string Read(int timeout_ms) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0) return {};
    char buffer[2048];
    const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
    if (n <= 0) return "<closed>";
    return std::string(buffer, static_cast<size_t>(n));
  }

 private:
  int fd_ = -1;
  bool connected_ = false;
};

class Dc09PortTest : public ::testing::Test {
 protected:
  void Open(Dc09Settings settings = {}) {
    settings.address = "127.0.0.1";
    settings.utc_now = [] { return kNow; };
    port_ = std::make_unique<Dc09Port>(std::move(settings));
    port_->SetLog([this](const std::string& line) {
      std::lock_guard<std::mutex> lock(log_mu_);
      log_ += line + "\n";
    });
    port_->Open();
    ASSERT_EQ(Intake(1000), std::string(1, kDc4));  // the framing's synchronisation
  }

  // The bytes handed to the intake within timeout.
  std::string Intake(int timeout_ms) {
    std::string all;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (std::chrono::steady_clock::now() < end) {
      std::string bytes;
      port_->ReadStr(bytes, port_->InputCount());
      all += bytes;
      if (!all.empty() && all.back() == kDc4) break;
      std::this_thread::sleep_for(5ms);
    }
    return all;
  }

  static std::string Report(int sequence, const std::string& token = "ADM-CID", const std::string& data = "1130 01 005") {
    dc09::PanelReport report;
    report.token = token;
    report.sequence = sequence;
    report.data = data;
    report.stamp = kNow;
    return dc09::PanelFrame(report);
  }

  std::string Log() {
    std::lock_guard<std::mutex> lock(log_mu_);
    return log_;
  }

  std::unique_ptr<Dc09Port> port_;
  std::mutex log_mu_;
  std::string log_;
};

TEST_F(Dc09PortTest, TheAckWaitsForTheStationsAcknowledgementOverTcpAndUdp) {
  Open();
  for (bool udp : {false, true}) {
    PanelSocket panel(port_->bound_port(), udp);
    ASSERT_TRUE(panel.connected());
    panel.Send(Report(udp ? 2 : 1));
    EXPECT_EQ(Intake(2000), "5011 181234E13001005\x14") << udp;
    EXPECT_EQ(panel.Read(300), "") << "ACK before the station acknowledged, udp " << udp;
    port_->WriteStr("\x06");
    const dc09::PanelAnswer answer = dc09::ReadAnswer(panel.Read(2000));
    EXPECT_EQ(answer.token, "ACK") << udp;
    EXPECT_EQ(answer.sequence, udp ? "0002" : "0001");
  }
  EXPECT_EQ(port_->counters().posted, 2u);
}

TEST_F(Dc09PortTest, OneReportInTheIntakeAtATimeAndOthersQueued) {
  Open();
  PanelSocket a(port_->bound_port(), false), b(port_->bound_port(), false);
  a.Send(Report(1));
  EXPECT_EQ(Intake(2000), "5011 181234E13001005\x14");
  b.Send(Report(7, "SIA-DCS", "Nri1/BA01"));
  EXPECT_EQ(Intake(300), "");  // waits behind the first
  port_->WriteStr("\x06");
  EXPECT_EQ(dc09::ReadAnswer(a.Read(2000)).token, "ACK");
  EXPECT_EQ(Intake(2000), "S011[#1234|Nri1/BA01]\x14");
  EXPECT_EQ(b.Read(200), "");
  port_->WriteStr("\x06");
  EXPECT_EQ(dc09::ReadAnswer(b.Read(2000)).sequence, "0007");
}

TEST_F(Dc09PortTest, BadFramesGetNoAnswerAndTheStreamGoesOn) {
  Open();
  PanelSocket panel(port_->bound_port(), false);
  std::string bad_crc = Report(1);
  bad_crc[1] = bad_crc[1] == 'A' ? 'B' : 'A';
  std::string wrong_length = Report(2);
  wrong_length[8] = static_cast<char>(wrong_length[8] - 1);  // one less than the content
  panel.Send(bad_crc);
  panel.Send(wrong_length);
  EXPECT_EQ(panel.Read(300), "");
  // NAK and DUH come at once, without the intake.
  dc09::PanelReport old;
  old.sequence = 3;
  old.data = "Nri1/BA01";
  old.stamp = kNow - 3600;
  panel.Send(dc09::PanelFrame(old));
  const dc09::PanelAnswer nak = dc09::ReadAnswer(panel.Read(2000));
  EXPECT_EQ(nak.token, "NAK");
  EXPECT_EQ(nak.stamp, dc09::StampText(kNow));
  panel.Send(Report(4, "SIA-XYZ"));
  EXPECT_EQ(dc09::ReadAnswer(panel.Read(2000)).token, "DUH");
  panel.Send(Report(5));
  EXPECT_EQ(Intake(2000), "5011 181234E13001005\x14");
  EXPECT_EQ(port_->counters().bad_frames, 2u);
  EXPECT_NE(Log().find("bad CRC"), std::string::npos);
  EXPECT_NE(Log().find("bad length"), std::string::npos);
}

TEST_F(Dc09PortTest, AHalfMessageLostWithItsConnectionIsForgotten) {
  Open();
  const std::string report = Report(9);
  {
    PanelSocket panel(port_->bound_port(), false);
    panel.Send(report.substr(0, report.size() / 2));
    std::this_thread::sleep_for(100ms);
  }
  PanelSocket again(port_->bound_port(), false);
  again.Send(report);
  EXPECT_EQ(Intake(2000), "5011 181234E13001005\x14");
  port_->WriteStr("\x06");
  EXPECT_EQ(dc09::ReadAnswer(again.Read(2000)).token, "ACK");
  EXPECT_NE(Log().find("unfinished frame"), std::string::npos);
}

TEST_F(Dc09PortTest, AReportWhosePanelLeftBeforeItsTurnIsNotPosted) {
  Open();
  PanelSocket a(port_->bound_port(), false);
  a.Send(Report(1));
  EXPECT_EQ(Intake(2000), "5011 181234E13001005\x14");
  {
    PanelSocket b(port_->bound_port(), false);
    b.Send(Report(2, "SIA-DCS", "Nri1/BA01"));
    std::this_thread::sleep_for(200ms);
  }
  std::this_thread::sleep_for(200ms);
  port_->WriteStr("\x06");
  EXPECT_EQ(Intake(500), "");
}

TEST_F(Dc09PortTest, AnIdlePortGivesTheIntakeAReceiverLinkTest) {
  Dc09Settings settings;
  settings.heartbeat_seconds = 1;
  Open(settings);
  EXPECT_EQ(Intake(3000), "1011           @    \x14");
  port_->WriteStr("\x06");
  EXPECT_EQ(port_->counters().posted, 0u);
}

TEST_F(Dc09PortTest, LimitsConnectionsSizeAndIdleTime) {
  Dc09Settings settings;
  settings.max_connections = 2;
  settings.max_content = 64;
  settings.idle_seconds = 1;
  Open(settings);
  PanelSocket a(port_->bound_port(), false), b(port_->bound_port(), false);
  std::this_thread::sleep_for(100ms);
  PanelSocket c(port_->bound_port(), false);
  EXPECT_EQ(c.Read(2000), "<closed>");
  a.Send(Report(1, "SIA-DCS", std::string(80, 'x')));
  EXPECT_EQ(a.Read(2000), "<closed>");
  EXPECT_EQ(b.Read(3000), "<closed>");  // idle
  EXPECT_EQ(port_->counters().refused_connections, 1u);
  EXPECT_GE(port_->counters().idle_closed, 1u);
}

TEST_F(Dc09PortTest, AReportTheStationNeverAcknowledgesGetsNoAckAndALateAckIsNotTheNextOnes) {
  Dc09Settings settings;
  settings.ack_wait_ms = 300;
  Open(settings);
  PanelSocket a(port_->bound_port(), false), b(port_->bound_port(), false);
  a.Send(Report(1));
  EXPECT_EQ(Intake(2000), "5011 181234E13001005\x14");
  b.Send(Report(2, "SIA-DCS", "Nri1/BA01"));
  EXPECT_EQ(a.Read(800), "");
  EXPECT_EQ(port_->counters().not_acknowledged, 1u);
  // The first report's pass acknowledges late, before the second report was read: it is not the
  // second report's acknowledgement.
  port_->WriteStr("\x06");
  EXPECT_EQ(b.Read(300), "");
  EXPECT_EQ(Intake(2000), "S011[#1234|Nri1/BA01]\x14");
  port_->WriteStr("\x06");
  EXPECT_EQ(dc09::ReadAnswer(b.Read(2000)).sequence, "0002");
  EXPECT_EQ(a.Read(100), "");
}

TEST_F(Dc09PortTest, RefusesAnOpenAccountsFileAndAnAddressInUse) {
  Open();
  Dc09Settings same;
  same.address = "127.0.0.1";
  same.port = port_->bound_port();
  Dc09Port second(same);
  EXPECT_THROW(second.Open(), Dc09Error);
  char path[] = "/tmp/dc09-accounts-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(fchmod(fd, 0640), 0);
  close(fd);
  Dc09Settings keyed;
  keyed.address = "127.0.0.1";
  keyed.accounts_path = path;
  Dc09Port third(keyed);
  EXPECT_THROW(third.Open(), Dc09Error);
  unlink(path);
}

}  // namespace
}  // namespace duri
