// The message object of the mail transport (MailMessage1 on the main window): addresses, subject and
// body lines of one plain-text message, and the header block and body as they go over the wire.
#ifndef DURIDUVAZE_TRANSPORT_MAIL_MESSAGE_H_
#define DURIDUVAZE_TRANSPORT_MAIL_MESSAGE_H_

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/clock.h"

namespace duri {

struct MailAddress {
  std::string address;
  std::string name;  // display name, may be empty

  // The text form of the From header: "name <address>", the name quoted when it holds characters
  // that would otherwise be read as address syntax; the bare address when there is no name.
  std::string Text() const;
};

// The system sends plain text only: a message never has parts, so "MIME-Version" is never written.
class TMailMessage {
 public:
  std::vector<std::string> recipients;  // To
  std::vector<std::string> cc_list;
  std::vector<std::string> bcc_list;
  MailAddress from;
  std::string subject;
  std::vector<std::string> body;
  int priority = 2;  // 0 to 4; "X-Priority" is priority + 1

  // Headers the system leaves empty but that keep their place in the header block.
  std::string newsgroups;
  std::string content_type;
  std::string content_transfer_encoding;
  std::string sender;
  std::string reply_to;
  std::string organization;
  std::string disposition_notification_to;
  std::string references;

  // Empties the body. Addresses, subject and from are replaced by the caller each time.
  void Clear() { body.clear(); }

  // Replaces the value of an extra header, or adds it after the others.
  void SetExtraHeader(std::string_view name, std::string_view value);
  const std::vector<std::pair<std::string, std::string>>& extra_headers() const { return extra_headers_; }

 private:
  std::vector<std::pair<std::string, std::string>> extra_headers_;
};

// The value of "X-Library".
inline constexpr char kMailLibrary[] = "DURiduvaze Mail 1.2.9";

// "Tue, 8 Dec 2026 17:30:49 +0100": English day and month names, the local offset from UTC.
std::string MailDateText(const LocalDateTime& now, int utc_offset_minutes);

// The header block in its fixed order, headers with empty values left out, long lines folded. Each
// element is one line as sent, without CR LF. Line breaks inside a value become blanks so that no value
// can start a header or a command of its own.
std::vector<std::string> HeaderLines(const TMailMessage& message, const LocalDateTime& now,
                                     int utc_offset_minutes);

// The body as sent: a line beginning with "." gets a second "." so that it cannot end the transfer. A
// body line holding line breaks is sent as the separate lines it makes, each stuffed on its own.
std::vector<std::string> BodyLines(const TMailMessage& message);

}  // namespace duri

#endif  // DURIDUVAZE_TRANSPORT_MAIL_MESSAGE_H_
