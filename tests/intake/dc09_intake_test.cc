// The whole road of a DC-09 report: an alarm panel on a loopback socket, the station's DC-09 port, the
// reader pass, the Sur-Gard decoder and the intake into the history of a station built with the
// loader, and the ACK back to the panel only once the event is stored; none while the history refuses
// writes.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <chrono>

#include "intake/link_file.h"
#include "intake/port_links.h"
#include "intake/reader_pass.h"
#include "intake/receiver_setup.h"
#include "support/immutable_file.h"
#include "support/intake_station.h"
#include "transport/dc09_panel.h"
#include "transport/dc09_port.h"

namespace duri {
namespace {

using nlohmann::json;
using testing::ImmutableFiles;
using testing::IntakeStationTest;

constexpr int kSurgard = 7;

int64_t UtcNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

class Dc09IntakeTest : public IntakeStationTest {
 protected:
  Dc09IntakeTest() { station_.ports.SetDeviceDir(tmp_.Join("no-dev")); }
  ~Dc09IntakeTest() override {
    if (fd_ >= 0) close(fd_);
    station_.ports.Shutdown(&ui_);
  }

  void OpenDc09Port() {
    json test = {{"code_pattern", "E13"}, {"description", "Burglary"}, {"type", 10}, {"priority", 1}};
    Load({{"clients", {{{"account_number", "1234"}, {"areas", {{{"area_name", "Shop"}, {"code_table_record_number", 0}}}}}}},
          {"code_tables", {{{"entries", {test}}}}}});
    station_.set_ui_thread(ui_);
    std::string why;
    std::unique_ptr<PortLink> link = MakePortLink(station_, 1, LinkAddress{"dc09", "127.0.0.1", 0}, &why);
    ASSERT_TRUE(link) << why;
    ui_.Synchronize([&] {
      station_.ports.BindLink(1, std::move(link));
      ConnectPortLink(station_, 1, station_.ports.Link(1));
      station_.ports.Config(1).receiver_type = kSurgard;
      ASSERT_TRUE(OpenReceiverPort(station_, 1));
    });
    auto* port = dynamic_cast<Dc09Port*>(&station_.ports.Link(1));
    ASSERT_NE(port, nullptr);
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port->bound_port());
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
  }

  // Sends the report and returns the answer's token, "" when none came within timeout_ms; history_at_answer:
  // the records in the history the moment the answer arrived.
  std::string Report(int sequence, int zone, int timeout_ms, size_t* history_at_answer = nullptr,
                     const std::string& account = "1234") {
    dc09::PanelReport report;
    report.token = "ADM-CID";
    report.account = account;
    report.sequence = sequence;
    report.data = "1130 01 " + std::to_string(100 + zone);
    report.stamp = UtcNow();
    const std::string frame = dc09::PanelFrame(report);
    EXPECT_EQ(send(fd_, frame.data(), frame.size(), MSG_NOSIGNAL), static_cast<ssize_t>(frame.size()));
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0) return {};
    if (history_at_answer != nullptr) ui_.Synchronize([&] { *history_at_answer = History().size(); });
    char buffer[512];
    const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
    return n <= 0 ? std::string() : dc09::ReadAnswer(std::string(buffer, static_cast<size_t>(n))).token;
  }

  size_t HistorySize() {
    size_t n = 0;
    ui_.Synchronize([&] { n = History().size(); });
    return n;
  }

  int fd_ = -1;
};

TEST_F(Dc09IntakeTest, TheAckComesOnlyOnceTheEventIsInTheHistory) {
  OpenDc09Port();
  size_t stored = 0;
  ASSERT_EQ(Report(1, 5, 5000, &stored), "ACK");
  EXPECT_EQ(stored, 1u);
  const std::vector<EventRecord> h = History();
  ASSERT_EQ(h.size(), 1u);
  EXPECT_EQ(h[0].account.str(), "1234");
  EXPECT_EQ(h[0].description.str().rfind("E130105", 0), 0u) << h[0].description.str();
  // The panel's resend of the same report is acknowledged again, not posted again.
  ASSERT_EQ(Report(1, 5, 5000), "ACK");
  EXPECT_EQ(HistorySize(), 1u);
  // An account the receiver's Contact ID form cannot carry: DUH, nothing posted, the reason logged.
  EXPECT_EQ(Report(2, 5, 5000, nullptr, "123456"), "DUH");
  EXPECT_EQ(HistorySize(), 1u);
  // Counted with the port's drops, where the status file and the metrics page read them.
  EXPECT_EQ(station_.ports.Counters(1).Dropped(DropReason::kRefused), 1u);
  std::string log;
  for (int i = 0; i < 100 && log.find("123456 is not 4 digits") == std::string::npos; ++i) {
    ui_.Drain();
    log = tmp_.Exists("ORBA/error.log") ? tmp_.ReadFile("ORBA/error.log") : "";
  }
  const size_t at = log.find("COM1 dc09://127.0.0.1:0");
  ASSERT_NE(at, std::string::npos) << log;
  const size_t line_start = log.rfind('\n', at) == std::string::npos ? 0 : log.rfind('\n', at) + 1;
  EXPECT_EQ(at - line_start, std::string("2026/12/08 10:30:00 ").size()) << log;  // one date and time
  EXPECT_NE(log.find("123456 is not 4 digits"), std::string::npos) << log;
}

TEST_F(Dc09IntakeTest, NoAckWhileTheHistoryRefusesWrites) {
  OpenDc09Port();
  ASSERT_EQ(Report(1, 1, 5000), "ACK");
  {
    ImmutableFiles outage;
    const auto path = station_.data.HostPath("\\ORBA\\202612.EVT\\EVENT.MDC");
    ASSERT_TRUE(path);
    if (!outage.Set(*path)) GTEST_SKIP() << "cannot make the history unwritable here: " << outage.error();
    EXPECT_EQ(Report(2, 2, 1500), "");
    EXPECT_EQ(HistorySize(), 1u);
  }
  // The panel, unanswered, sends again: stored once, then acknowledged.
  size_t stored = 0;
  ASSERT_EQ(Report(2, 2, 5000, &stored), "ACK");
  EXPECT_EQ(stored, 2u);
}

}  // namespace
}  // namespace duri
