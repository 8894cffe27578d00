// Receiver ports over TCP on 127.0.0.1: the link file, the same road as a serial line from bytes to
// history and acknowledgement, connection loss and restore as link events, and the listening side.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <nlohmann/json.hpp>
#include <sstream>

#include "intake/link_file.h"
#include "intake/port_links.h"
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

// One end of a loopback connection, as a receiver or a device server holds it.
class Peer {
 public:
  explicit Peer(int fd = -1) : fd_(fd) {}
  ~Peer() { Close(); }
  Peer(Peer&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
  Peer& operator=(Peer&& o) noexcept {
    std::swap(fd_, o.fd_);
    return *this;
  }
  bool ok() const { return fd_ >= 0; }
  void Write(std::string_view bytes) const { ASSERT_EQ(send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size())); }
  // Up to n bytes within timeout_ms; "" on time-out, "EOF" when the station closed.
  std::string Read(size_t n = 1, int timeout_ms = 3000) const {
    std::string out;
    while (out.size() < n) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, timeout_ms) <= 0) break;
      char buf[256];
      const ssize_t got = recv(fd_, buf, std::min(sizeof buf, n - out.size()), 0);
      if (got <= 0) return out.empty() ? "EOF" : out;
      out.append(buf, static_cast<size_t>(got));
    }
    return out;
  }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

sockaddr_in Loopback(uint16_t port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

// A receiver's automation port that the station connects to.
class Server {
 public:
  Server() {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = Loopback(0);
    bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(fd_, 4);
    socklen_t len = sizeof a;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
  }
  ~Server() { close(fd_); }
  uint16_t port() const { return port_; }
  Peer Accept(int timeout_ms = 5000) const {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0) return Peer();
    return Peer(accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC));
  }

 private:
  int fd_;
  uint16_t port_ = 0;
};

uint16_t FreePort() {
  Server probe;
  return probe.port();
}

Peer Connect(uint16_t port) {
  for (int tries = 0; tries < 100; ++tries) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = Loopback(port);
    if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return Peer(fd);
    close(fd);
    usleep(20000);
  }
  return Peer();
}

TEST(LinkFileTest, ParsesPortsAndRefusesEveryFault) {
  struct Case {
    const char* text;
    const char* fault;  // a part of the fault, "" when the text is good
  } cases[] = {
      {"", ""},
      {"# none\n\n", ""},
      {"COM3 tcp://192.168.10.20:1025\nCOM16 listen://0.0.0.0:5005\r\n", ""},
      {"COM1\ttcp://receiver-1.example:1025  # trailing", "is not 1..65535"},
      {"COM1 tcp://receiver-1.example:1025", ""},
      {"COM2 listen://[::1]:7000", ""},
      {"COM2 dc09://0.0.0.0:7000", ""},
      {"COM0 tcp://1.2.3.4:1", "line 1: \"COM0\" is not COM1..COM16"},
      {"COM17 tcp://1.2.3.4:1", "is not COM1..COM16"},
      {"com1 tcp://1.2.3.4:1", "is not COM1..COM16"},
      {"COM1 tcp://1.2.3.4:1\n\nCOM1 tcp://1.2.3.4:2", "line 3: COM1 is named twice"},
      {"COM1", "expected \"COMn ADDRESS\""},
      {"COM1 udp://1.2.3.4:1", "scheme \"udp\""},
      {"COM1 1.2.3.4:1", "is not SCHEME://HOST:PORT"},
      {"COM1 tcp://1.2.3.4", "has no port"},
      {"COM1 tcp://1.2.3.4:0", "is not 1..65535"},
      {"COM1 tcp://1.2.3.4:65536", "is not 1..65535"},
      {"COM1 tcp://1.2.3.4:", "is not 1..65535"},
      {"COM1 tcp://::1:80", "in brackets"},
      {"COM1 tcp://[1.2.3.4]:80", "is not an IPv6 address"},
      {"COM1 tcp://bad_host:80", "is not a host name"},
      {"COM1 listen://receiver.example:80", "is not a local address"},
  };
  for (const Case& c : cases) {
    PortLinkTable table;
    const std::string fault = ParseLinkFile(c.text, &table);
    if (std::string(c.fault).empty()) {
      EXPECT_EQ(fault, "") << c.text;
      PortLinkTable again;
      EXPECT_EQ(ParseLinkFile(LinkFileText(table), &again), "") << c.text;
      EXPECT_EQ(again, table) << c.text;
    } else {
      EXPECT_NE(fault.find(c.fault), std::string::npos) << c.text << " gave: " << fault;
    }
  }
  PortLinkTable table;
  ASSERT_EQ(ParseLinkFile("COM2 listen://[::1]:7000\nCOM16 tcp://h:1", &table), "");
  EXPECT_EQ(LinkAddressText(*table[1]), "listen://[::1]:7000");
  EXPECT_EQ(table[15]->host, "h");
  EXPECT_FALSE(table[0].has_value());
}

