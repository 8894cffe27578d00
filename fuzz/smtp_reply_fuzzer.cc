// The mail client against a server that answers with arbitrary bytes: a loopback listener serves the
// input as everything the server says, reads whatever the client sends and closes. Connect and Send
// must end (no hang past the reply timeout), stay in bounds and leave the client disconnected or usable.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>

#include "platform/clock.h"
#include "transport/mail_message.h"
#include "transport/smtp_client.h"

namespace {

using namespace duri;

struct Listener {
  Listener() {
    fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    listen(fd, 4);
    socklen_t len = sizeof addr;
    getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    port = ntohs(addr.sin_port);
    clock.Set(2026, 12, 8, 4, 7, 9);
  }
  int fd = -1;
  int port = 0;
  ManualClock clock;
};

Listener& TheListener() {
  static Listener listener;
  return listener;
}

// Serves one connection: the whole reply script, then the client's lines until it closes.
void Serve(int listen_fd, std::string_view script) {
  pollfd p{listen_fd, POLLIN, 0};
  if (poll(&p, 1, 2000) <= 0) return;
  const int fd = accept4(listen_fd, nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0) return;
  size_t at = 0;
  while (at < script.size()) {
    const ssize_t n = send(fd, script.data() + at, script.size() - at, MSG_NOSIGNAL);
    if (n <= 0) break;
    at += static_cast<size_t>(n);
  }
  shutdown(fd, SHUT_WR);
  char buf[4096];
  pollfd q{fd, POLLIN, 0};
  while (poll(&q, 1, 2000) > 0 && recv(fd, buf, sizeof buf, 0) > 0) {
  }
  close(fd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  Listener& listener = TheListener();
  const uint8_t options = data[0];
  const std::string_view script(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::thread server(Serve, listener.fd, script);

  TSmtpClient client(listener.clock);
  client.settings.host = "127.0.0.1";
  client.settings.port = listener.port;
  client.settings.local_host_name = "station.test";
  client.settings.connect_timeout_ms = 2000;
  client.settings.reply_timeout_ms = 500;
  if (options & 1) {
    client.settings.authentication_type = AuthenticationType::atLogin;
    client.settings.user_id = "operator";
    client.settings.password = "secret";
  }
  if (client.Connect().ok) {
    TMailMessage message;
    message.from.address = "station@example.com";
    message.from.name = "Central";
    message.recipients = {"client@example.com"};
    if (options & 2) message.cc_list = {"copy@example.com"};
    message.subject = "Alarm";
    message.body = {"1234 BURGLARY", ".", ""};
    client.Send(message);
    if (options & 4) client.Send(message);
  }
  client.Disconnect();
  server.join();
  return 0;
}
