#include "transport/smtp_client.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>

#include "transport/base64.h"

namespace duri {
namespace {

constexpr int kReplyReady = 220;
constexpr int kReplyOk = 250;
constexpr int kReplyAuthOk = 235;
constexpr int kReplyAuthContinue = 334;
constexpr int kReplyStartData = 354;
constexpr int kAnyReply = 0;

// A reply of more lines than this is not a mail server talking.
constexpr size_t kMaxReplyLines = 200;

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool IsReplyLine(const std::string& line) {
  return line.size() >= 3 && std::isdigit(static_cast<unsigned char>(line[0])) &&
         std::isdigit(static_cast<unsigned char>(line[1])) && std::isdigit(static_cast<unsigned char>(line[2])) &&
         (line.size() == 3 || line[3] == ' ' || line[3] == '-');
}

std::string JoinReply(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) {
    if (!out.empty()) out += " | ";
    out += line;
  }
  return out;
}

}  // namespace

std::string TSmtpClient::LocalHostName() const {
  if (!settings.local_host_name.empty()) return settings.local_host_name;
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "localhost";
  return name;
}

SmtpResult TSmtpClient::SendLine(std::string_view line) {
  // A line break inside a command would let a stored address or name issue commands of its own.
  if (line.find_first_of("\r\n") != std::string_view::npos) {
    return SmtpResult::Failed("line break inside the command text");
  }
  std::string data(line);
  data += "\r\n";
  NetResult sent = connection_.Write(data, settings.reply_timeout_ms);
  if (sent == NetResult::kOk) return SmtpResult::Ok();
  if (sent != NetResult::kTimedOut) connection_.Close();
  return SmtpResult::Failed(std::string("sending to the server: ") + NetResultText(sent));
}

SmtpResult TSmtpClient::ReadReply(int& code, std::vector<std::string>& lines) {
  lines.clear();
  // The limit holds for the whole reply, so a server trickling continuation lines cannot stretch it.
  auto start = std::chrono::steady_clock::now();
  for (;;) {
    auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    int left = settings.reply_timeout_ms - static_cast<int>(spent.count());
    if (left <= 0) return SmtpResult::Failed("no reply from the server: timed out");
    std::string line;
    NetResult read = connection_.ReadLine(line, left);
    if (read != NetResult::kOk) {
      // A connection the peer closed or that broke is of no further use; a timed-out one still gets
      // its "Quit" from Disconnect.
      if (read != NetResult::kTimedOut) connection_.Close();
      return SmtpResult::Failed(std::string("waiting for the server's reply: ") + NetResultText(read));
    }
    if (!IsReplyLine(line)) return SmtpResult::Failed("malformed reply: " + line);
    lines.push_back(line);
    if (line.size() == 3 || line[3] == ' ') {
      code = std::stoi(line.substr(0, 3));
      return SmtpResult::Ok();
    }
    if (lines.size() >= kMaxReplyLines) return SmtpResult::Failed("reply too long");
  }
}

SmtpResult TSmtpClient::Expect(int required_code, std::vector<std::string>* lines) {
  int code = 0;
  std::vector<std::string> reply;
  SmtpResult read = ReadReply(code, reply);
  if (!read.ok) return read;
  if (lines != nullptr) *lines = reply;
  if (required_code != kAnyReply && code != required_code) return SmtpResult::Failed(JoinReply(reply));
  return SmtpResult::Ok();
}

SmtpResult TSmtpClient::Command(std::string_view line, int required_code) {
  SmtpResult sent = SendLine(line);
  if (!sent.ok) return sent;
  return Expect(required_code);
}

std::vector<std::string> AdvertisedAuthSchemes(const std::vector<std::string>& lines) {
  // "250-AUTH LOGIN PLAIN" and the older "250-AUTH=LOGIN".
  std::vector<std::string> schemes;
  for (size_t i = 1; i < lines.size(); ++i) {
    std::string line = Upper(lines[i]);
    if (line.size() < 9 || line.compare(4, 4, "AUTH") != 0 || (line[8] != ' ' && line[8] != '=')) continue;
    std::replace(line.begin(), line.end(), '=', ' ');
    size_t at = 9;
    while (at < line.size()) {
      size_t end = line.find(' ', at);
      if (end == std::string::npos) end = line.size();
      std::string word = line.substr(at, end - at);
      if (!word.empty() && std::find(schemes.begin(), schemes.end(), word) == schemes.end()) {
        schemes.push_back(word);
      }
      at = end + 1;
    }
  }
  return schemes;
}

SmtpResult TSmtpClient::Connect() {
  Disconnect();
  auth_schemes_.clear();
  NetResult opened = connection_.Open(settings.host, settings.port, settings.connect_timeout_ms);
  if (opened != NetResult::kOk) {
    return SmtpResult::Failed("connecting to " + settings.host + ": " + NetResultText(opened));
  }
  SmtpResult result = Expect(kReplyReady);
  if (result.ok) {
    std::string host = LocalHostName();
    result = SendLine("ehlo " + host);
    std::vector<std::string> reply;
    int code = 0;
    if (result.ok) result = ReadReply(code, reply);
    if (result.ok && code == kReplyOk) {
      auth_schemes_ = AdvertisedAuthSchemes(reply);
    } else if (result.ok) {
      result = Command("Helo " + host, kReplyOk);
    }
  }
  if (!result.ok) connection_.Close();
  return result;
}

SmtpResult TSmtpClient::Authenticate() {
  // The server's prompts after 334 are not read: servers word them differently.
  SmtpResult result = Command("auth LOGIN", kReplyAuthContinue);
  if (result.ok) result = Command(EncodeBase64(settings.user_id), kReplyAuthContinue);
  if (result.ok) result = Command(EncodeBase64(settings.password), kReplyAuthOk);
  if (result.ok) authenticated_ = true;
  return result;
}

SmtpResult TSmtpClient::Send(TMailMessage& message) {
  if (!connected()) return SmtpResult::Failed("not connected");
  SmtpResult result = Command("Rset", kAnyReply);
  bool login_offered = std::find(auth_schemes_.begin(), auth_schemes_.end(), "LOGIN") != auth_schemes_.end();
  if (result.ok && settings.authentication_type == AuthenticationType::atLogin && login_offered && !authenticated_) {
    result = Authenticate();
  }
  if (result.ok) result = Command("Mail from:<" + message.from.address + ">", kReplyOk);
  for (const auto* list : {&message.recipients, &message.cc_list, &message.bcc_list}) {
    for (const std::string& address : *list) {
      if (result.ok && !address.empty()) result = Command("RCPT to:<" + address + ">", kReplyOk);
    }
  }
  if (result.ok) result = Command("Data", kReplyStartData);
  if (!result.ok) return result;

  message.SetExtraHeader("X-Mailer", settings.mail_agent);
  std::string data;
  for (const std::string& line : HeaderLines(message, clock_->Now(), clock_->UtcOffsetMinutes())) data += line + "\r\n";
  data += "\r\n";
  for (const std::string& line : BodyLines(message)) data += line + "\r\n";
  data += ".\r\n";
  NetResult sent = connection_.Write(data, settings.reply_timeout_ms);
  if (sent != NetResult::kOk) {
    if (sent != NetResult::kTimedOut) connection_.Close();
    return SmtpResult::Failed(std::string("sending the message: ") + NetResultText(sent));
  }
  return Expect(kReplyOk);
}

void TSmtpClient::Disconnect() {
  if (connected()) SendLine("Quit");
  connection_.Close();
  authenticated_ = false;
}

}  // namespace duri