TEST(LinkFileTest, SavedFileLoadsBackAndOneOthersMayWriteIsRefused) {
  testing::TempDir dir;
  const std::string path = dir.Join("TorvaLink.txt");
  PortLinkTable table, loaded;
  std::string error;
  EXPECT_EQ(LoadLinkFile(path, &loaded, &error), LinkFileStatus::kMissing);
  table[4] = LinkAddress{"tcp", "10.0.0.5", 1025};
  ASSERT_EQ(SaveLinkFile(path, table), 0);
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
  ASSERT_EQ(LoadLinkFile(path, &loaded, &error), LinkFileStatus::kOk) << error;
  EXPECT_EQ(loaded, table);
  chmod(path.c_str(), 0646);
  EXPECT_EQ(LoadLinkFile(path, &loaded, &error), LinkFileStatus::kRefused);
  EXPECT_NE(error.find("any user"), std::string::npos) << error;
  EXPECT_FALSE(loaded[4].has_value());
  ASSERT_EQ(SaveLinkFile(path, PortLinkTable{}), 0);  // no link left: no file
  EXPECT_EQ(LoadLinkFile(path, &loaded, &error), LinkFileStatus::kMissing);
}

// A Sur-Gard receiver on COM1 over each carrier, with the intake's posts recorded.
class NetworkLinkTest : public IntakeStationTest {
 protected:
  NetworkLinkTest() {
    station_.ports.SetDeviceDir(tmp_.Join("no-dev"));
    json fire = {{"code_pattern", "E13"}, {"description", "Fire"}, {"type", 10}, {"priority", 1}};
    Load({{"clients",
           {{{"account_number", "1234"}, {"areas", {{{"area_name", "Shop"}, {"code_table_record_number", 0}}}}}}},
          {"code_tables", {{{"entries", {fire}}}}}});
    auto intake = station_.add_event;
    station_.add_event = [this, intake](const DateRecord& d, const TimeRecord& t, std::string_view text,
                                        std::string_view second) {
      {
        std::lock_guard<std::mutex> lock(mu_);
        posted_.emplace_back(text);
      }
      intake(d, t, text, second);
    };
    station_.set_ui_thread(ui_);
    station_.ports.Config(1).receiver_type = kSurgard;
  }
  ~NetworkLinkTest() override { station_.ports.Shutdown(&ui_); }

