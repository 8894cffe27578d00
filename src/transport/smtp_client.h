// The SMTP client of the mail transport (SmtpClient1 on the main window): connects to the outgoing
// server, optionally authenticates with LOGIN, transfers one message and disconnects.
//
// The dialogue runs on the user-interface thread inside event intake, so every wait is bounded: the
// connection (name lookup included) by connect_timeout_ms and each reply by reply_timeout_ms. A server
// that accepts and then stays silent ends the operation as a failure instead of stopping every port.
#ifndef DURIDUVAZE_TRANSPORT_SMTP_CLIENT_H_
#define DURIDUVAZE_TRANSPORT_SMTP_CLIENT_H_

#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "transport/mail_message.h"
#include "transport/tcp_connection.h"

namespace duri {

enum class AuthenticationType { atNone, atLogin };

struct SmtpSettings {
  std::string host;
  int port = 25;
  AuthenticationType authentication_type = AuthenticationType::atNone;
  std::string user_id;
  std::string password;
  std::string mail_agent = "DURiduvaze";  // value of "X-Mailer"
  // The name given with "ehlo" and "Helo"; empty means the computer's own host name.
  std::string local_host_name;
  int connect_timeout_ms = 10000;
  int reply_timeout_ms = 30000;
};

// The outcome of Connect or Send. error holds the server's reply text for a wrong reply code, or what
// happened to the connection.
struct SmtpResult {
  bool ok = true;
  std::string error;

  static SmtpResult Ok() { return SmtpResult{}; }
  static SmtpResult Failed(std::string text) { return SmtpResult{false, std::move(text)}; }
};

// The authentication schemes of an "ehlo" reply: every line after the first with "AUTH" at its fifth
// character and a blank or "=" at its ninth lists schemes from its tenth; upper case, each once.
std::vector<std::string> AdvertisedAuthSchemes(const std::vector<std::string>& ehlo_reply);

class TSmtpClient {
 public:
  // The clock dates the messages.
  explicit TSmtpClient(Clock& clock) : clock_(&clock) {}

  SmtpSettings settings;

  bool connected() const { return connection_.is_open(); }
  bool authenticated() const { return authenticated_; }
  // Authentication schemes the server advertised in its "ehlo" reply, upper case, each once.
  const std::vector<std::string>& auth_schemes() const { return auth_schemes_; }

  // Connects and greets the server ("ehlo", or "Helo" when "ehlo" is refused). Any failure closes the
  // connection.
  SmtpResult Connect();
  // The whole transfer of one message. Sets the message's "X-Mailer" header to the mail agent.
  SmtpResult Send(TMailMessage& message);
  // Says "Quit" when still connected (no reply awaited) and closes; also after a failed Send.
  void Disconnect();

 private:
  // Sends one command line; with a required code, reads the reply and demands that code.
  SmtpResult Command(std::string_view line, int required_code);
  SmtpResult SendLine(std::string_view line);
  // Reads a whole reply (all its continuation lines).
  SmtpResult ReadReply(int& code, std::vector<std::string>& lines);
  SmtpResult Expect(int required_code, std::vector<std::string>* lines = nullptr);
  SmtpResult Authenticate();
  std::string LocalHostName() const;

  Clock* clock_;
  TcpConnection connection_;
  std::vector<std::string> auth_schemes_;
  bool authenticated_ = false;
};

}  // namespace duri

#endif  // DURIDUVAZE_TRANSPORT_SMTP_CLIENT_H_
