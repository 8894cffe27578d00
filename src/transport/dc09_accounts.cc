#include "transport/dc09_accounts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <sstream>

#include "transport/dc09_frame.h"

namespace duri::dc09 {
namespace {

constexpr off_t kMaxFileSize = 1 << 20;
constexpr int kMaxInterval = 7 * 24 * 3600;

bool AccountDigits(const std::string& account) {
  return account.size() >= 3 && account.size() <= 16 && std::all_of(account.begin(), account.end(), IsHexDigit);
}

bool Interval(const std::string& text, int& seconds) {
  if (text.empty() || text.size() > 7 || !std::all_of(text.begin(), text.end(), ::isdigit)) return false;
  seconds = std::stoi(text);
  return seconds <= kMaxInterval;
}

}  // namespace

bool ParseAccounts(const std::string& text, AccountTable& table, std::string& why) {
  table.clear();
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    std::istringstream fields(line);
    std::string account, key, interval, extra;
    fields >> account;
    if (account.empty() || account[0] == '#') continue;
    fields >> key >> interval >> extra;
    AccountEntry entry;
    const std::string where = "line " + std::to_string(number) + ": ";
    if (!AccountDigits(account)) {
      why = where + "account \"" + account + "\" is not 3 to 16 hex digits";
      return false;
    }
    if (key != "-" && !(entry.has_key = ParseKey(key, entry.key))) {
      why = where + "key is not 32, 48 or 64 hex digits, nor -";
      return false;
    }
    if (!Interval(interval, entry.supervision_seconds) || !extra.empty()) {
      why = where + "expected an interval in seconds (0 to " + std::to_string(kMaxInterval) + ") as the last field";
      return false;
    }
    std::transform(account.begin(), account.end(), account.begin(), [](unsigned char c) { return std::toupper(c); });
    if (!table.emplace(account, entry).second) {
      why = where + "account " + account + " is listed twice";
      return false;
    }
  }
  return true;
}

bool LoadAccounts(const std::string& path, AccountTable& table, std::string& why) {
  table.clear();
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) {
    if (errno == ENOENT) return true;
    why = path + ": " + std::strerror(errno);
    return false;
  }
  struct stat st {};
  std::string text;
  bool ok = fstat(fd, &st) == 0;
  if (!ok) {
    why = path + ": " + std::strerror(errno);
  } else if (!S_ISREG(st.st_mode) || st.st_uid != geteuid() || (st.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
    why = path + ": refused, it must be a file of the station's user with no rights for others (chmod 600)";
    ok = false;
  } else if (st.st_size > kMaxFileSize) {
    why = path + ": refused, larger than 1 MiB";
    ok = false;
  } else {
    text.resize(static_cast<size_t>(st.st_size));
    ok = read(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (!ok) why = path + ": short read";
  }
  close(fd);
  if (ok && !ParseAccounts(text, table, why)) {
    why = path + ": " + why;
    ok = false;
  }
  return ok;
}

}  // namespace duri::dc09
