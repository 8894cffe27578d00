// `duriduvaze-cli run` as duriduvaze.service runs it, with the test in the service manager's place: a
// datagram socket of its own as NOTIFY_SOCKET and a six-second WATCHDOG_USEC. A simulated Sur-Gard on
// COM1 sends five events; a pseudo-terminal on COM2 is the second receiver. The station must say
// READY with a STATUS and ping the watchdog; the status command and the metrics page must count what
// the simulator sent and had acknowledged. Then the test holds the month's history file the way
// another station would (deny-write), and a message on COM2 makes its reader pass wait for it: the
// pings must stop and the STATUS say what is stuck; once the file is free the message is stored and
// acknowledged and the pings come back.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <sstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <string>
#include <vector>

#include "receiver_messages.h"
#include "store/data_dir.h"
#include "store/shared_file.h"
#include "support/pty.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

extern char** environ;

namespace duri {
namespace {

using testing::PseudoTerminal;
using testing::TempDir;

constexpr int kWatchdogMs = 6000;
constexpr int kSurGard = 7;

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// A program started with its standard output and error in files.
struct Child {
  pid_t pid = -1;
  ~Child() {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
  // The exit status, or -1 when it did not end within timeout_ms.
  int Wait(int timeout_ms) {
    const int64_t end = NowMs() + timeout_ms;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
      if (NowMs() > end) return -1;
      usleep(20000);
    }
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
};

void Spawn(Child& child, const std::vector<std::string>& args, const std::vector<std::string>& extra_env,
           const std::string& out, const std::string& err) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> env_text(extra_env);
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string s = *e;
    // The test's own service manager, if any, is not the child's.
    if (s.rfind("NOTIFY_SOCKET=", 0) == 0 || s.rfind("WATCHDOG_", 0) == 0) continue;
    env_text.push_back(s);
  }
  std::vector<char*> envp;
  for (const std::string& e : env_text) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_EQ(posix_spawn(&child.pid, argv[0], &actions, nullptr, argv.data(), envp.data()), 0) << args[0];
  posix_spawn_file_actions_destroy(&actions);
}

// Runs a tool to its end; its exit status and standard output.
std::pair<int, std::string> RunTool(const TempDir& tmp, const std::vector<std::string>& args) {
  Child child;
  Spawn(child, args, {}, tmp.Join("tool.out"), tmp.Join("tool.err"));
  const int status = child.Wait(20000);
  return {status, tmp.ReadFile("tool.out")};
}

// The service manager's end of NOTIFY_SOCKET.
class NotifySocket {
 public:
  explicit NotifySocket(const std::string& path) : path_(path) {
    fd_ = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    path.copy(addr.sun_path, sizeof addr.sun_path - 1);
    bound_ = bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  }
  ~NotifySocket() { close(fd_); }
  bool bound() const { return bound_; }

  struct Notice {
    int64_t at_ms;
    std::string text;
  };
  // Every datagram that arrives within ms, as received.
  std::vector<Notice> Receive(int ms) {
    std::vector<Notice> out;
    const int64_t end = NowMs() + ms;
    for (int64_t left = ms; left > 0; left = end - NowMs()) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
      char buffer[4096];
      const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
      if (n > 0) out.push_back({NowMs(), std::string(buffer, static_cast<size_t>(n))});
    }
    return out;
  }
  // Receives until a notice holds text (all received so far returned), for at most ms.
  std::vector<Notice> ReceiveUntil(const std::string& text, int ms) {
    std::vector<Notice> out;
    const int64_t end = NowMs() + ms;
    while (NowMs() < end) {
      for (Notice& n : Receive(100)) {
        out.push_back(n);
        if (n.text.find(text) != std::string::npos) return out;
      }
    }
    return out;
  }

 private:
  std::string path_;
  int fd_ = -1;
  bool bound_ = false;
};

int Count(const std::vector<NotifySocket::Notice>& notices, const std::string& text) {
  int n = 0;
  for (const auto& notice : notices) n += notice.text.find(text) != std::string::npos;
  return n;
}