  // Writes the link file, binds and opens COM1.
  bool OpenWithLinks(const std::string& link_file) {
    std::ofstream(tmp_.Join("TorvaLink.txt")) << link_file;
    bool opened = false;
    ui_.Synchronize([&] {
      BindPortLinks(station_);
      opened = OpenReceiverPort(station_, 1);
    });
    return opened;
  }
  std::vector<std::string> Posted() {
    std::lock_guard<std::mutex> lock(mu_);
    return posted_;
  }
  bool WaitPosted(const std::string& text) {
    return WaitFor([&] {
      auto p = Posted();
      return std::find(p.begin(), p.end(), text) != p.end();
    });
  }
  // "account code description" of each history record.
  std::vector<std::string> HistoryLines(size_t expected) {
    std::vector<std::string> lines;
    WaitFor([&] {
      ui_.Synchronize([&] {
        lines.clear();
        for (const EventRecord& r : History()) lines.push_back(r.account.str() + " " + r.description.str());
      });
      return lines.size() >= expected;
    });
    return lines;
  }
  std::string ErrorLog() {
    std::ifstream in(tmp_.Join("ORBA/error.log"));
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::mutex mu_;
  std::vector<std::string> posted_;
};

enum class Carrier { kPty, kConnect, kListen };

class SameRoadTest : public NetworkLinkTest, public ::testing::WithParamInterface<Carrier> {};

// The bytes of the receiver and what it gets back, whatever carries them.
TEST_P(SameRoadTest, GivesTheSerialLineHistoryAndAcks) {
  PseudoTerminal pty;
  Server server;
  const uint16_t listen_port = FreePort();
  Peer peer;
  std::function<void(std::string_view)> send;
  std::function<std::string()> read_ack;
  switch (GetParam()) {
    case Carrier::kPty:
      pty.Link(tmp_.path(), "COM1");
      ASSERT_TRUE(OpenWithLinks(""));
      send = [&](std::string_view b) { pty.Write(b); };
      read_ack = [&] { return pty.ReadBytes(1); };
      break;
    case Carrier::kConnect:
      ASSERT_TRUE(OpenWithLinks("COM1 tcp://127.0.0.1:" + std::to_string(server.port()) + "\n"));
      peer = server.Accept();
      break;
    case Carrier::kListen:
      ASSERT_TRUE(OpenWithLinks("COM1 listen://127.0.0.1:" + std::to_string(listen_port) + "\n"));
      peer = Connect(listen_port);
      break;
  }
  if (GetParam() != Carrier::kPty) {
    ASSERT_TRUE(peer.ok());
    send = [&](std::string_view b) { peer.Write(b); };
    read_ack = [&] { return peer.Read(1); };
    EXPECT_EQ(station_.ports.Traffic(1).substr(0, 10), "Open COM1 ");
  }
  send(std::string("1011 1234 BA01") + kDc4);  // synchronises only
  ASSERT_TRUE(WaitFor([&] { return station_.ports.State(1).synchronised == 1; }));
  ASSERT_TRUE(WaitFor([&] { return static_cast<bool>(station_.ports.PortArmed(1)); }));
  // One message split across writes, then two in one write: one ACK per pass.
  send("5011 181234E1");
  usleep(30000);
  send(std::string("3001005") + kDc4);
  EXPECT_EQ(read_ack(), std::string(1, static_cast<char>(kAck)));
  ASSERT_TRUE(WaitFor([&] { return static_cast<bool>(station_.ports.PortArmed(1)); }));
  send(std::string("5011 181234E13002007") + kDc4 + "5011 181234R13001005" + kDc4);
  EXPECT_EQ(read_ack(), std::string(1, static_cast<char>(kAck)));
  EXPECT_EQ(HistoryLines(3), (std::vector<std::string>{"1234 E130005 > Fire [ri0:Shop]",
                                                        "1234 E130007 > Fire [ri0:Shop]",
                                                        "1234 R130005 > Reset [ri0:Shop]"}));
}

INSTANTIATE_TEST_SUITE_P(Carriers, SameRoadTest, ::testing::Values(Carrier::kPty, Carrier::kConnect, Carrier::kListen));

TEST_F(NetworkLinkTest, LossAndRestoreAreLinkEventsAndAHalfMessageIsNotJoined) {
  Server server;
  ASSERT_TRUE(OpenWithLinks("COM1 tcp://127.0.0.1:" + std::to_string(server.port()) + "\n"));
  Peer peer = server.Accept();
  ASSERT_TRUE(peer.ok());
  peer.Write(std::string("1011 1234 BA01") + kDc4);
  ASSERT_TRUE(WaitFor([&] { return station_.ports.State(1).synchronised == 1; }));
  peer.Write("5011 181234E1");  // the receiver goes away in the middle of a message
  ASSERT_TRUE(WaitFor([&] { return !station_.ports.PendingTraffic(1).empty(); }));
  peer.Close();
  ASSERT_TRUE(WaitPosted("0000 ACOM1\r"));
  EXPECT_EQ(station_.ports.State(1).link_alarm, 1);
  peer = server.Accept();  // the station is back after its first pause
  ASSERT_TRUE(peer.ok());
  ASSERT_TRUE(WaitPosted("0000 RCOM1\r"));
  // The first message after the loss ends the broken one: it is dropped, unacknowledged, and its
  // resending is taken.
  const std::string message = std::string("5011 181234E13002007") + kDc4;
  peer.Write(message);
  EXPECT_EQ(peer.Read(1, 500), "");
  ASSERT_TRUE(WaitFor([&] { return static_cast<bool>(station_.ports.PortArmed(1)); }));
  peer.Write(message);
  EXPECT_EQ(peer.Read(1), std::string(1, static_cast<char>(kAck)));
  std::vector<std::string> lines = HistoryLines(3);
  EXPECT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines.back(), "1234 E130007 > Fire [ri0:Shop]");
  EXPECT_EQ(std::count(posted_.begin(), posted_.end(), "0000 ACOM1\r"), 1);
  const std::string log = ErrorLog();
  EXPECT_NE(log.find("COM1 tcp://127.0.0.1:" + std::to_string(server.port()) + ": connection lost: closed by"),
            std::string::npos) << log;
  EXPECT_NE(log.find(": connected to 127.0.0.1:"), std::string::npos) << log;
}

