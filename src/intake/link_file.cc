#include "intake/link_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <cerrno>
#include <charconv>
#include <cctype>
#include <cstring>

namespace duri {
namespace {

constexpr size_t kMaxFileSize = 64 * 1024;
constexpr size_t kMaxHostSize = 253;

bool IsAddress(const std::string& host) {
  unsigned char buf[sizeof(in6_addr)];
  return inet_pton(AF_INET, host.c_str(), buf) == 1 || inet_pton(AF_INET6, host.c_str(), buf) == 1;
}

// A host name: letters, digits, '-' and '.', as resolvers take them.
bool IsHostName(const std::string& host) {
  if (host.empty() || host.size() > kMaxHostSize || host.front() == '-' || host.front() == '.') return false;
  for (char c : host) {
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.')) return false;
  }
  return true;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// "COM1" .. "COM16", 0 for anything else.
int PortNumber(std::string_view name) {
  if (name.size() < 4 || name.size() > 5 || name.substr(0, 3) != "COM" || name[3] == '0') return 0;
  int n = 0;
  auto [end, ec] = std::from_chars(name.data() + 3, name.data() + name.size(), n);
  if (ec != std::errc() || end != name.data() + name.size() || n < 1 || n > kPortCount) return 0;
  return n;
}

}  // namespace

std::string ParseLinkAddress(std::string_view text, LinkAddress* address) {
  const size_t sep = text.find("://");
  if (sep == std::string_view::npos) return "\"" + std::string(text) + "\" is not SCHEME://HOST:PORT";
  LinkAddress a;
  a.scheme = std::string(text.substr(0, sep));
  if (a.scheme != "tcp" && a.scheme != "listen" && a.scheme != "dc09") {
    return "scheme \"" + a.scheme + "\" is not tcp, listen or dc09";
  }
  std::string_view rest = text.substr(sep + 3);
  std::string_view port_text;
  if (!rest.empty() && rest.front() == '[') {
    const size_t close = rest.find(']');
    if (close == std::string_view::npos || close + 1 >= rest.size() || rest[close + 1] != ':') {
      return "\"" + std::string(text) + "\": an IPv6 address is written [ADDRESS]:PORT";
    }
    a.host = std::string(rest.substr(1, close - 1));
    port_text = rest.substr(close + 2);
    if (a.host.find(':') == std::string::npos || !IsAddress(a.host)) {
      return "\"" + a.host + "\" is not an IPv6 address";
    }
  } else {
    const size_t colon = rest.rfind(':');
    if (colon == std::string_view::npos) return "\"" + std::string(text) + "\" has no port";
    a.host = std::string(rest.substr(0, colon));
    port_text = rest.substr(colon + 1);
    if (a.host.find(':') != std::string::npos) return "\"" + a.host + "\": write an IPv6 address in brackets";
  }
  unsigned port = 0;
  auto [end, ec] = std::from_chars(port_text.data(), port_text.data() + port_text.size(), port);
  if (port_text.empty() || ec != std::errc() || end != port_text.data() + port_text.size() || port < 1 ||
      port > 65535) {
    return "port \"" + std::string(port_text) + "\" is not 1..65535";
  }
  a.port = static_cast<uint16_t>(port);
  if (a.scheme == "tcp") {
    if (!IsAddress(a.host) && !IsHostName(a.host)) return "\"" + a.host + "\" is not a host name or address";
  } else if (!IsAddress(a.host)) {
    return "\"" + a.host + "\" is not a local address (0.0.0.0 or [::] for all)";
  }
  *address = std::move(a);
  return "";
}

std::string LinkAddressText(const LinkAddress& a) {
  const bool v6 = a.host.find(':') != std::string::npos;
  return a.scheme + "://" + (v6 ? "[" + a.host + "]" : a.host) + ":" + std::to_string(a.port);
}

std::string ParseLinkFile(std::string_view text, PortLinkTable* table) {
  PortLinkTable parsed;
  int line_number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++line_number;
    if (line.empty() || line.front() == '#') continue;
    const std::string where = "line " + std::to_string(line_number) + ": ";
    const size_t space = line.find_first_of(" \t");
    if (space == std::string_view::npos) return where + "expected \"COMn ADDRESS\"";
    const int port = PortNumber(line.substr(0, space));
    if (port == 0) return where + "\"" + std::string(line.substr(0, space)) + "\" is not COM1..COM16";
    auto& slot = parsed[static_cast<size_t>(port - 1)];
    if (slot) return where + "COM" + std::to_string(port) + " is named twice";
    LinkAddress address;
    std::string error = ParseLinkAddress(Trim(line.substr(space)), &address);
    if (!error.empty()) return where + error;
    slot = std::move(address);
  }
  *table = std::move(parsed);
  return "";
}

std::string LinkFileText(const PortLinkTable& table) {
  std::string text = "# Network links of the receiver ports, written by duriduvaze-cli receivers.\n";
  for (size_t i = 0; i < table.size(); ++i) {
    if (table[i]) text += "COM" + std::to_string(i + 1) + " " + LinkAddressText(*table[i]) + "\n";
  }
  return text;
}

LinkFileStatus LoadLinkFile(const std::string& path, PortLinkTable* table, std::string* error) {
  *table = PortLinkTable{};
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0 && errno == ENOENT) return LinkFileStatus::kMissing;
  auto refuse = [&](std::string why) {
    if (fd >= 0) close(fd);
    *error = path + ": " + std::move(why);
    return LinkFileStatus::kRefused;
  };
  if (fd < 0) return refuse(std::string("cannot be read: ") + strerror(errno));
  struct stat st {};
  if (fstat(fd, &st) != 0) return refuse(std::string("cannot be read: ") + strerror(errno));
  if (!S_ISREG(st.st_mode)) return refuse("is not a regular file");
  if ((st.st_mode & S_IWOTH) != 0) return refuse("may be written by any user (chmod o-w)");
  if (static_cast<size_t>(st.st_size) > kMaxFileSize) return refuse("is larger than 64 KiB");
  std::string text(static_cast<size_t>(st.st_size), '\0');
  size_t got = 0;
  while (got < text.size()) {
    const ssize_t n = read(fd, text.data() + got, text.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return refuse(std::string("cannot be read: ") + strerror(n < 0 ? errno : EIO));
    got += static_cast<size_t>(n);
  }
  close(fd);
  std::string fault = ParseLinkFile(text, table);
  if (!fault.empty()) {
    *table = PortLinkTable{};
    *error = path + ": " + fault;
    return LinkFileStatus::kRefused;
  }
  return LinkFileStatus::kOk;
}

int SaveLinkFile(const std::string& path, const PortLinkTable& table) {
  bool any = false;
  for (const auto& slot : table) any = any || slot.has_value();
  if (!any) return unlink(path.c_str()) == 0 || errno == ENOENT ? 0 : errno;
  const std::string temp = path + ".new";
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return errno;
  fchmod(fd, 0644);  // whatever the umask left
  const std::string text = LinkFileText(table);
  size_t put = 0;
  int err = 0;
  while (put < text.size() && err == 0) {
    const ssize_t n = write(fd, text.data() + put, text.size() - put);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) err = n < 0 ? errno : EIO;
    else put += static_cast<size_t>(n);
  }
  if (err == 0 && fsync(fd) != 0) err = errno;
  if (close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && rename(temp.c_str(), path.c_str()) != 0) err = errno;
  if (err != 0) unlink(temp.c_str());
  return err;
}

}  // namespace duri
