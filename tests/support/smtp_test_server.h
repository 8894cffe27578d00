// A real SMTP server on loopback for the mail tests: tests/transport/smtp_server.py (aiosmtpd) run with
// /usr/bin/python3, each server in its own temp dir with its own free port.
#ifndef DURIDUVAZE_TESTS_SUPPORT_SMTP_TEST_SERVER_H_
#define DURIDUVAZE_TESTS_SUPPORT_SMTP_TEST_SERVER_H_

#include <sys/types.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace duri::testing {

class SmtpTestServer {
 public:
  struct Options {
    std::string login;  // "user:password" accepted by AUTH LOGIN; empty = no authentication offered
    bool plain_only = false;  // advertise AUTH PLAIN but not LOGIN
    bool refuse_ehlo = false;  // answer EHLO with 500
    bool drop_at_data = false;  // close the connection when the client says DATA
  };

  SmtpTestServer() : SmtpTestServer(Options{}) {}
  explicit SmtpTestServer(const Options& options);
  ~SmtpTestServer();
  SmtpTestServer(const SmtpTestServer&) = delete;
  SmtpTestServer& operator=(const SmtpTestServer&) = delete;

  // False when the server could not be started; error() says why.
  bool started() const { return port_ > 0; }
  const std::string& error() const { return error_; }
  int port() const { return port_; }

  // The recorded entries of one kind: "connect", "auth" or "message".
  std::vector<nlohmann::json> Records(const std::string& kind) const;
  // Every byte the clients sent.
  std::string Transcript() const;
  // Waits until the transcript holds text: the server records what a client sends after the client
  // has moved on (a "Quit" gets no awaited reply). False after limit_ms.
  bool WaitForTranscript(const std::string& text, int limit_ms = 10000) const;

 private:
  TempDir dir_;
  pid_t pid_ = -1;
  int port_ = 0;
  std::string error_;
};

// A port on loopback that listens but never accepts: the kernel completes the connection and nothing is
// ever said, like a hung server.
class SilentListener {
 public:
  SilentListener();
  ~SilentListener();
  int port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

// A loopback port where nothing listens: connecting is refused.
int ClosedLoopbackPort();

}  // namespace duri::testing

#endif  // DURIDUVAZE_TESTS_SUPPORT_SMTP_TEST_SERVER_H_