// A serial line that hangs up (a USB adapter pulled out) is a link loss like a network one's, told
// once however long it stays down.
TEST_F(NetworkLinkTest, SerialLineThatHangsUpIsALinkLossToldOnce) {
  PseudoTerminal pty;
  pty.Link(tmp_.path(), "COM1");
  ASSERT_TRUE(OpenWithLinks(""));
  pty.CloseMaster();
  ASSERT_TRUE(WaitPosted("0000 ACOM1\r"));
  EXPECT_EQ(station_.ports.State(1).link_alarm, 1);
  const std::string log = ErrorLog();
  const size_t at = log.find("COM1: connection lost: the line ");
  ASSERT_NE(at, std::string::npos) << log;
  const size_t line_start = log.rfind('\n', at) == std::string::npos ? 0 : log.rfind('\n', at) + 1;
  EXPECT_EQ(at - line_start, std::string("2026/12/08 10:30:00 ").size()) << log;  // one date and time
  usleep(500 * 1000);  // the event thread looks at the dead line again every 200 ms
  ui_.Drain();
  const std::vector<std::string> posted = Posted();
  EXPECT_EQ(std::count(posted.begin(), posted.end(), "0000 ACOM1\r"), 1);
  EXPECT_EQ(std::count(posted.begin(), posted.end(), "0000 RCOM1\r"), 0);
  // The adapter is back and the port opens again (the receiver setup saved): the loss ends.
  PseudoTerminal again;
  std::filesystem::remove(tmp_.Join("ports/COM1"));
  again.Link(tmp_.path(), "COM1");
  bool opened = false;
  ui_.Synchronize([&] { opened = OpenReceiverPort(station_, 1); });
  ASSERT_TRUE(opened);
  ASSERT_TRUE(WaitPosted("0000 RCOM1\r"));
  EXPECT_EQ(station_.ports.State(1).link_alarm, 0);
  EXPECT_NE(ErrorLog().find("COM1: connected to " + tmp_.Join("ports/COM1")), std::string::npos) << ErrorLog();
}

TEST_F(NetworkLinkTest, ListeningPortTakesTheNewestReceiverConnection) {
  const uint16_t port = FreePort();
  ASSERT_TRUE(OpenWithLinks("COM1 listen://127.0.0.1:" + std::to_string(port) + "\n"));
  Peer first = Connect(port);
  ASSERT_TRUE(first.ok());
  first.Write(std::string("1011 1234 BA01") + kDc4);
  ASSERT_TRUE(WaitFor([&] { return station_.ports.State(1).synchronised == 1; }));
  Peer second = Connect(port);
  ASSERT_TRUE(second.ok());
  EXPECT_EQ(first.Read(1), "EOF");  // replaced
  second.Write(std::string("5011 181234E13001005") + kDc4);
  EXPECT_EQ(second.Read(1), std::string(1, static_cast<char>(kAck)));
  EXPECT_EQ(HistoryLines(1).size(), 1u);
  for (const std::string& text : Posted()) EXPECT_EQ(text.find("0000 "), std::string::npos) << text;  // no loss
  EXPECT_NE(ErrorLog().find("(replaces 127.0.0.1:"), std::string::npos);
}

TEST_F(NetworkLinkTest, RefusedLinkFileOrAddressLeavesThePortClosedAndSaysWhy) {
  struct Case {
    std::string file;
    mode_t mode;
    const char* logged;
  } cases[] = {
      {"COM1 tcp://127.0.0.1:99999\n", 0644, "is not 1..65535"},
      {"COM2 tcp://127.0.0.1:1025\n", 0666, "may be written by any user"},
      {"COM1 listen://192.0.2.1:5000\n", 0644, "Unable to listen"},  // not an address of this machine
  };
  for (const Case& c : cases) {
    const std::string path = tmp_.Join("TorvaLink.txt");
    std::ofstream(path) << c.file;
    chmod(path.c_str(), c.mode);
    bool opened = true;
    ui_.Synchronize([&] {
      BindPortLinks(station_);
      opened = OpenReceiverPort(station_, 1);
    });
    EXPECT_FALSE(opened) << c.file;
    EXPECT_EQ(station_.ports.Traffic(1).find("COM1"), 0u) << station_.ports.Traffic(1);
    EXPECT_NE(station_.ports.Traffic(1).find("Not Available"), std::string::npos) << station_.ports.Traffic(1);
    EXPECT_NE(ErrorLog().find(c.logged), std::string::npos) << c.file << ErrorLog();
  }
}

}  // namespace
}  // namespace duri
