#include "support/smtp_test_server.h"

#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace duri::testing {
namespace {

// Python and aiosmtpd start in well under a second; this only bounds a broken installation.
constexpr int kStartLimitMs = 20000;

std::string ScriptPath() {
  const char* source = std::getenv("DURIDUVAZE_SOURCE_DIR");
  if (source != nullptr && *source != '\0') return std::string(source) + "/tests/transport/smtp_server.py";
  std::string here = __FILE__;
  return here.substr(0, here.rfind('/')) + "/../transport/smtp_server.py";
}

int BoundLoopbackSocket(int& port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (fd >= 0) close(fd);
    port = 0;
    return -1;
  }
  port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

SmtpTestServer::SmtpTestServer(const Options& options) {
  std::vector<std::string> args = {"/usr/bin/python3", ScriptPath(),
                                    "--port-file",      dir_.Join("port"),
                                    "--record",         dir_.Join("record.jsonl"),
                                    "--transcript",     dir_.Join("transcript")};
  if (!options.login.empty()) args.insert(args.end(), {"--login", options.login});
  if (options.plain_only) args.push_back("--plain-only");
  if (options.refuse_ehlo) args.push_back("--refuse-ehlo");
  if (options.drop_at_data) args.push_back("--drop-at-data");
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
    pid_ = -1;
    error_ = "cannot start /usr/bin/python3";
    return;
  }
  auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(kStartLimitMs)) {
    if (dir_.Exists("port")) {
      port_ = std::atoi(dir_.ReadFile("port").c_str());
      return;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      error_ = "the SMTP test server ended at start-up (is python3-aiosmtpd installed?)";
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  error_ = "the SMTP test server did not start listening";
}

SmtpTestServer::~SmtpTestServer() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
}

std::vector<nlohmann::json> SmtpTestServer::Records(const std::string& kind) const {
  std::vector<nlohmann::json> out;
  std::ifstream in(dir_.Join("record.jsonl"));
  std::string line;
  while (std::getline(in, line)) {
    nlohmann::json entry = nlohmann::json::parse(line, nullptr, false);
    if (!entry.is_discarded() && entry.value("kind", "") == kind) out.push_back(entry);
  }
  return out;
}

std::string SmtpTestServer::Transcript() const {
  return dir_.Exists("transcript") ? dir_.ReadFile("transcript") : std::string();
}

bool SmtpTestServer::WaitForTranscript(const std::string& text, int limit_ms) const {
  auto start = std::chrono::steady_clock::now();
  for (;;) {
    if (Transcript().find(text) != std::string::npos) return true;
    if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(limit_ms)) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

SilentListener::SilentListener() {
  fd_ = BoundLoopbackSocket(port_);
  if (fd_ >= 0 && listen(fd_, 4) != 0) port_ = 0;
}

SilentListener::~SilentListener() {
  if (fd_ >= 0) close(fd_);
}

int ClosedLoopbackPort() {
  int port = 0;
  int fd = BoundLoopbackSocket(port);
  if (fd >= 0) close(fd);
  return port;
}

}  // namespace duri::testing