// GET path from 127.0.0.1:port, or a request of its own; the whole answer.
std::string Http(int port, const std::string& request) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
      send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
    timeval tv{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    char buffer[4096];
    for (ssize_t n; (n = recv(fd, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  return answer;
}

// The samples of the page, "name{labels}" to value.
std::map<std::string, uint64_t> Samples(const std::string& page) {
  std::map<std::string, uint64_t> out;
  static const std::regex sample(R"(^([a-z_]+(\{[^}]*\})?) ([0-9]+)$)");
  std::istringstream lines(page);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (std::regex_match(line, m, sample)) out[m[1]] = std::stoull(m[3]);
  }
  return out;
}

// tmp/station with a Sur-Gard receiver (type 7) on each of the ports, set up by the receivers tool.
std::string MakeSurGardStation(const TempDir& tmp, const std::string& cli, std::initializer_list<int> ports) {
  tmp.MakeDir("station/ORBA");
  const std::string root = tmp.Join("station");
  nlohmann::json receivers = nlohmann::json::array();
  for (int port : ports) receivers.push_back({{"port", port}, {"receiver_type", 7}});
  tmp.WriteFile("receivers.json", nlohmann::json{{"receivers", receivers}}.dump());
  EXPECT_EQ(RunTool(tmp, {cli, "receivers", "--station", root, tmp.Join("receivers.json")}).first, 0);
  return root;
}

// A port with a receiver that cannot be opened: the station runs with the others, says why on standard
// error, and its end is not a clean one.
TEST(ServiceTest, RunTellsAPortThatNeverOpenedAndExitsThree) {
  const std::string cli = Env("DURIDUVAZE_TOOLS_DIR") + "/cli/duriduvaze-cli";
  TempDir tmp;
  const std::string root = MakeSurGardStation(tmp, cli, {1, 3});
  PseudoTerminal com1;
  com1.Link(root, "COM1");
  EXPECT_EQ(RunTool(tmp, {cli, "run", "--station", root, "--duration", "0.5"}).first, 3);
  const std::string err = tmp.ReadFile("tool.err");
  EXPECT_NE(err.find("COM3 Not Available (receiver type 7): COM3 cannot be opened: "), std::string::npos) << err;
  EXPECT_EQ(err.find("COM1 Not Available"), std::string::npos) << err;
  EXPECT_NE(tmp.ReadFile("station/ORBA/error.log").find("COM3 cannot be opened: "), std::string::npos);
}

TEST(ServiceTest, NotifiesServesStatusAndStopsWatchdogWhileAPassHangs) {
  const std::string tools = Env("DURIDUVAZE_TOOLS_DIR");
  ASSERT_FALSE(tools.empty()) << "DURIDUVAZE_TOOLS_DIR names the build's tools folder";
  const std::string cli = tools + "/cli/duriduvaze-cli", sim = tools + "/sim/duriduvaze-sim";
  TempDir tmp;
  const std::string root = MakeSurGardStation(tmp, cli, {1, 2});
  PseudoTerminal com2;
  com2.Link(root, "COM2");

  Child simulator;
  Spawn(simulator,
        {sim, "--receiver", "7", "--station", root, "--port", "COM1", "--count", "5", "--rate", "50", "--full-speed",
         "--heartbeat", "0", "--ack-timeout-ms", "4000", "--duration", "60", "--json"},
        {}, tmp.Join("sim.json"), tmp.Join("sim.log"));
  ASSERT_TRUE(testing::WaitFor([&] { return std::filesystem::is_symlink(root + "/ports/COM1"); }, 10000));

  NotifySocket manager(tmp.Join("notify"));
  ASSERT_TRUE(manager.bound());
  // Standard error is "the journal": the file's device and inode in JOURNAL_STREAM.
  tmp.WriteFile("run.err", "");
  struct stat err_stat {};
  ASSERT_EQ(stat(tmp.Join("run.err").c_str(), &err_stat), 0);
  Child station;
  Spawn(station, {cli, "run", "--station", root, "--metrics", "127.0.0.1:0"},
        {"NOTIFY_SOCKET=" + tmp.Join("notify"), "WATCHDOG_USEC=" + std::to_string(kWatchdogMs * 1000),
         "JOURNAL_STREAM=" + std::to_string(err_stat.st_dev) + ":" + std::to_string(err_stat.st_ino)},
        tmp.Join("run.out"), tmp.Join("run.err"));

  // READY with the summary once the ports are open, then pings every half interval.
  auto notices = manager.ReceiveUntil("READY=1", 15000);
  ASSERT_EQ(Count(notices, "READY=1"), 1) << tmp.ReadFile("run.err");
  EXPECT_NE(notices.back().text.find("STATUS=2 of 2 ports open"), std::string::npos) << notices.back().text;
  notices = manager.Receive(kWatchdogMs + 1000);
  EXPECT_GE(Count(notices, "WATCHDOG=1"), 2);

  // What the simulator sent and had acknowledged is what the status file and the page count.
  ASSERT_EQ(simulator.Wait(60000), 0) << tmp.ReadFile("sim.log");
  const nlohmann::json summary = nlohmann::json::parse(tmp.ReadFile("sim.json"));
  ASSERT_EQ(summary["acknowledged"], 5) << summary.dump();
  ASSERT_EQ(summary["resent"], 0) << "a resend makes the counts below ambiguous: " << summary.dump();
  // Every message the station took it acknowledged: the events, and the link tests and status reports
  // the receiver sends of its own accord (those make no event). The receiver's first link test may go
  // out before the station has opened the port: sent, but never taken.
  const int sent = summary["sent"].get<int>() + summary["heartbeats_sent"].get<int>() + summary["status_sent"].get<int>();
  const int acknowledged = summary["acknowledged"].get<int>() + summary["heartbeats_acknowledged"].get<int>() +
                           summary["status_acknowledged"].get<int>();
  nlohmann::json status;
  ASSERT_TRUE(testing::WaitFor(
      [&] {
        auto [code, out] = RunTool(tmp, {cli, "status", "--station", root, "--json"});
        if (code != 0) return false;
        status = nlohmann::json::parse(out);
        return status["ports"][0]["acknowledgements"] == acknowledged;
      },
      15000))
      << status.dump() << "\n" << summary.dump();
  const nlohmann::json& com1 = status["ports"][0];
  EXPECT_EQ(com1["port"], "COM1");
  EXPECT_EQ(com1["messages"], acknowledged) << summary.dump();
  EXPECT_LE(com1["messages"], sent) << summary.dump();
  EXPECT_EQ(com1["events"], summary["acknowledged"]);
  EXPECT_EQ(com1["acknowledgements"], acknowledged) << summary.dump();
  EXPECT_EQ(com1["resends_seen"], 0);
  EXPECT_EQ(com1["failures"], 0);
  for (const auto& [reason, count] : com1["drops"].items()) EXPECT_EQ(count, 0) << reason;
  EXPECT_NE(com1["last_message_time"], 0);
  EXPECT_EQ(status["ports"][1]["messages"], 0);

  // The page counts what the status file counts, port by port.
  const std::string address = status["metrics"];
  ASSERT_EQ(address.rfind("127.0.0.1:", 0), 0u) << address;
  const int port = std::stoi(address.substr(10));
  const std::string page = Http(port, "GET /metrics HTTP/1.1\r\nHost: localhost\r\n\r\n");
  ASSERT_EQ(page.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << page;
  std::map<std::string, uint64_t> samples = Samples(page);
  for (const nlohmann::json& p : status["ports"]) {
    const std::string label = "{port=\"" + p["port"].get<std::string>() + "\"";
    for (const char* field : {"messages", "events", "acknowledgements", "resends_seen", "failures"}) {
      EXPECT_EQ(samples.at("duriduvaze_" + std::string(field) + "_total" + label + "}"), p[field]) << label << field;
    }
    for (const auto& [reason, count] : p["drops"].items()) {
      EXPECT_EQ(samples.at("duriduvaze_drops_total" + label + ",reason=\"" + reason + "\"}"), count) << label << reason;
    }
    // (The link state is left out: a supervision check may fall between the file and the page.)
    EXPECT_EQ(samples.at("duriduvaze_last_message_time_seconds" + label + "}"), p["last_message_time"]);
  }
  EXPECT_EQ(samples["duriduvaze_healthy"], 1u);
  EXPECT_EQ(samples["duriduvaze_stack_backlog"], status["stack_backlog"]);
  // Only the page, only GET and HEAD, and no request larger than the bound.
  EXPECT_EQ(Http(port, "GET / HTTP/1.1\r\n\r\n").rfind("HTTP/1.1 404", 0), 0u);
  EXPECT_EQ(Http(port, "POST /metrics HTTP/1.1\r\n\r\n").rfind("HTTP/1.1 405", 0), 0u);
  EXPECT_EQ(Http(port, "GET /metrics HTTP/1.1\r\nX: " + std::string(9000, 'x')).rfind("HTTP/1.1 431", 0), 0u);

  // Another station holds the month's history (deny-write): COM2's pass waits for it without end.
  std::string history;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root + "/ORBA")) {
    if (entry.path().filename() == "EVENT.MDC") history = entry.path().lexically_relative(root + "/ORBA").string();
  }
  ASSERT_FALSE(history.empty());
  // A port just opened takes everything up to the first terminator as the tail of a message it missed.
  com2.Write(std::string(1, static_cast<char>(sim::TerminatorOf(kSurGard))));
  usleep(500000);
  ManualClock clock;
  testing::RecordingView view;
  DataDir other_station(root, clock, view);
  SharedFile held;
  ASSERT_EQ(OpenForUpdate(other_station, held, "\\ORBA\\" + history, 200, false), 0);
  manager.Receive(100);
  sim::SimEvent event{"4321", sim::CodeKind::kContactId, 'E', "130", 1, 7, {}};
  com2.Write(sim::BuildEventMessage(kSurGard, event));
  notices = manager.ReceiveUntil("STUCK", 4 * kWatchdogMs);
  ASSERT_GE(Count(notices, "STUCK"), 1) << "no STUCK status";
  const auto after = manager.Receive(kWatchdogMs + 1000);
  EXPECT_EQ(Count(after, "WATCHDOG=1"), 0) << "pings went on while a pass was stuck";
  EXPECT_GE(Count(after, "COM2 reader pass running"), 1) << "STATUS does not name the stuck pass";
  EXPECT_EQ(RunTool(tmp, {cli, "status", "--station", root}).first, 1);
  EXPECT_EQ(com2.ReadNow(), "") << "acknowledged before the event was stored";

  // The file is free again: the event is stored, acknowledged, and the pings come back.
  CloseShared(other_station, held);
  EXPECT_EQ(com2.ReadBytes(1, 10000), std::string(1, static_cast<char>(sim::AckOf(kSurGard))))
      << tmp.ReadFile("run.err");
  notices = manager.ReceiveUntil("WATCHDOG=1", 3 * kWatchdogMs);
  EXPECT_EQ(Count(notices, "WATCHDOG=1"), 1);

  // SIGTERM: STOPPING, a clean end, and a last status file that says so.
  kill(station.pid, SIGTERM);
  EXPECT_EQ(station.Wait(20000), 0) << tmp.ReadFile("run.err");
  // Every line went to the journal with its priority: the ports opened as information, the stuck pass
  // as critical.
  const std::string log = tmp.ReadFile("run.err");
  EXPECT_NE(log.find("<6>Open COM1"), std::string::npos) << log;
  EXPECT_NE(log.find("<2>stuck, watchdog no longer fed: "), std::string::npos) << log;
  EXPECT_FALSE(std::regex_search(log, std::regex("(^|\n)[^<]"))) << "a line without its priority: " << log;
  EXPECT_GE(Count(manager.Receive(100), "STOPPING=1"), 1);
  auto [code, out] = RunTool(tmp, {cli, "status", "--station", root, "--json"});
  EXPECT_EQ(code, 1);
  EXPECT_EQ(nlohmann::json::parse(out)["running"], false) << out;
}

}  // namespace
}  // namespace duri
