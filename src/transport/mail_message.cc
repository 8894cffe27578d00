#include "transport/mail_message.h"

#include <cstdio>
#include <cstdlib>

namespace duri {
namespace {

// Header lines are folded before this many characters where a blank allows it.
constexpr size_t kFoldWidth = 76;

constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string OneLine(std::string_view value) {
  std::string out(value);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

std::string Join(const std::vector<std::string>& list) {
  std::string out;
  for (const std::string& item : list) {
    if (item.empty()) continue;
    if (!out.empty()) out += ", ";
    out += item;
  }
  return out;
}

// Breaks the line before blanks so that each piece stays within the width where it can; the blank
// begins the continuation line. A word longer than the width stays whole.
void AppendFolded(const std::string& line, size_t name_length, std::vector<std::string>& out) {
  std::string rest = line;
  size_t minimum = name_length + 2;  // never fold inside "Name: "
  while (rest.size() > kFoldWidth) {
    size_t cut = rest.rfind(' ', kFoldWidth);
    if (cut == std::string::npos || cut <= minimum) cut = rest.find(' ', kFoldWidth);
    if (cut == std::string::npos || cut <= minimum) break;
    out.push_back(rest.substr(0, cut));
    rest.erase(0, cut);
    minimum = 1;
  }
  out.push_back(rest);
}

void AddHeader(std::string_view name, std::string_view value, std::vector<std::string>& out) {
  if (value.empty()) return;
  std::string line(name);
  line += ": ";
  line += OneLine(value);
  AppendFolded(line, name.size(), out);
}

bool NeedsQuotes(std::string_view name) {
  return name.find_first_of("()<>[]:;@\\,.\"") != std::string_view::npos;
}

}  // namespace

std::string MailAddress::Text() const {
  if (name.empty()) return address;
  std::string out;
  if (NeedsQuotes(name)) {
    out += '"';
    for (char c : name) {
      if (c == '"' || c == '\\') out += '\\';
      out += c;
    }
    out += '"';
  } else {
    out = name;
  }
  return out + " <" + address + ">";
}

void TMailMessage::SetExtraHeader(std::string_view name, std::string_view value) {
  for (auto& header : extra_headers_) {
    if (header.first == name) {
      header.second = std::string(value);
      return;
    }
  }
  extra_headers_.emplace_back(std::string(name), std::string(value));
}

std::string MailDateText(const LocalDateTime& now, int utc_offset_minutes) {
  const DateRecord& d = now.date;
  const TimeRecord& t = now.time;
  int offset = std::abs(utc_offset_minutes);
  char text[64];
  std::snprintf(text, sizeof text, "%s, %d %s %d %02d:%02d:%02d %c%02d%02d", kDayNames[d.day_of_week % 7], d.day,
                kMonthNames[(d.month >= 1 && d.month <= 12) ? d.month - 1 : 0], d.year, t.hour, t.minute, t.second,
                utc_offset_minutes < 0 ? '-' : '+', offset / 60, offset % 60);
  return text;
}

std::vector<std::string> HeaderLines(const TMailMessage& message, const LocalDateTime& now,
                                     int utc_offset_minutes) {
  std::vector<std::string> out;
  AddHeader("From", message.from.address.empty() && message.from.name.empty() ? "" : message.from.Text(), out);
  AddHeader("Subject", message.subject, out);
  AddHeader("To", Join(message.recipients), out);
  AddHeader("Cc", Join(message.cc_list), out);
  AddHeader("Newsgroups", message.newsgroups, out);
  AddHeader("Content-Type", message.content_type, out);
  AddHeader("Content-Transfer-Encoding", message.content_transfer_encoding, out);
  AddHeader("Sender", message.sender, out);
  AddHeader("Reply-To", message.reply_to, out);
  AddHeader("Organization", message.organization, out);
  AddHeader("Disposition-Notification-To", message.disposition_notification_to, out);
  AddHeader("References", message.references, out);
  AddHeader("Date", MailDateText(now, utc_offset_minutes), out);
  AddHeader("X-Priority", std::to_string(message.priority + 1), out);
  AddHeader("X-Library", kMailLibrary, out);
  for (const auto& [name, value] : message.extra_headers()) AddHeader(name, value, out);
  return out;
}

std::vector<std::string> BodyLines(const TMailMessage& message) {
  std::vector<std::string> out;
  for (const std::string& text : message.body) {
    size_t start = 0;
    for (;;) {
      size_t end = text.find_first_of("\r\n", start);
      std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
      if (!line.empty() && line[0] == '.') line.insert(line.begin(), '.');
      out.push_back(std::move(line));
      if (end == std::string::npos) break;
      start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
  }
  return out;
}

}  // namespace duri
